// SPDX-License-Identifier: MIT
// A floor plan: every level of a finished run laid out to scale on a grid of
// feet. x grows east, y grows south (north is up on the page); a room's x, y
// is the north-west corner of its footprint, width runs east-west, height
// north-south. The layout (plan_layout.h) fills it in; the writers turn it
// into JSON, SVG and PNG.
#ifndef ATLAS_PLAN_PLAN_H_
#define ATLAS_PLAN_PLAN_H_

#include <cstdint>
#include <string_view>
#include <vector>

#include "framework/run.h"

namespace atlas {

enum class PlanShape {
  kRectangle,
  kCircle,
  kTriangle,
  kTrapezoid,
  kIrregular,
  kOval,
  kHexagon,
  kOctagon,
  kCave,
  kDoubleCave,
};

// The JSON name: "rectangle", "circle", ..., "double-cave".
std::string_view plan_shape_name(PlanShape shape);

enum class Wall { kNorth, kSouth, kEast, kWest };

// "north", "south", "east", "west".
std::string_view wall_name(Wall wall);

// The wall an exit label names; false for stairs labels.
bool wall_of_label(std::string_view label, Wall* wall);

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

enum class Water { kNone, kPool, kMagicalPool, kLake };

struct PlanRoom {
  int number = 0;
  PlanShape shape = PlanShape::kRectangle;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  // False for a room an overflow left numbered but never generated: drawn as
  // a dashed 10' square marked "not explored".
  bool generated = true;
  // Non-rectangles only: a closed polygon inside the footprint, absolute
  // coordinates.
  std::vector<Point> outline;
  Water water = Water::kNone;
};

// One end of a passage through a wall.
struct PlanDoor {
  int room = 0;
  int slot = 0;
  Wall wall = Wall::kNorth;
  Point at;                  // on the wall line of the room's footprint
  std::string_view passage;  // "Door", "Archway", "Locked Door", "Broken Door"
};

struct PassageEnd {
  int room = 0;
  int slot = 0;
};

// A corridor from the door of `from` to the door of `to`: horizontal and
// vertical segments; the first and last points are the two doors.
struct PlanCorridor {
  PassageEnd from;
  PassageEnd to;
  std::vector<Point> points;
};

// One end of a stair: the room it is in and where it leads.
struct PlanStairs {
  int room = 0;
  int slot = 0;
  std::string_view direction;  // the exit label: "Down 1 Level", "Up 2 Levels", ...
  int to_room = 0;
  int to_level = 0;
};

struct PlanLevel {
  int level = 0;
  std::vector<PlanRoom> rooms;  // in room-number order
  std::vector<PlanDoor> doors;
  std::vector<PlanCorridor> corridors;
  std::vector<PlanStairs> stairs;
  int crossings = 0;  // places where two corridors cross
};

struct Plan {
  uint32_t seed = 0;
  dungeon::RunOutcome outcome = dungeon::RunOutcome::kComplete;
  std::vector<PlanLevel> levels;  // in level order
};

}  // namespace atlas

#endif  // ATLAS_PLAN_PLAN_H_
