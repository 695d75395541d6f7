// SPDX-License-Identifier: MIT
// Room contents: the last roll of a room, which may place a monster, a trap,
// stairs to another level or treasure.
#ifndef DUNGEON_TABLES_CONTENTS_H_
#define DUNGEON_TABLES_CONTENTS_H_

#include <string_view>

#include "framework/room_table.h"

namespace dungeon {

enum class Contents { kNothing, kMonster, kMonsterAndTreasure, kStairs, kTrap, kTreasure };

Contents contents_roll(int d20);
std::string_view trap_roll(int d100);

// Stocks room n of level `level`; stairs go in `stairs_slot`. Returns false
// when new stairs ran into the room limit.
[[nodiscard]] bool stock_room(Dungeon& d, int n, int level, int stairs_slot);

// A room shows one "Monster" however many it gets; the count counts each.
void place_monster(Dungeon& d, int n);
void place_trap(Dungeon& d, int n);

}  // namespace dungeon

#endif  // DUNGEON_TABLES_CONTENTS_H_
