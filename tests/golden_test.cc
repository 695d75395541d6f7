// SPDX-License-Identifier: MIT
// Whole reports compared byte for byte with reference reports.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/run.h"
#include "report_parser.h"
#include "test_support.h"

namespace dungeon::testing {
namespace {

struct Golden {
  uint32_t seed;
  RunOutcome outcome;
  int blocks;
};

void PrintTo(const Golden& golden, std::ostream* os) {
  *os << "seed " << golden.seed;
}

class GoldenTest : public ::testing::TestWithParam<Golden> {};

TEST_P(GoldenTest, ReportMatchesByteForByte) {
  const Golden& golden = GetParam();
  const std::string expected = reference_report(golden.seed);
  ASSERT_FALSE(expected.empty());
  auto d = make_dungeon();
  RunOutcome outcome{};
  const std::string report = report_for_seed(*d, golden.seed, &outcome);
  EXPECT_EQ(outcome, golden.outcome);
  EXPECT_EQ(report, expected);
  EXPECT_EQ(d->reported, golden.blocks);
}

INSTANTIATE_TEST_SUITE_P(Seeds, GoldenTest,
                         ::testing::Values(Golden{217, RunOutcome::kComplete, 5},
                                           Golden{2, RunOutcome::kComplete, 28},
                                           Golden{7, RunOutcome::kComplete, 297},
                                           Golden{0, RunOutcome::kOverflow, 973}),
                         [](const auto& info) { return "Seed" + std::to_string(info.param.seed); });

// One Dungeon reused for runs of different sizes: nothing of a run may show
// in the next, not even in the treasure text that runs only ever append to.
TEST(GoldenReuseTest, RunsInOneProcessAreIndependent) {
  auto d = make_dungeon();
  for (const uint32_t seed : {7u, 0u, 217u, 2u, 7u, 0u}) {
    EXPECT_EQ(report_for_seed(*d, seed), reference_report(seed)) << "seed " << seed;
  }
}

TEST(GoldenReuseTest, OverflowStopsRightAfterRoomOneThousandAndOne) {
  auto d = make_dungeon();
  RunOutcome outcome{};
  report_for_seed(*d, 0, &outcome);
  ASSERT_EQ(outcome, RunOutcome::kOverflow);
  // Room 1001 was filled in (linked back) before the limit stopped the run.
  EXPECT_EQ(d->tally.next_room, 1002);
  const int from = d->room(1001).exits[kBackSlot].room;
  EXPECT_GT(from, 0);
  EXPECT_LE(from, kMaxRoomNumber);
  for (int i = 0; i < d->reported; ++i)
    EXPECT_NE(d->report_order[static_cast<std::size_t>(i)], from);
}

// The reader the other tests lean on must itself get the known reports right
// and refuse what is not a report.
TEST(ReportParserTest, ReadsTheReferenceReports) {
  const ParsedReport seven = parse_report(reference_report(7));
  EXPECT_EQ(seven.error, "");
  EXPECT_FALSE(seven.overflow);
  ASSERT_TRUE(seven.summary);
  EXPECT_EQ(seven.rooms.size(), 297u);
  EXPECT_EQ(seven.summary->rooms, 297);
  EXPECT_EQ(seven.summary->deepest_level, 6);
  const ParsedReport zero = parse_report(reference_report(0));
  EXPECT_EQ(zero.error, "");
  EXPECT_TRUE(zero.overflow);
  EXPECT_FALSE(zero.summary);
  EXPECT_EQ(zero.rooms.size(), 973u);
  EXPECT_NE(parse_report("Room Level: x\n").error, "");
  EXPECT_NE(parse_report(reference_report(2) + "extra\n").error, "");
}

}  // namespace
}  // namespace dungeon::testing
