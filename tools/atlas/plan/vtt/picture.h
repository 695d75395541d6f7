// SPDX-License-Identifier: MIT
// The picture inside a tabletop file: the players' map of the level alone,
// no header, no grid (the tabletop draws its own), at whole pixels a square.
#ifndef ATLAS_PLAN_VTT_PICTURE_H_
#define ATLAS_PLAN_VTT_PICTURE_H_

#include "atlas/plan/draw/plan_svg.h"
#include "atlas/plan/plan.h"
#include "atlas/plan/vtt/uvtt.h"

namespace atlas::vtt {

// The drawing at `pixels_per_square`, room numbers only when asked for; its
// size tells whether the renderer can make it (draw/plan_png.h).
// REQUIRES: `level` was described (plan/describe.h), pixels_per_square > 0.
SvgDrawing tabletop_drawing(const PlanLevel& level, int pixels_per_square, bool room_numbers);

// Throws RenderError when the picture cannot be made or librsvg or cairo
// fails. REQUIRES: `drawing` came from tabletop_drawing at
// `pixels_per_square`.
Picture level_picture(const SvgDrawing& drawing, int pixels_per_square);

}  // namespace atlas::vtt

#endif  // ATLAS_PLAN_VTT_PICTURE_H_
