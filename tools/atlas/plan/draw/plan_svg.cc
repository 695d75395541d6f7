// SPDX-License-Identifier: MIT
#include "atlas/plan/draw/plan_svg.h"

#include <algorithm>
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

using draw::kHeaderHeight;
using draw::kHeadingFont;
using draw::kLegendWidth;
using draw::kMargin;
using draw::kPixelsPerFoot;

std::string heading(const PlanLevel& level) {
  return "Level " + std::to_string(level.level) + ": " + std::to_string(level.rooms.size()) +
         (level.rooms.size() == 1 ? " room" : " rooms");
}

void open_svg(Markup& svg, bool xml_prolog, std::string_view id, std::string_view title,
              double width, double height, std::string_view labelled_by) {
  if (xml_prolog) svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" id=\"";
  svg.text(id) << "\" viewBox=\"0 0 " << width << ' ' << height << "\" width=\""
               << width * kPixelsPerFoot << "\" height=\"" << height * kPixelsPerFoot << '"';
  if (!labelled_by.empty()) {
    svg << " aria-labelledby=\"";
    svg.text(labelled_by) << '"';
  }
  svg << " font-family=\"" << draw::kFont << "\">\n<title>";
  svg.text(title) << "</title><rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>";
}

// A page at least as wide as the legend.
double page_width(const Rect& level_bounds, double width) {
  return std::max(width, static_cast<double>(level_bounds.w + 2 * kMargin));
}

}  // namespace

SvgDrawing plan_level_svg(const PlanLevel& level, const PlanSvgOptions& options) {
  SvgDrawing drawing;
  drawing.svg.reserve(4096 + level.rooms.size() * 900 + level.corridors.size() * 120);
  Markup svg(drawing.svg);
  const draw::LevelDrawing writer(level, options.id_prefix, options.link_rooms);
  const Rect& b = writer.bounds();
  const double width = page_width(b, kLegendWidth + 2 * kMargin);
  const double scale = draw::header_scale(width);
  const double height = kHeaderHeight * scale + b.h + kMargin;
  open_svg(svg, false, options.id_prefix + "plan", heading(level), width, height,
           options.labelled_by);
  draw::write_header(svg, heading(level), true, width, scale);
  writer.write(svg, kMargin, kHeaderHeight * scale);
  svg << "\n</svg>\n";
  drawing.width = as_written(width * kPixelsPerFoot);
  drawing.height = as_written(height * kPixelsPerFoot);
  drawing.pixels_per_foot = kPixelsPerFoot;
  return drawing;
}

std::string plan_svg(const Plan& plan) {
  std::size_t rooms = 0;
  for (const PlanLevel& level : plan.levels) rooms += level.rooms.size();
  std::string out;
  out.reserve(4096 + rooms * 900);
  Markup svg(out);
  // Every level's size first: the page and its header depend on them.
  std::vector<std::unique_ptr<draw::LevelDrawing>> writers;
  double width = kLegendWidth + 2 * kMargin;
  double levels_height = 0;
  for (const PlanLevel& level : plan.levels) {
    writers.push_back(std::make_unique<draw::LevelDrawing>(level, "", false));
    const Rect& b = writers.back()->bounds();
    width = page_width(b, width);
    levels_height += b.h + kMargin;
  }
  const double scale = draw::header_scale(width);
  const double heading_font = kHeadingFont * scale;
  double y = kHeaderHeight * scale;
  const double height =
      y + levels_height + static_cast<double>(plan.levels.size()) * (heading_font * 1.5);

  std::string title = "Dungeon of seed " + std::to_string(plan.seed);
  if (plan.outcome == dungeon::RunOutcome::kOverflow) {
    title += " (stopped at the " + std::to_string(kRoomLimit) + "-room limit)";
  }
  open_svg(svg, true, "plan", title, width, height, "");
  draw::write_header(svg, title, false, width, scale);
  for (std::size_t i = 0; i < plan.levels.size(); ++i) {
    svg << "\n";
    draw::write_text(svg, kMargin, y + heading_font, heading_font, heading(plan.levels[i]),
                     "font-weight=\"bold\" class=\"heading\"");
    y += heading_font * 1.5;
    writers[i]->write(svg, kMargin, y);
    y += writers[i]->bounds().h + kMargin;
  }
  svg << "\n</svg>\n";
  return out;
}

}  // namespace atlas
