// SPDX-License-Identifier: MIT
// A dungeon grown to its end, and what every command asks of it: which rooms
// the report printed, which levels there are, the outcome. After an overflow
// the rooms still waiting to be generated exist only as a number, a level
// and the way back; they count as rooms of their level all the same.
#ifndef ATLAS_COMMON_FINISHED_RUN_H_
#define ATLAS_COMMON_FINISHED_RUN_H_

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "framework/room_table.h"
#include "framework/run.h"

namespace atlas {

// "complete" or "overflow", as the JSON documents spell it.
std::string_view outcome_name(dungeon::RunOutcome outcome);

// The lines of a room's treasure text (each line ends in "\n\t" there).
std::vector<std::string> treasure_lines(std::string_view treasure);

struct LevelRooms {
  int level = 0;
  std::vector<int> rooms;  // in number order, generated or not
};

// Every room the run numbered, grouped by level, levels in order.
std::vector<LevelRooms> rooms_by_level(const dungeon::Dungeon& d);

// Indexed by room number, 0 to d.tally.rooms(): true for the rooms the
// report printed, false for those an overflow left ungenerated (and for 0).
std::vector<bool> generated_rooms(const dungeon::Dungeon& d);

// Throws UsageError ("the dungeon of seed 7 has no level 9 (its levels: 1,
// 2, 3)") unless `levels` has level `level`.
void require_level(const std::vector<LevelRooms>& levels, uint32_t seed, int level);

class FinishedRun {
 public:
  // Grows the dungeon of `seed`. Nobody reads the report, so it is not
  // formatted.
  explicit FinishedRun(uint32_t seed);
  // Grows the dungeon of `seed`, writing the report to `report` byte for
  // byte as `dungeon` prints it.
  FinishedRun(uint32_t seed, std::ostream& report);

  // Grows the dungeon of `seed` in this one's place, in the same memory, for
  // runs by the thousand; the report is not formatted.
  void regrow(uint32_t seed);

  uint32_t seed() const { return seed_; }
  dungeon::RunOutcome outcome() const { return outcome_; }
  bool overflowed() const { return outcome_ == dungeon::RunOutcome::kOverflow; }
  // The dungeon as the run left it.
  const dungeon::Dungeon& d() const { return *dungeon_; }

  // Every room the run numbered: the report's total for a complete run.
  int rooms() const { return dungeon_->tally.rooms(); }
  // REQUIRES: 1 <= room <= rooms().
  bool generated(int room) const { return generated_[static_cast<std::size_t>(room)]; }
  const std::vector<LevelRooms>& levels() const { return levels_; }
  // Throws UsageError naming the levels there are unless `level` is one.
  void require_level(int level) const;

 private:
  void take_stock();

  std::unique_ptr<dungeon::Dungeon> dungeon_ = dungeon::make_dungeon();
  uint32_t seed_ = 0;
  dungeon::RunOutcome outcome_ = dungeon::RunOutcome::kComplete;
  std::vector<bool> generated_;
  std::vector<LevelRooms> levels_;
};

}  // namespace atlas

#endif  // ATLAS_COMMON_FINISHED_RUN_H_
