// SPDX-License-Identifier: MIT
#include "atlas/plan/layout/plan_router.h"

#include <algorithm>
#include <limits>

namespace atlas {
namespace {

// Prices in tenths of a cell: a bend costs as much as three cells of
// corridor, running beside a wall half a cell, a crossing fifteen. Running
// along another corridor, or over the step outside a door still to be used,
// is allowed only so that a path always exists.
constexpr int kStep = 10;
constexpr int kBend = 30;
constexpr int kRing = 5;
constexpr int kCrossing = 150;
constexpr int kOverlap = 5000;
// Keeps every price step below the bucket ring's length.
constexpr int kMaxJumps = 20;

bool across(Run run, int dir) {
  return (dir % 2 == 0) ? run == Run::kHorizontal : run == Run::kVertical;
}

int enter_price(const CellGrid& grid, Cell c, int dir) {
  const Run run = grid.run(c.i, c.j);
  if (run != Run::kNone) return across(run, dir) ? kCrossing : kOverlap;
  if (grid.reserved(c.i, c.j)) return kOverlap;
  return grid.ring(c.i, c.j) ? kRing : 0;
}

}  // namespace

int CorridorSearch::index(Cell c, int dir) const {
  return ((c.j - region_.j0) * width_ + (c.i - region_.i0)) * 4 + dir;
}

Cell CorridorSearch::cell_of(int state) const {
  const int cell = state / 4;
  return {region_.i0 + cell % width_, region_.j0 + cell / width_};
}

void CorridorSearch::relax(int from_state, Cell c, int dir, int cost) {
  const auto state = static_cast<std::size_t>(index(c, dir));
  if (seen_[state] == generation_ && cost >= cost_[state]) return;
  seen_[state] = generation_;
  cost_[state] = cost;
  came_from_[state] = from_state;
  std::vector<int>& bucket = buckets_[static_cast<std::size_t>(cost % kBuckets)];
  if (bucket.empty()) filled_.push_back(cost % kBuckets);
  bucket.push_back(static_cast<int>(state));
  ++open_count_;
}

std::vector<Cell> CorridorSearch::run(const CellGrid& grid, Cell from, Dir out,
                                      const CellBox& region, const Accept& accept) {
  region_ = region;
  width_ = region.i1 - region.i0 + 1;
  const std::size_t states =
      static_cast<std::size_t>(width_) * static_cast<std::size_t>(region.j1 - region.j0 + 1) * 4;
  if (seen_.size() < states) {
    // Regions grow with the plan: doubling keeps the clearing rare.
    const std::size_t size = std::max(states, 2 * seen_.size());
    seen_.assign(size, 0);
    cost_.resize(size);
    came_from_.resize(size);
    generation_ = 0;
  }
  ++generation_;
  if (buckets_.empty()) buckets_.resize(kBuckets);
  for (const int b : filled_) buckets_[static_cast<std::size_t>(b)].clear();
  filled_.clear();
  open_count_ = 0;
  from_ = from;

  auto inside = [&](Cell c) {
    return c.i >= region.i0 && c.i <= region.i1 && c.j >= region.j0 && c.j <= region.j1;
  };
  const Cell first{from.i + kStepI[out], from.j + kStepJ[out]};
  if (!inside(first) || grid.room(first.i, first.j)) return {};
  // The first cell is the door's own step, reserved for this very corridor.
  relax(-1, first, out, kStep);
  for (int cost = 0; open_count_ > 0; ++cost) {
    // Every price is above zero and below the ring's length, so nothing is
    // pushed into the bucket being worked on.
    std::vector<int>& bucket = buckets_[static_cast<std::size_t>(cost % kBuckets)];
    for (const int state : bucket) {
      --open_count_;
      if (cost != cost_[static_cast<std::size_t>(state)]) continue;  // stale
      const Cell at = cell_of(state);
      const int dir = state % 4;
      current_ = state;
      if (accept(at, static_cast<Dir>(dir))) return path_to(from, state);
      for (int next = 0; next < 4; ++next) {
        if (next == (dir + 2) % 4) continue;
        Cell c{at.i + kStepI[next], at.j + kStepJ[next]};
        if (!inside(c) || grid.room(c.i, c.j)) continue;
        // A crossing goes straight over the other corridor and lands on a
        // free cell beyond it, so two corridors meet at one point.
        int price = cost + (next == dir ? 0 : kBend);
        for (int jumps = 0; jumps < kMaxJumps && across(grid.run(c.i, c.j), next); ++jumps) {
          const Cell beyond{c.i + kStepI[next], c.j + kStepJ[next]};
          if (!inside(beyond) || grid.room(beyond.i, beyond.j)) break;
          price += kStep + kCrossing;
          c = beyond;
        }
        relax(state, c, next, price + kStep + enter_price(grid, c, next));
      }
    }
    bucket.clear();
  }
  return {};
}

std::vector<Cell> CorridorSearch::path_to(Cell from, int state) const {
  std::vector<Cell> reversed;
  for (int s = state; s != -1; s = came_from_[static_cast<std::size_t>(s)]) {
    const int back = came_from_[static_cast<std::size_t>(s)];
    const Cell start = back == -1 ? from : cell_of(back);
    // Every cell from `start` (exclusive) to this state's, jumps included.
    const int dir = s % 4;
    for (Cell c = cell_of(s); !(c == start); c = {c.i - kStepI[dir], c.j - kStepJ[dir]}) {
      reversed.push_back(c);
    }
  }
  reversed.push_back(from);
  return {reversed.rbegin(), reversed.rend()};
}

}  // namespace atlas
