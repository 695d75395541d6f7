#include "report_text.h"

#include <set>
#include <sstream>
#include <stdexcept>
#include <string_view>

#include "tables/contents.h"

namespace atlas_test {
namespace {

const std::set<std::string, std::less<>>& trap_names() {
  static const std::set<std::string, std::less<>> names = [] {
    std::set<std::string, std::less<>> all;
    for (int roll = 1; roll <= 100; ++roll) all.emplace(dungeon::trap_roll(roll));
    return all;
  }();
  return names;
}

[[noreturn]] void fail(const std::string& why, const std::string& line) {
  throw std::runtime_error("not a report: " + why + " at '" + line + "'");
}

std::string expect_prefix(const std::string& line, std::string_view prefix) {
  if (line.rfind(prefix, 0) != 0) fail("expected '" + std::string(prefix) + "'", line);
  return line.substr(prefix.size());
}

}  // namespace

TextReport parse_report(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  TextReport report;
  while (std::getline(in, line)) {
    if (line == "Error!!!") {
      report.overflow = true;
      break;
    }
    if (line.rfind("Deepest Dungeon level: ", 0) == 0) {
      TextSummary summary;
      summary.deepest_level = std::stoi(expect_prefix(line, "Deepest Dungeon level: "));
      std::getline(in, line);
      summary.rooms = std::stoi(expect_prefix(line, "Total Number Of Rooms: "));
      std::getline(in, line);
      summary.traps = std::stoi(expect_prefix(line, "Total Number Of Traps: "));
      std::getline(in, line);
      summary.monsters = std::stoi(expect_prefix(line, "Total Number Of Monsters: "));
      std::getline(in, line);
      summary.treasures = std::stoi(expect_prefix(line, "Total Number Of Treasures: "));
      report.summary = summary;
      break;
    }

    TextRoom room;
    const std::string heading = expect_prefix(line, "Room Level: ");
    const std::size_t tab = heading.find("\tRoom Number ");
    if (tab == std::string::npos) fail("no room number", line);
    room.level = std::stoi(heading.substr(0, tab));
    room.number = std::stoi(heading.substr(tab + 13));
    std::getline(in, line);
    room.description = expect_prefix(line, "Description: ");
    std::getline(in, line);
    expect_prefix(line, "Exits: ");
    while (std::getline(in, line) && line != "Contents: ") {
      const std::string exit = expect_prefix(line, "\t");
      const std::size_t through = exit.find(" through a ");
      const std::size_t last_tab = exit.rfind('\t');
      if (through == std::string::npos || last_tab == std::string::npos) fail("bad exit", line);
      room.exits.push_back({exit.substr(0, through),
                            exit.substr(through + 11, last_tab - through - 11),
                            std::stoi(exit.substr(last_tab + 1))});
    }
    std::vector<std::string> contents;
    while (std::getline(in, line) && !line.empty()) contents.push_back(expect_prefix(line, "\t"));
    std::getline(in, line);
    expect_prefix(line, "----------------------------------------");

    std::size_t next = 0;
    if (next < contents.size() && contents[next] == "Monster") {
      room.monster = true;
      ++next;
    }
    if (next < contents.size() && trap_names().count(contents[next]) != 0) {
      room.trap = contents[next++];
    }
    // Treasure lines end with a line holding only the tab.
    if (next < contents.size()) {
      if (!contents.back().empty()) fail("contents without treasure's closing tab", line);
      room.treasure.assign(contents.begin() + static_cast<std::ptrdiff_t>(next),
                           contents.end() - 1);
    }
    report.rooms.push_back(std::move(room));
  }
  return report;
}

}  // namespace atlas_test
