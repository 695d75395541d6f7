// SPDX-License-Identifier: MIT
// One level as a Universal VTT file (format 0.3), the map format virtual
// tabletops import with its walls and doors: JSON holding the picture of
// the level and, in grid squares from its north-west corner, the walls
// (walls.h), a portal per door, and plain light.
#ifndef ATLAS_PLAN_VTT_UVTT_H_
#define ATLAS_PLAN_VTT_UVTT_H_

#include <string>

#include "atlas/plan/geometry.h"
#include "atlas/plan/vtt/walls.h"

namespace atlas::vtt {

// A tabletop's grid square is 5 feet.
inline constexpr int kFeetPerSquare = 5;

// The picture of a level: `frame` is the part of the plan it shows, in
// feet, and it is exactly frame.w / 5 * pixels_per_square pixels wide and
// frame.h / 5 * pixels_per_square high.
struct Picture {
  Rect frame;
  int pixels_per_square = 0;
  std::string png;
};

// The file's text, one line of JSON. REQUIRES: picture.frame's corner and
// size are whole squares, and `walls` were made from the level it shows.
std::string uvtt_document(const LevelWalls& walls, const Picture& picture);

}  // namespace atlas::vtt

#endif  // ATLAS_PLAN_VTT_UVTT_H_
