// SPDX-License-Identifier: MIT
#include "atlas/scan/scan_row.h"

namespace atlas {

ScanRow scan_row(const FinishedRun& run) {
  const dungeon::Dungeon& d = run.d();
  return {run.seed(),
          run.outcome(),
          d.reported,
          d.tally.deepest_level,
          d.tally.trap_count,
          d.tally.monster_count,
          d.tally.treasure_count};
}

bool ScanFilter::matches(const ScanRow& row) const {
  if (complete_only && row.outcome != dungeon::RunOutcome::kComplete) return false;
  return rooms.contains(static_cast<uint64_t>(row.rooms)) &&
         deepest_level.contains(static_cast<uint64_t>(row.deepest_level));
}

}  // namespace atlas
