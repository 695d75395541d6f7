// SPDX-License-Identifier: MIT
#include "atlas/plan/geometry.h"

#include <algorithm>

namespace atlas {

Rect united(const Rect& a, const Rect& b) {
  const int x = std::min(a.x, b.x);
  const int y = std::min(a.y, b.y);
  return {x, y, std::max(a.right(), b.right()) - x, std::max(a.bottom(), b.bottom()) - y};
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

Wall opposite(Wall wall) {
  switch (wall) {
    case Wall::kNorth:
      return Wall::kSouth;
    case Wall::kSouth:
      return Wall::kNorth;
    case Wall::kEast:
      return Wall::kWest;
    case Wall::kWest:
      return Wall::kEast;
  }
  return Wall::kNorth;
}

int wall_length(const Rect& r, Wall wall) {
  return north_south(wall) ? r.w : r.h;
}

Point door_point(const Rect& r, Wall wall, int offset) {
  switch (wall) {
    case Wall::kNorth:
      return {r.x + offset, r.y};
    case Wall::kSouth:
      return {r.x + offset, r.y + r.h};
    case Wall::kWest:
      return {r.x, r.y + offset};
    case Wall::kEast:
      return {r.x + r.w, r.y + offset};
  }
  return {};
}

Point inward(Wall wall) {
  switch (wall) {
    case Wall::kNorth:
      return {0, 1};
    case Wall::kSouth:
      return {0, -1};
    case Wall::kEast:
      return {-1, 0};
    case Wall::kWest:
      return {1, 0};
  }
  return {0, 1};
}

Point along(Wall wall) {
  return north_south(wall) ? Point{1, 0} : Point{0, 1};
}

Wall wall_entered(Point from, Point to) {
  if (from.x == to.x) return to.y > from.y ? Wall::kNorth : Wall::kSouth;
  return to.x > from.x ? Wall::kWest : Wall::kEast;
}

}  // namespace atlas
