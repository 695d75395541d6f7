// SPDX-License-Identifier: MIT
// The plan's geometry, in whole feet: x grows east, y grows south (north is
// up on the page). Rooms, JSON and drawing share these, so that a wall means
// the same thing everywhere.
#ifndef ATLAS_PLAN_GEOMETRY_H_
#define ATLAS_PLAN_GEOMETRY_H_

#include <string_view>

namespace atlas {

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

// The north-west corner, the width east-west and the height north-south.
struct Rect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  int right() const { return x + w; }
  int bottom() const { return y + h; }
};

// The smallest rectangle holding both.
Rect united(const Rect& a, const Rect& b);

enum class Wall { kNorth, kSouth, kEast, kWest };

// "north", "south", "east", "west".
std::string_view wall_name(Wall wall);

// The wall an exit label names; false for stairs labels.
bool wall_of_label(std::string_view label, Wall* wall);

Wall opposite(Wall wall);

// North and south walls run east-west.
constexpr bool north_south(Wall wall) {
  return wall == Wall::kNorth || wall == Wall::kSouth;
}

int wall_length(const Rect& r, Wall wall);

// The point `offset` feet along `wall` of `r` from its west or north end.
Point door_point(const Rect& r, Wall wall, int offset);

// The unit step from `wall` into the room behind it.
Point inward(Wall wall);

// The unit step along `wall`, east or south.
Point along(Wall wall);

// The wall a straight passage from `from` to `to` enters a room through.
// REQUIRES: from != to, on one horizontal or vertical line.
Wall wall_entered(Point from, Point to);

}  // namespace atlas

#endif  // ATLAS_PLAN_GEOMETRY_H_
