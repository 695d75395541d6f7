// SPDX-License-Identifier: MIT
#include "atlas/common/finished_run.h"

#include <algorithm>

#include "atlas/common/errors.h"
#include "framework/report.h"

namespace atlas {

std::string_view outcome_name(dungeon::RunOutcome outcome) {
  return outcome == dungeon::RunOutcome::kComplete ? "complete" : "overflow";
}

std::vector<std::string> treasure_lines(std::string_view treasure) {
  static constexpr std::string_view kLineEnd = "\n\t";
  std::vector<std::string> lines;
  while (!treasure.empty()) {
    const std::size_t end = treasure.find(kLineEnd);
    lines.emplace_back(treasure.substr(0, end));
    if (end == std::string_view::npos) break;
    treasure.remove_prefix(end + kLineEnd.size());
  }
  return lines;
}

std::vector<LevelRooms> rooms_by_level(const dungeon::Dungeon& d) {
  std::vector<LevelRooms> levels;
  for (int n = 1; n <= d.tally.rooms(); ++n) {
    const int level = d.room(n).level;
    auto at = std::lower_bound(levels.begin(), levels.end(), level,
                               [](const LevelRooms& l, int wanted) { return l.level < wanted; });
    if (at == levels.end() || at->level != level) at = levels.insert(at, LevelRooms{level, {}});
    at->rooms.push_back(n);
  }
  return levels;
}

std::vector<bool> generated_rooms(const dungeon::Dungeon& d) {
  std::vector<bool> generated(static_cast<std::size_t>(d.tally.rooms()) + 1, false);
  for (int i = 0; i < d.reported; ++i) {
    generated[static_cast<std::size_t>(d.report_order[static_cast<std::size_t>(i)])] = true;
  }
  return generated;
}

void require_level(const std::vector<LevelRooms>& levels, uint32_t seed, int level) {
  std::string known;
  for (const LevelRooms& l : levels) {
    if (l.level == level) return;
    known += (known.empty() ? "" : ", ") + std::to_string(l.level);
  }
  throw UsageError("the dungeon of seed " + std::to_string(seed) + " has no level " +
                   std::to_string(level) + " (its levels: " + known + ")");
}

FinishedRun::FinishedRun(uint32_t seed) {
  regrow(seed);
}

FinishedRun::FinishedRun(uint32_t seed, std::ostream& report) : seed_(seed) {
  outcome_ = dungeon::run_dungeon(*dungeon_, seed, report);
  take_stock();
}

void FinishedRun::regrow(uint32_t seed) {
  seed_ = seed;
  dungeon::NullSink discard;
  outcome_ = dungeon::run_dungeon(*dungeon_, seed, discard);
  take_stock();
}

void FinishedRun::require_level(int level) const {
  atlas::require_level(levels_, seed_, level);
}

void FinishedRun::take_stock() {
  generated_ = atlas::generated_rooms(*dungeon_);
  levels_ = rooms_by_level(*dungeon_);
}

}  // namespace atlas
