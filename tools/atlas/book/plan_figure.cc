// SPDX-License-Identifier: MIT
#include "atlas/book/plan_figure.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

#include "atlas/plan/draw/plan_svg.h"

namespace atlas {
namespace {

// Printed pages: 12 mm margins on the smaller of A4 and Letter in each
// direction (210 mm wide, 279.4 mm tall) leave 186 x 255 mm, about 703 x 964
// CSS pixels, of which a level's heading and the plan's caption take about
// 30 mm. A plan prints whole, shrunk to fit if need be, as long as ten feet
// stay at least kMinPrintPixelsPerFoot * 10 pixels (4.8 mm; the plans'
// smallest text, 3 feet, is then 4 pt). A larger plan prints at that scale as
// tiles of at most kTileWidth x kTileHeight, each under a line saying which
// part it is; neighbouring tiles share kTileOverlap feet so a room cut at an
// edge is seen whole on one of them. The style sheet's print rules hold the
// same sizes in millimetres.
constexpr double kPrintWidth = 700;
constexpr double kPrintHeight = 780;
constexpr double kMinPrintPixelsPerFoot = 1.8;
// On screen a plan shrinks to the window's width, but never below this: the
// plans' room numbers (12 feet) stay 30 pixels tall. Past it, it scrolls.
constexpr double kMinScreenPixelsPerFoot = 2.5;
constexpr double kTileWidth = 700;
constexpr double kTileHeight = 820;
constexpr double kTileOverlap = 10;

// A length in pixels, to a hundredth.
struct Pixels {
  double value;
};

Markup& operator<<(Markup& page, Pixels pixels) {
  char digits[32];
  const auto result =
      std::to_chars(digits, digits + sizeof digits, std::round(pixels.value * 100) / 100,
                    std::chars_format::general);
  return page << std::string_view(digits, static_cast<std::size_t>(result.ptr - digits));
}

// The print-only copy of a large plan, cut into page-sized pieces that each
// show part of the one drawing (no second copy of it).
// REQUIRES: 0 < scale <= 1.
void plan_tiles(Markup& page, int level, const SvgDrawing& plan, double scale) {
  const double width = std::min(plan.width, kTileWidth / scale);
  const double height = std::min(plan.height, kTileHeight / scale);
  const std::vector<double> columns =
      tile_starts(plan.width, width, kTileOverlap * plan.pixels_per_foot);
  const std::vector<double> rows =
      tile_starts(plan.height, height, kTileOverlap * plan.pixels_per_foot);
  const std::size_t count = columns.size() * rows.size();
  page << "<div class=\"plan-tiles\" aria-hidden=\"true\">\n";
  std::size_t part = 0;
  for (std::size_t row = 0; row < rows.size(); ++row) {
    for (std::size_t column = 0; column < columns.size(); ++column) {
      page << "<div class=\"tile\"><p>Level " << level << " plan, part " << ++part << " of "
           << count << ": row " << row + 1 << " of " << rows.size() << ", column " << column + 1
           << " of " << columns.size() << "</p>\n<svg viewBox=\"" << Pixels{columns[column]} << " "
           << Pixels{rows[row]} << " " << Pixels{width} << " " << Pixels{height} << "\" width=\""
           << Pixels{width * scale} << "\" height=\"" << Pixels{height * scale}
           << "\"><use href=\"#plan-" << level << "-plan\"/></svg></div>\n";
    }
  }
  page << "</div>\n";
}

}  // namespace

std::vector<double> tile_starts(double total, double tile, double overlap) {
  std::vector<double> starts{0};
  if (total <= tile) return starts;
  const double step = tile - overlap;
  const int more = static_cast<int>(std::ceil((total - tile) / step));
  for (int i = 1; i <= more; ++i) starts.push_back(std::min(i * step, total - tile));
  return starts;
}

void plan_figure(Markup& page, const PlanLevel& level, const BookOptions& book) {
  DrawOptions options;
  options.player = book.player;
  options.room_numbers = book.room_numbers;
  options.prefixed_ids = true;
  options.links = !book.player;
  options.labelled_by = "level-" + std::to_string(level.level) + "-caption";
  const SvgDrawing plan = plan_level_svg(level, options);
  const double fit = std::min(
      {1.0, kPrintWidth / std::max(plan.width, 1.0), kPrintHeight / std::max(plan.height, 1.0)});
  const double smallest = std::min(1.0, kMinPrintPixelsPerFoot / plan.pixels_per_foot);
  const bool tiled = fit < smallest && !book.player;

  page << "<figure class=\"plan" << (tiled ? " tiled" : "") << "\" id=\"level-" << level.level
       << "-figure\">\n<figcaption id=\"level-" << level.level << "-caption\">Floor plan of level "
       << level.level << ", to scale."
       << (book.player ? ""
                       : " Each room links to its entry in the key below; doors and stairs link "
                         "to the room they lead to.")
       << "</figcaption>\n<div class=\"plan-view\" style=\"--readable: "
       << Pixels{plan.width * std::min(1.0, kMinScreenPixelsPerFoot / plan.pixels_per_foot)}
       << "px\">\n"
       << plan.svg << "\n</div>\n";
  if (tiled) plan_tiles(page, level.level, plan, smallest);
  page << "</figure>\n";
}

}  // namespace atlas
