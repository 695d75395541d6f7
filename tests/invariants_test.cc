// SPDX-License-Identifier: MIT
// Properties every report must have, checked over many thousands of seeds.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "framework/run.h"
#include "report_parser.h"
#include "test_support.h"

namespace dungeon::testing {
namespace {

constexpr uint32_t kFirstSeed = 1'700'000'000;  // a stretch of recent clock readings
constexpr int kSeeds = 10'000;

bool is_stair(const std::string& kind) {
  return kind == "Stair Up" || kind == "Stair Down";
}

// "Up 2 Levels" -> -2, "Down 1 Level" -> +1; 0 for anything else.
int stair_change(const std::string& label) {
  for (int k = 1; k <= 3; ++k) {
    const std::string levels = k == 1 ? " Level" : " Levels";
    if (label == "Up " + std::to_string(k) + levels) return -k;
    if (label == "Down " + std::to_string(k) + levels) return k;
  }
  return 0;
}

std::string opposite(const std::string& label) {
  if (label == "North") return "South";
  if (label == "South") return "North";
  if (label == "East") return "West";
  if (label == "West") return "East";
  return "?";
}

struct SeedFacts {
  bool overflow = false;
  int rooms = 0;
};

// Returns the problems found in one run's report, "" when there are none.
std::string check_seed(Dungeon& d, uint32_t seed, SeedFacts& facts) {
  std::ostringstream problems;
  RunOutcome outcome{};
  const ParsedReport report = parse_report(report_for_seed(d, seed, &outcome));
  if (!report.error.empty()) return "unparsable report: " + report.error;
  facts.overflow = report.overflow;
  facts.rooms = static_cast<int>(report.rooms.size());

  if (report.overflow != (outcome == RunOutcome::kOverflow)) problems << "outcome differs; ";
  if (static_cast<int>(report.rooms.size()) != d.reported) problems << "block count differs; ";

  std::map<int, std::size_t> position;  // room number -> index in the report
  for (std::size_t i = 0; i < report.rooms.size(); ++i) {
    if (!position.emplace(report.rooms[i].number, i).second) {
      problems << "room " << report.rooms[i].number << " printed twice; ";
    }
  }

  // The start room, then room 5.
  const ParsedRoom& start = report.rooms.at(0);
  const std::vector<std::string> start_labels = {"North", "East", "South", "West"};
  bool start_ok = start.number == 1 && start.level == 1 &&
                  start.description == "Start 40 x 60 Room" && start.exits.size() == 4 &&
                  !start.monster && start.trap.empty() && start.treasure.empty();
  for (std::size_t i = 0; start_ok && i < 4; ++i) {
    start_ok = start.exits[i].label == start_labels[i] && start.exits[i].kind == "Door" &&
               start.exits[i].room == static_cast<int>(i) + 2;
  }
  if (!start_ok) problems << "start room block differs; ";
  if (report.rooms.size() < 5 || report.rooms[1].number != 5 ||
      report.rooms[1].exits.at(0).label != "East" || report.rooms[1].exits[0].room != 1) {
    problems << "second block is not room 5 entered from the east; ";
  }

  int deepest = 1, traps = 0, monster_lines = 0, treasures = 0;
  for (const ParsedRoom& room : report.rooms) {
    deepest = std::max(deepest, room.level);
    traps += room.trap.empty() ? 0 : 1;
    monster_lines += room.monster ? 1 : 0;
    for (const std::string& line : room.treasure)
      treasures += line.rfind("The treasure is ", 0) == 0;

    if (room.number > kMaxRoomNumber) problems << "room above the limit printed; ";
    if (room.number != 1) {
      // The way back leads to an older room that was printed earlier.
      const ParsedExit& back = room.exits.at(0);
      auto it = position.find(back.room);
      if (back.room >= room.number || it == position.end() || it->second >= position[room.number]) {
        problems << "room " << room.number << " printed before the room it was reached from; ";
      }
      if (is_stair(back.kind)) {
        for (std::size_t e = 1; e < room.exits.size(); ++e) {
          const std::string& label = room.exits[e].label;
          if (!is_stair(room.exits[e].kind) && label != "East" && label != "West") {
            problems << "room " << room.number << " reached by stairs has a " << label << " exit; ";
          }
        }
      }
    }

    for (const ParsedExit& exit : room.exits) {
      auto it = position.find(exit.room);
      if (it == position.end()) {
        if (!report.overflow) problems << "exit to unprinted room " << exit.room << "; ";
        continue;
      }
      const ParsedRoom& other = report.rooms[it->second];
      const auto back = std::find_if(other.exits.begin(), other.exits.end(),
                                     [&](const ParsedExit& e) { return e.room == room.number; });
      if (back == other.exits.end()) {
        problems << "passage " << room.number << "->" << exit.room << " has no way back; ";
        continue;
      }
      bool agrees = false;
      if (is_stair(exit.kind)) {
        const int change = stair_change(exit.label);
        agrees = change != 0 && stair_change(back->label) == -change &&
                 (exit.kind == "Stair Up") == (change < 0) && is_stair(back->kind) &&
                 back->kind != exit.kind && other.level == room.level + change;
      } else {
        agrees = back->kind == exit.kind && back->label == opposite(exit.label) &&
                 other.level == room.level;
      }
      if (!agrees) problems << "ends of passage " << room.number << "-" << exit.room << " differ; ";
    }
  }

  if (report.overflow) {
    if (report.summary) problems << "summary after overflow; ";
    if (d.tally.next_room != kMaxRoomNumber + 2) problems << "overflow before room 1001; ";
  } else {
    const ParsedSummary& s = *report.summary;
    if (s.rooms != static_cast<int>(report.rooms.size()))
      problems << "room total differs from blocks; ";
    if (!position.empty() && position.rbegin()->first != s.rooms)
      problems << "room numbers have gaps; ";
    if (s.deepest_level != deepest) problems << "deepest level differs; ";
    if (s.traps != traps) problems << "trap total differs; ";
    if (s.treasures != treasures) problems << "treasure total differs; ";
    if (s.monsters < monster_lines || s.monsters > 2 * monster_lines)
      problems << "monster total off; ";
  }
  return problems.str();
}

TEST(InvariantsTest, HoldOverTenThousandSeeds) {
  constexpr int kThreads = 2;
  std::vector<std::string> failures(kThreads);
  std::vector<SeedFacts> facts(kSeeds);
  std::vector<std::thread> workers;
  for (int t = 0; t < kThreads; ++t) {
    workers.emplace_back([&, t] {
      auto d = make_dungeon();
      for (int i = t; i < kSeeds; i += kThreads) {
        const uint32_t seed = kFirstSeed + static_cast<uint32_t>(i);
        const std::string problems = check_seed(*d, seed, facts[static_cast<std::size_t>(i)]);
        if (!problems.empty() && failures[static_cast<std::size_t>(t)].size() < 4000) {
          failures[static_cast<std::size_t>(t)] +=
              "seed " + std::to_string(seed) + ": " + problems + "\n";
        }
      }
    });
  }
  for (std::thread& worker : workers) worker.join();
  for (const std::string& failure : failures) EXPECT_EQ(failure, "");

  // The stretch must reach both endings and dungeons of every size, or the
  // checks above prove little.
  const auto overflows =
      std::count_if(facts.begin(), facts.end(), [](auto& f) { return f.overflow; });
  EXPECT_GT(overflows, kSeeds / 10);
  EXPECT_LT(overflows, kSeeds - kSeeds / 10);
  EXPECT_TRUE(
      std::any_of(facts.begin(), facts.end(), [](auto& f) { return !f.overflow && f.rooms == 5; }));
  EXPECT_TRUE(std::any_of(facts.begin(), facts.end(),
                          [](auto& f) { return !f.overflow && f.rooms > 900; }));
}

}  // namespace
}  // namespace dungeon::testing
