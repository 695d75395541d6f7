// SPDX-License-Identifier: MIT
// Floor plans as PNG: the SVG of plan_svg.h rendered with librsvg and cairo.
#ifndef ATLAS_PLAN_DRAW_PLAN_PNG_H_
#define ATLAS_PLAN_DRAW_PLAN_PNG_H_

#include <string>

namespace atlas {

// No side of a PNG plan is longer than this; a larger plan is drawn smaller.
inline constexpr int kMaxPlanPixels = 8000;

// The PNG bytes of `svg` at its own size in pixels, scaled down to fit
// kMaxPlanPixels, drawn in a child process (atlas/common/isolated_render.h). Throws
// RenderError (common/errors.h) when librsvg or cairo fails or dies, and
// std::bad_alloc when they run out of memory.
std::string plan_png(const std::string& svg);

}  // namespace atlas

#endif  // ATLAS_PLAN_DRAW_PLAN_PNG_H_
