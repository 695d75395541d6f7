// SPDX-License-Identifier: MIT
// The walls of one level as a virtual tabletop needs them: the outline of
// all its floor, rooms and corridors together, and a portal across every
// door, so that lighting and line of sight follow the drawn plan.
//
// The outline is the union of the rooms' walls and the corridors' strips,
// computed by Clipper. The strips are as wide as the drawing's corridors
// up to the middle of their edge line, so every wall lies on drawn ink; as
// the drawing puts rooms over corridors, a corridor meets a room only
// through the mouth of its door.
#ifndef ATLAS_PLAN_VTT_WALLS_H_
#define ATLAS_PLAN_VTT_WALLS_H_

#include <cstdint>
#include <vector>

#include "atlas/plan/plan.h"

namespace atlas::vtt {

// Wall coordinates are in quarter feet: a corridor's wall is 2.75 feet from
// its middle line.
inline constexpr int kUnitsPerFoot = 4;

struct FinePoint {
  int64_t x = 0;
  int64_t y = 0;
  bool operator==(const FinePoint&) const = default;
};

// A door where its passage meets the room's walls.
struct Portal {
  // Its ends, on the walls either side of the passage: west before east,
  // north before south.
  FinePoint a;
  FinePoint b;
  // A door or a locked door; a broken door stands open.
  bool closed = true;
};

struct LevelWalls {
  // One ring per boundary of the floor, outer ones and holes alike; each
  // ring is closed (its last point is its first) and starts at its
  // northernmost, then westernmost, point. Rings are sorted by that point,
  // so the same level gives the same rings whatever Clipper's order.
  std::vector<std::vector<FinePoint>> rings;
  // One per door that is not an archway, in the level's door order.
  std::vector<Portal> portals;
};

// REQUIRES: `level` was described (plan/describe.h), so that the passages
// into rooms that are not rectangles are known.
LevelWalls level_walls(const PlanLevel& level);

}  // namespace atlas::vtt

#endif  // ATLAS_PLAN_VTT_WALLS_H_
