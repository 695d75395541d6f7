// SPDX-License-Identifier: MIT
// Closing up a level and bringing far subtrees home, on levels small enough
// to check by hand. The rule test (plan_layout_test.cc) checks the same code
// on every level of 2,000 dungeons.
#include "atlas/plan/layout/level_compaction.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "atlas/plan/layout/long_corridors.h"

namespace atlas_test {
namespace {

using atlas::DrawnTree;
using atlas::Point;
using atlas::Rect;

int length(const std::vector<Point>& p) {
  int feet = 0;
  for (std::size_t j = 1; j < p.size(); ++j) {
    feet += std::abs(p[j].x - p[j - 1].x) + std::abs(p[j].y - p[j - 1].y);
  }
  return feet;
}

// Room 0 is a root 20' square at the origin; each call adds a room behind
// one of its corridors.
void add(DrawnTree& t, int parent, Rect room, std::vector<Point> corridor) {
  t.parent.push_back(parent);
  t.room.push_back(room);
  t.corridor.push_back(std::move(corridor));
}

DrawnTree one_room() {
  DrawnTree t;
  add(t, -1, {0, 0, 20, 20}, {});
  return t;
}

TEST(LevelCompaction, ClosesEmptyRockAndStraightensJogs) {
  DrawnTree t = one_room();
  // South, 380' of straight corridor with nothing beside it.
  add(t, 0, {0, 400, 20, 20}, {{10, 20}, {10, 400}});
  // East, a jog down to a room far south-east of its door.
  add(t, 0, {100, 190, 20, 20}, {{20, 10}, {60, 10}, {60, 200}, {100, 200}});
  ASSERT_TRUE(atlas::keeps_spacing(t));
  atlas::compact_level(t);
  EXPECT_TRUE(atlas::keeps_spacing(t));
  // The run south shrinks to the 10' a straight corridor keeps between its
  // rooms; the jog closes into a straight corridor of the same 10'.
  EXPECT_EQ(t.corridor[1], (std::vector<Point>{{10, 20}, {10, 30}}));
  EXPECT_EQ(t.corridor[2].size(), 2u);
  EXPECT_EQ(length(t.corridor[2]), 10);
  for (const Rect& r : t.room) {
    EXPECT_EQ(r.x % 5, 0);
    EXPECT_EQ(r.y % 5, 0);
  }
}

TEST(LevelCompaction, SpacingCheckSeesEveryKindOfMeeting) {
  // Two corridors out of one south wall, doors 4' apart: one straight on to
  // a room far south, the other turning west `turn` feet out, 6 or 4 feet
  // from the first.
  const auto level = [](int turn, int second_door) {
    DrawnTree t = one_room();
    add(t, 0, {-30, 60, 20, 20}, {{9, 20}, {9, 20 + turn}, {-20, 20 + turn}, {-20, 60}});
    add(t, 0, {second_door - 10, 100, 20, 20}, {{second_door, 20}, {second_door, 100}});
    return t;
  };
  EXPECT_TRUE(atlas::keeps_spacing(level(30, 15)));
  // Side by side 4' apart for 25': one wide passage on the plan.
  EXPECT_FALSE(atlas::keeps_spacing(level(30, 13)));
  // 4' apart only within 5' of their doors: the doorway allows it.
  EXPECT_TRUE(atlas::keeps_spacing(level(5, 13)));

  // The straight corridor through the other room.
  DrawnTree through = level(30, 15);
  through.room[1] = {-30, 60, 50, 20};
  EXPECT_FALSE(atlas::keeps_spacing(through));
  // Two rooms 3' apart.
  DrawnTree rooms = level(30, 15);
  rooms.room[2] = {-7, 83, 22, 20};
  rooms.corridor[2] = {{15, 20}, {15, 83}};
  EXPECT_FALSE(atlas::keeps_spacing(rooms));
}

TEST(LongCorridors, BringFarSubtreesHomeAndKeepEverySpacing) {
  // A leaf at the end of a long jog, with free rock right by its door.
  DrawnTree t = one_room();
  add(t, 0, {40, 490, 10, 20}, {{20, 10}, {30, 10}, {30, 500}, {40, 500}});
  ASSERT_TRUE(atlas::shorten_long_corridors(t));
  EXPECT_EQ(t.corridor[1], (std::vector<Point>{{20, 10}, {30, 10}}));
  EXPECT_EQ(t.room[1].x, 30);
  EXPECT_TRUE(atlas::keeps_spacing(t));

  // The same with a room of another tree in the way: the leaf finds
  // another place, nearer than before, within the level as it stood.
  DrawnTree blocked = one_room();
  add(blocked, 0, {40, 490, 10, 20}, {{20, 10}, {30, 10}, {30, 500}, {40, 500}});
  add(blocked, -1, {36, -10, 20, 40}, {});
  ASSERT_TRUE(atlas::keeps_spacing(blocked));
  ASSERT_TRUE(atlas::shorten_long_corridors(blocked));
  EXPECT_LT(length(blocked.corridor[1]), 490 + 20 - 100);
  EXPECT_LE(blocked.corridor[1].size(), 4u);
  EXPECT_TRUE(atlas::keeps_spacing(blocked));
  EXPECT_GE(blocked.room[1].y, -10);
  EXPECT_LE(blocked.room[1].bottom(), 510);
  EXPECT_LE(blocked.room[1].right(), 56);

  // A subtree with nowhere nearer to go stays as it is.
  DrawnTree home = one_room();
  add(home, 0, {30, 0, 20, 20}, {{20, 10}, {30, 10}});
  EXPECT_FALSE(atlas::shorten_long_corridors(home));
}

}  // namespace
}  // namespace atlas_test
