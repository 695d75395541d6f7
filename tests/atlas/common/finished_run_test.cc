// SPDX-License-Identifier: MIT
#include "atlas/common/finished_run.h"

#include <gtest/gtest.h>

namespace atlas {
namespace {

TEST(TreasureLines, SplitsOnTheReportsLineEnds) {
  EXPECT_TRUE(treasure_lines("").empty());
  EXPECT_EQ(treasure_lines("3000 copper pieces\n\t"),
            std::vector<std::string>{"3000 copper pieces"});
  EXPECT_EQ(treasure_lines("a b\n\tc\n\td e\n\t"), (std::vector<std::string>{"a b", "c", "d e"}));
  // Text cut short of its last line end still keeps that line.
  EXPECT_EQ(treasure_lines("a\n\tb"), (std::vector<std::string>{"a", "b"}));
}

}  // namespace
}  // namespace atlas
