// SPDX-License-Identifier: MIT
#include "atlas/book/print_layout.h"

#include <algorithm>
#include <cmath>

namespace atlas {
namespace {

// Tiles hold whole 5-foot squares, so that their edges lie on the grid.
double whole_squares(double feet) {
  return std::floor(feet / 5) * 5;
}

double fit_mm_per_foot(double width, double height, double box_width, double box_height) {
  return std::min(box_width / std::max(width, 1.0), box_height / std::max(height, 1.0));
}

bool overlaps(const Rect& r, const TileSpan& across, const TileSpan& down) {
  return r.x < across.start + across.length && r.right() > across.start &&
         r.y < down.start + down.length && r.bottom() > down.start;
}

// Every tile that shows something other than rock, row by row.
std::vector<TilePlace> needed_tiles(const PrintedPlan& printed, const std::vector<Rect>& drawn) {
  std::vector<TilePlace> tiles;
  for (std::size_t row = 0; row < printed.rows.size(); ++row) {
    for (std::size_t column = 0; column < printed.columns.size(); ++column) {
      for (const Rect& r : drawn) {
        if (overlaps(r, printed.columns[column], printed.rows[row])) {
          tiles.push_back({row, column});
          break;
        }
      }
    }
  }
  return tiles;
}

}  // namespace

std::vector<TileSpan> tile_spans(double total, double tile, double overlap) {
  std::vector<TileSpan> spans{{0, std::min(tile, total)}};
  while (spans.back().start + spans.back().length < total) {
    const double start = spans.back().start + tile - overlap;
    spans.push_back({start, std::min(tile, total - start)});
  }
  return spans;
}

PrintedPlan print_layout(const PlanSize& plan, const PrintScale& scale) {
  PrintedPlan printed;
  const double fit = fit_mm_per_foot(plan.width, plan.height, kPlanBoxWidthMm, kPlanBoxHeightMm);
  switch (scale.kind) {
    case PrintScale::Kind::kFit:
      printed.mm_per_foot = fit;
      return printed;
    case PrintScale::Kind::kReadable:
      printed.mm_per_foot = std::min(fit, plan.natural_mm_per_foot);
      if (printed.mm_per_foot * 10 >= kReadableMm) return printed;
      printed.mm_per_foot = kReadableMm / 10;
      break;
    case PrintScale::Kind::kFixed:
      printed.mm_per_foot = scale.mm_per_ten_feet / 10;
      break;
  }
  printed.tiled = true;
  const double inline_width = kPlanBoxWidthMm - 2 * kTileMarginMm;
  const double inline_height = kPlanBoxHeightMm - 2 * kTileMarginMm - kTileLabelMm;
  if (plan.frame_width * printed.mm_per_foot <= inline_width &&
      plan.frame_height * printed.mm_per_foot <= inline_height) {
    printed.columns = {{0, plan.frame_width}};
    printed.rows = {{0, plan.frame_height}};
    printed.tiles = {{0, 0}};
    return printed;
  }
  const double across = whole_squares(kTileWidthMm / printed.mm_per_foot);
  const double down = whole_squares(kTileHeightMm / printed.mm_per_foot);
  printed.columns = tile_spans(plan.frame_width, across, kTileOverlapFeet);
  printed.rows = tile_spans(plan.frame_height, down, kTileOverlapFeet);
  printed.tiles = needed_tiles(printed, plan.drawn);
  // Rock alone may spill past the one tile that holds every room and
  // corridor: that tile is the whole plan, with no overview and no
  // neighbours.
  if (printed.tiles.size() == 1) {
    printed.columns = {printed.columns[printed.tiles[0].column]};
    printed.rows = {printed.rows[printed.tiles[0].row]};
    printed.tiles = {{0, 0}};
    return printed;
  }
  printed.overview_mm_per_foot = fit_mm_per_foot(plan.frame_width, plan.frame_height,
                                                 kPlanBoxWidthMm, kPlanBoxHeightMm - kTileLabelMm);
  return printed;
}

}  // namespace atlas
