// SPDX-License-Identifier: MIT
// The header over a plan: its title, the key to the symbols the drawing
// uses, a scale bar of 50 feet and the north arrow.
#ifndef ATLAS_PLAN_DRAW_LEGEND_H_
#define ATLAS_PLAN_DRAW_LEGEND_H_

#include <array>
#include <string_view>
#include <vector>

#include "atlas/common/markup.h"
#include "atlas/plan/draw/draw_options.h"
#include "atlas/plan/draw/plan_svg.h"
#include "atlas/plan/plan.h"

namespace atlas::draw {

// What a drawing shows, so that its legend lists those symbols alone.
struct LegendItems {
  std::array<bool, 4> passages{};  // indexed by Passage
  bool stairs = false;
  bool monster = false;
  bool trap = false;
  bool treasure = false;
  bool water = false;
  bool magical = false;
  bool unexplored = false;

  // Adds what `level` shows when drawn with `options`.
  void add(const PlanLevel& level, const DrawOptions& options);
};

// The legend set as text rather than drawn: per symbol, in the legend's
// order, a small <svg> of it (empty for the letters M, T and $), the letter
// and what it means.
std::vector<LegendSample> legend_samples(const LegendItems& items);

// The header grows with the plan, so that a whole plan printed on one page
// keeps a legend one can read: the scale for a page `page_width` feet wide,
// unless `options` set one.
double header_scale(double page_width, const DrawOptions& options);

// The height in feet of the header `options` ask for, with a legend of
// `items`, drawn `scale` times its size and rounded up to whole 10-foot
// squares, so that the levels under it stay on the page's grid; 0 when they
// ask for none.
double header_height(const DrawOptions& options, const LegendItems& items, double scale);

// The header at the top of a page `page_width` wide, drawn `scale` times its
// size, with the parts `options` ask for. The scale bar is in the plan's
// feet whatever the header's size: 50 feet, or a round length near 50 feet
// times `scale`. A level heading is marked so
// (class "heading") for the pages that list them.
void write_header(Markup& svg, std::string_view title, bool level_heading, const LegendItems& items,
                  const DrawOptions& options, double page_width, double scale);

}  // namespace atlas::draw

#endif  // ATLAS_PLAN_DRAW_LEGEND_H_
