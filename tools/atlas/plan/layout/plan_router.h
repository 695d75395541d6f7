// SPDX-License-Identifier: MIT
// Corridors on the plan's 5-foot lattice: a cheapest-path search from a door
// with a price on every bend, rooms as walls, and other corridors crossed
// only when the way round is much longer. The search also finds where the
// corridor should end: it stops at the first cell the caller accepts.
#ifndef ATLAS_PLAN_LAYOUT_PLAN_ROUTER_H_
#define ATLAS_PLAN_LAYOUT_PLAN_ROUTER_H_

#include <cstdint>
#include <functional>
#include <vector>

#include "atlas/plan/layout/plan_grid.h"

namespace atlas {

struct Cell {
  int i = 0;
  int j = 0;
  bool operator==(const Cell&) const = default;
};

// North, east, south, west: the order every search tries them in.
enum Dir : int { kDirNorth = 0, kDirEast = 1, kDirSouth = 2, kDirWest = 3 };
inline constexpr int kStepI[4] = {0, 1, 0, -1};
inline constexpr int kStepJ[4] = {-1, 0, 1, 0};

class CorridorSearch {
 public:
  // Called with each cell the search reaches, in order of cost, and the
  // direction it was entered in; true ends the search there.
  using Accept = std::function<bool(Cell, Dir)>;

  // The cells of the cheapest corridor from door cell `from`, left in
  // direction `out`, to the first cell accepted, both included; every cell
  // but `from` lies inside `region` and outside every room. Empty when no
  // cell of `region` is accepted. The free lattice around rooms kept 10'
  // apart is connected, so a region with a free border reaches every free
  // cell in it.
  std::vector<Cell> run(const CellGrid& grid, Cell from, Dir out, const CellBox& region,
                        const Accept& accept);

  // While `accept` runs: the corridor to the cell it is asked about.
  std::vector<Cell> current_path() const { return path_to(from_, current_); }

 private:
  int index(Cell c, int dir) const;
  Cell cell_of(int state) const;
  void relax(int from_state, Cell c, int dir, int cost);
  std::vector<Cell> path_to(Cell from, int state) const;

  // Reused from search to search; `seen_` tells this search's entries from
  // stale ones, so nothing is cleared between searches.
  std::vector<int> cost_;
  std::vector<int> came_from_;
  std::vector<uint32_t> seen_;
  uint32_t generation_ = 0;
  CellBox region_;
  int width_ = 0;
  Cell from_;
  int current_ = -1;
  // Open states by cost, a ring of buckets: every price is a small whole
  // number, so this beats a heap.
  static constexpr int kBuckets = 1 << 14;
  std::vector<std::vector<int>> buckets_;
  std::size_t open_count_ = 0;
  std::vector<int> filled_;  // buckets that may hold entries
};

}  // namespace atlas

#endif  // ATLAS_PLAN_LAYOUT_PLAN_ROUTER_H_
