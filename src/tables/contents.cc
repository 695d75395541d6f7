// SPDX-License-Identifier: MIT
#include "tables/contents.h"

#include "framework/range_table.h"
#include "tables/stairs.h"
#include "tables/treasure.h"

namespace dungeon {
namespace {

constexpr Row<Contents> kContents[] = {
    {12, Contents::kNothing}, {14, Contents::kMonster}, {17, Contents::kMonsterAndTreasure},
    {18, Contents::kStairs},  {19, Contents::kTrap},    {20, Contents::kTreasure},
};
static_assert(covers_die(kContents, 20));

// The names are printed as they stand, spelling included.
constexpr Row<std::string_view> kTraps[] = {
    {5, "Arrow Trap"},
    {6, "Poisoned Arrow Trap"},
    {7, "Ball Trap"},
    {9, "Caltrops"},
    {10, "Poisoned Calltrops"},
    {11, "Ceiling Block Falls"},
    {12, "Ceiling Collapses"},
    {13, "Ceiling Lowers"},
    {16, "Chute"},
    {18, "Falling Door"},
    {23, "One Way Door"},
    {30, "Resisting Door"},
    {31, "Specific Door"},
    {32, "Spring Door"},
    {33, "Collapsing Floor"},
    {34, "Illusionary Floor"},
    {36, "Blinding Gas"},
    {38, "Corroding Gas"},
    {40, "Fear Gas"},
    {42, "Nauseating Gas"},
    {46, "Obscuring Gas"},
    {48, "Posion Gas"},
    {50, "Sleeping Gas"},
    {52, "Slowing Gas"},
    {54, "Weakness Gas"},
    {56, "Jaw Trap"},
    {57, "Lightning Bolt"},
    {59, "Pendulum"},
    {63, "10' Pit"},
    {65, "10' Locking Pit"},
    {67, "10' Pit, Locking & Flooding"},
    {70, "10' Pit with spikes"},
    {72, "10' pit with poisoned spikes"},
    {77, "Passage blocked by falling bars"},
    {79, "Passage closed by stone block"},
    {80, "Elevator Room"},
    {81, "Flooding Room"},
    {82, "Sliding Room"},
    {84, "Scything Blade"},
    {87, "Spear Trap"},
    {88, "Poisoned Spear Trap"},
    {89, "Collapsing Stairs"},
    {91, "Teleporter"},
    {92, "Acid Vent"},
    {94, "Fire Vent"},
    {100, "Gas Vent"},
};
static_assert(covers_die(kTraps, 100));

}  // namespace

Contents contents_roll(int d20) {
  return look_up(kContents, d20);
}
std::string_view trap_roll(int d100) {
  return look_up(kTraps, d100);
}

bool stock_room(Dungeon& d, int n, int level, int stairs_slot) {
  switch (contents_roll(d.random.roll_die(20))) {
    case Contents::kNothing:
      break;
    case Contents::kMonster:
      place_monster(d, n);
      break;
    case Contents::kMonsterAndTreasure:
      place_monster(d, n);
      place_treasure(d, n, level);
      place_treasure(d, n, level);
      break;
    case Contents::kStairs:
      return place_stairs(d, n, stairs_slot);
    case Contents::kTrap:
      place_trap(d, n);
      break;
    case Contents::kTreasure:
      place_treasure(d, n, level);
      break;
  }
  return true;
}

void place_monster(Dungeon& d, int n) {
  d.room(n).monster = true;
  ++d.tally.monster_count;
}

void place_trap(Dungeon& d, int n) {
  d.room(n).trap = trap_roll(d.random.roll_die(100));
  ++d.tally.trap_count;
}

}  // namespace dungeon
