// SPDX-License-Identifier: MIT
// Laying a finished dungeon out as floor plans: every room of a level placed
// to scale, every door on the wall its exit names, every passage a corridor of
// horizontal and vertical runs from door to door.
//
// What every plan keeps: rooms never overlap; a room reached through a wall
// lies wholly beyond that wall; a corridor leaves each door straight out,
// never enters a room, bends at most twice, and never crosses or runs
// against another corridor (rock shows between their 5' strips, except in
// the 5' doorways of one room's doors). The layout uses integer feet only
// and no unordered containers, so the same dungeon gives the same plan on
// every machine. docs/plan-layout.md tells how.
#ifndef ATLAS_PLAN_LAYOUT_PLAN_LAYOUT_H_
#define ATLAS_PLAN_LAYOUT_PLAN_LAYOUT_H_

#include <cstdint>
#include <optional>

#include "atlas/plan/plan.h"
#include "framework/room_table.h"
#include "framework/run.h"

namespace atlas {

// Lays out every level of a finished run, or only `only_level`: rooms with
// their outlines, doors, corridors, stairs and crossings; what only the
// drawing needs comes after, from describe_plan (plan/describe.h). Throws
// UsageError (common/errors.h) when the dungeon has no room on `only_level`.
Plan lay_out_plan(const dungeon::Dungeon& d, uint32_t seed, dungeon::RunOutcome outcome,
                  std::optional<int> only_level = std::nullopt);

// Places where two corridors of the level meet: pairs of corridor segments,
// from two different corridors, that share a point. The layout draws none;
// the count is there for anyone checking a plan.
int count_crossings(const PlanLevel& level);

}  // namespace atlas

#endif  // ATLAS_PLAN_LAYOUT_PLAN_LAYOUT_H_
