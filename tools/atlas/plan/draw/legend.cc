// SPDX-License-Identifier: MIT
#include "atlas/plan/draw/legend.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "atlas/plan/draw/sizes.h"
#include "atlas/plan/draw/svg_symbols.h"

namespace atlas::draw {
namespace {

// The header's rows, in feet before scaling, from the top of the page.
constexpr double kTitleRow = kTitleFont + 6;  // the legend's offset under a title
constexpr double kLegendRow = 11;
constexpr double kLegendBelow = 8;  // from the last legend row to the header's foot
constexpr double kCompassHeight = 20;
constexpr double kLetter = kLegendFont * 0.6;  // the width of a legend letter

enum class Sample { kPassage, kStairs, kMark, kWater, kUnexplored };

struct Entry {
  Sample sample;
  Passage passage = Passage::kDoor;
  std::string_view mark;  // M, T or $
  std::string name;
};

// The legend's two rows: passages and stairs, then marks, water and rooms
// never explored; only what the drawing uses, and an empty row left out.
std::vector<std::vector<Entry>> legend_rows(const LegendItems& items) {
  std::vector<Entry> passages;
  constexpr std::pair<Passage, std::string_view> kPassages[] = {
      {Passage::kDoor, "door"},
      {Passage::kLockedDoor, "locked door"},
      {Passage::kBrokenDoor, "broken door"},
      {Passage::kArchway, "archway"}};
  for (const auto& [passage, name] : kPassages) {
    if (items.passages[static_cast<std::size_t>(passage)]) {
      passages.push_back({Sample::kPassage, passage, {}, std::string(name)});
    }
  }
  if (items.stairs) passages.push_back({Sample::kStairs, {}, {}, "stairs (narrow end down)"});
  std::vector<Entry> others;
  if (items.monster) others.push_back({Sample::kMark, {}, "M", "monster"});
  if (items.trap) others.push_back({Sample::kMark, {}, "T", "trap"});
  if (items.treasure) others.push_back({Sample::kMark, {}, "$", "treasure"});
  if (items.water) {
    others.push_back(
        {Sample::kWater, {}, {}, items.magical ? "pool or lake (* magical)" : "pool or lake"});
  }
  if (items.unexplored) {
    others.push_back({Sample::kUnexplored, {}, {}, "not explored (run stopped)"});
  }
  std::vector<std::vector<Entry>> rows;
  for (std::vector<Entry>* row : {&passages, &others}) {
    if (!row->empty()) rows.push_back(std::move(*row));
  }
  return rows;
}

// Draws `entry` with its left edge at x on the row's middle line y, and
// returns the width it takes, gap included.
double write_entry(Markup& svg, const Entry& entry, double x, double y) {
  const double text_y = y + 1.4;
  const double letters = static_cast<double>(entry.name.size()) * kLetter;
  switch (entry.sample) {
    case Sample::kPassage:
      line(svg, x, y, x + 8, y, "stroke=\"#000\" stroke-width=\"1.2\"");
      door_symbol(svg, x + 4, y, Wall::kNorth, entry.passage);
      write_text(svg, x + 10, text_y, kLegendFont, entry.name);
      return 12 + letters;
    case Sample::kStairs:
      stairs_symbol(svg, x + 3, y, 2.5, true);
      write_text(svg, x + 7, text_y, kLegendFont, entry.name);
      return 12 + letters;
    case Sample::kMark:
      svg << "<text x=\"" << x << "\" y=\"" << text_y << "\" font-size=\"" << kLegendFont
          << "\"><tspan font-weight=\"bold\">" << entry.mark << "</tspan> " << entry.name
          << "</text>";
      return 6 + static_cast<double>(entry.mark.size() + 1) * kLetter + letters;
    case Sample::kWater:
      water_symbol(svg, x + 5, y, 5, 3, false);
      write_text(svg, x + 12, text_y, kLegendFont, entry.name);
      return 16 + letters;
    case Sample::kUnexplored:
      svg << "<rect x=\"" << x << "\" y=\"" << y - 3 << "\" width=\"6\" height=\"6\" "
          << "fill=\"#fff\" stroke=\"#000\" stroke-width=\"0.5\" stroke-dasharray=\"1.5 1\"/>";
      write_text(svg, x + 9, text_y, kLegendFont, entry.name);
      return 13 + letters;
  }
  return 0;
}

// Scale bar of 50 feet in 10-foot steps, and the north arrow, ending at
// `right`.
void write_compass(Markup& svg, double right, GridLines grid) {
  const double bar_x = right - 62;
  const double bar_y = kMargin + 4;
  for (int i = 0; i < 5; ++i) {
    svg << "<rect x=\"" << bar_x + i * 10 << "\" y=\"" << bar_y << "\" width=\"10\" height=\"2\" "
        << (i % 2 == 0 ? "fill=\"#000\"" : "fill=\"#fff\"")
        << " stroke=\"#000\" stroke-width=\"0.3\"/>";
  }
  write_text(svg, bar_x, bar_y + 6.5, kLegendFont, "0", "text-anchor=\"middle\"");
  write_text(svg, bar_x + 50, bar_y + 6.5, kLegendFont, "50 ft", "text-anchor=\"middle\"");
  if (grid != GridLines::kNone) {
    write_text(svg, bar_x + 25, bar_y + 12, 3,
               grid == GridLines::kFiveFeet ? "1 square = 5 ft" : "1 square = 10 ft",
               "text-anchor=\"middle\"");
  }
  const double arrow_x = right - 4;
  svg << "<path d=\"M" << arrow_x << ' ' << bar_y - 2 << "l3 10h-6z\" fill=\"#000\"/>";
  write_text(svg, arrow_x, bar_y + 14, 5, "N", "text-anchor=\"middle\" font-weight=\"bold\"");
}

double legend_top(const DrawOptions& options) {
  return kMargin + 4 + (options.title ? kTitleRow : 0);
}

}  // namespace

void LegendItems::add(const PlanLevel& level, const DrawOptions& options) {
  for (const PlanDoor& door : level.doors) {
    passages[static_cast<std::size_t>(passage_kind(door.passage))] = true;
  }
  stairs = stairs || !level.stairs.empty();
  for (const PlanRoom& room : level.rooms) {
    if (!room.generated) unexplored = unexplored || !options.player;
    if (room.water != Water::kNone) water = true;
    if (options.player) continue;
    if (!room.generated) continue;
    monster = monster || room.monster;
    trap = trap || room.trap;
    treasure = treasure || room.treasure;
    magical = magical || room.water == Water::kMagicalPool;
  }
}

double header_scale(double page_width) {
  return std::clamp(page_width / 600, 1.0, 5.0);
}

double header_height(const DrawOptions& options, const LegendItems& items, double scale) {
  double height = 0;
  if (options.title) height = kMargin + kTitleFont + 4;
  const auto rows = static_cast<double>(legend_rows(items).size());
  if (options.legend && rows > 0) {
    height = legend_top(options) + (rows - 1) * kLegendRow + kLegendBelow;
  }
  if (options.compass) height = std::max(height, kMargin + kCompassHeight);
  return std::ceil(height * scale / 10) * 10;
}

void write_header(Markup& svg, std::string_view title, bool level_heading, const LegendItems& items,
                  const DrawOptions& options, double page_width, double scale) {
  if (header_height(options, items, scale) == 0) return;
  const double width = page_width / scale;
  const double left = kMargin / scale;  // in line with the levels' left edge
  svg << "<g class=\"header\" transform=\"scale(" << scale << ")\">";
  if (options.title) {
    write_text(svg, left, kMargin + kTitleFont * 0.8, kTitleFont, title,
               level_heading ? "font-weight=\"bold\" class=\"heading\"" : "font-weight=\"bold\"");
  }
  if (options.legend) {
    double y = legend_top(options);
    for (const std::vector<Entry>& row : legend_rows(items)) {
      double x = left;
      for (const Entry& entry : row) x += write_entry(svg, entry, x, y);
      y += kLegendRow;
    }
  }
  if (options.compass) write_compass(svg, std::max(width - left, kLegendWidth), options.grid);
  svg << "</g>";
}

}  // namespace atlas::draw
