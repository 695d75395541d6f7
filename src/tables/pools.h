// SPDX-License-Identifier: MIT
// Pools and lakes in caves and caverns. They are rolled while the cave is
// described, so a pool's monster and treasure come before anything else the
// room gets.
#ifndef DUNGEON_TABLES_POOLS_H_
#define DUNGEON_TABLES_POOLS_H_

#include <string_view>

#include "framework/fixed_text.h"
#include "framework/room_table.h"

namespace dungeon {

enum class PoolExtra { kNone, kMonsterAndTreasure, kMagic };

struct Pool {
  std::string_view text;
  PoolExtra extra;
};

struct Lake {
  std::string_view text;
  bool monster;
};

struct PoolEffect {
  std::string_view text;
  bool teleport;  // a second roll picks the destination, appended after the text
};

const Pool& pool_roll(int d20);
const Lake& lake_roll(int d20);
const PoolEffect& effect_roll(int d20);
std::string_view teleport_roll(int d20);

// Each appends its text (possibly nothing) to `feature`, the cave's feature
// text, and may stock room n.
void add_pool(Dungeon& d, FixedText<256>& feature, int n);
void add_lake(Dungeon& d, FixedText<256>& feature, int n);
void magic_pool_effect(Dungeon& d, FixedText<256>& text);

}  // namespace dungeon

#endif  // DUNGEON_TABLES_POOLS_H_
