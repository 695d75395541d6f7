// SPDX-License-Identifier: MIT
#include "atlas/common/numbers.h"

#include <gtest/gtest.h>

namespace atlas {
namespace {

TEST(ParseSeed, TakesEveryValueFromZeroToTheTop) {
  EXPECT_EQ(parse_seed("0"), 0u);
  EXPECT_EQ(parse_seed("217"), 217u);
  EXPECT_EQ(parse_seed("007"), 7u);
  EXPECT_EQ(parse_seed("4294967295"), 4294967295u);
}

TEST(ParseSeed, RejectsAnythingButPlainDigits) {
  for (const char* text : {"", "abc", "12a", "1.5", " 1", "1 ", "+1", "0x10", "1e3", "--1"}) {
    EXPECT_THROW(parse_seed(text), UsageError) << "'" << text << "'";
  }
}

TEST(ParseSeed, NamesNegativeAndTooLargeSeeds) {
  try {
    parse_seed("-5");
    FAIL() << "a negative seed was taken";
  } catch (const UsageError& error) {
    EXPECT_NE(std::string(error.what()).find("negative seed '-5'"), std::string::npos)
        << error.what();
  }
  for (const char* text : {"4294967296", "99999999999999999999999"}) {
    try {
      parse_seed(text);
      FAIL() << text << " was taken";
    } catch (const UsageError& error) {
      EXPECT_NE(std::string(error.what()).find("too large"), std::string::npos) << error.what();
    }
  }
}

TEST(ParseSeedRange, IncludesBothEnds) {
  const SeedRange range = parse_seed_range("5..9");
  EXPECT_EQ(range.from, 5u);
  EXPECT_EQ(range.to, 9u);
  EXPECT_EQ(range.size(), 5u);
  EXPECT_EQ(parse_seed_range("3..3").size(), 1u);
  EXPECT_EQ(parse_seed_range("0..4294967295").size(), uint64_t{1} << 32);
}

TEST(ParseSeedRange, RejectsEmptyReversedAndMalformedRanges) {
  for (const char* text :
       {"", "..", "5..", "..5", "5", "5-9", "9..5", "a..b", "-1..5", "0..4294967296"}) {
    EXPECT_THROW(parse_seed_range(text), UsageError) << "'" << text << "'";
  }
}

TEST(ParseCountRange, BoundsAreInclusive) {
  const CountRange range = parse_count_range("10..20", "rooms");
  EXPECT_FALSE(range.contains(9));
  EXPECT_TRUE(range.contains(10));
  EXPECT_TRUE(range.contains(20));
  EXPECT_FALSE(range.contains(21));
  EXPECT_TRUE(CountRange{}.contains(0));
  EXPECT_THROW(parse_count_range("20..10", "rooms"), UsageError);
  EXPECT_THROW(parse_count_range("x..10", "rooms"), UsageError);
}

TEST(ParseShard, CountsFromZero) {
  const Shard first = parse_shard("0/4");
  EXPECT_EQ(first.index, 0u);
  EXPECT_EQ(first.count, 4u);
  const Shard last = parse_shard("3/4");
  EXPECT_EQ(last.index, 3u);
  EXPECT_EQ(parse_shard("0/4294967296").count, uint64_t{1} << 32);
}

TEST(ParseShard, RejectsShardsOutOfRange) {
  for (const char* text : {"4/4", "1/0", "0/0", "-1/4", "1", "1/", "/4", "a/b", "0/4294967297"}) {
    EXPECT_THROW(parse_shard(text), UsageError) << "'" << text << "'";
  }
}

}  // namespace
}  // namespace atlas
