// SPDX-License-Identifier: MIT
// The whole dungeon of one run: a fixed table of room records addressed by
// room number, the stack of rooms still to be generated, and the run-wide
// counters. Everything is written in place; nothing is allocated per room.
#ifndef DUNGEON_FRAMEWORK_ROOM_TABLE_H_
#define DUNGEON_FRAMEWORK_ROOM_TABLE_H_

#include <array>
#include <cassert>
#include <cstddef>
#include <memory>
#include <new>
#include <string_view>
#include <type_traits>

#include "framework/fixed_text.h"
#include "framework/random.h"
#include "framework/text_arena.h"

namespace dungeon {

// No room numbered above this can be queued; trying ends the run.
inline constexpr int kMaxRoomNumber = 1000;
inline constexpr int kRoomTableSize = 1024;
inline constexpr int kExitSlots = 6;
// Slot 0 of every room but the start room leads back the way it was entered.
inline constexpr int kBackSlot = 0;
inline constexpr int kStairsSlot = 5;

// Direction labels of ordinary exits; stairs labels live with the stairs.
inline constexpr std::string_view kNorth = "North";
inline constexpr std::string_view kSouth = "South";
inline constexpr std::string_view kEast = "East";
inline constexpr std::string_view kWest = "West";

// Passage kinds. Stairs always come in pairs: up at one end, down at the other.
inline constexpr std::string_view kArchway = "Archway";
inline constexpr std::string_view kDoor = "Door";
inline constexpr std::string_view kLockedDoor = "Locked Door";
inline constexpr std::string_view kBrokenDoor = "Broken Door";
inline constexpr std::string_view kStairUp = "Stair Up";
inline constexpr std::string_view kStairDown = "Stair Down";

constexpr bool is_stairs(std::string_view kind) {
  return kind == kStairUp || kind == kStairDown;
}

// North and South face each other, as do East and West. REQUIRES: `label`
// is one of the four directions.
constexpr std::string_view opposite_direction(std::string_view label) {
  assert(label == kNorth || label == kSouth || label == kEast || label == kWest);
  if (label == kNorth) return kSouth;
  if (label == kSouth) return kNorth;
  if (label == kEast) return kWest;
  return kEast;
}

// Labels and kinds always point at the tables' own static texts.
struct Exit {
  std::string_view label;
  std::string_view kind;
  int room = 0;  // 0 or less: no exit in this slot
};

// The texts live in the Dungeon's arenas (descriptions, treasures).
struct RoomRecord {
  ArenaText description;
  std::array<Exit, kExitSlots> exits;
  bool monster = false;
  std::string_view trap;
  ArenaText treasure;  // lines each ending in "\n\t", only ever appended to
  int level = 0;
};

// Room records addressed by number. A record comes into being when its room
// is created (create), never before: the table is large, and a run should
// only touch the memory of the rooms it makes.
class RoomTable {
 public:
  RoomTable() = default;
  RoomTable(const RoomTable&) = delete;
  RoomTable& operator=(const RoomTable&) = delete;

  // Starts room n afresh: empty texts, no exits, level 0.
  RoomRecord& create(int n) { return *::new (slot(n)) RoomRecord; }

  // REQUIRES: room n was created in this run. Only the table's bounds are
  // checked: which rooms a run created is the run's to know.
  RoomRecord& operator[](int n) { return *std::launder(reinterpret_cast<RoomRecord*>(slot(n))); }
  const RoomRecord& operator[](int n) const {
    return *std::launder(reinterpret_cast<const RoomRecord*>(slot(n)));
  }

 private:
  static_assert(std::is_trivially_destructible_v<RoomRecord>);
  std::byte* slot(int n) {
    assert(n >= 0 && n < kRoomTableSize);
    return storage_ + static_cast<std::size_t>(n) * sizeof(RoomRecord);
  }
  const std::byte* slot(int n) const {
    assert(n >= 0 && n < kRoomTableSize);
    return storage_ + static_cast<std::size_t>(n) * sizeof(RoomRecord);
  }

  alignas(RoomRecord) std::byte storage_[kRoomTableSize * sizeof(RoomRecord)];
};

struct PendingStack {
  std::array<int, kRoomTableSize> rooms{};  // entries 1..top are queued
  int top = 0;
};

struct DungeonTally {
  int next_room = 0;  // after a run: one more than the number of rooms
  int deepest_level = 1;
  int trap_count = 0;
  int monster_count = 0;
  int treasure_count = 0;  // counters count placements, not report lines

  // Every room the run numbered, generated or still waiting: for a complete
  // run the summary's room total.
  int rooms() const { return next_room - 1; }
};

// One run's state. Large (over a megabyte): keep it on the heap (make_dungeon)
// and reuse it from run to run; every run starts by resetting what it relies
// on.
struct Dungeon {
  Random random;
  RoomTable rooms;
  // A description is at most about 110 characters, a room's treasure (three
  // at the most) under 500.
  TextArena<kRoomTableSize * 128> descriptions;
  TextArena<kRoomTableSize * 512> treasures;
  PendingStack pending;
  DungeonTally tally;
  // Room numbers in the order their blocks were printed.
  std::array<int, kRoomTableSize> report_order{};
  int reported = 0;

  RoomRecord& room(int n) { return rooms[n]; }
  const RoomRecord& room(int n) const { return rooms[n]; }
};

// A Dungeon on the heap, left uninitialised: value-initialising it (as
// std::make_unique would) clears the whole room table for nothing.
inline std::unique_ptr<Dungeon> make_dungeon() {
  return std::make_unique_for_overwrite<Dungeon>();
}

// Queues a room. When the room number is above kMaxRoomNumber (or the stack
// already holds more than that many) queues nothing and returns false: the
// run must stop at once, and the run driver ends the report with "Error!!!".
[[nodiscard]] bool push_pending(Dungeon& d, int room);

// REQUIRES: d.pending.top > 0.
int pop_pending(Dungeon& d);

// How a new room is joined to the room that creates it.
struct Passage {
  std::string_view label;       // in the creating room's slot
  std::string_view kind;        // in the creating room's slot
  std::string_view back_label;  // in the new room's slot 0
  std::string_view back_kind;   // in the new room's slot 0
  int level = 1;                // the new room's level
};

// Creates room `next_room` behind slot `slot` of room `from`, links both
// ways, advances `next_room` and queues the new room, in that order, so a
// room beyond the limit is filled in before the limit stops the run.
// Returns what push_pending returns.
[[nodiscard]] bool add_room(Dungeon& d, int from, int slot, const Passage& passage);

}  // namespace dungeon

#endif  // DUNGEON_FRAMEWORK_ROOM_TABLE_H_
