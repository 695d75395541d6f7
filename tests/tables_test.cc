// SPDX-License-Identifier: MIT
// Every row of every table, checked at both of its ends: a row shifted by one
// is the likeliest slip when a table is typed in.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tables/contents.h"
#include "tables/exits.h"
#include "tables/pools.h"
#include "tables/room_shape.h"
#include "tables/stairs.h"
#include "tables/treasure.h"

namespace dungeon {
namespace {

struct Range {
  int first;
  int last;
  std::string expected;
};

// Checks that every roll of first..last gives `expected` and that the ranges
// cover 1..faces without gaps.
void expect_rows(const std::vector<Range>& rows, int faces,
                 const std::function<std::string(int)>& roll) {
  int next = 1;
  for (const Range& row : rows) {
    ASSERT_EQ(row.first, next) << "gap before " << row.expected;
    for (int r = row.first; r <= row.last; ++r) EXPECT_EQ(roll(r), row.expected) << "roll " << r;
    next = row.last + 1;
  }
  EXPECT_EQ(next, faces + 1);
}

std::string str(std::string_view s) {
  return std::string(s);
}

TEST(TablesTest, RoomRoll) {
  expect_rows({{1, 2, "10' x 10' Room 100"},
               {3, 4, "20' x 20' Room 400"},
               {5, 6, "30' x 30' Room 900"},
               {7, 8, "40' x 40' Room 1600"},
               {9, 10, "10' x 20' Room 200"},
               {11, 13, "20' x 30' Room 600"},
               {14, 15, "20' x 40' Room 800"},
               {16, 17, "30' x 40' Room 1200"},
               {18, 20, " 0"}},
              20, [](int r) {
                const RoomRoll& row = room_roll(r);
                return str(row.description) + " " + std::to_string(row.area);
              });
}

TEST(TablesTest, ShapeAndSize) {
  expect_rows({{1, 5, "Circular "},
               {6, 8, "Triangular "},
               {9, 11, "Trapezoidal "},
               {12, 13, "Irregular "},
               {14, 15, "Oval "},
               {16, 17, "Hexagonal "},
               {18, 19, "Octangonal "},
               {20, 20, ""}},
              20, [](int r) { return str(shape_roll(r)); });
  expect_rows(
      {{1, 3, "about 500sq. ft. 500"},
       {4, 6, "about 900sq. ft. 900"},
       {7, 8, "about 1,300sq. ft. 1300"},
       {9, 10, "about 2000sq. ft. 2000"},
       {11, 12, "about 2700sq. ft. 2700"},
       {13, 14, "about 3400sq. ft. 3400"},
       {15, 20, "about 4000sq. ft. 4000"}},
      20, [](int r) { return str(size_roll(r).text) + " " + std::to_string(size_roll(r).area); });
}

TEST(TablesTest, Caves) {
  expect_rows({{1, 5, "Cave| about 40' x 60'|2400|-"},
               {6, 7, "Cave| about 50' x 75'|3750|-"},
               {8, 9, "Double Cave| about 20'x30' & 60'x80'|5400|-"},
               {10, 11, "Double Cave| about 35'x50' & 80'x90'|8950|pool"},
               {12, 14, "Cavern| about 95'x120'|11875|pool"},
               {15, 16, "Cavern| about 120'x150'|18000|-"},
               {17, 18, "Cavern| about 150'x200'|30000|pool"},
               {19, 20, "Mammoth Cavern| about 300'x400'|120000|lake"}},
              20, [](int r) {
                const Cave& c = cave_roll(r);
                const char* water = c.water == Water::kPool   ? "pool"
                                    : c.water == Water::kLake ? "lake"
                                                              : "-";
                return str(c.shape) + "|" + str(c.size) + "|" + std::to_string(c.area) + "|" +
                       water;
              });
}

TEST(TablesTest, ExitCounts) {
  expect_rows({{1, 3, "1 2 600"},
               {4, 6, "2 3 600"},
               {7, 9, "3 4 600"},
               {10, 12, "0 1 1200"},
               {13, 15, "0 1 1600"},
               {16, 18, "d4"},
               {19, 20, "1 1"}},
              20, [](int r) {
                const ExitCount& c = exit_count_roll(r);
                if (c.small == kRollD4) return std::string("d4");
                if (c.small == c.large)
                  return std::to_string(c.small) + " " + std::to_string(c.large);
                return std::to_string(c.small) + " " + std::to_string(c.large) + " " +
                       std::to_string(c.threshold);
              });
}

TEST(TablesTest, DirectionsRelativeToTheWayIn) {
  const std::vector<std::pair<char, std::vector<std::string>>> table = {
      {'N', {"South", "East", "West", "North"}}, {'S', {"North", "West", "East", "South"}},
      {'E', {"West", "South", "North", "East"}}, {'W', {"East", "North", "South", "West"}},
      {'D', {"West", "East", "West", "East"}},   {'U', {"East", "West", "East", "West"}},
  };
  for (const auto& [letter, labels] : table) {
    SCOPED_TRACE(std::string(1, letter));
    expect_rows({{1, 7, labels[0]}, {8, 12, labels[1]}, {13, 17, labels[2]}, {18, 20, labels[3]}},
                20, [letter = letter](int r) { return str(direction_roll(letter, r)); });
  }
  EXPECT_TRUE(direction_roll('X', 5).empty());
  EXPECT_EQ(opposite_direction("North"), "South");
  EXPECT_EQ(opposite_direction("South"), "North");
  EXPECT_EQ(opposite_direction("East"), "West");
  EXPECT_EQ(opposite_direction("West"), "East");
}

TEST(TablesTest, PassageKinds) {
  expect_rows({{1, 3, "Archway"}, {4, 7, "Door"}, {8, 9, "Locked Door"}, {10, 10, "Broken Door"}},
              10, [](int r) { return str(passage_kind_roll(r)); });
}

TEST(TablesTest, Contents) {
  expect_rows({{1, 12, "nothing"},
               {13, 14, "monster"},
               {15, 17, "monster+2 treasures"},
               {18, 18, "stairs"},
               {19, 19, "trap"},
               {20, 20, "treasure"}},
              20, [](int r) {
                switch (contents_roll(r)) {
                  case Contents::kNothing:
                    return std::string("nothing");
                  case Contents::kMonster:
                    return std::string("monster");
                  case Contents::kMonsterAndTreasure:
                    return std::string("monster+2 treasures");
                  case Contents::kStairs:
                    return std::string("stairs");
                  case Contents::kTrap:
                    return std::string("trap");
                  case Contents::kTreasure:
                    return std::string("treasure");
                }
                return std::string("?");
              });
}

TEST(TablesTest, Traps) {
  expect_rows({{1, 5, "Arrow Trap"},
               {6, 6, "Poisoned Arrow Trap"},
               {7, 7, "Ball Trap"},
               {8, 9, "Caltrops"},
               {10, 10, "Poisoned Calltrops"},
               {11, 11, "Ceiling Block Falls"},
               {12, 12, "Ceiling Collapses"},
               {13, 13, "Ceiling Lowers"},
               {14, 16, "Chute"},
               {17, 18, "Falling Door"},
               {19, 23, "One Way Door"},
               {24, 30, "Resisting Door"},
               {31, 31, "Specific Door"},
               {32, 32, "Spring Door"},
               {33, 33, "Collapsing Floor"},
               {34, 34, "Illusionary Floor"},
               {35, 36, "Blinding Gas"},
               {37, 38, "Corroding Gas"},
               {39, 40, "Fear Gas"},
               {41, 42, "Nauseating Gas"},
               {43, 46, "Obscuring Gas"},
               {47, 48, "Posion Gas"},
               {49, 50, "Sleeping Gas"},
               {51, 52, "Slowing Gas"},
               {53, 54, "Weakness Gas"},
               {55, 56, "Jaw Trap"},
               {57, 57, "Lightning Bolt"},
               {58, 59, "Pendulum"},
               {60, 63, "10' Pit"},
               {64, 65, "10' Locking Pit"},
               {66, 67, "10' Pit, Locking & Flooding"},
               {68, 70, "10' Pit with spikes"},
               {71, 72, "10' pit with poisoned spikes"},
               {73, 77, "Passage blocked by falling bars"},
               {78, 79, "Passage closed by stone block"},
               {80, 80, "Elevator Room"},
               {81, 81, "Flooding Room"},
               {82, 82, "Sliding Room"},
               {83, 84, "Scything Blade"},
               {85, 87, "Spear Trap"},
               {88, 88, "Poisoned Spear Trap"},
               {89, 89, "Collapsing Stairs"},
               {90, 91, "Teleporter"},
               {92, 92, "Acid Vent"},
               {93, 94, "Fire Vent"},
               {95, 100, "Gas Vent"}},
              100, [](int r) { return str(trap_roll(r)); });
}

TEST(TablesTest, Stairs) {
  expect_rows({{1, 5, "2 -1 Up 1 Level|Down 1 Level"},
               {6, 8, "3 -2 Up 2 Levels|Down 2 Levels"},
               {9, 14, "1 1 Down 1 Level|Up 1 Level"},
               {15, 19, "1 2 Down 2 Levels|Up 2 Levels"},
               {20, 20, "1 3 Down 3 Levels|Up 3 Levels"}},
              20, [](int r) {
                const Stairs& s = stairs_roll(r);
                return std::to_string(s.lowest_from) + " " + std::to_string(s.change) + " " +
                       str(s.here) + "|" + str(s.there);
              });
}

TEST(TablesTest, TreasureAmounts) {
  expect_rows({{1, 25, " copper pieces 1000"},
               {26, 50, " silver pieces 1000"},
               {51, 65, " electrum pieces 750"},
               {66, 80, " gold pieces 250"},
               {81, 90, " platimum pieces 100"},
               {91, 94, " gems d4"},
               {95, 96, " pieces of jewelry 1"},
               {97, 100, " magic items 1"}},
              100, [](int r) {
                const Amount& a = amount_roll(r);
                return str(a.unit) + " " +
                       (a.per_level == kRollGems ? std::string("d4") : std::to_string(a.per_level));
              });
}

TEST(TablesTest, TreasureContainersAndProtection) {
  expect_rows({{1, 1, "in bags"},
               {2, 2, "in sacks"},
               {3, 3, "in small coffers"},
               {4, 4, "in chests"},
               {5, 5, "in huge chests"},
               {6, 6, "in pottery jars"},
               {7, 7, "in metal urns"},
               {8, 8, "in stone containers"},
               {9, 9, "in iron trunks"},
               {10, 10, ""}},
              10, [](int r) { return str(container_roll(r)); });
  expect_rows({{1, 4, "none"}, {5, 8, "guarded"}, {9, 20, "hidden"}}, 20, [](int r) {
    const Protection p = protection_roll(r);
    return std::string(p == Protection::kNone      ? "none"
                       : p == Protection::kGuarded ? "guarded"
                                                   : "hidden");
  });
}

TEST(TablesTest, TreasureGuards) {
  expect_rows({{1, 2, "contact poison on container"},
               {3, 4, "contact poison on treasure"},
               {5, 6, "poisoned needles in lock"},
               {7, 7, "poisoned needles in handles"},
               {8, 8, "spring darts firing from front of container"},
               {9, 9, "spring darts firing up from top of container"},
               {10, 10, "spring darts firing up from inside bottom of container"},
               {11, 12, "blade scything across inside"},
               {13, 13, "poisonous insects or reptiles living inside container"},
               {14, 14, "gas released by opening container"},
               {15, 15, "trapdoor opening in front of container"},
               {16, 16, "trapdoor openeing 6' in front of container"},
               {17, 17, "stone block dropping in front of container"},
               {18, 18, "spears released from walls when container opened"},
               {19, 19, "explosive runes"},
               {20, 20, "symbol"}},
              20, [](int r) { return str(guard_roll(r)); });
}

TEST(TablesTest, TreasureHidingPlaces) {
  expect_rows({{1, 3, " by invisibility"},
               {4, 5, " by an illusion"},
               {6, 6, " in a secret space under the container"},
               {7, 8, " in a secret compartment in the container"},
               {9, 9, " inside an ordinary item in plain view"},
               {10, 10, " by being disguised to appear as something else"},
               {11, 11, "  under a heap of trash or dung"},
               {12, 13, " under a loose stone in the floor"},
               {14, 16, " under a loose stone in the wall"},
               {17, 20, " in a secret room nearby"}},
              20, [](int r) { return str(hiding_roll(r)); });
}

TEST(TablesTest, PoolsAndLakes) {
  expect_rows({{1, 8, "|none"},
               {9, 10, " with a pool|none"},
               {11, 18, " with a pool|monster+treasure"},
               {19, 20, " with a magical pool|magic"}},
              20, [](int r) {
                const Pool& p = pool_roll(r);
                const char* extra = p.extra == PoolExtra::kNone                 ? "none"
                                    : p.extra == PoolExtra::kMonsterAndTreasure ? "monster+treasure"
                                                                                : "magic";
                return str(p.text) + "|" + extra;
              });
  expect_rows({{1, 10, "|-"}, {11, 15, " with a lake|-"}, {16, 20, " with a lake|monster"}}, 20,
              [](int r) {
                return str(lake_roll(r).text) + "|" + (lake_roll(r).monster ? "monster" : "-");
              });
}

TEST(TablesTest, MagicPoolEffects) {
  expect_rows(
      {{1, 4, " which turns gold into platinum"},
       {5, 8, " which urns gold into lead"},
       {9, 12, " which adds 1d3 to a player's characteristic"},
       {13, 15, " which subtracts 1d3 from a player's characteristic"},
       {16, 17, " which will grant 1 wish"},
       {18, 20, " which acts as a teleport +"}},
      20, [](int r) { return str(effect_roll(r).text) + (effect_roll(r).teleport ? "+" : ""); });
  expect_rows({{1, 7, " back to the surface"},
               {8, 12, " elsewhere on same level"},
               {13, 16, " down one level"},
               {17, 20, " 100 miles away"}},
              20, [](int r) { return str(teleport_roll(r)); });
}

}  // namespace
}  // namespace dungeon
