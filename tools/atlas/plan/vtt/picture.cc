// SPDX-License-Identifier: MIT
#include "atlas/plan/vtt/picture.h"

#include "atlas/common/markup.h"
#include "atlas/plan/draw/level_drawing.h"
#include "atlas/plan/draw/plan_png.h"

namespace atlas::vtt {

// Interim: the game master's drawing, until the player's map is there.
Picture level_picture(const PlanLevel& level, int pixels_per_square) {
  const draw::LevelDrawing drawing(level, "", false);
  Picture picture{drawing.bounds(), pixels_per_square, {}};
  const Rect& frame = picture.frame;
  std::string svg;
  Markup out(svg);
  out << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " << frame.w << ' ' << frame.h
      << "\" width=\"" << frame.w / kFeetPerSquare * pixels_per_square << "\" height=\""
      << frame.h / kFeetPerSquare * pixels_per_square << "\">";
  drawing.write(out, 0, 0);
  out << "</svg>";
  picture.png = plan_png(svg);
  return picture;
}

}  // namespace atlas::vtt
