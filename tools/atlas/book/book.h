// SPDX-License-Identifier: MIT
// The dungeon book: one self-contained HTML5 page to run a dungeon from, on
// screen and on paper. A header with the seed, the outcome and the totals;
// then per level its floor plan (plan_figure.h), each room a link to its
// entry, and the room key (room_key.h), one entry per room with every exit
// naming (and linking) the room it leads to. No script and nothing loaded
// from anywhere: inline CSS (style.h) and SVG.
#ifndef ATLAS_BOOK_BOOK_H_
#define ATLAS_BOOK_BOOK_H_

#include <cstdint>
#include <string>

#include "atlas/book/book_options.h"
#include "atlas/common/finished_run.h"
#include "atlas/plan/plan.h"

namespace atlas {

// "2023-11-14 22:13:20 UTC": the second the seed stands for.
std::string seed_time_utc(uint32_t seed);

// REQUIRES: `plan` was laid out from `run` (every level) and described
// (plan/describe.h).
std::string dungeon_book(const FinishedRun& run, const Plan& plan, const BookOptions& options = {});

}  // namespace atlas

#endif  // ATLAS_BOOK_BOOK_H_
