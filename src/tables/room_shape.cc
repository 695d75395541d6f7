// SPDX-License-Identifier: MIT
#include "tables/room_shape.h"

#include "framework/range_table.h"
#include "tables/pools.h"

namespace dungeon {
namespace {

constexpr int kUnusual = 0;

constexpr Row<RoomRoll> kRoomRolls[] = {
    {2, {"10' x 10' Room", 100}},  {4, {"20' x 20' Room", 400}},   {6, {"30' x 30' Room", 900}},
    {8, {"40' x 40' Room", 1600}}, {10, {"10' x 20' Room", 200}},  {13, {"20' x 30' Room", 600}},
    {15, {"20' x 40' Room", 800}}, {17, {"30' x 40' Room", 1200}}, {20, {"", kUnusual}},
};
static_assert(covers_die(kRoomRolls, 20));

// Each shape carries its own trailing space; the empty row is the cave.
constexpr Row<std::string_view> kShapes[] = {
    {5, "Circular "}, {8, "Triangular "}, {11, "Trapezoidal "}, {13, "Irregular "},
    {15, "Oval "},    {17, "Hexagonal "}, {19, "Octangonal "},  {20, ""},
};
static_assert(covers_die(kShapes, 20));

// The 95' x 120' cavern really is 11875 square feet here, not 11400.
constexpr Row<Cave> kCaves[] = {
    {5, {"Cave", " about 40' x 60'", 2400, Water::kNone}},
    {7, {"Cave", " about 50' x 75'", 3750, Water::kNone}},
    {9, {"Double Cave", " about 20'x30' & 60'x80'", 5400, Water::kNone}},
    {11, {"Double Cave", " about 35'x50' & 80'x90'", 8950, Water::kPool}},
    {14, {"Cavern", " about 95'x120'", 11875, Water::kPool}},
    {16, {"Cavern", " about 120'x150'", 18000, Water::kNone}},
    {18, {"Cavern", " about 150'x200'", 30000, Water::kPool}},
    {20, {"Mammoth Cavern", " about 300'x400'", 120000, Water::kLake}},
};
static_assert(covers_die(kCaves, 20));

constexpr Row<ShapeSize> kSizes[] = {
    {3, {"about 500sq. ft.", 500}},    {6, {"about 900sq. ft.", 900}},
    {8, {"about 1,300sq. ft.", 1300}}, {10, {"about 2000sq. ft.", 2000}},
    {12, {"about 2700sq. ft.", 2700}}, {14, {"about 3400sq. ft.", 3400}},
    {20, {"about 4000sq. ft.", 4000}},
};
static_assert(covers_die(kSizes, 20));

}  // namespace

const RoomRoll& room_roll(int d20) {
  return look_up(kRoomRolls, d20);
}
std::string_view shape_roll(int d20) {
  return look_up(kShapes, d20);
}
const Cave& cave_roll(int d20) {
  return look_up(kCaves, d20);
}
const ShapeSize& size_roll(int d20) {
  return look_up(kSizes, d20);
}

int describe_room(Dungeon& d, int n) {
  ArenaText& description = d.room(n).description;
  auto& arena = d.descriptions;
  const RoomRoll& room = room_roll(d.random.roll_die(20));
  if (room.area != kUnusual) {
    arena.assign(description, room.description);
    return room.area;
  }

  const std::string_view shape = shape_roll(d.random.roll_die(20));
  if (!shape.empty()) {
    const ShapeSize& size = size_roll(d.random.roll_die(20));
    arena.assign(description, shape);
    arena.append(description, size.text);
    return size.area;
  }

  // Water is rolled before the description is stored, and may stock the room.
  const Cave& cave = cave_roll(d.random.roll_die(20));
  FixedText<256> feature;
  if (cave.water == Water::kPool) add_pool(d, feature, n);
  if (cave.water == Water::kLake) add_lake(d, feature, n);
  arena.assign(description, cave.shape);
  arena.append(description, cave.size);
  arena.append(description, feature.view());
  return cave.area;
}

}  // namespace dungeon
