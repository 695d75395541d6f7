// SPDX-License-Identifier: MIT
#include "tables/stairs.h"

#include "framework/range_table.h"

namespace dungeon {
namespace {

constexpr Row<Stairs> kStairs[] = {
    {5, {2, -1, "Up 1 Level", "Down 1 Level"}},    {8, {3, -2, "Up 2 Levels", "Down 2 Levels"}},
    {14, {1, +1, "Down 1 Level", "Up 1 Level"}},   {19, {1, +2, "Down 2 Levels", "Up 2 Levels"}},
    {20, {1, +3, "Down 3 Levels", "Up 3 Levels"}},
};
static_assert(covers_die(kStairs, 20));

}  // namespace

const Stairs& stairs_roll(int d20) {
  return look_up(kStairs, d20);
}

bool place_stairs(Dungeon& d, int n, int slot) {
  const int current = d.room(n).level;
  const Stairs& stairs = stairs_roll(d.random.roll_die(20));
  if (current < stairs.lowest_from) return true;

  const int level = current + stairs.change;
  const bool up = stairs.change < 0;
  const bool made = add_room(
      d, n, slot,
      {stairs.here, up ? kStairUp : kStairDown, stairs.there, up ? kStairDown : kStairUp, level});
  if (level > d.tally.deepest_level) d.tally.deepest_level = level;
  return made;
}

}  // namespace dungeon
