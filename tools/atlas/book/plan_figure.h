// SPDX-License-Identifier: MIT
// A level's floor plan in the book. On screen it shrinks to the window but
// stays readable, and scrolls past that. On paper it prints whole, shrunk to
// fit if need be, while ten feet stay large enough to read; a plan larger
// than that prints at that scale in numbered tiles of a page each.
#ifndef ATLAS_BOOK_PLAN_FIGURE_H_
#define ATLAS_BOOK_PLAN_FIGURE_H_

#include <vector>

#include "atlas/book/book_options.h"
#include "atlas/common/markup.h"
#include "atlas/plan/plan.h"

namespace atlas {

// Where tiles of `tile` pixels start to cover `total` with `overlap` between
// neighbours: evenly stepped, the last one flush with the far edge.
// REQUIRES: overlap < tile.
std::vector<double> tile_starts(double total, double tile, double overlap);

// The <figure id="level-K-figure"> of `level`: the drawing and its print
// tiles when it needs them. In the game master's book every room links to
// its key entry, every door and stair to the room it leads to; the players'
// plan links nowhere and is printed whole.
// REQUIRES: `level` was described (plan/describe.h).
void plan_figure(Markup& page, const PlanLevel& level, const BookOptions& options);

}  // namespace atlas

#endif  // ATLAS_BOOK_PLAN_FIGURE_H_
