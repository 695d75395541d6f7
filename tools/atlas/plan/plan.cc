// SPDX-License-Identifier: MIT
#include "atlas/plan/plan.h"

#include <cassert>

namespace atlas {

std::string_view plan_shape_name(PlanShape shape) {
  switch (shape) {
    case PlanShape::kRectangle:
      return "rectangle";
    case PlanShape::kCircle:
      return "circle";
    case PlanShape::kTriangle:
      return "triangle";
    case PlanShape::kTrapezoid:
      return "trapezoid";
    case PlanShape::kIrregular:
      return "irregular";
    case PlanShape::kOval:
      return "oval";
    case PlanShape::kHexagon:
      return "hexagon";
    case PlanShape::kOctagon:
      return "octagon";
    case PlanShape::kCave:
      return "cave";
    case PlanShape::kDoubleCave:
      return "double-cave";
  }
  return "rectangle";
}

Passage passage_kind(std::string_view name) {
  assert(name == dungeon::kDoor || name == dungeon::kArchway || name == dungeon::kLockedDoor ||
         name == dungeon::kBrokenDoor);
  if (name == dungeon::kArchway) return Passage::kArchway;
  if (name == dungeon::kLockedDoor) return Passage::kLockedDoor;
  if (name == dungeon::kBrokenDoor) return Passage::kBrokenDoor;
  return Passage::kDoor;
}

}  // namespace atlas
