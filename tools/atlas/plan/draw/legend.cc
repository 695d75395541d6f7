// SPDX-License-Identifier: MIT
#include "atlas/plan/draw/legend.h"

#include <algorithm>

#include "atlas/plan/draw/sizes.h"
#include "atlas/plan/draw/svg_symbols.h"

namespace atlas::draw {

double header_scale(double page_width) {
  return std::clamp(page_width / 600, 1.0, 5.0);
}

void write_header(Markup& svg, std::string_view title, bool level_heading, double page_width,
                  double scale) {
  const double width = page_width / scale;
  const double left = kMargin / scale;  // in line with the levels' left edge
  svg << "<g class=\"header\" transform=\"scale(" << scale << ")\">";
  write_text(svg, left, kMargin + kTitleFont * 0.8, kTitleFont, title,
             level_heading ? "font-weight=\"bold\" class=\"heading\"" : "font-weight=\"bold\"");

  // Legend: two rows of samples with their names.
  const double row0 = kMargin + kTitleFont + 10;
  const double row1 = row0 + 11;
  double x = left;
  auto sample_wall = [&](double sx, double sy) {
    line(svg, sx - 4, sy, sx + 4, sy, "stroke=\"#000\" stroke-width=\"1.2\"");
  };
  struct Item {
    Passage passage;
    std::string_view name;
  };
  constexpr Item kDoors[] = {{Passage::kDoor, "door"},
                             {Passage::kLockedDoor, "locked door"},
                             {Passage::kBrokenDoor, "broken door"},
                             {Passage::kArchway, "archway"}};
  for (const Item& item : kDoors) {
    sample_wall(x + 4, row0);
    door_symbol(svg, x + 4, row0, Wall::kNorth, item.passage);
    write_text(svg, x + 10, row0 + 1.4, kLegendFont, item.name);
    x += 12 + static_cast<double>(item.name.size()) * kLegendFont * 0.6;
  }
  stairs_symbol(svg, x + 3, row0, 2.5, true);
  write_text(svg, x + 7, row0 + 1.4, kLegendFont, "stairs (narrow end down)");
  x = left;
  for (const std::string_view mark : {"M\tmonster", "T\ttrap", "$\ttreasure"}) {
    const std::size_t tab = mark.find('\t');
    svg << "<text x=\"" << x << "\" y=\"" << row1 + 1.4 << "\" font-size=\"" << kLegendFont
        << "\"><tspan font-weight=\"bold\">" << mark.substr(0, tab) << "</tspan> "
        << mark.substr(tab + 1) << "</text>";
    x += 6 + static_cast<double>(mark.size()) * kLegendFont * 0.6;
  }
  water_symbol(svg, x + 5, row1, 5, 3, false);
  write_text(svg, x + 12, row1 + 1.4, kLegendFont, "pool or lake (* magical)");
  x += 70;
  svg << "<rect x=\"" << x << "\" y=\"" << row1 - 3 << "\" width=\"6\" height=\"6\" "
      << "fill=\"#fff\" stroke=\"#000\" stroke-width=\"0.5\" stroke-dasharray=\"1.5 1\"/>";
  write_text(svg, x + 9, row1 + 1.4, kLegendFont, "not explored (run stopped)");

  // Scale bar of 50 feet in 10-foot steps, and the north arrow, on the right.
  const double right = std::max(width - left, kLegendWidth);
  const double bar_x = right - 62;
  const double bar_y = kMargin + 4;
  for (int i = 0; i < 5; ++i) {
    svg << "<rect x=\"" << bar_x + i * 10 << "\" y=\"" << bar_y << "\" width=\"10\" height=\"2\" "
        << (i % 2 == 0 ? "fill=\"#000\"" : "fill=\"#fff\"")
        << " stroke=\"#000\" stroke-width=\"0.3\"/>";
  }
  write_text(svg, bar_x, bar_y + 6.5, kLegendFont, "0", "text-anchor=\"middle\"");
  write_text(svg, bar_x + 50, bar_y + 6.5, kLegendFont, "50 ft", "text-anchor=\"middle\"");
  write_text(svg, bar_x + 25, bar_y + 12, 3, "1 square = 10 ft", "text-anchor=\"middle\"");
  const double arrow_x = right - 4;
  svg << "<path d=\"M" << arrow_x << ' ' << bar_y - 2 << "l3 10h-6z\" fill=\"#000\"/>";
  write_text(svg, arrow_x, bar_y + 14, 5, "N", "text-anchor=\"middle\" font-weight=\"bold\"");
  svg << "</g>";
}

}  // namespace atlas::draw
