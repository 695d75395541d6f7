// SPDX-License-Identifier: MIT
#include "atlas/plan/vtt/picture.h"

#include "atlas/plan/draw/plan_png.h"

namespace atlas::vtt {

SvgDrawing tabletop_drawing(const PlanLevel& level, int pixels_per_square, bool room_numbers) {
  DrawOptions options;
  options.player = true;
  options.room_numbers = room_numbers;
  options.grid = GridLines::kNone;
  options.title = options.legend = options.compass = false;
  options.pixels_per_foot = static_cast<double>(pixels_per_square) / kFeetPerSquare;
  return plan_level_svg(level, options);
}

Picture level_picture(const SvgDrawing& drawing, int pixels_per_square) {
  return {drawing.frame, pixels_per_square, plan_png(drawing)};
}

}  // namespace atlas::vtt
