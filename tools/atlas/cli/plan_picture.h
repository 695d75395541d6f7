// SPDX-License-Identifier: MIT
// The size `plan --format png` draws at: by default at most kMaxPlanPixels a
// side; at a number of pixels a 5-foot square; or at a print scale, at
// kPngDotsPerInch, which the PNG records so that it prints at that scale.
#ifndef ATLAS_CLI_PLAN_PICTURE_H_
#define ATLAS_CLI_PLAN_PICTURE_H_

#include <optional>
#include <string>

#include "atlas/common/print_scale.h"
#include "atlas/plan/draw/plan_svg.h"

namespace atlas {

inline constexpr double kPngDotsPerInch = 150;

struct PictureSize {
  std::optional<int> px_per_square;
  std::optional<PrintScale> scale;  // never kReadable
};

// One line saying that `drawing`, at `px_per_square`, is larger than the
// renderer can make, and the largest --px-per-square that fits.
std::string too_many_pixels(const SvgDrawing& drawing, int px_per_square);

// `plan` drawn with `options` at `size`. Throws UsageError, before anything
// is rendered, for a picture larger than the renderer can make: one line
// with the largest --px-per-square or --scale that fits.
// REQUIRES: `plan` was described (plan/describe.h).
SvgDrawing sized_picture(const Plan& plan, const DrawOptions& options, const PictureSize& size);

}  // namespace atlas

#endif  // ATLAS_CLI_PLAN_PICTURE_H_
