// SPDX-License-Identifier: MIT
// Work on a range of positions, done on several threads and handed on in
// order. Positions go to the threads in small blocks, and a block is handed
// out only while few enough finished blocks wait for their turn, so memory
// stays bounded however large the range is.
#ifndef ATLAS_SCAN_PIPELINE_H_
#define ATLAS_SCAN_PIPELINE_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "atlas/scan/scan_row.h"

namespace atlas {

// Fills `rows` with the results for positions [first, last).
using BlockWork = std::function<void(uint64_t first, uint64_t last, std::vector<ScanRow>& rows)>;
// Takes one block's rows, in order; `done` counts the positions finished so
// far. Returning false stops the work (the reader went away, say).
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
// work and is rethrown here. Where a process or memory limit lets fewer
// threads start, the work runs on those; none at all is an error.
PipelineStats run_in_order(uint64_t count, const PipelineOptions& options,
                           const std::function<BlockWork()>& make_worker, const Deliver& deliver);

}  // namespace atlas

#endif  // ATLAS_SCAN_PIPELINE_H_
