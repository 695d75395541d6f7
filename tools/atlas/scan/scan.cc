// SPDX-License-Identifier: MIT
#include "atlas/scan/scan.h"

#include <memory>
#include <optional>

#include "atlas/common/finished_run.h"

namespace atlas {

uint64_t ScanSeeds::count() const {
  const uint64_t size = range.size();
  if (shard.index >= size) return 0;
  return (size - shard.index + shard.count - 1) / shard.count;
}

PipelineStats scan(const ScanSeeds& seeds, const ScanFilter& filter, unsigned jobs,
                   const Deliver& deliver) {
  const auto make_worker = [&seeds, &filter]() -> BlockWork {
    // One run for the thread, grown afresh for every seed. Shared by the
    // copies std::function may make; lives as long as the thread's worker.
    auto run = std::make_shared<std::optional<FinishedRun>>();
    return [run, &seeds, &filter](uint64_t first, uint64_t last, std::vector<ScanRow>& rows) {
      for (uint64_t k = first; k < last; ++k) {
        const uint32_t seed = seeds.seed_at(k);
        if (*run) {
          (*run)->regrow(seed);
        } else {
          run->emplace(seed);
        }
        const ScanRow row = scan_row(**run);
        if (filter.matches(row)) rows.push_back(row);
      }
    };
  };
  PipelineOptions options;
  options.jobs = jobs;
  options.window = 4 * static_cast<std::size_t>(jobs == 0 ? 1 : jobs);
  return run_in_order(seeds.count(), options, make_worker, deliver);
}

}  // namespace atlas
