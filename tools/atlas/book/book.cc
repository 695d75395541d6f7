// SPDX-License-Identifier: MIT
#include "atlas/book/book.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>
#include <set>
#include <string_view>
#include <vector>

#include "atlas/common/markup.h"
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

// Data never goes in here: the style is the same for every book.
constexpr std::string_view kStyle = R"css(
:root { color-scheme: light; }
body { font: 16px/1.45 "DejaVu Sans", system-ui, sans-serif; color: #111; background: #fff;
  max-width: 75rem; margin: 0 auto; padding: 0 1rem 3rem; }
a { color: #0645ad; }
a:focus-visible { outline: 3px solid #111; outline-offset: 2px; }
header { padding-bottom: .5rem; }
h1 { font-size: 1.8rem; margin: 1rem 0 .25rem; }
.seed-line { margin: 0 0 .5rem; }
.notice { border: 2px solid #111; border-left-width: .6rem; padding: .5rem .75rem;
  background: #fff4d6; margin: .75rem 0; }
.totals { display: flex; flex-wrap: wrap; gap: .25rem 1.75rem; margin: .5rem 0; }
.totals div { display: flex; gap: .4rem; }
.totals dd { margin: 0; font-weight: bold; }
nav ul { list-style: none; display: flex; flex-wrap: wrap; gap: .25rem 1.25rem;
  padding: 0; margin: .5rem 0; }
.level { border-top: 1px solid #777; margin-top: 2rem; }
h2 { font-size: 1.5rem; margin: 1rem 0 .1rem; }
.level-line { margin: 0 0 .5rem; }
.plan { margin: .5rem 0 1.5rem; }
.plan figcaption { font-size: .9rem; margin-bottom: .3rem; }
.plan-view { overflow: auto; max-height: 85vh; border: 1px solid #999; }
.plan-view svg { display: block; max-width: 100%; height: auto; min-width: var(--readable); }
.plan-tiles { display: none; }
.key { display: grid; grid-template-columns: repeat(auto-fill, minmax(19rem, 1fr));
  gap: .75rem 1.25rem; align-items: start; }
.entry { border: 1px solid #aaa; border-radius: 4px; padding: .4rem .7rem .5rem;
  scroll-margin-top: 1rem; }
.entry:target { outline: 4px double #111; outline-offset: 2px; background: #fff4d6; }
.entry.unexplored { border-style: dashed; }
h3 { font-size: 1.05rem; margin: 0; }
.description { font-style: italic; margin: .05rem 0 .3rem; }
.entry ul { margin: .2rem 0; padding-left: 1.2rem; }
.entry ul ul { padding-left: 1rem; }
.contents { border-top: 1px dotted #777; padding-top: .2rem; }
.empty { margin: .2rem 0; color: #444; }
.back { margin: .3rem 0 0; font-size: .85rem; }
@page { margin: 12mm; }
@media print {
  body { font-size: 9.5pt; line-height: 1.3; max-width: none; padding: 0; }
  a { color: inherit; text-decoration: none; }
  .back { display: none; }
  .notice { background: none; }
  .level { break-before: page; border: 0; margin: 0; }
  h2 { margin-top: 0; }
  h2, h3, .level-line, figcaption { break-after: avoid; }
  figcaption { break-inside: avoid; }
  .plan-view { overflow: visible; max-height: none; border: 0; }
  .plan-view svg { max-width: 100%; max-height: 206mm; height: auto; min-width: 0; }
  .plan.tiled .plan-view { display: none; }
  .plan.tiled .plan-tiles { display: block; }
  .tile { break-inside: avoid; margin: 0 0 4mm; }
  .tile p { margin: 0 0 1mm; font-size: 8pt; }
  .tile svg { display: block; border: .5pt solid #777; }
  .key { display: block; columns: 2; column-gap: 7mm; }
  .entry { break-inside: avoid; border: 0; border-bottom: .5pt solid #999; border-radius: 0;
    padding: 1mm 0 1.5mm; margin: 0 0 1.5mm; }
  .entry.unexplored { border-bottom-style: dashed; }
  .entry:target { outline: 0; background: none; }
}
)css";

// The page as it is written: markup goes in raw, every piece of data through
// the one escaping function.
class Page {
 public:
  explicit Page(std::size_t expected) { out_.reserve(expected); }
  Page& raw(std::string_view markup) {
    out_ += markup;
    return *this;
  }
  Page& text(std::string_view data) {
    append_html_escaped(out_, data);
    return *this;
  }
  Page& number(long long value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out_.append(digits, result.ptr);
    return *this;
  }
  // A length in pixels, to a hundredth.
  Page& pixels(double value) {
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, std::round(value * 100) / 100,
                                      std::chars_format::general);
    out_.append(digits, result.ptr);
    return *this;
  }
  std::string take() { return std::move(out_); }

 private:
  std::string out_;
};

void room_link(Page& page, int room) {
  page.raw("<a href=\"#room-").number(room).raw("\">room ").number(room).raw("</a>");
}

// "North: Door, to room 12", "Down 2 Levels: Stair Down, to room 57 on level 3".
void exit_line(Page& page, const dungeon::Dungeon& d, const dungeon::Exit& exit, int level) {
  page.raw("<li>").text(exit.label).raw(": ").text(exit.kind).raw(", to ");
  room_link(page, exit.room);
  const int to_level = d.room(exit.room).level;
  if (to_level != level) page.raw(" on level ").number(to_level);
  page.raw("</li>\n");
}

void room_entry(Page& page, const dungeon::Dungeon& d, int number, bool generated) {
  const dungeon::RoomRecord& room = d.room(number);
  page.raw("<article class=\"entry")
      .raw(generated ? "" : " unexplored")
      .raw("\" id=\"room-")
      .number(number)
      .raw("\">\n<h3>Room ")
      .number(number)
      .raw("</h3>\n<p class=\"description\">");
  if (generated) {
    page.text(room.description.view());
  } else {
    page.raw("Not explored: the run stopped at the room limit before this room was generated.");
  }
  page.raw("</p>\n");

  // An unexplored room has only its way back.
  page.raw("<ul class=\"exits\">\n");
  for (std::size_t slot = 0; slot < room.exits.size(); ++slot) {
    if (!generated && slot != dungeon::kBackSlot) break;
    if (room.exits[slot].room > 0) exit_line(page, d, room.exits[slot], room.level);
  }
  page.raw("</ul>\n");

  if (generated) {
    const std::vector<std::string> treasure = treasure_lines(room.treasure.view());
    if (!room.monster && room.trap.empty() && treasure.empty()) {
      page.raw("<p class=\"empty\">No monster, trap or treasure.</p>\n");
    } else {
      page.raw("<ul class=\"contents\">\n");
      if (room.monster) page.raw("<li>Monster</li>\n");
      if (!room.trap.empty()) page.raw("<li>Trap: ").text(room.trap).raw("</li>\n");
      if (!treasure.empty()) {
        page.raw("<li>Treasure:\n<ul>\n");
        for (const std::string& line : treasure) page.raw("<li>").text(line).raw("</li>\n");
        page.raw("</ul>\n</li>\n");
      }
      page.raw("</ul>\n");
    }
  }
  page.raw("<p class=\"back\"><a href=\"#level-")
      .number(room.level)
      .raw("-figure\">Back to the plan of level ")
      .number(room.level)
      .raw("</a></p>\n</article>\n");
}

// A plan's size on screen, and its drawing's scale.
struct SvgSize {
  double width = 0;   // pixels
  double height = 0;  // pixels
  double pixels_per_unit = 1;
};

// The number in attribute `name` of the start tag `tag`, or 0.
double attribute_number(std::string_view tag, std::string_view name) {
  std::size_t at = 0;
  do {
    at = tag.find(name, at + 1);
    if (at == std::string_view::npos) return 0;
  } while (tag[at - 1] != ' ' || tag.substr(at + name.size(), 2) != "=\"");
  const char* begin = tag.data() + at + name.size() + 2;
  double value = 0;
  const auto result = std::from_chars(begin, tag.data() + tag.size(), value);
  return result.ec == std::errc() ? value : 0;
}

// The root <svg>'s width and height in pixels.
SvgSize svg_size(std::string_view svg) {
  const std::string_view tag = svg.substr(0, svg.find('>'));
  SvgSize size{attribute_number(tag, "width"), attribute_number(tag, "height"), 1};
  // viewBox="0 0 W H": W units of the drawing (feet) across `width` pixels.
  const std::size_t box = tag.find(" viewBox=\"0 0 ");
  if (box != std::string_view::npos) {
    const std::string_view numbers = tag.substr(box + 14);
    double units = 0;
    const auto result = std::from_chars(numbers.data(), numbers.data() + numbers.size(), units);
    if (result.ec == std::errc() && units > 0) size.pixels_per_unit = size.width / units;
  }
  return size;
}

// Pasted into HTML, an SVG document must start at its root element: an XML
// prolog or a doctype there makes the page invalid.
std::string_view from_root_element(std::string_view svg) {
  const std::size_t root = svg.find("<svg");
  return root == std::string_view::npos ? std::string_view() : svg.substr(root);
}

// Where tiles of `tile` pixels start to cover `total`: evenly stepped, the
// last one flush with the far edge.
std::vector<double> tile_starts(double total, double tile, double overlap) {
  std::vector<double> starts{0};
  if (total <= tile) return starts;
  const double step = tile - overlap;
  const int more = static_cast<int>(std::ceil((total - tile) / step));
  for (int i = 1; i <= more; ++i) starts.push_back(std::min(i * step, total - tile));
  return starts;
}

// The print-only copy of a large plan, cut into page-sized pieces that each
// show part of the one drawing (no second copy of it).
// REQUIRES: 0 < scale <= 1.
void plan_tiles(Page& page, int level, SvgSize size, double scale) {
  const double width = std::min(size.width, kTileWidth / scale);
  const double height = std::min(size.height, kTileHeight / scale);
  const std::vector<double> columns =
      tile_starts(size.width, width, kTileOverlap * size.pixels_per_unit);
  const std::vector<double> rows =
      tile_starts(size.height, height, kTileOverlap * size.pixels_per_unit);
  const auto count = static_cast<long long>(columns.size() * rows.size());
  page.raw("<div class=\"plan-tiles\" aria-hidden=\"true\">\n");
  long long part = 0;
  for (std::size_t row = 0; row < rows.size(); ++row) {
    for (std::size_t column = 0; column < columns.size(); ++column) {
      page.raw("<div class=\"tile\"><p>Level ")
          .number(level)
          .raw(" plan, part ")
          .number(++part)
          .raw(" of ")
          .number(count)
          .raw(": row ")
          .number(static_cast<long long>(row + 1))
          .raw(" of ")
          .number(static_cast<long long>(rows.size()))
          .raw(", column ")
          .number(static_cast<long long>(column + 1))
          .raw(" of ")
          .number(static_cast<long long>(columns.size()))
          .raw("</p>\n<svg viewBox=\"")
          .pixels(columns[column])
          .raw(" ")
          .pixels(rows[row])
          .raw(" ")
          .pixels(width)
          .raw(" ")
          .pixels(height)
          .raw("\" width=\"")
          .pixels(width * scale)
          .raw("\" height=\"")
          .pixels(height * scale)
          .raw("\"><use href=\"#plan-")
          .number(level)
          .raw("-plan\"/></svg></div>\n");
    }
  }
  page.raw("</div>\n");
}

void plan_figure(Page& page, const dungeon::Dungeon& d, const LevelRooms& level, const Plan& plan) {
  const auto found = std::find_if(plan.levels.begin(), plan.levels.end(),
                                  [&](const PlanLevel& l) { return l.level == level.level; });
  // The plan has every level the dungeon has (REQUIRES above).
  if (found == plan.levels.end()) return;
  PlanSvgOptions options;
  options.id_prefix = "plan-" + std::to_string(level.level) + "-";
  options.link_rooms = true;
  options.labelled_by = "level-" + std::to_string(level.level) + "-caption";
  options.xml_prolog = false;
  const std::string svg_document = plan_level_svg(*found, d, options);
  const std::string_view svg = from_root_element(svg_document);
  const SvgSize size = svg_size(svg);
  const double fit = std::min(
      {1.0, kPrintWidth / std::max(size.width, 1.0), kPrintHeight / std::max(size.height, 1.0)});
  const double smallest = std::min(1.0, kMinPrintPixelsPerFoot / size.pixels_per_unit);
  const bool tiled = fit < smallest;

  page.raw("<figure class=\"plan")
      .raw(tiled ? " tiled" : "")
      .raw("\" id=\"level-")
      .number(level.level)
      .raw("-figure\">\n<figcaption id=\"level-")
      .number(level.level)
      .raw("-caption\">Floor plan of level ")
      .number(level.level)
      .raw(
          ", to scale. Each room links to its entry in the key below; stairs link to the room "
          "they reach.</figcaption>\n<div class=\"plan-view\" style=\"--readable: ")
      .pixels(size.width * std::min(1.0, kMinScreenPixelsPerFoot / size.pixels_per_unit))
      .raw("px\">\n")
      .raw(svg)
      .raw("\n</div>\n");
  if (tiled) plan_tiles(page, level.level, size, smallest);
  page.raw("</figure>\n");
}

void level_section(Page& page, const FinishedRun& run, const LevelRooms& level, const Plan& plan) {
  const dungeon::Dungeon& d = run.d();
  std::set<int> stairs_to;
  for (const int n : level.rooms) {
    for (const dungeon::Exit& exit : d.room(n).exits) {
      if (exit.room > 0 && d.room(exit.room).level != level.level) {
        stairs_to.insert(d.room(exit.room).level);
      }
    }
  }
  page.raw("<section class=\"level\" id=\"level-")
      .number(level.level)
      .raw("\" aria-labelledby=\"level-")
      .number(level.level)
      .raw("-heading\">\n<h2 id=\"level-")
      .number(level.level)
      .raw("-heading\">Level ")
      .number(level.level)
      .raw("</h2>\n<p class=\"level-line\">")
      .number(static_cast<long long>(level.rooms.size()))
      .raw(level.rooms.size() == 1 ? " room" : " rooms");
  if (!stairs_to.empty()) {
    page.raw("; stairs to level");
    page.raw(stairs_to.size() == 1 ? " " : "s ");
    std::size_t i = 0;
    for (const int to : stairs_to) {
      if (i > 0) page.raw(i + 1 == stairs_to.size() ? " and " : ", ");
      page.raw("<a href=\"#level-").number(to).raw("\">").number(to).raw("</a>");
      ++i;
    }
  }
  page.raw(".</p>\n");
  plan_figure(page, d, level, plan);
  page.raw("<div class=\"key\">\n");
  for (const int n : level.rooms) room_entry(page, d, n, run.generated(n));
  page.raw("</div>\n</section>\n");
}

void total(Page& page, std::string_view name, int value) {
  page.raw("<div><dt>").raw(name).raw("</dt><dd>").number(value).raw("</dd></div>\n");
}

void book_header(Page& page, const FinishedRun& run) {
  const dungeon::Dungeon& d = run.d();
  const uint32_t seed = run.seed();
  const bool overflow = run.overflowed();
  page.raw("<header>\n<h1>Dungeon of seed ")
      .number(seed)
      .raw("</h1>\n<p class=\"seed-line\">Seed ")
      .number(seed)
      .raw(", grown at ")
      .text(seed_time_utc(seed))
      .raw(". Outcome: ")
      .raw(overflow ? "overflow, the run stopped at the room limit."
                    : "complete, every room generated.")
      .raw("</p>\n");
  if (overflow) {
    const int unexplored = d.tally.rooms() - d.reported;
    page.raw(
            "<p class=\"notice\"><strong>This dungeon stops at the room limit.</strong> The run "
            "would have numbered a room past 1000, so it ended there, as the report ends with "
            "\u201cError!!!\u201d: ")
        .number(d.reported)
        .raw(" rooms were generated; ")
        .number(unexplored)
        .raw(unexplored == 1 ? " room was" : " rooms were")
        .raw(
            " numbered but never generated and are marked \u201cnot explored\u201d. The totals "
            "below are those the run had reached.</p>\n");
  }
  page.raw("<dl class=\"totals\">\n");
  total(page, "Deepest level", d.tally.deepest_level);
  total(page, "Rooms", d.reported);
  total(page, "Traps", d.tally.trap_count);
  total(page, "Monsters", d.tally.monster_count);
  total(page, "Treasures", d.tally.treasure_count);
  page.raw("</dl>\n<nav aria-label=\"Levels\">\n<ul>\n");
  for (const LevelRooms& level : run.levels()) {
    page.raw("<li><a href=\"#level-")
        .number(level.level)
        .raw("\">Level ")
        .number(level.level)
        .raw("</a> (")
        .number(static_cast<long long>(level.rooms.size()))
        .raw(level.rooms.size() == 1 ? " room)" : " rooms)")
        .raw("</li>\n");
  }
  page.raw("</ul>\n</nav>\n</header>\n");
}

}  // namespace

std::string seed_time_utc(uint32_t seed) {
  const auto time = static_cast<std::time_t>(seed);
  std::tm utc{};
  gmtime_r(&time, &utc);
  char text[32];
  const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &utc);
  return std::string(text, length);
}

std::string dungeon_book(const FinishedRun& run, const Plan& plan) {
  const uint32_t seed = run.seed();
  Page page(static_cast<std::size_t>(run.d().tally.next_room) * 2048 + 16384);
  page.raw("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n")
      .raw(
          "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
          "style-src 'unsafe-inline'; base-uri 'none'; form-action 'none'\">\n")
      .raw("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n")
      .raw("<title>Dungeon of seed ")
      .number(seed)
      .raw("</title>\n<style>")
      .raw(kStyle)
      .raw("</style>\n</head>\n<body>\n");
  book_header(page, run);
  page.raw("<main>\n");
  for (const LevelRooms& level : run.levels()) level_section(page, run, level, plan);
  page.raw("</main>\n</body>\n</html>\n");
  return page.take();
}

}  // namespace atlas
