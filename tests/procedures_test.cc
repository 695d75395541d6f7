// SPDX-License-Identifier: MIT
// The procedures that roll on the tables, driven from chosen dice states.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "framework/run.h"
#include "tables/contents.h"
#include "tables/exits.h"
#include "tables/room_shape.h"
#include "tables/stairs.h"
#include "tables/treasure.h"

namespace dungeon {
namespace {

// The first seed from which `rolls` holds: lets a test pick its dice.
uint32_t seed_where(const std::function<bool(Random&)>& rolls) {
  for (uint32_t seed = 0;; ++seed) {
    Random random(seed);
    if (rolls(random)) return seed;
  }
}

bool between(int value, int low, int high) {
  return value >= low && value <= high;
}

class ProceduresTest : public ::testing::Test {
 protected:
  ProceduresTest() : d_(make_dungeon()) {
    d_->tally = DungeonTally{};
    d_->tally.next_room = 20;
  }

  // A freshly created room n on `level`, entered from room 1 through its
  // south wall.
  RoomRecord& room(int n, int level) {
    RoomRecord& r = d_->rooms.create(n);
    r.exits[kBackSlot] = {kSouth, "Door", 1};
    r.level = level;
    return r;
  }

  std::unique_ptr<Dungeon> d_;
};

TEST_F(ProceduresTest, MonsterWithTwoTreasures) {
  d_->random.random_seed(seed_where([](Random& r) { return between(r.roll_die(20), 15, 17); }));
  room(12, 3);
  ASSERT_TRUE(stock_room(*d_, 12, 3, kStairsSlot));
  EXPECT_TRUE(d_->room(12).monster);
  EXPECT_EQ(d_->tally.monster_count, 1);
  EXPECT_EQ(d_->tally.treasure_count, 2);
  const std::string treasure(d_->room(12).treasure.view());
  std::size_t containers = 0;
  for (auto at = treasure.find("The treasure is"); at != std::string::npos;
       at = treasure.find("The treasure is", at + 1)) {
    ++containers;
  }
  EXPECT_EQ(containers, 2u) << treasure;
  EXPECT_EQ(treasure.substr(treasure.size() - 2), "\n\t");
}

TEST_F(ProceduresTest, TreasureScalesWithLevel) {
  const std::map<std::string, int> per_level = {{"copper pieces", 1000},  {"silver pieces", 1000},
                                                {"electrum pieces", 750}, {"gold pieces", 250},
                                                {"platimum pieces", 100}, {"pieces of jewelry", 1},
                                                {"magic items", 1}};
  std::set<std::string> units_seen;
  for (uint32_t seed = 0; seed < 300; ++seed) {
    d_->random.random_seed(seed);
    RoomRecord& r = room(30, 3);
    place_treasure(*d_, 30, 3);
    const std::string text(r.treasure.view());
    const auto space = text.find(' ');
    const auto end = text.find("\n\t");
    const int amount = std::stoi(text.substr(0, space));
    const std::string unit = text.substr(space + 1, end - space - 1);
    units_seen.insert(unit);
    if (unit == "gems") {
      EXPECT_TRUE(between(amount, 3, 12)) << text;
    } else {
      ASSERT_TRUE(per_level.count(unit)) << text;
      EXPECT_EQ(amount, 3 * per_level.at(unit)) << text;
    }
    // Two or three lines, and never both guarded and hidden.
    const bool guarded = text.find("Treasure is guarded by ") != std::string::npos;
    const bool hidden = text.find("Treasure is hidden ") != std::string::npos;
    EXPECT_FALSE(guarded && hidden) << text;
  }
  EXPECT_EQ(units_seen.size(), 8u);
}

TEST_F(ProceduresTest, StairsNeverClimbAboveLevelOne) {
  // Up one level from level 1, up two from level 2: nothing is made.
  const struct { int level, low, high; } cases[] = {{1, 1, 5}, {1, 6, 8}, {2, 6, 8}};
  for (const auto& c : cases) {
    const uint32_t seed =
        seed_where([&](Random& r) { return between(r.roll_die(20), c.low, c.high); });
    d_->random.random_seed(seed);
    room(15, c.level);
    ASSERT_TRUE(place_stairs(*d_, 15, kStairsSlot));
    EXPECT_EQ(d_->room(15).exits[kStairsSlot].room, 0);
    EXPECT_EQ(d_->tally.next_room, 20);
    EXPECT_EQ(d_->tally.deepest_level, 1);
    Random expected(seed);
    expected.roll_die(20);
    EXPECT_EQ(d_->random.state(), expected.state()) << "exactly one d20 drawn";
  }
}

TEST_F(ProceduresTest, StairsUpFromLevelTwoAndDownThree) {
  d_->random.random_seed(seed_where([](Random& r) { return between(r.roll_die(20), 1, 5); }));
  room(15, 2);
  ASSERT_TRUE(place_stairs(*d_, 15, kStairsSlot));
  const Exit& stairs = d_->room(15).exits[kStairsSlot];
  EXPECT_EQ(stairs.label, "Up 1 Level");
  EXPECT_EQ(stairs.kind, "Stair Up");
  EXPECT_EQ(stairs.room, 20);
  EXPECT_EQ(d_->room(20).level, 1);
  EXPECT_EQ(d_->room(20).exits[kBackSlot].label, "Down 1 Level");
  EXPECT_EQ(d_->room(20).exits[kBackSlot].kind, "Stair Down");

  d_->random.random_seed(seed_where([](Random& r) { return r.roll_die(20) == 20; }));
  room(16, 4);
  ASSERT_TRUE(place_stairs(*d_, 16, kStairsSlot));
  EXPECT_EQ(d_->room(21).level, 7);
  EXPECT_EQ(d_->room(21).exits[kBackSlot].label, "Up 3 Levels");
  EXPECT_EQ(d_->tally.deepest_level, 7);
}

TEST_F(ProceduresTest, FirstTenRoomsGetOneMoreExit) {
  // Base count 1 (d20 of 19-20) minus the way back is no exit, raised to one
  // for rooms up to 10.
  const uint32_t seed = seed_where([](Random& r) { return r.roll_die(20) >= 19; });
  d_->random.random_seed(seed);
  room(10, 1);
  ASSERT_TRUE(place_exits(*d_, 10, 100));
  EXPECT_EQ(d_->tally.next_room, 21);
  EXPECT_EQ(d_->room(10).exits[2].room, 20);

  d_->random.random_seed(seed);
  room(11, 1);
  ASSERT_TRUE(place_exits(*d_, 11, 100));
  EXPECT_EQ(d_->tally.next_room, 21);
}

TEST_F(ProceduresTest, AreaThresholdsCountAsLarge) {
  // d20 of 10-12: base 1 at 1200 or more, 0 below. Room 10 gets one more,
  // so one new exit or none.
  const uint32_t seed = seed_where([](Random& r) { return between(r.roll_die(20), 10, 12); });
  for (const int area : {1199, 1200}) {
    d_->tally.next_room = 20;
    d_->random.random_seed(seed);
    room(10, 1);
    ASSERT_TRUE(place_exits(*d_, 10, area));
    EXPECT_EQ(d_->tally.next_room, area >= 1200 ? 21 : 20) << "area " << area;
  }
  // d20 of 7-9 at 600: four exits counting the way back, so three new ones.
  d_->tally.next_room = 20;
  d_->random.random_seed(seed_where([](Random& r) { return between(r.roll_die(20), 7, 9); }));
  room(11, 1);
  ASSERT_TRUE(place_exits(*d_, 11, 600));
  EXPECT_EQ(d_->tally.next_room, 23);
  for (int slot = 2; slot <= 4; ++slot) {
    const Exit& exit = d_->room(11).exits[static_cast<std::size_t>(slot)];
    EXPECT_EQ(exit.room, 18 + slot);
    EXPECT_EQ(d_->room(exit.room).exits[kBackSlot].kind, exit.kind);
    EXPECT_EQ(d_->room(exit.room).exits[kBackSlot].label, opposite_direction(exit.label));
  }
  EXPECT_EQ(d_->room(11).exits[1].room, 0);
}

TEST_F(ProceduresTest, QueueingRoomOneThousandAndOneStopsTheRun) {
  d_->random.random_seed(seed_where([](Random& r) { return between(r.roll_die(20), 7, 9); }));
  d_->tally.next_room = kMaxRoomNumber;
  room(500, 1);
  EXPECT_FALSE(place_exits(*d_, 500, 900));
  EXPECT_EQ(d_->tally.next_room, kMaxRoomNumber + 2);
  EXPECT_EQ(d_->room(1001).exits[kBackSlot].room, 500);
  EXPECT_EQ(d_->pending.top, 1);  // room 1000 was queued, 1001 was not
}

TEST_F(ProceduresTest, PoolWithMonsterAndTreasureComesFirst) {
  // Unusual shape, cave, the 95' x 120' cavern, a pool with a monster.
  d_->random.random_seed(seed_where([](Random& r) {
    return r.roll_die(20) >= 18 && r.roll_die(20) == 20 && between(r.roll_die(20), 12, 14) &&
           between(r.roll_die(20), 11, 18);
  }));
  room(40, 2);
  EXPECT_EQ(describe_room(*d_, 40), 11875);
  EXPECT_EQ(d_->room(40).description.view(), "Cavern about 95'x120' with a pool");
  EXPECT_TRUE(d_->room(40).monster);
  EXPECT_EQ(d_->tally.monster_count, 1);
  EXPECT_EQ(d_->tally.treasure_count, 1);
  EXPECT_FALSE(d_->room(40).treasure.empty());
}

TEST_F(ProceduresTest, MagicPoolTeleportKeepsBothSpaces) {
  d_->random.random_seed(seed_where([](Random& r) {
    return r.roll_die(20) >= 18 && r.roll_die(20) == 20 && between(r.roll_die(20), 17, 18) &&
           r.roll_die(20) >= 19 && r.roll_die(20) >= 18 && r.roll_die(20) <= 7;
  }));
  room(41, 1);
  EXPECT_EQ(describe_room(*d_, 41), 30000);
  EXPECT_EQ(d_->room(41).description.view(),
            "Cavern about 150'x200' with a magical pool which acts as a teleport  back to the "
            "surface");
  EXPECT_EQ(d_->tally.monster_count + d_->tally.treasure_count, 0);
}

TEST(FixedTextTest, KeepsWhatFitsAndStaysTerminated) {
  FixedText<8> text;
  text.assign("abc");
  text.append("defgh");
  EXPECT_EQ(text.view(), "abcdefg");
  EXPECT_EQ(text.view().data()[7], '\0');
  text.assign("x");
  EXPECT_EQ(text.view(), "x");
}

TEST(TextArenaTest, TextsGrowInPlaceOrMoveToTheEnd) {
  auto arena = std::make_unique<TextArena<16>>();
  ArenaText first;
  ArenaText second;
  arena->assign(first, "ab");
  arena->append(first, "cd");
  arena->assign(second, "xy");
  EXPECT_EQ(arena->used(), 6u);
  // The older text moves behind the newer one rather than overwrite it.
  arena->append(first, "e");
  EXPECT_EQ(first.view(), "abcde");
  EXPECT_EQ(second.view(), "xy");
  // A full arena keeps what fits.
  arena->append(second, "0123456789");
  EXPECT_EQ(arena->used(), 16u);
  EXPECT_EQ(second.view(), "xy012");  // moved to 11..13, then 3 of 10 fit
  EXPECT_EQ(first.view(), "abcde");
  arena->clear();
  arena->assign(first, "z");
  EXPECT_EQ(first.view(), "z");
}

}  // namespace
}  // namespace dungeon
