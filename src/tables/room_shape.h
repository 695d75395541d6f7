// SPDX-License-Identifier: MIT
// Room shape and area: a plain rectangle most of the time, else an unusual
// shape with an approximate size, or a cave or cavern that may hold water.
#ifndef DUNGEON_TABLES_ROOM_SHAPE_H_
#define DUNGEON_TABLES_ROOM_SHAPE_H_

#include <string_view>

#include "framework/room_table.h"

namespace dungeon {

// A rectangular room, or (area 0) an unusual shape still to be rolled.
struct RoomRoll {
  std::string_view description;
  int area;
};

enum class Water { kNone, kPool, kLake };

struct Cave {
  std::string_view shape;
  std::string_view size;
  int area;
  Water water;
};

struct ShapeSize {
  std::string_view text;
  int area;
};

const RoomRoll& room_roll(int d20);
// Empty for the row that makes the room a cave.
std::string_view shape_roll(int d20);
const Cave& cave_roll(int d20);
const ShapeSize& size_roll(int d20);

// Rolls room n's description (replacing it) and returns its floor area in
// square feet. A cave's pool or lake may place a monster and treasure in
// room n on the way.
int describe_room(Dungeon& d, int n);

}  // namespace dungeon

#endif  // DUNGEON_TABLES_ROOM_SHAPE_H_
