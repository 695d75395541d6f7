// Reads a text report back into rooms, so the tests can hold the JSON and the
// map against the text without going through the code under test.
#ifndef ATLAS_TESTS_REPORT_TEXT_H_
#define ATLAS_TESTS_REPORT_TEXT_H_

#include <optional>
#include <string>
#include <vector>

namespace atlas_test {

struct TextExit {
  std::string label;
  std::string kind;
  int room = 0;
};

struct TextRoom {
  int level = 0;
  int number = 0;
  std::string description;
  std::vector<TextExit> exits;
  bool monster = false;
  std::optional<std::string> trap;
  std::vector<std::string> treasure;
};

struct TextSummary {
  int deepest_level = 0;
  int rooms = 0;
  int traps = 0;
  int monsters = 0;
  int treasures = 0;
};

struct TextReport {
  std::vector<TextRoom> rooms;
  bool overflow = false;
  std::optional<TextSummary> summary;
};

// Throws std::runtime_error on text that is not a report.
TextReport parse_report(const std::string& text);

}  // namespace atlas_test

#endif  // ATLAS_TESTS_REPORT_TEXT_H_
