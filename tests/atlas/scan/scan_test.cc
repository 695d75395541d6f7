// SPDX-License-Identifier: MIT
#include "atlas/scan/scan.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <sstream>
#include <thread>

namespace atlas {
namespace {

// A stand-in worker: position k gives a row with seed k, for every k that
// `keep` lets through. Blocks take longer at random so that they finish out
// of order.
std::function<BlockWork()> fake_worker(uint64_t keep_every = 1, bool jitter = true) {
  return [=]() -> BlockWork {
    return [=](uint64_t first, uint64_t last, std::vector<ScanRow>& rows) {
      if (jitter && first % 3 == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
      for (uint64_t k = first; k < last; ++k) {
        if (k % keep_every == 0) rows.push_back(ScanRow{static_cast<uint32_t>(k)});
      }
    };
  };
}

class PipelineJobs : public ::testing::TestWithParam<unsigned> {};

TEST_P(PipelineJobs, DeliversEveryRowInOrderWithinTheWindow) {
  PipelineOptions options;
  options.jobs = GetParam();
  options.block_size = 7;
  options.window = 3;
  constexpr uint64_t kCount = 2000;
  std::vector<uint32_t> seen;
  uint64_t last_done = 0;
  const PipelineStats stats =
      run_in_order(kCount, options, fake_worker(3), [&](std::vector<ScanRow>& rows, uint64_t done) {
        EXPECT_GT(done, last_done);
        last_done = done;
        for (const ScanRow& row : rows) seen.push_back(row.seed);
        return true;
      });
  ASSERT_EQ(seen.size(), (kCount + 2) / 3);
  for (std::size_t i = 0; i < seen.size(); ++i) ASSERT_EQ(seen[i], 3 * i);
  EXPECT_EQ(last_done, kCount);
  EXPECT_EQ(stats.blocks_delivered, (kCount + 6) / 7);
  EXPECT_GE(stats.peak_blocks_in_flight, 1u);
  EXPECT_LE(stats.peak_blocks_in_flight, options.window);
}

INSTANTIATE_TEST_SUITE_P(Jobs, PipelineJobs, ::testing::Values(1u, 2u, 5u));

TEST(Pipeline, StopsWhenTheReaderStopsEvenOnAnEndlessRange) {
  // Far more positions than could ever be run or held: only streaming with a
  // bounded window gets through this.
  PipelineOptions options;
  options.jobs = 3;
  options.block_size = 100;
  options.window = 4;
  int calls = 0;
  const PipelineStats stats = run_in_order(uint64_t{1} << 40, options, fake_worker(1, false),
                                           [&](std::vector<ScanRow>& rows, uint64_t) {
                                             EXPECT_EQ(rows.size(), 100u);
                                             return ++calls < 10;
                                           });
  EXPECT_EQ(calls, 10);
  EXPECT_EQ(stats.blocks_delivered, 10u);
  EXPECT_LE(stats.peak_blocks_in_flight, options.window);
}

TEST(Pipeline, HandsOnAWorkersFailure) {
  PipelineOptions options;
  options.jobs = 2;
  options.block_size = 10;
  const auto failing = []() -> BlockWork {
    return [](uint64_t first, uint64_t, std::vector<ScanRow>&) {
      if (first == 50) throw std::runtime_error("worker failed");
    };
  };
  EXPECT_THROW(
      run_in_order(1000, options, failing, [](std::vector<ScanRow>&, uint64_t) { return true; }),
      std::runtime_error);
}

TEST(Pipeline, AnEmptyRangeDeliversNothing) {
  bool called = false;
  run_in_order(0, PipelineOptions{}, fake_worker(), [&](std::vector<ScanRow>&, uint64_t) {
    called = true;
    return true;
  });
  EXPECT_FALSE(called);
}

TEST(ScanSeeds, ShardsInterleaveFromTheStartOfTheRange) {
  const ScanSeeds seeds{{10, 20}, {1, 3}};
  ASSERT_EQ(seeds.count(), 4u);
  EXPECT_EQ(seeds.seed_at(0), 11u);
  EXPECT_EQ(seeds.seed_at(1), 14u);
  EXPECT_EQ(seeds.seed_at(3), 20u);
  EXPECT_EQ((ScanSeeds{{10, 20}, {0, 3}}).count(), 4u);
  EXPECT_EQ((ScanSeeds{{10, 20}, {2, 3}}).count(), 3u);
  EXPECT_EQ((ScanSeeds{{10, 11}, {5, 8}}).count(), 0u);
}

TEST(ScanSeeds, CoversTheWholeSeedSpace) {
  const ScanSeeds all{{0, UINT32_MAX}, {}};
  EXPECT_EQ(all.count(), uint64_t{1} << 32);
  EXPECT_EQ(all.seed_at(all.count() - 1), UINT32_MAX);
  const ScanSeeds last_shard{{0, UINT32_MAX}, {6, 7}};
  EXPECT_EQ(last_shard.seed_at(last_shard.count() - 1) % 7, 6u);
  uint64_t total = 0;
  for (uint64_t i = 0; i < 7; ++i) total += ScanSeeds{{0, UINT32_MAX}, {i, 7}}.count();
  EXPECT_EQ(total, uint64_t{1} << 32);
}

TEST(ScanFilter, AppliesEveryCondition) {
  const ScanRow complete{1, dungeon::RunOutcome::kComplete, 30, 3, 1, 2, 3};
  const ScanRow overflow{2, dungeon::RunOutcome::kOverflow, 970, 6, 40, 200, 300};
  ScanFilter filter;
  EXPECT_TRUE(filter.matches(complete));
  EXPECT_TRUE(filter.matches(overflow));
  filter.complete_only = true;
  EXPECT_TRUE(filter.matches(complete));
  EXPECT_FALSE(filter.matches(overflow));
  filter = ScanFilter{};
  filter.rooms = {31, 1000};
  EXPECT_FALSE(filter.matches(complete));
  EXPECT_TRUE(filter.matches(overflow));
  filter = ScanFilter{};
  filter.deepest_level = {3, 3};
  EXPECT_TRUE(filter.matches(complete));
  EXPECT_FALSE(filter.matches(overflow));
}

// Scans drop the report unformatted; the figures must still be those of a
// run that prints it.
TEST(Scan, RowsAreTheEnginesFiguresForEachSeed) {
  const ScanSeeds seeds{{0, 11}, {}};
  std::vector<ScanRow> rows;
  scan(seeds, ScanFilter{}, 2, [&](std::vector<ScanRow>& block, uint64_t) {
    rows.insert(rows.end(), block.begin(), block.end());
    return true;
  });
  ASSERT_EQ(rows.size(), 12u);
  for (uint32_t seed = 0; seed < 12; ++seed) {
    std::ostringstream report;
    const FinishedRun run(seed, report);
    const dungeon::Dungeon& d = run.d();
    const dungeon::RunOutcome outcome = run.outcome();
    const ScanRow& row = rows[seed];
    EXPECT_EQ(row, scan_row(run));
    EXPECT_EQ(row.seed, seed);
    EXPECT_EQ(row.outcome, outcome);
    EXPECT_EQ(row.rooms, d.reported);
    if (outcome == dungeon::RunOutcome::kComplete) {
      EXPECT_EQ(row.rooms, d.tally.rooms());
    }
    EXPECT_EQ(row.traps, d.tally.trap_count);
    EXPECT_EQ(row.monsters, d.tally.monster_count);
    EXPECT_EQ(row.treasures, d.tally.treasure_count);
    EXPECT_EQ(row.deepest_level, d.tally.deepest_level);
  }
}

TEST(RowWriter, WritesCsvWithAndWithoutHeader) {
  const ScanRow row{7, dungeon::RunOutcome::kOverflow, 973, 7, 53, 254, 353};
  std::ostringstream with_header;
  RowWriter writer(with_header, ScanFormat::kCsv, true);
  writer.begin();
  writer.write(row);
  writer.end();
  EXPECT_EQ(with_header.str(),
            "seed,outcome,rooms,deepest_level,traps,monsters,treasures\n"
            "7,overflow,973,7,53,254,353\n");
  std::ostringstream bare;
  RowWriter bare_writer(bare, ScanFormat::kCsv, false);
  bare_writer.begin();
  bare_writer.write(row);
  bare_writer.end();
  EXPECT_EQ(bare.str(), "7,overflow,973,7,53,254,353\n");
}

TEST(RowWriter, WritesAJsonArrayOneRowALine) {
  std::ostringstream out;
  RowWriter writer(out, ScanFormat::kJson, true);
  writer.begin();
  writer.write({2, dungeon::RunOutcome::kComplete, 28, 5, 2, 5, 8});
  writer.flush();
  EXPECT_EQ(out.str(),
            "[\n{\"seed\":2,\"outcome\":\"complete\",\"rooms\":28,\"deepest_level\":5,"
            "\"traps\":2,\"monsters\":5,\"treasures\":8}");
  writer.write({3, dungeon::RunOutcome::kOverflow, 1, 1, 0, 0, 0});
  writer.end();
  EXPECT_NE(out.str().find("\"treasures\":8},\n{\"seed\":3,\"outcome\":\"overflow\""),
            std::string::npos);
  EXPECT_TRUE(out.str().ends_with("}\n]\n"));

  std::ostringstream empty;
  RowWriter empty_writer(empty, ScanFormat::kJson, true);
  empty_writer.begin();
  empty_writer.end();
  EXPECT_EQ(empty.str(), "[]\n");
}

}  // namespace
}  // namespace atlas
