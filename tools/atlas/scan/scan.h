// SPDX-License-Identifier: MIT
// Scanning seed ranges: run every seed of a range (or of one shard of it),
// keep the runs that match, and hand them on in seed order, on as many
// threads as asked (pipeline.h).
#ifndef ATLAS_SCAN_SCAN_H_
#define ATLAS_SCAN_SCAN_H_

#include <cstdint>

#include "atlas/common/numbers.h"
#include "atlas/scan/pipeline.h"
#include "atlas/scan/row_writer.h"
#include "atlas/scan/scan_row.h"

namespace atlas {

// The seeds one scan covers: the shard's part of the range, taking every
// shard.count-th seed from range.from + shard.index.
struct ScanSeeds {
  SeedRange range;
  Shard shard;

  uint64_t count() const;
  uint32_t seed_at(uint64_t k) const {
    return static_cast<uint32_t>(range.from + shard.index + k * shard.count);
  }
};

// The real scan: one dungeon per thread, rows filtered before delivery.
PipelineStats scan(const ScanSeeds& seeds, const ScanFilter& filter, unsigned jobs,
                   const Deliver& deliver);

}  // namespace atlas

#endif  // ATLAS_SCAN_SCAN_H_
