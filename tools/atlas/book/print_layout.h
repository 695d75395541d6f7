// SPDX-License-Identifier: MIT
// How a level's plan goes on paper at the scale asked for: whole on the
// level's first page, or in tiles of a page each after an overview. Pure
// geometry, in feet and millimetres, kept apart from the markup so that it
// can be tested alone.
#ifndef ATLAS_BOOK_PRINT_LAYOUT_H_
#define ATLAS_BOOK_PRINT_LAYOUT_H_

#include <vector>

#include "atlas/common/print_scale.h"
#include "atlas/plan/geometry.h"

namespace atlas {

// The room a plan has under its level's heading and caption.
inline constexpr double kPlanBoxWidthMm = kPageWidthMm;
inline constexpr double kPlanBoxHeightMm = 206;
// A tile's drawing, with room on its page for its label line and, round
// it, a margin for the cut marks.
inline constexpr double kTileWidthMm = 170;
inline constexpr double kTileHeightMm = 228;
inline constexpr double kTileMarginMm = 6;
inline constexpr double kTileLabelMm = 6;
// Neighbouring tiles show the same strip of plan, so that they tape together.
inline constexpr double kTileOverlapFeet = 10;

// One row or column of tiles: where it starts in the level's frame and how
// much of it it shows, in feet.
struct TileSpan {
  double start = 0;
  double length = 0;
};

// Tiles of at most `tile` feet covering `total` feet, each overlapping the one
// before by `overlap`; the last one only as long as what is left.
// REQUIRES: overlap < tile.
std::vector<TileSpan> tile_spans(double total, double tile, double overlap);

// A tile by its place in the grid, counted from 0.
struct TilePlace {
  std::size_t row = 0;
  std::size_t column = 0;
  bool operator==(const TilePlace&) const = default;
};

struct PrintedPlan {
  bool tiled = false;
  // The scale of the whole drawing, or of the tiles.
  double mm_per_foot = 0;
  // When tiled: the grid of tiles over the level's frame, and the tiles
  // printed, row by row: those that show something other than rock.
  std::vector<TileSpan> columns;
  std::vector<TileSpan> rows;
  std::vector<TilePlace> tiles;
  // When tiled: the scale of the overview, the whole level on one page; 0
  // when one tile shows the whole level, under its heading, without one.
  double overview_mm_per_foot = 0;
};

struct PlanSize {
  double width = 0;  // the whole drawing, header included, in feet
  double height = 0;
  double frame_width = 0;  // the level alone, in feet: what tiles show
  double frame_height = 0;
  double natural_mm_per_foot = 0;  // the drawing at its own size on screen
  // What is drawn in the frame other than rock (rooms, corridors), in feet
  // from the frame's north-west corner.
  std::vector<Rect> drawn;
};

// Whole when the drawing fits a page at `scale`: by default up to its
// natural size and down to kReadableMm; `fit` at any scale. Tiled otherwise,
// the overview fitted to a page. At a fixed scale the tiles show the level
// alone, its frame, without the header (whose legend would grow with the
// scale): one tile under the heading when the frame fits there.
PrintedPlan print_layout(const PlanSize& plan, const PrintScale& scale);

}  // namespace atlas

#endif  // ATLAS_BOOK_PRINT_LAYOUT_H_
