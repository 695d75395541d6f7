// SPDX-License-Identifier: MIT
#include "atlas/cli/plan_picture.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "atlas/common/errors.h"
#include "atlas/common/markup.h"
#include "atlas/plan/draw/plan_png.h"

namespace atlas {
namespace {

constexpr double kMmPerInch = 25.4;

std::string pixels(const SvgDrawing& drawing) {
  return std::to_string(std::lround(drawing.width)) + " x " +
         std::to_string(std::lround(drawing.height)) + " pixels";
}

bool possible(const SvgDrawing& drawing) {
  return png_possible(drawing.width, drawing.height);
}

std::string millimetres(double mm) {
  std::string text;
  append_decimal(text, mm);
  return text;
}

// At a print scale the header keeps its legend about 3 mm tall on paper,
// rather than growing with the scale; a page-sized picture keeps the header
// that grows with the plan.
DrawOptions at_scale(const Plan& plan, DrawOptions options, const PrintScale& scale) {
  double mm_per_foot = scale.mm_per_ten_feet / 10;
  if (scale.kind == PrintScale::Kind::kFit) {
    options.pixels_per_foot = 1;
    const SvgDrawing feet = plan_svg(plan, options);
    mm_per_foot = std::min(kPageWidthMm / feet.width, kPageHeightMm / feet.height);
  } else {
    options.header_scale = header_scale_for_print(mm_per_foot);
  }
  options.pixels_per_foot = mm_per_foot / kMmPerInch * kPngDotsPerInch;
  return options;
}

constexpr std::string_view kLimit =
    ", more than the renderer can make (32767 a side, 2 GB in all); ";
constexpr std::string_view kOneLevel = "draw one level at a time with --level K";

// The header does not scale with the plan, so the largest scale is sought by
// drawing again, from a first guess down in tenths of a millimetre.
std::string too_large_scale(const Plan& plan, const DrawOptions& options, double mm,
                            const SvgDrawing& drawing) {
  double fits = std::floor(mm * largest_png_share(drawing.width, drawing.height) * 10) / 10;
  while (fits >= 1 &&
         !possible(plan_svg(plan, at_scale(plan, options, {PrintScale::Kind::kFixed, fits})))) {
    fits = std::round(fits * 10 - 1) / 10;
  }
  return "--scale " + millimetres(mm) + " makes a picture of " + pixels(drawing) + " at " +
         std::to_string(static_cast<int>(kPngDotsPerInch)) + " dots an inch" + std::string(kLimit) +
         (fits >= 1 ? "the largest that fits is --scale " + millimetres(fits)
                    : std::string(kOneLevel));
}

}  // namespace

std::string too_many_pixels(const SvgDrawing& drawing, int px_per_square) {
  const double share = largest_png_share(drawing.width, drawing.height);
  int fits = static_cast<int>(px_per_square * share);
  while (fits > 0 && !png_possible(drawing.width * fits / px_per_square,
                                   drawing.height * fits / px_per_square)) {
    --fits;
  }
  return "--px-per-square " + std::to_string(px_per_square) + " makes a picture of " +
         pixels(drawing) + std::string(kLimit) +
         (fits > 0 ? "the largest that fits is --px-per-square " + std::to_string(fits)
                   : std::string(kOneLevel));
}

SvgDrawing sized_picture(const Plan& plan, const DrawOptions& options, const PictureSize& size) {
  DrawOptions sized = options;
  if (size.px_per_square) {
    sized.pixels_per_foot = *size.px_per_square / 5.0;
    SvgDrawing drawing = plan_svg(plan, sized);
    if (!possible(drawing)) throw UsageError(too_many_pixels(drawing, *size.px_per_square));
    return drawing;
  }
  if (size.scale) {
    SvgDrawing drawing = plan_svg(plan, at_scale(plan, options, *size.scale));
    if (!possible(drawing)) {
      throw UsageError(too_large_scale(plan, options, size.scale->mm_per_ten_feet, drawing));
    }
    return drawing;
  }
  SvgDrawing drawing = plan_svg(plan, sized);
  const double longest = std::max(drawing.width, drawing.height);
  if (longest <= kMaxPlanPixels) return drawing;
  sized.pixels_per_foot *= kMaxPlanPixels / longest;
  return plan_svg(plan, sized);
}

}  // namespace atlas
