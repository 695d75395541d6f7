// SPDX-License-Identifier: MIT
#include "framework/random.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "test_support.h"

namespace dungeon {
namespace {

using testing::lcg_step;

TEST(RandomTest, FirstValuesFromTheUnseededState) {
  Random random;
  EXPECT_EQ(random.random_next(), 41);
  EXPECT_EQ(random.random_next(), 18467);
  EXPECT_EQ(random.random_next(), 6334);
  EXPECT_EQ(random.random_next(), 26500);
}

TEST(RandomTest, FirstValuesFromASeed) {
  Random random;
  random.random_seed(0);
  EXPECT_EQ(random.random_next(), 38);
  EXPECT_EQ(random.random_next(), 7719);
  random.random_seed(1700000000);
  EXPECT_EQ(random.random_next(), 28462);
  EXPECT_EQ(random.random_next(), 1027);
  EXPECT_EQ(random.random_next(), 22663);
}

TEST(RandomTest, ValuesUseBitsSixteenToThirty) {
  // High bit 31 set must not leak into the value.
  Random random(0xFFFFFFFFu);
  const uint32_t next = lcg_step(0xFFFFFFFFu);
  EXPECT_EQ(random.random_next(), static_cast<int>((next >> 16) & 0x7FFF));
  EXPECT_EQ(random.state(), next);
}

TEST(RandomTest, DieIsTheFirstRawValueInRangeAndLeavesStateAfterIt) {
  for (const int faces : {1, 4, 10, 20, 100}) {
    uint32_t state = 12345u + static_cast<uint32_t>(faces);
    Random random(state);
    for (int roll = 0; roll < 200; ++roll) {
      int raw = 0;
      do {
        state = lcg_step(state);
        raw = static_cast<int>((state >> 16) & 0x7FFF);
      } while (raw < 1 || raw > faces);
      ASSERT_EQ(random.roll_die(faces), raw) << "d" << faces << " roll " << roll;
      ASSERT_EQ(random.state(), state);
    }
  }
}

TEST(RandomTest, DieStaysWithinItsFacesAndReachesEveryFace) {
  Random random(99);
  for (const int faces : {1, 4, 10, 20}) {
    std::array<int, 21> seen{};
    for (int roll = 0; roll < 400; ++roll) {
      const int value = random.roll_die(faces);
      ASSERT_GE(value, 1);
      ASSERT_LE(value, faces);
      ++seen[static_cast<std::size_t>(value)];
    }
    for (int face = 1; face <= faces; ++face) EXPECT_GT(seen[static_cast<std::size_t>(face)], 0);
  }
}

TEST(RandomTest, NoDiceDrawNothing) {
  Random random(7);
  EXPECT_EQ(random.roll_dice(0, 20), 0);
  EXPECT_EQ(random.roll_dice(-3, 20), 0);
  EXPECT_EQ(random.state(), 7u);
}

TEST(RandomTest, DiceAreTheSumOfSingleDiceInOrder) {
  Random many(2024);
  Random single(2024);
  const int sum = many.roll_dice(3, 4);
  const int expected = single.roll_die(4) + single.roll_die(4) + single.roll_die(4);
  EXPECT_EQ(sum, expected);
  EXPECT_EQ(many.state(), single.state());
}

TEST(RandomTest, SameSeedSameStream) {
  Random a(31337);
  Random b(31337);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(a.roll_die(1 + i % 100), b.roll_die(1 + i % 100));
}

}  // namespace
}  // namespace dungeon
