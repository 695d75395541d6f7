// The occupancy map a plan is laid out on: one cell per node of a 5-foot
// lattice, recording which nodes rooms cover, which lie in the free band
// around a room, and which a corridor already runs through (and how).
#ifndef ATLAS_PLAN_GRID_H_
#define ATLAS_PLAN_GRID_H_

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
  // The first cell outside a door whose corridor is not laid yet: other
  // corridors keep out, so the door can always step out of its wall.
  bool reserved(int i, int j) const { return (get(i, j) & kReservedBit) != 0; }
  void reserve(int i, int j) { cell(i, j) |= kReservedBit; }
  Run run(int i, int j) const { return static_cast<Run>(get(i, j) >> kRunShift); }

  // Marks a room's cells and the ring around them.
  void add_room(const CellBox& box);
  // Records a corridor through cell (i, j); a second corridor makes it kOther.
  void add_run(int i, int j, Run run);

  // True when no room or corridor occupies any cell of `box`, and no cell
  // but (skip_i, skip_j) is reserved.
  bool clear(const CellBox& box, int skip_i, int skip_j) const;

  // Every cell any room or corridor occupies lies inside this box.
  const CellBox& used() const { return used_; }

 private:
  static constexpr uint8_t kRoomBit = 1;
  static constexpr uint8_t kRingBit = 2;
  static constexpr uint8_t kReservedBit = 4;
  static constexpr int kRunShift = 3;

  uint8_t get(int i, int j) const;
  uint8_t& cell(int i, int j);  // grows the map as needed
  void grow_to(const CellBox& box);
  void note_used(int i, int j);

  std::vector<uint8_t> cells_;
  CellBox area_;  // the cells stored
  CellBox used_;
};

}  // namespace atlas

#endif  // ATLAS_PLAN_GRID_H_
