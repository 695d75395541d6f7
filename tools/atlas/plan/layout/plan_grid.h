// SPDX-License-Identifier: MIT
// The occupancy map a plan is laid out on: one cell per node of a 5-foot
// lattice, recording which nodes rooms cover, which lie in the free band
// around a room, and which a corridor already runs through (and how).
#ifndef ATLAS_PLAN_LAYOUT_PLAN_GRID_H_
#define ATLAS_PLAN_LAYOUT_PLAN_GRID_H_

#include <cstdint>
#include <vector>

namespace atlas {

inline constexpr int kCellFeet = 5;

// Rounds towards minus infinity, so negative coordinates map to cells too.
constexpr int floor_div(int a, int b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}
constexpr int floor_mod(int a, int b) {
  return a - floor_div(a, b) * b;
}

enum class Run : uint8_t {
  kNone = 0,
  kHorizontal = 1,  // a corridor passes straight through east-west
  kVertical = 2,    // a corridor passes straight through north-south
  kOther = 3,       // a corridor bends here, or two already cross
};

// An inclusive block of cells.
struct CellBox {
  int i0 = 0;
  int j0 = 0;
  int i1 = -1;
  int j1 = -1;
  bool empty() const { return i1 < i0 || j1 < j0; }
};

class CellGrid {
 public:
  bool room(int i, int j) const { return (get(i, j) & kRoomBit) != 0; }
  // Within one cell of some room: the router keeps corridors off walls when
  // it can.
  bool ring(int i, int j) const { return (get(i, j) & kRingBit) != 0; }
  // The lane of two cells outside a door whose corridor is not laid yet:
  // rooms and other corridors keep out, so the door can step out of its wall
  // and away.
  bool reserved(int i, int j) const { return (get(i, j) & kReservedBit) != 0; }
  void reserve(int i, int j);
  void release(int i, int j);
  Run run(int i, int j) const { return static_cast<Run>(get(i, j) >> kRunShift); }

  // Marks a room's cells and the ring around them.
  void add_room(const CellBox& box);
  // Records a corridor through cell (i, j); a second corridor makes it kOther.
  void add_run(int i, int j, Run run);

  // True when no room or corridor occupies any cell of `box`, and no cell
  // of it is reserved. Takes one look per row of the box.
  bool clear(const CellBox& box) const;

  // Every cell any room or corridor occupies lies inside this box.
  const CellBox& used() const { return used_; }

 private:
  static constexpr uint8_t kRoomBit = 1;
  static constexpr uint8_t kRingBit = 2;
  static constexpr uint8_t kReservedBit = 4;
  static constexpr int kRunShift = 3;

  static bool blocks(uint8_t c) {
    return (c & (kRoomBit | kReservedBit)) != 0 || (c >> kRunShift) != 0;
  }
  std::size_t at(int i, int j) const {
    return static_cast<std::size_t>(j - area_.j0) *
               static_cast<std::size_t>(area_.i1 - area_.i0 + 1) +
           static_cast<std::size_t>(i - area_.i0);
  }
  uint8_t get(int i, int j) const {
    if (i < area_.i0 || i > area_.i1 || j < area_.j0 || j > area_.j1) return 0;
    return cells_[at(i, j)];
  }
  uint8_t& cell(int i, int j);  // grows the map as needed
  void grow_to(const CellBox& box);
  void note_used(int i, int j);
  // Brings free_ up to date in row j after cells from i_lo to i_hi changed.
  void refresh(int j, int i_lo, int i_hi);

  std::vector<uint8_t> cells_;
  // For each cell, how many cells from it eastwards are free of rooms,
  // corridors and reservations (kOpen beyond the stored area).
  std::vector<uint16_t> free_;
  CellBox area_;  // the cells stored
  CellBox used_;
};

}  // namespace atlas

#endif  // ATLAS_PLAN_LAYOUT_PLAN_GRID_H_
