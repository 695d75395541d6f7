// SPDX-License-Identifier: MIT
#include "tables/exits.h"

#include <cassert>

#include "framework/range_table.h"

namespace dungeon {
namespace {

constexpr Row<ExitCount> kExitCounts[] = {
    {3, {1, 2, 600}},   {6, {2, 3, 600}},   {9, {3, 4, 600}},
    {12, {0, 1, 1200}}, {15, {0, 1, 1600}}, {18, {kRollD4, kRollD4, 0}},
    {20, {1, 1, 0}},
};
static_assert(covers_die(kExitCounts, 20));

// Columns of the direction table: for a room entered through a wall, the
// opposite wall, the two side walls, then the wall of the way in.
constexpr Row<int> kDirectionColumns[] = {{7, 0}, {12, 1}, {17, 2}, {20, 3}};
static_assert(covers_die(kDirectionColumns, 20));

struct DirectionRow {
  char back_letter;  // first letter of the room's way back
  std::array<std::string_view, 4> labels;
};

// Rooms reached by stairs ("Down ..." or "Up ..." way back) only get exits
// on the east and west walls.
constexpr DirectionRow kDirections[] = {
    {'N', {kSouth, kEast, kWest, kNorth}}, {'S', {kNorth, kWest, kEast, kSouth}},
    {'E', {kWest, kSouth, kNorth, kEast}}, {'W', {kEast, kNorth, kSouth, kWest}},
    {'D', {kWest, kEast, kWest, kEast}},   {'U', {kEast, kWest, kEast, kWest}},
};

constexpr Row<std::string_view> kPassageKinds[] = {
    {3, kArchway},
    {7, kDoor},
    {9, kLockedDoor},
    {10, kBrokenDoor},
};
static_assert(covers_die(kPassageKinds, 10));

const DirectionRow* direction_row(char back_letter) {
  for (const DirectionRow& row : kDirections) {
    if (row.back_letter == back_letter) return &row;
  }
  return nullptr;
}

}  // namespace

const ExitCount& exit_count_roll(int d20) {
  return look_up(kExitCounts, d20);
}

std::string_view direction_roll(char back_letter, int d20) {
  const DirectionRow* row = direction_row(back_letter);
  if (row == nullptr) return {};
  return row->labels[static_cast<std::size_t>(look_up(kDirectionColumns, d20))];
}

std::string_view passage_kind_roll(int d10) {
  return look_up(kPassageKinds, d10);
}

Passage make_passage(Dungeon& d, int from) {
  const RoomRecord& room = d.room(from);
  const std::string_view back = room.exits[kBackSlot].label;
  // Every way back the tables write starts with one of the six letters.
  assert(!back.empty() && direction_row(back.front()) != nullptr);
  Passage passage;
  passage.level = room.level;
  passage.label = direction_roll(back.front(), d.random.roll_die(20));
  passage.back_label = opposite_direction(passage.label);
  passage.kind = passage_kind_roll(d.random.roll_die(10));
  passage.back_kind = passage.kind;
  return passage;
}

bool place_exits(Dungeon& d, int n, int area) {
  int used = 0;
  for (const Exit& exit : d.room(n).exits) used += exit.room > 0 ? 1 : 0;

  const ExitCount& count = exit_count_roll(d.random.roll_die(20));
  int base = area < count.threshold ? count.small : count.large;
  if (base == kRollD4) base = d.random.roll_dice(1, 4);

  int added = base - used;
  // The first rooms always branch a little more, so the dungeon gets going.
  if (n <= 10 && added < 3) ++added;

  for (int k = 1; k <= added; ++k) {
    const Passage passage = make_passage(d, n);
    if (!add_room(d, n, used + k, passage)) return false;
  }
  return true;
}

}  // namespace dungeon
