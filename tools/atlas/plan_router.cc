#include "atlas/plan_router.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <limits>
#include <queue>
#include <tuple>

namespace atlas {
namespace {

// Prices in tenths of a cell: a bend costs as much as three cells of
// corridor, running beside a wall half a cell, a crossing fifteen. Running along
// another corridor is allowed only so that a path always exists.
constexpr int kStep = 10;
constexpr int kBend = 30;
constexpr int kRing = 5;
constexpr int kCrossing = 150;
constexpr int kOverlap = 5000;

bool across(Run run, int dir) {
  return (dir % 2 == 0) ? run == Run::kHorizontal : run == Run::kVertical;
}

class Search {
 public:
  Search(const CellGrid& grid, const CellBox& new_room, const CellBox& region, Cell to, Dir in)
      : grid_(grid), new_room_(new_room), region_(region), to_(to), in_(in) {
    width_ = region.i1 - region.i0 + 1;
    const std::size_t states =
        static_cast<std::size_t>(width_) * static_cast<std::size_t>(region.j1 - region.j0 + 1) * 4;
    cost_.assign(states, std::numeric_limits<int>::max());
    came_from_.assign(states, -1);
  }

  std::vector<Cell> run(Cell from, Dir out) {
    const Cell first{from.i + kStepI[out], from.j + kStepJ[out]};
    if (!inside(first) || blocked(first)) return {};
    // The first cell is the door's own: reserved for this very corridor.
    relax(-1, first, out, kStep);
    while (!open_.empty()) {
      const auto [f, order, state] = open_.top();
      open_.pop();
      (void)order;
      const int g = cost_[static_cast<std::size_t>(state)];
      if (f - heuristic(cell_of(state)) != g) continue;  // a stale entry
      const Cell at = cell_of(state);
      const int dir = state % 4;
      if (at == to_) return path_to(from, state);
      expand(state, at, dir, g);
    }
    return {};
  }

 private:
  bool blocked(Cell c) const {
    return grid_.room(c.i, c.j) || (c.i >= new_room_.i0 && c.i <= new_room_.i1 &&
                                    c.j >= new_room_.j0 && c.j <= new_room_.j1);
  }
  bool inside(Cell c) const {
    return c.i >= region_.i0 && c.i <= region_.i1 && c.j >= region_.j0 && c.j <= region_.j1;
  }
  int index(Cell c, int dir) const {
    return ((c.j - region_.j0) * width_ + (c.i - region_.i0)) * 4 + dir;
  }
  Cell cell_of(int state) const {
    const int cell = state / 4;
    return {region_.i0 + cell % width_, region_.j0 + cell / width_};
  }
  int heuristic(Cell c) const { return kStep * (std::abs(c.i - to_.i) + std::abs(c.j - to_.j)); }

  int enter_price(Cell c, int dir) const {
    const Run run = grid_.run(c.i, c.j);
    if (run != Run::kNone) return across(run, dir) ? kCrossing : kOverlap;
    if (grid_.reserved(c.i, c.j)) return kOverlap;
    return grid_.ring(c.i, c.j) ? kRing : 0;
  }

  void relax(int from_state, Cell c, int dir, int g) {
    const int state = index(c, dir);
    if (g >= cost_[static_cast<std::size_t>(state)]) return;
    cost_[static_cast<std::size_t>(state)] = g;
    came_from_[static_cast<std::size_t>(state)] = from_state;
    open_.emplace(g + heuristic(c), order_++, state);
  }

  void expand(int state, Cell at, int dir, int g) {
    for (int next = 0; next < 4; ++next) {
      if (next == (dir + 2) % 4) continue;
      const int turn = next == dir ? 0 : kBend;
      Cell c{at.i + kStepI[next], at.j + kStepJ[next]};
      if (c == to_) {
        if (next == in_) relax(state, c, next, g + kStep + turn);
        continue;
      }
      if (!inside(c) || blocked(c)) continue;
      // A crossing goes straight over the other corridor and lands on a
      // free cell beyond it, so two corridors meet at one point.
      int price = g + turn;
      while (across(grid_.run(c.i, c.j), next)) {
        const Cell beyond{c.i + kStepI[next], c.j + kStepJ[next]};
        if (!inside(beyond) || blocked(beyond)) break;
        price += kStep + kCrossing;
        c = beyond;
      }
      relax(state, c, next, price + kStep + enter_price(c, next));
    }
  }

  std::vector<Cell> path_to(Cell from, int state) const {
    std::vector<Cell> reversed;
    for (int s = state; s != -1; s = came_from_[static_cast<std::size_t>(s)]) {
      const int back = came_from_[static_cast<std::size_t>(s)];
      const Cell end = cell_of(s);
      const Cell start = back == -1 ? from : cell_of(back);
      // The cells jumped over on the way from `start` to `end`.
      const int dir = s % 4;
      for (Cell c = end; !(c == start); c = {c.i - kStepI[dir], c.j - kStepJ[dir]}) {
        reversed.push_back(c);
      }
    }
    reversed.push_back(from);
    return {reversed.rbegin(), reversed.rend()};
  }

  const CellGrid& grid_;
  CellBox new_room_;
  CellBox region_;
  Cell to_;
  Dir in_;
  int width_ = 0;
  std::vector<int> cost_;
  std::vector<int> came_from_;
  uint64_t order_ = 0;
  std::priority_queue<std::tuple<int, uint64_t, int>, std::vector<std::tuple<int, uint64_t, int>>,
                      std::greater<>>
      open_;
};

}  // namespace

std::vector<Cell> route_corridor(const CellGrid& grid, Cell from, Dir out, Cell to, Dir in,
                                 const CellBox& new_room, const CellBox& region) {
  CellBox box = region;
  box.i0 = std::min({box.i0, from.i, to.i});
  box.j0 = std::min({box.j0, from.j, to.j});
  box.i1 = std::max({box.i1, from.i, to.i});
  box.j1 = std::max({box.j1, from.j, to.j});
  return Search(grid, new_room, box, to, in).run(from, out);
}

}  // namespace atlas
