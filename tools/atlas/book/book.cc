// SPDX-License-Identifier: MIT
#include "atlas/book/book.h"

#include <algorithm>
#include <ctime>
#include <set>
#include <string_view>

#include "atlas/book/plan_figure.h"
#include "atlas/book/room_key.h"
#include "atlas/book/style.h"
#include "atlas/common/markup.h"

namespace atlas {
namespace {

// "; stairs to levels 2 and 4", each level a link to its section.
void stairs_line(Markup& page, const std::set<int>& stairs_to) {
  if (stairs_to.empty()) return;
  page << "; stairs to level" << (stairs_to.size() == 1 ? " " : "s ");
  std::size_t i = 0;
  for (const int to : stairs_to) {
    if (i > 0) page << (i + 1 == stairs_to.size() ? " and " : ", ");
    page << "<a href=\"#level-" << to << "\">" << to << "</a>";
    ++i;
  }
}

// The players' section: its heading and its plan.
void player_section(Markup& page, const LevelRooms& level, const PlanLevel* drawn,
                    const BookOptions& options) {
  page << "<section class=\"level\" id=\"level-" << level.level << "\" aria-labelledby=\"level-"
       << level.level << "-heading\">\n<h2 id=\"level-" << level.level << "-heading\">Level "
       << level.level << "</h2>\n";
  if (drawn != nullptr) plan_figure(page, *drawn, options);
  page << "</section>\n";
}

void level_section(Markup& page, const FinishedRun& run, const LevelRooms& level, const Plan& plan,
                   const BookOptions& options) {
  const auto drawn = std::find_if(plan.levels.begin(), plan.levels.end(),
                                  [&](const PlanLevel& l) { return l.level == level.level; });
  // The plan has every level the dungeon has (REQUIRES above).
  const PlanLevel* figure = drawn == plan.levels.end() ? nullptr : &*drawn;
  if (options.player) {
    player_section(page, level, figure, options);
    return;
  }
  const dungeon::Dungeon& d = run.d();
  std::set<int> stairs_to;
  for (const int n : level.rooms) {
    for (const dungeon::Exit& exit : d.room(n).exits) {
      if (exit.room > 0 && d.room(exit.room).level != level.level) {
        stairs_to.insert(d.room(exit.room).level);
      }
    }
  }
  page << "<section class=\"level\" id=\"level-" << level.level << "\" aria-labelledby=\"level-"
       << level.level << "-heading\">\n<h2 id=\"level-" << level.level << "-heading\">Level "
       << level.level << "</h2>\n<p class=\"level-line\">" << level.rooms.size()
       << (level.rooms.size() == 1 ? " room" : " rooms");
  stairs_line(page, stairs_to);
  page << ".</p>\n";
  if (figure != nullptr) plan_figure(page, *figure, options);
  page << "<div class=\"key\">\n";
  for (const int n : level.rooms) room_entry(page, run, n);
  page << "</div>\n</section>\n";
}

void total(Markup& page, std::string_view name, int value) {
  page << "<div><dt>" << name << "</dt><dd>" << value << "</dd></div>\n";
}

void level_list(Markup& page, const FinishedRun& run) {
  page << "<nav aria-label=\"Levels\">\n<ul>\n";
  for (const LevelRooms& level : run.levels()) {
    page << "<li><a href=\"#level-" << level.level << "\">Level " << level.level << "</a> ("
         << level.rooms.size() << (level.rooms.size() == 1 ? " room)" : " rooms)") << "</li>\n";
  }
  page << "</ul>\n</nav>\n";
}

// The players' header names no seed: with it, they could print this book.
void player_header(Markup& page, const FinishedRun& run) {
  page << "<header>\n<h1>Player's map</h1>\n";
  level_list(page, run);
  page << "</header>\n";
}

void book_header(Markup& page, const FinishedRun& run) {
  const dungeon::Dungeon& d = run.d();
  page << "<header>\n<h1>Dungeon of seed " << run.seed() << "</h1>\n<p class=\"seed-line\">Seed "
       << run.seed() << ", grown at ";
  page.text(seed_time_utc(run.seed()))
      << ". Outcome: "
      << (run.overflowed() ? "overflow, the run stopped at the room limit."
                           : "complete, every room generated.")
      << "</p>\n";
  if (run.overflowed()) {
    const int unexplored = d.tally.rooms() - d.reported;
    page << "<p class=\"notice\"><strong>This dungeon stops at the room limit.</strong> The run "
            "would have numbered a room past 1000, so it ended there, as the report ends with "
            "\u201cError!!!\u201d: "
         << d.reported << " rooms were generated; " << unexplored
         << (unexplored == 1 ? " room was" : " rooms were")
         << " numbered but never generated and are marked \u201cnot explored\u201d. The totals "
            "below are those the run had reached.</p>\n";
  }
  page << "<dl class=\"totals\">\n";
  total(page, "Deepest level", d.tally.deepest_level);
  total(page, "Rooms", d.reported);
  total(page, "Traps", d.tally.trap_count);
  total(page, "Monsters", d.tally.monster_count);
  total(page, "Treasures", d.tally.treasure_count);
  page << "</dl>\n";
  level_list(page, run);
  page << "</header>\n";
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

std::string dungeon_book(const FinishedRun& run, const Plan& plan, const BookOptions& options) {
  std::string out;
  out.reserve(static_cast<std::size_t>(run.d().tally.next_room) * 2048 + 16384);
  Markup page(out);
  page << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
       << "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
          "style-src 'unsafe-inline'; base-uri 'none'; form-action 'none'\">\n"
       << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
       << "<title>";
  if (options.player) {
    page << "Player's map";
  } else {
    page << "Dungeon of seed " << run.seed();
  }
  page << "</title>\n<style>" << kBookStyle << "</style>\n</head>\n<body"
       << (options.player ? " class=\"player\"" : "") << ">\n";
  if (options.player) {
    player_header(page, run);
  } else {
    book_header(page, run);
  }
  page << "<main>\n";
  for (const LevelRooms& level : run.levels()) level_section(page, run, level, plan, options);
  page << "</main>\n</body>\n</html>\n";
  return out;
}

}  // namespace atlas
