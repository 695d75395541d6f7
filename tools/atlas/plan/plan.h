// SPDX-License-Identifier: MIT
// A floor plan: every level of a finished run laid out to scale on a grid of
// feet (geometry.h). A room's x, y is the north-west corner of its
// footprint, width runs east-west, height north-south.
//
// Two steps fill it in. The layout (layout/plan_layout.h) places rooms,
// doors, corridors and stairs; describe_plan (describe.h) then adds to the
// rooms what only the drawing needs. The JSON writer reads the first part,
// the drawing both: it reads nothing but the plan.
#ifndef ATLAS_PLAN_PLAN_H_
#define ATLAS_PLAN_PLAN_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "atlas/plan/geometry.h"
#include "framework/room_table.h"
#include "framework/run.h"

namespace atlas {

// The engine's room limit, which the title of an overflowed plan names.
inline constexpr int kRoomLimit = dungeon::kMaxRoomNumber;

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

enum class Water { kNone, kPool, kMagicalPool, kLake };

// What a door opens on.
enum class Passage { kDoor, kArchway, kLockedDoor, kBrokenDoor };

// REQUIRES: `name` is a passage kind the engine writes ("Door", "Archway",
// "Locked Door", "Broken Door").
Passage passage_kind(std::string_view name);

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

  // For the drawing (describe_plan): the report's description, empty for a
  // room never generated, and what the report lists in the room.
  std::string description;
  bool monster = false;
  bool trap = false;
  bool treasure = false;
  // Also for the drawing, in a room that is not a rectangle, by exit slot:
  // the short passage from the door on the footprint's edge in to the walls
  // (room_outline.h). Empty in a rectangle, whose doors are on its walls.
  std::array<std::vector<Point>, dungeon::kExitSlots> door_stubs;

  Rect footprint() const { return {x, y, width, height}; }
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

// One end of a stair: the room it is in and where it leads. It goes down
// when to_level is greater than its own level, and as many levels as they
// differ by.
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
