// SPDX-License-Identifier: MIT
#include "atlas/plan/plan.h"

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

std::string_view wall_name(Wall wall) {
  switch (wall) {
    case Wall::kNorth:
      return "north";
    case Wall::kSouth:
      return "south";
    case Wall::kEast:
      return "east";
    case Wall::kWest:
      return "west";
  }
  return "north";
}

bool wall_of_label(std::string_view label, Wall* wall) {
  if (label == "North")
    *wall = Wall::kNorth;
  else if (label == "South")
    *wall = Wall::kSouth;
  else if (label == "East")
    *wall = Wall::kEast;
  else if (label == "West")
    *wall = Wall::kWest;
  else
    return false;
  return true;
}

}  // namespace atlas
