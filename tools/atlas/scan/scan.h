// SPDX-License-Identifier: MIT
// Scanning seed ranges: run every seed of a range (or of one shard of it),
// keep the runs that match, and hand them on in seed order. Runs go to worker
// threads in small blocks, and a block is handed out only while few enough
// finished blocks wait for their turn, so memory stays bounded however large
// the range is.
#ifndef ATLAS_SCAN_SCAN_H_
#define ATLAS_SCAN_SCAN_H_

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "atlas/common/finished_run.h"
#include "atlas/common/numbers.h"
#include "framework/room_table.h"
#include "framework/run.h"

namespace atlas {

struct ScanRow {
  uint32_t seed = 0;
  dungeon::RunOutcome outcome = dungeon::RunOutcome::kComplete;
  // Room descriptions the report printed: for a complete run the summary's
  // total, after an overflow the rooms printed before "Error!!!".
  int rooms = 0;
  // The engine's totals when the run ended: the summary's figures, or after
  // an overflow what they had reached when the room limit stopped the run.
  int deepest_level = 0;
  int traps = 0;
  int monsters = 0;
  int treasures = 0;

  bool operator==(const ScanRow&) const = default;
};

ScanRow scan_row(const FinishedRun& run);

struct ScanFilter {
  bool complete_only = false;
  CountRange rooms;
  CountRange deepest_level;

  bool matches(const ScanRow& row) const;
};

// The seeds one scan covers: the shard's part of the range, taking every
// shard.count-th seed from range.from + shard.index.
struct ScanPlan {
  SeedRange range;
  Shard shard;

  uint64_t count() const;
  uint32_t seed_at(uint64_t k) const {
    return static_cast<uint32_t>(range.from + shard.index + k * shard.count);
  }
};

// Fills `rows` with the results for positions [first, last) of the plan.
using BlockWork = std::function<void(uint64_t first, uint64_t last, std::vector<ScanRow>& rows)>;
// Takes one block's rows, in order; `done` counts the positions finished so
// far. Returning false stops the scan (the reader went away, say).
using Deliver = std::function<bool(std::vector<ScanRow>& rows, uint64_t done)>;

struct PipelineOptions {
  unsigned jobs = 1;
  uint64_t block_size = 32;
  // Blocks handed out but not yet delivered, at most.
  std::size_t window = 8;
};

struct PipelineStats {
  std::size_t peak_blocks_in_flight = 0;
  uint64_t blocks_delivered = 0;
};

// Runs positions [0, count) on `options.jobs` threads, each with its own
// worker from `make_worker` (made on that thread), and calls `deliver` on the
// calling thread, block by block in order. A worker's exception stops the
// scan and is rethrown here.
PipelineStats run_in_order(uint64_t count, const PipelineOptions& options,
                           const std::function<BlockWork()>& make_worker, const Deliver& deliver);

// The real scan: one dungeon per thread, rows filtered before delivery.
PipelineStats scan(const ScanPlan& plan, const ScanFilter& filter, unsigned jobs,
                   const Deliver& deliver);

// Both formats stream: rows are written block by block as they arrive.
enum class ScanFormat { kCsv, kJson };

// Collects text and passes it to the stream in one piece at each flush(), as
// the program's output streams write straight through to the file.
// REQUIRES: `out` outlives the writer.
class RowWriter {
 public:
  RowWriter(std::ostream& out, ScanFormat format, bool header);
  void begin();
  void write(const ScanRow& row);
  void end();  // flushes
  void flush();

 private:
  std::ostream& out_;
  ScanFormat format_;
  bool header_;
  bool first_ = true;
  std::string text_;
};

}  // namespace atlas

#endif  // ATLAS_SCAN_SCAN_H_
