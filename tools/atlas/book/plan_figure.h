// SPDX-License-Identifier: MIT
// A level's floor plan in the book. On screen it shrinks to the window but
// stays readable, and scrolls past that, its scale bar and north arrow in
// sight. On paper it prints at the book's scale (print_layout.h): whole, or
// after an overview in numbered tiles of a page each that tape together.
#ifndef ATLAS_BOOK_PLAN_FIGURE_H_
#define ATLAS_BOOK_PLAN_FIGURE_H_

#include "atlas/book/book_options.h"
#include "atlas/common/markup.h"
#include "atlas/plan/plan.h"

namespace atlas {

// The <figure id="level-K-figure"> of `level`: the drawing and its print
// tiles when it needs them. In the game master's book every room links to
// its key entry, every door and stair to the room it leads to; the players'
// plan links nowhere.
// REQUIRES: `level` was described (plan/describe.h).
void plan_figure(Markup& page, const PlanLevel& level, const BookOptions& options);

}  // namespace atlas

#endif  // ATLAS_BOOK_PLAN_FIGURE_H_
