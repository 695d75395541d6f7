// SPDX-License-Identifier: MIT
// Treasure: an amount scaled by the room's level, its container, and often a
// guard on it or the way it is hidden, each one line of the room's treasure.
#ifndef DUNGEON_TABLES_TREASURE_H_
#define DUNGEON_TABLES_TREASURE_H_

#include <string_view>

#include "framework/room_table.h"

namespace dungeon {

// The amount is `per_level` times the level, or for kRollGems that many d4.
inline constexpr int kRollGems = 0;
struct Amount {
  std::string_view unit;  // follows the number
  int per_level;
};

enum class Protection { kNone, kGuarded, kHidden };

const Amount& amount_roll(int d100);
// Empty for the row where the treasure lies loose.
std::string_view container_roll(int d10);
Protection protection_roll(int d20);
std::string_view guard_roll(int d20);
std::string_view hiding_roll(int d20);

// Appends one treasure of level `level` to room n's treasure lines.
void place_treasure(Dungeon& d, int n, int level);

}  // namespace dungeon

#endif  // DUNGEON_TABLES_TREASURE_H_
