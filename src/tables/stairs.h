// SPDX-License-Identifier: MIT
// Stairs: the only way between levels. They lead up one or two levels (never
// above level 1) or down one to three, to a new room on that level.
#ifndef DUNGEON_TABLES_STAIRS_H_
#define DUNGEON_TABLES_STAIRS_H_

#include <string_view>

#include "framework/room_table.h"

namespace dungeon {

struct Stairs {
  int lowest_from;         // the row applies only from this level down
  int change;              // levels gained: negative goes up
  std::string_view here;   // label in the room with the stairs
  std::string_view there;  // label of the way back in the new room
};

const Stairs& stairs_roll(int d20);

// Rolls stairs for room n into exit slot `slot`, creating the room they lead
// to unless they would climb above level 1. Returns false when the new room
// ran into the room limit.
[[nodiscard]] bool place_stairs(Dungeon& d, int n, int slot);

}  // namespace dungeon

#endif  // DUNGEON_TABLES_STAIRS_H_
