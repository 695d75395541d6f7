// SPDX-License-Identifier: MIT
#include "atlas/plan/draw/plan_svg.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string_view>
#include <vector>

#include "atlas/common/markup.h"
#include "atlas/plan/draw/legend.h"
#include "atlas/plan/draw/level_drawing.h"
#include "atlas/plan/draw/sizes.h"
#include "atlas/plan/draw/svg_symbols.h"

namespace atlas {
namespace {

using draw::kHeadingFont;
using draw::kLegendWidth;
using draw::kMargin;

std::string heading(const PlanLevel& level) {
  return "Level " + std::to_string(level.level) + ": " + std::to_string(level.rooms.size()) +
         (level.rooms.size() == 1 ? " room" : " rooms");
}

bool has_header(const DrawOptions& options) {
  return options.title || options.legend || options.compass;
}

SvgDrawing open_svg(Markup& svg, bool xml_prolog, std::string_view id, std::string_view title,
                    double width, double height, const DrawOptions& options) {
  SvgDrawing drawing;
  drawing.pixels_per_foot = options.pixels_per_foot;
  drawing.width = as_written(width * options.pixels_per_foot);
  drawing.height = as_written(height * options.pixels_per_foot);
  if (xml_prolog) svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" id=\"";
  svg.text(id) << "\" viewBox=\"0 0 " << width << ' ' << height << "\" width=\"" << drawing.width
               << "\" height=\"" << drawing.height << '"';
  if (!options.labelled_by.empty()) {
    svg << " aria-labelledby=\"";
    svg.text(options.labelled_by) << '"';
  }
  svg << " font-family=\"" << draw::kFont << "\">\n<title>";
  svg.text(title) << "</title><rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>";
  return drawing;
}

// As wide as the legend: at its own size when the header grows with the
// plan, else at the size asked for, in whole 10-foot squares.
double narrowest_page(const DrawOptions& options) {
  const double scale = options.header_scale > 0 ? options.header_scale : 1;
  return std::ceil((kLegendWidth * scale + 2 * kMargin) / 10) * 10;
}

// A page at least as wide as the legend.
double page_width(const Rect& level_bounds, double width) {
  return std::max(width, static_cast<double>(level_bounds.w + 2 * kMargin));
}

// Whole 10-foot squares, so that what comes under stays on the grid.
double on_grid(double feet) {
  return std::ceil(feet / 10) * 10;
}

}  // namespace

std::vector<std::string> plan_regions_svg(const PlanLevel& level, const DrawOptions& options,
                                          const std::vector<Rect>& regions) {
  const draw::LevelDrawing writer(level, options, true);
  std::vector<std::string> parts;
  for (const Rect& region : regions) {
    Markup svg(parts.emplace_back());
    writer.write_region(svg, region);
  }
  return parts;
}

std::vector<LegendSample> plan_legend(const PlanLevel& level, const DrawOptions& options) {
  draw::LegendItems items;
  items.add(level, options);
  return draw::legend_samples(items);
}

double header_scale_for_print(double mm_per_foot) {
  constexpr double kLegendMm = 3;
  return kLegendMm / (draw::kLegendFont * mm_per_foot);
}

std::string level_id_prefix(int level) {
  return "plan-" + std::to_string(level) + "-";
}

SvgDrawing plan_level_svg(const PlanLevel& level, const DrawOptions& options) {
  std::string out;
  out.reserve(4096 + level.rooms.size() * 1000 + level.corridors.size() * 200);
  Markup svg(out);
  const draw::LevelDrawing writer(level, options);
  const Rect& b = writer.bounds();
  const std::string id = (options.prefixed_ids ? level_id_prefix(level.level) : "") + "plan";
  SvgDrawing drawing;
  if (has_header(options)) {
    const double width = page_width(b, narrowest_page(options));
    const double scale = draw::header_scale(width, options);
    draw::LegendItems items;
    items.add(level, options);
    const double top = draw::header_height(options, items, scale);
    drawing = open_svg(svg, false, id, heading(level), width, top + b.h + kMargin, options);
    draw::write_header(svg, heading(level), true, items, options, width, scale);
    writer.write(svg, kMargin, top);
    drawing.frame_x = kMargin;
    drawing.frame_y = top;
  } else {
    drawing = open_svg(svg, false, id, heading(level), b.w, b.h, options);
    writer.write(svg, 0, 0);
  }
  svg << "\n</svg>\n";
  drawing.svg = std::move(out);
  drawing.frame = b;
  return drawing;
}

SvgDrawing plan_svg(const Plan& plan, const DrawOptions& options) {
  DrawOptions plain = options;
  plain.prefixed_ids = false;
  plain.links = false;
  std::size_t rooms = 0;
  for (const PlanLevel& level : plan.levels) rooms += level.rooms.size();
  std::string out;
  out.reserve(4096 + rooms * 1000);
  Markup svg(out);
  // Every level's size first: the page and its header depend on them.
  std::vector<std::unique_ptr<draw::LevelDrawing>> writers;
  draw::LegendItems items;
  double width = narrowest_page(plain);
  double levels_height = 0;
  for (const PlanLevel& level : plan.levels) {
    writers.push_back(std::make_unique<draw::LevelDrawing>(level, plain));
    items.add(level, plain);
    const Rect& b = writers.back()->bounds();
    width = page_width(b, width);
    levels_height += b.h + kMargin;
  }
  const double scale = draw::header_scale(width, plain);
  const double heading_font = kHeadingFont * scale;
  const double heading_block = on_grid(heading_font * 1.5);
  double y = std::max(draw::header_height(plain, items, scale), static_cast<double>(kMargin));
  const double height = y + levels_height + static_cast<double>(plan.levels.size()) * heading_block;

  std::string title = "Dungeon of seed " + std::to_string(plan.seed);
  if (plain.player) {
    // The seed would give the players the game master's book.
    title = "Player's map";
  } else if (plan.outcome == dungeon::RunOutcome::kOverflow) {
    title += " (stopped at the " + std::to_string(kRoomLimit) + "-room limit)";
  }
  SvgDrawing drawing = open_svg(svg, true, "plan", title, width, height, plain);
  draw::write_header(svg, title, false, items, plain, width, scale);
  for (std::size_t i = 0; i < plan.levels.size(); ++i) {
    svg << "\n";
    draw::write_text(svg, kMargin, y + heading_block - heading_font * 0.4, heading_font,
                     heading(plan.levels[i]), "font-weight=\"bold\" class=\"heading\"");
    y += heading_block;
    writers[i]->write(svg, kMargin, y);
    y += writers[i]->bounds().h + kMargin;
  }
  svg << "\n</svg>\n";
  drawing.svg = std::move(out);
  return drawing;
}

}  // namespace atlas
