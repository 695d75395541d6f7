// SPDX-License-Identifier: MIT
// Floor plans as PNG: the SVG of plan_svg.h rendered with librsvg and cairo.
#ifndef ATLAS_PLAN_DRAW_PLAN_PNG_H_
#define ATLAS_PLAN_DRAW_PLAN_PNG_H_

#include <string>

#include "atlas/plan/draw/plan_svg.h"

namespace atlas {

// Unless told otherwise, no side of a PNG plan is longer than this: a larger
// plan is drawn smaller.
inline constexpr int kMaxPlanPixels = 8000;

// The largest picture the renderer makes: cairo's limit on a side, and
// pixman's on the bytes of one image (4 a pixel).
inline constexpr double kMaxPngSide = 32767;
inline constexpr double kPngPixelBytes = 4;
inline constexpr double kMaxPngBytes = 2147483647;

// Whether a picture of `width` x `height` pixels (rounded) can be made.
bool png_possible(double width, double height);

// The largest share, at most 1, of `width` x `height` that can be made: a
// drawing at that share of its scale fits, give or take a pixel's rounding.
double largest_png_share(double width, double height);

// The PNG bytes of `drawing` at the size it states. With `dots_per_inch`,
// the picture records that density, so that it prints at that size.
// The picture is drawn in a child process (atlas/common/isolated_render.h).
// Throws RenderError when the picture cannot be made (png_possible), or when
// librsvg or cairo fails or dies, and std::bad_alloc when they run out of
// memory.
std::string plan_png(const SvgDrawing& drawing, double dots_per_inch = 0);

}  // namespace atlas

#endif  // ATLAS_PLAN_DRAW_PLAN_PNG_H_
