// SPDX-License-Identifier: MIT
// Reads a dungeon report back into rooms, so tests can check what the report
// says rather than what the engine holds. Any line out of place is an error.
#ifndef DUNGEON_TESTS_REPORT_PARSER_H_
#define DUNGEON_TESTS_REPORT_PARSER_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dungeon::testing {

struct ParsedExit {
  std::string label;
  std::string kind;
  int room = 0;
};

struct ParsedRoom {
  int level = 0;
  int number = 0;
  std::string description;
  std::vector<ParsedExit> exits;
  bool monster = false;
  std::string trap;
  std::vector<std::string> treasure;  // one entry per treasure line
};

struct ParsedSummary {
  int deepest_level = 0;
  int rooms = 0;
  int traps = 0;
  int monsters = 0;
  int treasures = 0;
};

struct ParsedReport {
  std::vector<ParsedRoom> rooms;
  bool overflow = false;                 // ended with "Error!!!"
  std::optional<ParsedSummary> summary;  // present when the run completed
  std::string error;                     // empty when the whole text parsed
};

ParsedReport parse_report(std::string_view text);

}  // namespace dungeon::testing

#endif  // DUNGEON_TESTS_REPORT_PARSER_H_
