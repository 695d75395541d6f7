// SPDX-License-Identifier: MIT
#include "tables/treasure.h"

#include <charconv>

#include "framework/range_table.h"

namespace dungeon {
namespace {

constexpr Row<Amount> kAmounts[] = {
    {25, {" copper pieces", 1000}},  {50, {" silver pieces", 1000}},
    {65, {" electrum pieces", 750}}, {80, {" gold pieces", 250}},
    {90, {" platimum pieces", 100}}, {94, {" gems", kRollGems}},
    {96, {" pieces of jewelry", 1}}, {100, {" magic items", 1}},
};
static_assert(covers_die(kAmounts, 100));

constexpr Row<std::string_view> kContainers[] = {
    {1, "in bags"},          {2, "in sacks"},
    {3, "in small coffers"}, {4, "in chests"},
    {5, "in huge chests"},   {6, "in pottery jars"},
    {7, "in metal urns"},    {8, "in stone containers"},
    {9, "in iron trunks"},   {10, ""},
};
static_assert(covers_die(kContainers, 10));

constexpr Row<Protection> kProtections[] = {
    {4, Protection::kNone},
    {8, Protection::kGuarded},
    {20, Protection::kHidden},
};
static_assert(covers_die(kProtections, 20));

constexpr Row<std::string_view> kGuards[] = {
    {2, "contact poison on container"},
    {4, "contact poison on treasure"},
    {6, "poisoned needles in lock"},
    {7, "poisoned needles in handles"},
    {8, "spring darts firing from front of container"},
    {9, "spring darts firing up from top of container"},
    {10, "spring darts firing up from inside bottom of container"},
    {12, "blade scything across inside"},
    {13, "poisonous insects or reptiles living inside container"},
    {14, "gas released by opening container"},
    {15, "trapdoor opening in front of container"},
    {16, "trapdoor openeing 6' in front of container"},
    {17, "stone block dropping in front of container"},
    {18, "spears released from walls when container opened"},
    {19, "explosive runes"},
    {20, "symbol"},
};
static_assert(covers_die(kGuards, 20));

// Each begins with a space; row 11 with two.
constexpr Row<std::string_view> kHidingPlaces[] = {
    {3, " by invisibility"},
    {5, " by an illusion"},
    {6, " in a secret space under the container"},
    {8, " in a secret compartment in the container"},
    {9, " inside an ordinary item in plain view"},
    {10, " by being disguised to appear as something else"},
    {11, "  under a heap of trash or dung"},
    {13, " under a loose stone in the floor"},
    {16, " under a loose stone in the wall"},
    {20, " in a secret room nearby"},
};
static_assert(covers_die(kHidingPlaces, 20));

constexpr std::string_view kLineEnd = "\n\t";

}  // namespace

const Amount& amount_roll(int d100) {
  return look_up(kAmounts, d100);
}
std::string_view container_roll(int d10) {
  return look_up(kContainers, d10);
}
Protection protection_roll(int d20) {
  return look_up(kProtections, d20);
}
std::string_view guard_roll(int d20) {
  return look_up(kGuards, d20);
}
std::string_view hiding_roll(int d20) {
  return look_up(kHidingPlaces, d20);
}

void place_treasure(Dungeon& d, int n, int level) {
  ArenaText& lines = d.room(n).treasure;
  const auto add = [&](std::string_view text) { d.treasures.append(lines, text); };

  const Amount& amount = amount_roll(d.random.roll_die(100));
  const int value =
      amount.per_level == kRollGems ? d.random.roll_dice(level, 4) : level * amount.per_level;
  char digits[16];
  const auto formatted = std::to_chars(digits, digits + sizeof digits, value);
  add({digits, formatted.ptr});
  add(amount.unit);
  add(kLineEnd);

  const std::string_view container = container_roll(d.random.roll_die(10));
  if (container.empty()) {
    add("The treasure is lying around loose");
  } else {
    add("The treasure is contained ");
    add(container);
  }
  add(kLineEnd);

  switch (protection_roll(d.random.roll_die(20))) {
    case Protection::kNone:
      break;
    case Protection::kGuarded:
      add("Treasure is guarded by ");
      add(guard_roll(d.random.roll_die(20)));
      add(kLineEnd);
      break;
    case Protection::kHidden:
      add("Treasure is hidden");
      add(hiding_roll(d.random.roll_die(20)));
      add(kLineEnd);
      break;
  }
  ++d.tally.treasure_count;
}

}  // namespace dungeon
