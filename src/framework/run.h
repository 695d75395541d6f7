// SPDX-License-Identifier: MIT
// The run driver: seeds the dice, lays out the start room and its four
// neighbours, generates rooms depth first off the pending stack, printing
// each as it is finished, and ends with the summary.
#ifndef DUNGEON_FRAMEWORK_RUN_H_
#define DUNGEON_FRAMEWORK_RUN_H_

#include <cstdint>
#include <ostream>

#include "framework/report.h"
#include "framework/room_table.h"

namespace dungeon {

enum class RunOutcome {
  kComplete,  // every room generated and printed, summary printed
  kOverflow,  // a room above the limit was about to be queued; "Error!!!" ends the report
};

// The exit status the program gives after an overflow (156 as a shell sees it).
inline constexpr int kOverflowExitStatus = -100;

// Runs the whole dungeon for `seed`, writing the report to `out` (flushed on
// return). Afterwards `d` holds the finished dungeon: its rooms, counters and
// the order rooms were printed in. Runs are independent: the same seed gives
// the same report whatever `d` held before. A sink that discards (NullSink)
// saves the work of formatting the report.
RunOutcome run_dungeon(Dungeon& d, uint32_t seed, ReportSink& out);
RunOutcome run_dungeon(Dungeon& d, uint32_t seed, std::ostream& out);

// Fills room n, which already has its way back, passage kind and level.
// Returns false when the room limit stopped the run.
[[nodiscard]] bool generate_room(Dungeon& d, int n);

// The seed of a run started now: the calendar time in whole seconds.
uint32_t clock_seed();

}  // namespace dungeon

#endif  // DUNGEON_FRAMEWORK_RUN_H_
