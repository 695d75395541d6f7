// SPDX-License-Identifier: MIT
// The picture inside a tabletop file.
#ifndef ATLAS_PLAN_VTT_PICTURE_H_
#define ATLAS_PLAN_VTT_PICTURE_H_

#include "atlas/plan/plan.h"
#include "atlas/plan/vtt/uvtt.h"

namespace atlas::vtt {

// The level drawn at `pixels_per_square`, framed as the plan frames it.
// Throws RenderError when librsvg or cairo fails.
// REQUIRES: `level` was described (plan/describe.h).
Picture level_picture(const PlanLevel& level, int pixels_per_square);

}  // namespace atlas::vtt

#endif  // ATLAS_PLAN_VTT_PICTURE_H_
