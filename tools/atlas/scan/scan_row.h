// SPDX-License-Identifier: MIT
// One row of a scan: a run's outcome and figures, and the filter that keeps
// the rows asked for.
#ifndef ATLAS_SCAN_SCAN_ROW_H_
#define ATLAS_SCAN_SCAN_ROW_H_

#include <cstdint>

#include "atlas/common/finished_run.h"
#include "atlas/common/numbers.h"

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

}  // namespace atlas

#endif  // ATLAS_SCAN_SCAN_ROW_H_
