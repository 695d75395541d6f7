// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <sstream>

#include "atlas/export/dungeon_json.h"
#include "process.h"
#include "report_parser.h"

namespace atlas {
namespace {

using dungeon::testing::parse_report;
using dungeon::testing::ParsedReport;
using dungeon::testing::ParsedRoom;

class JsonMatchesText : public ::testing::TestWithParam<uint32_t> {};

TEST_P(JsonMatchesText, EveryRoomExitAndTotal) {
  const uint32_t seed = GetParam();
  std::ostringstream text;
  const FinishedRun run(seed, text);
  const nlohmann::ordered_json json = dungeon_json(run);
  const ParsedReport report = parse_report(text.str());
  ASSERT_EQ(report.error, "");

  EXPECT_EQ(json["seed"], seed);
  EXPECT_EQ(json["outcome"], report.overflow ? "overflow" : "complete");
  ASSERT_EQ(json["rooms"].size(), report.rooms.size());
  int monsters = 0, traps = 0, treasures = 0, deepest = 1;
  for (std::size_t i = 0; i < report.rooms.size(); ++i) {
    const ParsedRoom& expected = report.rooms[i];
    const auto& room = json["rooms"][i];
    SCOPED_TRACE("room " + std::to_string(expected.number));
    EXPECT_EQ(room["number"], expected.number);
    EXPECT_EQ(room["level"], expected.level);
    EXPECT_EQ(room["description"], expected.description);
    ASSERT_EQ(room["exits"].size(), expected.exits.size());
    int previous_slot = -1;
    for (std::size_t e = 0; e < expected.exits.size(); ++e) {
      const auto& exit = room["exits"][e];
      EXPECT_EQ(exit["direction"], expected.exits[e].label);
      EXPECT_EQ(exit["passage"], expected.exits[e].kind);
      EXPECT_EQ(exit["room"], expected.exits[e].room);
      EXPECT_GT(exit["slot"].get<int>(), previous_slot);
      previous_slot = exit["slot"].get<int>();
    }
    if (expected.number != 1) {
      EXPECT_EQ(room["exits"][0]["slot"], 0) << "the way back is slot 0";
    }
    EXPECT_EQ(room["monster"], expected.monster);
    if (!expected.trap.empty()) {
      EXPECT_EQ(room["trap"], expected.trap);
    } else {
      EXPECT_TRUE(room["trap"].is_null());
    }
    EXPECT_EQ(room["treasure"].get<std::vector<std::string>>(), expected.treasure);
    monsters += expected.monster;
    traps += expected.trap.empty() ? 0 : 1;
    treasures += expected.treasure.empty() ? 0 : 1;
    deepest = std::max(deepest, expected.level);
  }

  if (report.overflow) {
    EXPECT_TRUE(json["summary"].is_null());
    return;
  }
  ASSERT_TRUE(report.summary);
  const auto& summary = json["summary"];
  EXPECT_EQ(summary["rooms"], report.summary->rooms);
  EXPECT_EQ(summary["rooms"], json["rooms"].size());
  EXPECT_EQ(summary["deepest_level"], report.summary->deepest_level);
  EXPECT_EQ(summary["deepest_level"], deepest);
  EXPECT_EQ(summary["traps"], report.summary->traps);
  EXPECT_EQ(summary["monsters"], report.summary->monsters);
  EXPECT_EQ(summary["treasures"], report.summary->treasures);
  // The counters count placements; a room shows each kind of content once.
  EXPECT_GE(summary["monsters"].get<int>(), monsters);
  EXPECT_GE(summary["traps"].get<int>(), traps);
  EXPECT_GE(summary["treasures"].get<int>(), treasures);
}

INSTANTIATE_TEST_SUITE_P(Seeds, JsonMatchesText,
                         ::testing::Values(0u, 2u, 7u, 217u, 1u, 4294967295u));

}  // namespace
}  // namespace atlas
