// SPDX-License-Identifier: MIT
// The header over a plan: its title, the key to the symbols, a scale bar of
// 50 feet and the north arrow.
#ifndef ATLAS_PLAN_DRAW_LEGEND_H_
#define ATLAS_PLAN_DRAW_LEGEND_H_

#include <string_view>

#include "atlas/common/markup.h"

namespace atlas::draw {

// The header grows with the plan, so that a whole plan printed on one page
// keeps a legend one can read: the scale for a page `page_width` feet wide.
double header_scale(double page_width);

// The header at the top of a page `page_width` wide, drawn `scale` times its
// size. A level heading is marked so (class "heading") for the pages that
// list them.
void write_header(Markup& svg, std::string_view title, bool level_heading, double page_width,
                  double scale);

}  // namespace atlas::draw

#endif  // ATLAS_PLAN_DRAW_LEGEND_H_
