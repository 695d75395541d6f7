// SPDX-License-Identifier: MIT
#include "atlas/book/plan_figure.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "atlas/book/print_layout.h"
#include "atlas/plan/draw/plan_svg.h"

namespace atlas {
namespace {

// On screen a plan shrinks to the window's width, but never below this: the
// plans' room numbers (12 feet) stay 30 pixels tall. Past it, it scrolls.
constexpr double kMinScreenPixelsPerFoot = 2.5;
// CSS pixels in a millimetre.
constexpr double kPixelsPerMm = 96 / 25.4;
// Cut marks: how far from a tile's corner they start, and how long they are.
constexpr double kCutGap = 1;
constexpr double kCutLength = 4;
// The overview's tile labels and lines, in millimetres on paper.
constexpr double kOverviewFontMm = 3.5;
constexpr double kOverviewLineMm = 0.35;

// A length to a hundredth.
struct Short {
  double value;
};

Markup& operator<<(Markup& page, Short number) {
  char digits[32];
  const auto result =
      std::to_chars(digits, digits + sizeof digits, std::round(number.value * 100) / 100,
                    std::chars_format::general);
  return page << std::string_view(digits, static_cast<std::size_t>(result.ptr - digits));
}

// The scale bar (50 feet) and the north arrow, kept in the top right corner
// of the plan's box however far the plan scrolls. The style sheet sizes the
// bar from the plan's width as shown (--feet and the plan's own sizes).
void compass(Markup& page) {
  page << "<div class=\"compass\" aria-hidden=\"true\"><span class=\"scale\"><span "
          "class=\"bar\"></span>0 <span class=\"far\">50 ft</span></span><span "
          "class=\"north\">\u25b2<br>N</span></div>\n";
}

// The symbols the plan uses, as a line of text over it.
void legend(Markup& page, const PlanLevel& level, const DrawOptions& options) {
  page << "<ul class=\"legend\" aria-label=\"Legend\">";
  for (const LegendSample& sample : plan_legend(level, options)) {
    page << "<li>" << sample.svg;
    if (!sample.mark.empty()) {
      page << "<b>";
      page.text(sample.mark) << "</b>";
    }
    page << ' ';
    page.text(sample.meaning) << "</li>";
  }
  page << "</ul>\n";
}

// "10 ft = 25.4 mm"
std::string scale_words(double mm_per_foot) {
  std::string words;
  Markup out(words);
  out << "10 ft = " << Short{mm_per_foot * 10} << " mm";
  return words;
}

// A short line in the margin: (x, y) to (x + dx, y + dy), in millimetres.
void mark(Markup& page, double x, double y, double dx, double dy, bool dashed) {
  page << "<path d=\"M" << Short{x} << ' ' << Short{y} << 'l' << Short{dx} << ' ' << Short{dy}
       << "\" stroke=\"#000\" stroke-width=\"0.25\""
       << (dashed ? " stroke-dasharray=\"1 0.6\"" : "") << "/>";
}

// One tile: the part `box` of the plan, drawn as `content`, `mm_per_foot`
// to scale, framed, with cut marks at its corners and ticks where the
// neighbours' strips begin (on the sides given by `neighbours`: left, top,
// right, bottom).
void tile_sheet(Markup& page, const Rect& box, const std::string& content, double mm_per_foot,
                const bool (&neighbours)[4]) {
  const double m = kTileMarginMm;
  const double w = box.w * mm_per_foot;
  const double h = box.h * mm_per_foot;
  const double overlap = kTileOverlapFeet * mm_per_foot;
  page << "<svg class=\"sheet\" viewBox=\"0 0 " << Short{w + 2 * m} << ' ' << Short{h + 2 * m}
       << "\" width=\"" << Short{w + 2 * m} << "mm\" height=\"" << Short{h + 2 * m}
       << "mm\"><svg x=\"" << m << "\" y=\"" << m << "\" width=\"" << Short{w} << "\" height=\""
       << Short{h} << "\" viewBox=\"" << box.x << ' ' << box.y << ' ' << box.w << ' ' << box.h
       << "\">" << content << "</svg><rect x=\"" << m << "\" y=\"" << m << "\" width=\"" << Short{w}
       << "\" height=\"" << Short{h} << "\" fill=\"none\" stroke=\"#777\" stroke-width=\"0.2\"/>";
  // Cut marks: each corner's two edges carried out into the margin.
  for (const double x : {m, m + w}) {
    for (const double y : {m, m + h}) {
      const double out_x = x == m ? -1 : 1;
      const double out_y = y == m ? -1 : 1;
      mark(page, x + out_x * kCutGap, y, out_x * kCutLength, 0, false);
      mark(page, x, y + out_y * kCutGap, 0, out_y * kCutLength, false);
    }
  }
  // Overlap ticks across the margins, dashed.
  const double ticks_x[] = {m + overlap, m + w - overlap};
  const double ticks_y[] = {m + overlap, m + h - overlap};
  for (int side = 0; side < 2; ++side) {
    if (neighbours[side == 0 ? 0 : 2]) {
      mark(page, ticks_x[side], 0, 0, m - kCutGap, true);
      mark(page, ticks_x[side], m + h + kCutGap, 0, m - kCutGap, true);
    }
    if (neighbours[side == 0 ? 1 : 3]) {
      mark(page, 0, ticks_y[side], m - kCutGap, 0, true);
      mark(page, m + w + kCutGap, ticks_y[side], m - kCutGap, 0, true);
    }
  }
  page << "</svg>";
}

// The whole level on one page, the tiles drawn over it and numbered as
// their pages are.
void overview(Markup& page, int level, double frame_x, double frame_y, const PlanSize& size,
              const PrintedPlan& printed) {
  const double scale = printed.overview_mm_per_foot;
  page << "<div class=\"overview\"><p>Level " << level
       << " plan, overview: " << printed.tiles.size()
       << (printed.tiles.size() == 1 ? " tile in " : " tiles in ") << printed.rows.size()
       << (printed.rows.size() == 1 ? " row" : " rows") << " and " << printed.columns.size()
       << (printed.columns.size() == 1 ? " column" : " columns") << ", numbered as their pages, "
       << scale_words(printed.mm_per_foot) << "; this page " << scale_words(scale)
       << "</p>\n<svg viewBox=\"" << Short{frame_x} << ' ' << Short{frame_y} << ' '
       << Short{size.frame_width} << ' ' << Short{size.frame_height} << "\" width=\""
       << Short{size.frame_width * scale} << "mm\" height=\"" << Short{size.frame_height * scale}
       << "mm\"><use href=\"#" << level_id_prefix(level) << "level-" << level << "\"/>";
  for (std::size_t part = 0; part < printed.tiles.size(); ++part) {
    const TilePlace& tile = printed.tiles[part];
    const TileSpan& across = printed.columns[tile.column];
    const TileSpan& down = printed.rows[tile.row];
    // As large as the strip the tile has to itself holds.
    const std::string number = std::to_string(part + 1);
    const double font = std::min(kOverviewFontMm / scale,
                                 (std::min(across.length, down.length) - kTileOverlapFeet) /
                                     (static_cast<double>(number.size()) * 0.65));
    page << "<rect x=\"" << Short{frame_x + across.start} << "\" y=\""
         << Short{frame_y + down.start} << "\" width=\"" << Short{across.length} << "\" height=\""
         << Short{down.length} << "\" fill=\"none\" stroke=\"#000\" stroke-width=\""
         << Short{kOverviewLineMm / scale} << "\" stroke-dasharray=\""
         << Short{4 * kOverviewLineMm / scale} << ' ' << Short{2 * kOverviewLineMm / scale}
         << "\"/><text x=\"" << Short{frame_x + across.start + across.length / 2} << "\" y=\""
         << Short{frame_y + down.start + down.length / 2 + font * 0.35} << "\" font-size=\""
         << Short{font} << "\" font-weight=\"bold\" text-anchor=\"middle\" stroke=\"#fff\" "
         << "stroke-width=\"" << Short{font * 0.25} << "\" paint-order=\"stroke\">" << number
         << "</text>";
  }
  page << "</svg></div>\n";
}

// The print-only pieces of a plan too large for its page at the scale
// asked for: an overview, then one tile a page, each drawing its part of the
// level again (a <use> of the whole level on every tile made printing a
// large book take minutes); or a single tile under the heading.
void print_tiles(Markup& page, const PlanLevel& level, const DrawOptions& options,
                 const SvgDrawing& plan, const PlanSize& size, const PrintedPlan& printed) {
  std::vector<Rect> regions;
  for (const TilePlace& tile : printed.tiles) {
    const TileSpan& across = printed.columns[tile.column];
    const TileSpan& down = printed.rows[tile.row];
    regions.push_back({plan.frame.x + static_cast<int>(across.start),
                       plan.frame.y + static_cast<int>(down.start), static_cast<int>(across.length),
                       static_cast<int>(down.length)});
  }
  const std::vector<std::string> contents = plan_regions_svg(level, options, regions);
  page << "<div class=\"plan-tiles\" aria-hidden=\"true\">\n";
  const bool apart = printed.overview_mm_per_foot > 0;
  if (apart) overview(page, level.level, plan.frame_x, plan.frame_y, size, printed);
  const std::size_t rows = printed.rows.size();
  const std::size_t columns = printed.columns.size();
  for (std::size_t part = 0; part < printed.tiles.size(); ++part) {
    const TilePlace& tile = printed.tiles[part];
    page << "<div class=\"tile" << (apart ? " apart" : "") << "\"><p>Level " << level.level
         << " plan, part " << part + 1 << " of " << printed.tiles.size() << ": row " << tile.row + 1
         << " of " << rows << ", column " << tile.column + 1 << " of " << columns << " \u00b7 "
         << scale_words(printed.mm_per_foot);
    if (apart) {
      page << " \u00b7 neighbours overlap by " << kTileOverlapFeet << " ft, from the dashed ticks";
    }
    page << "</p>\n";
    const bool neighbours[4] = {tile.column > 0, tile.row > 0, tile.column + 1 < columns,
                                tile.row + 1 < rows};
    tile_sheet(page, regions[part], contents[part], printed.mm_per_foot, neighbours);
    page << "</div>\n";
  }
  page << "</div>\n";
}

// Rooms and corridors, from the frame's corner: what a tile must show.
std::vector<Rect> drawn_parts(const PlanLevel& level, const Rect& frame) {
  std::vector<Rect> parts;
  const auto add = [&](Rect r) {
    r.x -= frame.x;
    r.y -= frame.y;
    parts.push_back(r);
  };
  for (const PlanRoom& room : level.rooms) add(room.footprint());
  // A corridor segment is a line 5 feet wide.
  for (const PlanCorridor& corridor : level.corridors) {
    for (std::size_t i = 1; i < corridor.points.size(); ++i) {
      const Point& a = corridor.points[i - 1];
      const Point& b = corridor.points[i];
      const int x = std::min(a.x, b.x);
      const int y = std::min(a.y, b.y);
      add({x - 3, y - 3, std::max(a.x, b.x) - x + 6, std::max(a.y, b.y) - y + 6});
    }
  }
  return parts;
}

}  // namespace

void plan_figure(Markup& page, const PlanLevel& level, const BookOptions& book) {
  DrawOptions options;
  options.player = book.player;
  options.room_numbers = book.room_numbers;
  options.prefixed_ids = true;
  options.links = !book.player;
  options.labelled_by = "level-" + std::to_string(level.level) + "-caption";
  // The section's heading names the level, the legend is text over the
  // plan and the scale bar and north arrow stay in sight on it (compass()):
  // the drawing is the level alone, so that it prints as large as it can.
  options.title = false;
  options.legend = false;
  options.compass = false;
  const SvgDrawing plan = plan_level_svg(level, options);
  const double feet = plan.width / plan.pixels_per_foot;
  const PlanSize size{feet,
                      plan.height / plan.pixels_per_foot,
                      static_cast<double>(plan.frame.w),
                      static_cast<double>(plan.frame.h),
                      plan.pixels_per_foot / kPixelsPerMm,
                      drawn_parts(level, plan.frame)};
  const PrintedPlan printed = print_layout(size, book.scale);

  page << "<figure class=\"plan" << (printed.tiled ? " tiled" : "") << "\" id=\"level-"
       << level.level << "-figure\">\n<figcaption id=\"level-" << level.level
       << "-caption\">Floor plan of level " << level.level << ", to scale."
       << (book.player ? ""
                       : " Each room links to its entry in the key below; doors and stairs link "
                         "to the room they lead to.")
       << "</figcaption>\n";
  legend(page, level, options);
  page << "<div class=\"plan-view\" style=\"--full: " << Short{plan.width} << "px; --readable: "
       << Short{plan.width * std::min(1.0, kMinScreenPixelsPerFoot / plan.pixels_per_foot)}
       << "px; --print: " << Short{feet * printed.mm_per_foot} << "mm; --feet: " << Short{feet}
       << "; --aspect: " << plan.width / plan.height << "\">\n<div class=\"plan-canvas\">\n";
  compass(page);
  page << plan.svg << "</div>\n</div>\n";
  if (printed.tiled) print_tiles(page, level, options, plan, size, printed);
  page << "</figure>\n";
}

}  // namespace atlas
