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
constexpr double kEntryGap = 3;

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

// Draws the symbol of `entry` with its left edge at x on the row's middle
// line y, and returns where its name starts; nothing for a mark, which is a
// letter.
double write_sample(Markup& svg, const Entry& entry, double x, double y) {
  switch (entry.sample) {
    case Sample::kPassage:
      line(svg, x, y, x + 8, y, "stroke=\"#000\" stroke-width=\"1.2\"");
      door_symbol(svg, x + 4, y, Wall::kNorth, entry.passage);
      return x + 10;
    case Sample::kStairs:
      stairs_symbol(svg, x + 3, y, 2.5, true);
      return x + 7;
    case Sample::kMark:
      return x;
    case Sample::kWater:
      water_symbol(svg, x + 5, y, 5, 3, false);
      return x + 12;
    case Sample::kUnexplored:
      svg << "<rect x=\"" << x << "\" y=\"" << y - 3 << "\" width=\"6\" height=\"6\" "
          << "fill=\"#fff\" stroke=\"#000\" stroke-width=\"0.5\" stroke-dasharray=\"1.5 1\"/>";
      return x + 9;
  }
  return x;
}

// Draws `entry` with its left edge at x on the row's middle line y, and
// returns the width it takes, gap included.
double write_entry(Markup& svg, const Entry& entry, double x, double y) {
  const double text_x = write_sample(svg, entry, x, y);
  const double text_y = y + 1.4;
  if (entry.sample == Sample::kMark) {
    svg << "<text x=\"" << x << "\" y=\"" << text_y << "\" font-size=\"" << kLegendFont
        << "\"><tspan font-weight=\"bold\">" << entry.mark << "</tspan> " << entry.name
        << "</text>";
  } else {
    write_text(svg, text_x, text_y, kLegendFont, entry.name);
  }
  const double letters =
      static_cast<double>(entry.name.size() + (entry.mark.empty() ? 0 : entry.mark.size() + 1)) *
      kLetter;
  return text_x - x + letters + kEntryGap;
}

// The scale bar's length in the plan's feet: 50 feet, or a round length near
// 50 feet as large as the header has grown.
double bar_length(double scale) {
  double length = 50;
  for (const double round : {100.0, 150.0, 200.0, 250.0}) {
    if (round <= 50 * scale) length = round;
  }
  return length;
}

// The scale bar in five steps and the north arrow, ending at `right`. The bar
// is drawn in the plan's feet, its words `scale` times their size.
void write_compass(Markup& svg, double right, double scale, GridLines grid) {
  const double length = bar_length(scale);
  const double step = length / 5;
  const double bar_x = right - 12 * scale - length;
  const double bar_y = (kMargin + 4) * scale;
  for (int i = 0; i < 5; ++i) {
    svg << "<rect x=\"" << bar_x + i * step << "\" y=\"" << bar_y << "\" width=\"" << step
        << "\" height=\"" << 2 * scale << "\" " << (i % 2 == 0 ? "fill=\"#000\"" : "fill=\"#fff\"")
        << " stroke=\"#000\" stroke-width=\"" << 0.3 * scale << "\"/>";
  }
  const double font = kLegendFont * scale;
  write_text(svg, bar_x, bar_y + 6.5 * scale, font, "0", "text-anchor=\"middle\"");
  write_text(svg, bar_x + length, bar_y + 6.5 * scale, font,
             std::to_string(static_cast<int>(length)) + " ft", "text-anchor=\"middle\"");
  if (grid != GridLines::kNone) {
    write_text(svg, bar_x + length / 2, bar_y + 12 * scale, 3 * scale,
               grid == GridLines::kFiveFeet ? "1 square = 5 ft" : "1 square = 10 ft",
               "text-anchor=\"middle\"");
  }
  const double arrow_x = right - 4 * scale;
  svg << "<path d=\"M" << arrow_x << ' ' << bar_y - 2 * scale << 'l' << 3 * scale << ' '
      << 10 * scale << 'h' << -6 * scale << "z\" fill=\"#000\"/>";
  write_text(svg, arrow_x, bar_y + 14 * scale, 5 * scale, "N",
             "text-anchor=\"middle\" font-weight=\"bold\"");
}

double legend_top(const DrawOptions& options) {
  return kMargin + 4 + (options.title ? kTitleRow : 0);
}

}  // namespace

std::vector<LegendSample> legend_samples(const LegendItems& items) {
  std::vector<LegendSample> samples;
  for (const std::vector<Entry>& row : legend_rows(items)) {
    for (const Entry& entry : row) {
      LegendSample& sample = samples.emplace_back();
      sample.mark = entry.mark;
      sample.meaning = entry.name;
      if (entry.sample == Sample::kMark) continue;
      Markup svg(sample.svg);
      svg << "<svg viewBox=\"-1 -5 12 10\" width=\"12\" height=\"10\" aria-hidden=\"true\">";
      write_sample(svg, entry, 0, 0);
      svg << "</svg>";
    }
  }
  return samples;
}

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

double header_scale(double page_width, const DrawOptions& options) {
  if (options.header_scale > 0) return options.header_scale;
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
  svg << "</g>";
  if (options.compass) {
    write_compass(svg, std::max(width - left, kLegendWidth) * scale, scale, options.grid);
  }
}

}  // namespace atlas::draw
