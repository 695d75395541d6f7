// SPDX-License-Identifier: MIT
// The second step of a plan, after the layout: what only the drawing needs,
// taken from the run once, so that the drawing reads nothing but the plan.
#ifndef ATLAS_PLAN_DESCRIBE_H_
#define ATLAS_PLAN_DESCRIBE_H_

#include "atlas/common/finished_run.h"
#include "atlas/plan/plan.h"

namespace atlas {

// Fills in each room's description and what it holds, and the passage from
// each door of a room that is not a rectangle in to its walls.
// REQUIRES: `plan` was laid out from `run`, every room that is not a
// rectangle with its outline.
void describe_plan(Plan& plan, const FinishedRun& run);

}  // namespace atlas

#endif  // ATLAS_PLAN_DESCRIBE_H_
