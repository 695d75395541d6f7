// SPDX-License-Identifier: MIT
#include "report_parser.h"

#include <charconv>
#include <utility>

namespace dungeon::testing {
namespace {

constexpr std::string_view kSeparator = "----------------------------------------";

class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  bool done() const { return pos_ >= text_.size(); }
  // The next line without its newline; false at the end or on a last line
  // that lacks its newline.
  bool next(std::string_view& line) {
    if (done()) return false;
    const auto end = text_.find('\n', pos_);
    if (end == std::string_view::npos) return false;
    line = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    ++number_;
    return true;
  }
  bool peek(std::string_view& line) const {
    LineReader copy = *this;
    return copy.next(line);
  }
  int number() const { return number_; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  int number_ = 0;
};

bool take_prefix(std::string_view& s, std::string_view prefix) {
  if (s.substr(0, prefix.size()) != prefix) return false;
  s.remove_prefix(prefix.size());
  return true;
}

bool to_int(std::string_view s, int& value) {
  if (s.empty()) return false;
  const auto result = std::from_chars(s.data(), s.data() + s.size(), value);
  return result.ec == std::errc() && result.ptr == s.data() + s.size();
}

bool summary_line(LineReader& lines, std::string_view label, int& value) {
  std::string_view line;
  return lines.next(line) && take_prefix(line, label) && to_int(line, value);
}

// The first line of every treasure: "<number> <unit>".
bool is_amount_line(std::string_view line) {
  static constexpr std::string_view kUnits[] = {
      " copper pieces",   " silver pieces", " electrum pieces",   " gold pieces",
      " platimum pieces", " gems",          " pieces of jewelry", " magic items"};
  const auto space = line.find(' ');
  int amount = 0;
  if (space == std::string_view::npos || !to_int(line.substr(0, space), amount)) return false;
  for (std::string_view unit : kUnits) {
    if (line.substr(space) == unit) return true;
  }
  return false;
}

// Parses one block after its first line; returns an error or "".
std::string parse_block(LineReader& lines, ParsedRoom& room) {
  std::string_view line;
  if (!lines.next(line) || !take_prefix(line, "Description: ")) return "no description line";
  room.description = line;
  if (!lines.next(line) || line != "Exits: ") return "no exits header";
  while (lines.next(line) && line != "Contents: ") {
    if (!take_prefix(line, "\t")) return "exit line without a tab";
    const auto through = line.find(" through a ");
    const auto tab = line.rfind('\t');
    if (through == std::string_view::npos || tab == std::string_view::npos || tab < through) {
      return "malformed exit line";
    }
    ParsedExit exit;
    exit.label = line.substr(0, through);
    exit.kind = line.substr(through + 11, tab - through - 11);
    if (!to_int(line.substr(tab + 1), exit.room) || exit.room <= 0) return "bad exit number";
    room.exits.push_back(exit);
  }
  if (line != "Contents: ") return "no contents header";

  // Contents: "Monster", a trap, then treasure lines, each after a tab; the
  // treasure text ends in a line holding only a tab.
  std::vector<std::string_view> contents;
  while (lines.next(line) && !line.empty()) {
    if (!take_prefix(line, "\t")) return "contents line without a tab";
    contents.push_back(line);
  }
  if (!line.empty()) return "no empty line before the separator";
  std::size_t i = 0;
  if (i < contents.size() && contents[i] == "Monster") {
    room.monster = true;
    ++i;
  }
  if (i < contents.size() && !is_amount_line(contents[i])) room.trap = contents[i++];
  if (i < contents.size()) {
    if (!is_amount_line(contents[i])) return "unexpected contents line";
    if (!contents.back().empty()) return "treasure without its closing tab line";
    for (; i + 1 < contents.size(); ++i) room.treasure.emplace_back(contents[i]);
  }
  if (!lines.next(line) || line != kSeparator) return "no separator";
  return "";
}

}  // namespace

ParsedReport parse_report(std::string_view text) {
  ParsedReport report;
  LineReader lines(text);
  std::string_view line;
  auto fail = [&](const std::string& what) {
    report.error = "line " + std::to_string(lines.number()) + ": " + what;
    return report;
  };
  while (lines.peek(line) && take_prefix(line, "Room Level: ")) {
    lines.next(line);
    take_prefix(line, "Room Level: ");
    ParsedRoom room;
    const auto tab = line.find("\tRoom Number ");
    if (tab == std::string_view::npos || !to_int(line.substr(0, tab), room.level) ||
        !to_int(line.substr(tab + 13), room.number)) {
      return fail("malformed room header");
    }
    if (const std::string error = parse_block(lines, room); !error.empty()) return fail(error);
    report.rooms.push_back(std::move(room));
  }
  if (lines.peek(line) && line == "Error!!!") {
    lines.next(line);
    report.overflow = true;
  } else {
    ParsedSummary s;
    if (!summary_line(lines, "Deepest Dungeon level: ", s.deepest_level) ||
        !summary_line(lines, "Total Number Of Rooms: ", s.rooms) ||
        !summary_line(lines, "Total Number Of Traps: ", s.traps) ||
        !summary_line(lines, "Total Number Of Monsters: ", s.monsters) ||
        !summary_line(lines, "Total Number Of Treasures: ", s.treasures)) {
      return fail("malformed summary");
    }
    report.summary = s;
  }
  if (!lines.done()) return fail("text after the end of the report");
  return report;
}

}  // namespace dungeon::testing
