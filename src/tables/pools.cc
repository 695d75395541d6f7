// SPDX-License-Identifier: MIT
#include "tables/pools.h"

#include "framework/range_table.h"
#include "tables/contents.h"
#include "tables/treasure.h"

namespace dungeon {
namespace {

constexpr Row<Pool> kPools[] = {
    {8, {"", PoolExtra::kNone}},
    {10, {" with a pool", PoolExtra::kNone}},
    {18, {" with a pool", PoolExtra::kMonsterAndTreasure}},
    {20, {" with a magical pool", PoolExtra::kMagic}},
};
static_assert(covers_die(kPools, 20));

constexpr Row<PoolEffect> kEffects[] = {
    {4, {" which turns gold into platinum", false}},
    {8, {" which urns gold into lead", false}},
    {12, {" which adds 1d3 to a player's characteristic", false}},
    {15, {" which subtracts 1d3 from a player's characteristic", false}},
    {17, {" which will grant 1 wish", false}},
    {20, {" which acts as a teleport ", true}},
};
static_assert(covers_die(kEffects, 20));

// Each begins with a space, so the teleport text and its destination meet in
// two spaces.
constexpr Row<std::string_view> kTeleports[] = {
    {7, " back to the surface"},
    {12, " elsewhere on same level"},
    {16, " down one level"},
    {20, " 100 miles away"},
};
static_assert(covers_die(kTeleports, 20));

constexpr Row<Lake> kLakes[] = {
    {10, {"", false}},
    {15, {" with a lake", false}},
    {20, {" with a lake", true}},
};
static_assert(covers_die(kLakes, 20));

}  // namespace

const Pool& pool_roll(int d20) {
  return look_up(kPools, d20);
}
const Lake& lake_roll(int d20) {
  return look_up(kLakes, d20);
}
const PoolEffect& effect_roll(int d20) {
  return look_up(kEffects, d20);
}
std::string_view teleport_roll(int d20) {
  return look_up(kTeleports, d20);
}

void add_pool(Dungeon& d, FixedText<256>& feature, int n) {
  const Pool& pool = pool_roll(d.random.roll_die(20));
  feature.append(pool.text);
  if (pool.extra == PoolExtra::kMonsterAndTreasure) {
    place_monster(d, n);
    place_treasure(d, n, d.room(n).level);
  } else if (pool.extra == PoolExtra::kMagic) {
    magic_pool_effect(d, feature);
  }
}

void magic_pool_effect(Dungeon& d, FixedText<256>& text) {
  const PoolEffect& effect = effect_roll(d.random.roll_die(20));
  text.append(effect.text);
  if (effect.teleport) text.append(teleport_roll(d.random.roll_die(20)));
}

void add_lake(Dungeon& d, FixedText<256>& feature, int n) {
  const Lake& lake = lake_roll(d.random.roll_die(20));
  feature.append(lake.text);
  if (lake.monster) place_monster(d, n);
}

}  // namespace dungeon
