// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string_view>

#include "atlas/common/errors.h"
#include "atlas/common/finished_run.h"
#include "atlas/map/dungeon_dot.h"

namespace atlas {
namespace {

// Room nodes and room-to-room edges as the DOT text declares them.
struct DotShape {
  std::set<int> rooms;
  std::set<int> not_generated;
  std::set<int> elsewhere;
  std::vector<std::pair<std::string, std::string>> edges;  // id, attributes
};

// The number after `prefix` at the start of `text`, or -1.
int number_after(std::string_view text, std::string_view prefix) {
  if (!text.starts_with(prefix)) return -1;
  text.remove_prefix(prefix.size());
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end == text.data() || *end != ' ') return -1;
  return value;
}

DotShape read_dot(const std::string& dot) {
  DotShape shape;
  std::istringstream in(dot);
  std::string line;
  while (std::getline(in, line)) {
    std::string_view text = line;
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    const std::size_t arrow = text.find(" -> ");
    if (arrow != std::string_view::npos) {
      const std::size_t id = text.find("[id=\"");
      if (id == std::string_view::npos) continue;
      const std::string_view rest = text.substr(id + 5);
      const std::size_t quote = rest.find('"');
      const std::string_view name = rest.substr(0, quote);
      if (name.starts_with("passage_") || name.starts_with("stairs_")) {
        shape.edges.emplace_back(std::string(name), std::string(rest.substr(quote + 1)));
      }
    } else if (const int room = number_after(text, "room"); room > 0) {
      shape.rooms.insert(room);
      if (text.find("\\nnot generated\"") != std::string_view::npos)
        shape.not_generated.insert(room);
    } else if (const int stub = number_after(text, "elsewhere"); stub > 0) {
      shape.elsewhere.insert(stub);
    }
  }
  return shape;
}

TEST(Connections, EveryRoomButTheFirstHangsOffOneEarlierRoom) {
  const FinishedRun run(7);
  const std::vector<Connection> all = connections(run.d());
  ASSERT_EQ(all.size(), 296u);
  std::set<int> reached;
  for (const Connection& passage : all) {
    EXPECT_LT(passage.from, passage.to);
    EXPECT_TRUE(reached.insert(passage.to).second) << "room " << passage.to << " reached twice";
    const dungeon::Exit& back = run.d().room(passage.to).exits[dungeon::kBackSlot];
    EXPECT_EQ(back.room, passage.from);
    EXPECT_EQ(passage.stairs, passage.kind == "Stair Up" || passage.kind == "Stair Down");
    if (passage.stairs) {
      EXPECT_NE(run.d().room(passage.from).level, run.d().room(passage.to).level);
      EXPECT_TRUE(passage.label.starts_with("Up ") || passage.label.starts_with("Down "));
    } else {
      EXPECT_EQ(run.d().room(passage.from).level, run.d().room(passage.to).level);
      EXPECT_EQ(back.label, dungeon::opposite_direction(passage.label));
    }
  }
}

TEST(DungeonDot, OneNodePerRoomAndOneEdgePerPassage) {
  const FinishedRun run(2);
  const std::string dot = dungeon_dot(run);
  const DotShape shape = read_dot(dot);
  EXPECT_EQ(shape.rooms.size(), 28u);
  EXPECT_EQ(*shape.rooms.begin(), 1);
  EXPECT_EQ(*shape.rooms.rbegin(), 28);
  EXPECT_TRUE(shape.not_generated.empty());
  EXPECT_EQ(shape.edges.size(), 27u);
  int stairs = 0;
  for (const auto& [id, attributes] : shape.edges) {
    if (id.starts_with("stairs_")) {
      ++stairs;
      EXPECT_NE(attributes.find("label=\"Down"), std::string::npos) << id;
    }
  }
  EXPECT_EQ(stairs, 2);  // 9 down to 10, 10 down to 11
  EXPECT_NE(dot.find("subgraph cluster_level_5"), std::string::npos);
  EXPECT_EQ(dot.find("subgraph cluster_level_3"), std::string::npos);
  EXPECT_NE(dot.find("subgraph cluster_legend"), std::string::npos);
  for (const char* kind :
       {"\"door\"", "\"archway\"", "\"locked door\"", "\"broken door\"", "\"stairs\""}) {
    EXPECT_NE(dot.find(kind), std::string::npos) << kind;
  }
}

TEST(DungeonDot, MarksAndStylesFollowTheRooms) {
  const FinishedRun run(217);
  const std::string dot = dungeon_dot(run);
  // Room 3 of seed 217 holds a monster and treasure; room 2 holds nothing.
  EXPECT_NE(dot.find("room3 [id=\"room3\", label=\"3 M $\\n20' x 20' Room\""), std::string::npos)
      << dot;
  EXPECT_NE(dot.find("room2 [id=\"room2\", label=\"2\\n20' x 40' Room\""), std::string::npos)
      << dot;
  EXPECT_NE(dot.find("Treasure: 250 gold pieces\\nThe treasure is contained in chests"),
            std::string::npos);
}

TEST(DungeonDot, AnOverflowShowsTheRoomsItNeverGenerated) {
  const FinishedRun run(0);
  ASSERT_EQ(run.outcome(), dungeon::RunOutcome::kOverflow);
  const DotShape shape = read_dot(dungeon_dot(run));
  const int numbered = run.d().tally.rooms();
  EXPECT_GT(numbered, dungeon::kMaxRoomNumber);
  EXPECT_EQ(shape.rooms.size(), static_cast<std::size_t>(numbered));
  EXPECT_EQ(shape.edges.size(), static_cast<std::size_t>(numbered - 1));
  EXPECT_EQ(shape.not_generated.size(), static_cast<std::size_t>(numbered - run.d().reported));
  for (int i = 0; i < run.d().reported; ++i) {
    EXPECT_EQ(shape.not_generated.count(run.d().report_order[static_cast<std::size_t>(i)]), 0u);
  }
}

TEST(DungeonDot, OneLevelKeepsItsRoomsAndPointsStairsElsewhere) {
  const FinishedRun run(2);
  const DotShape shape = read_dot(dungeon_dot(run, 2));
  // Level 2 is room 10 alone, entered from room 9 above and left for room 11 below.
  EXPECT_EQ(shape.rooms, std::set<int>{10});
  EXPECT_EQ(shape.elsewhere, (std::set<int>{9, 11}));
  ASSERT_EQ(shape.edges.size(), 2u);
  EXPECT_EQ(shape.edges[0].first, "stairs_9_10");
  EXPECT_EQ(shape.edges[1].first, "stairs_10_11");

  const DotShape top = read_dot(dungeon_dot(run, 1));
  for (const int n : top.rooms) EXPECT_EQ(run.d().room(n).level, 1);
  EXPECT_EQ(top.rooms.size(), 21u);  // rooms 1 to 9 and 17 to 28
  EXPECT_EQ(top.elsewhere, std::set<int>{10});
}

TEST(DungeonDot, RefusesALevelTheDungeonDoesNotHave) {
  const FinishedRun run(2);
  EXPECT_THROW(dungeon_dot(run, 3), UsageError);
  EXPECT_THROW(dungeon_dot(run, 0), UsageError);
}

}  // namespace
}  // namespace atlas
