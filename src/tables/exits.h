// SPDX-License-Identifier: MIT
// Exits and passages: how many new exits a room gets, which wall each is on
// relative to the way in, and what kind of passage it is. Every new exit
// creates and queues a new room on the same level at once.
#ifndef DUNGEON_TABLES_EXITS_H_
#define DUNGEON_TABLES_EXITS_H_

#include <array>
#include <string_view>

#include "framework/room_table.h"

namespace dungeon {

// The exit count for a room of a given area: `small` below `threshold`,
// `large` at or above it. kRollD4 stands for one d4, whatever the area.
inline constexpr int kRollD4 = -1;
struct ExitCount {
  int small;
  int large;
  int threshold;
};

const ExitCount& exit_count_roll(int d20);
// The new exit's wall for a room whose way back starts with `back_letter`;
// empty when the letter is none of N, S, E, W, D, U.
std::string_view direction_roll(char back_letter, int d20);
std::string_view passage_kind_roll(int d10);

// Rolls the wall and kind of a new exit out of room `from`: the two rolls of
// one new passage. The new room gets the opposite wall and the same kind.
Passage make_passage(Dungeon& d, int from);

// Gives room n its new exits, creating a room behind each. Returns false
// when the room limit stopped the run.
[[nodiscard]] bool place_exits(Dungeon& d, int n, int area);

}  // namespace dungeon

#endif  // DUNGEON_TABLES_EXITS_H_
