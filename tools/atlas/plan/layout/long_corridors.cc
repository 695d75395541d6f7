// SPDX-License-Identifier: MIT
#include "atlas/plan/layout/long_corridors.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "atlas/plan/layout/clearance.h"
#include "atlas/plan/layout/frame.h"
#include "atlas/plan/layout/level_compaction.h"

namespace atlas {
namespace {

// Corridors at least this long are tried, longest first, and a move must
// shorten one by kGain; subtrees of more than kMovable rooms stay (a big
// subtree rarely finds room, and looking costs). A new place is sought
// within kReach feet of corridor, trying at most kTries places closely.
constexpr int kLong = 60;
constexpr int kGain = 20;
constexpr int kMovable = 40;
constexpr int kReach = 600;
constexpr int kJogCost = 100;
constexpr int kTries = 40;
constexpr int kStep = 5;
constexpr int kCell = 10;

int floor_div(int a, int b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// What a corridor costs: its length, and kJogCost more for a jog.
int cost_of(const std::vector<Point>& p) {
  int length = p.size() > 2 ? kJogCost : 0;
  for (std::size_t j = 1; j < p.size(); ++j) {
    length += std::abs(p[j].x - p[j - 1].x) + std::abs(p[j].y - p[j - 1].y);
  }
  return length;
}

// 10-foot cells of the level, marked where something stands within kWidestSpacing,
// summed so that a box asks in constant time whether it is clear.
class Occupancy {
 public:
  explicit Occupancy(const Box& all)
      : u0_(floor_div(all.u0, kCell)),
        v0_(floor_div(all.v0, kCell)),
        columns_(floor_div(all.u1, kCell) - u0_ + 1),
        rows_(floor_div(all.v1, kCell) - v0_ + 1),
        sum_(static_cast<std::size_t>((columns_ + 1) * (rows_ + 1)), 0) {}

  void mark(const Box& b) {
    const int c0 = std::max(0, floor_div(b.u0 - kWidestSpacing, kCell) - u0_);
    const int c1 = std::min(columns_ - 1, floor_div(b.u1 + kWidestSpacing, kCell) - u0_);
    const int r0 = std::max(0, floor_div(b.v0 - kWidestSpacing, kCell) - v0_);
    const int r1 = std::min(rows_ - 1, floor_div(b.v1 + kWidestSpacing, kCell) - v0_);
    for (int r = r0; r <= r1; ++r) {
      for (int c = c0; c <= c1; ++c) at(c + 1, r + 1) = 1;
    }
  }

  void sum() {
    for (int r = 1; r <= rows_; ++r) {
      for (int c = 1; c <= columns_; ++c) {
        at(c, r) += at(c - 1, r) + at(c, r - 1) - at(c - 1, r - 1);
      }
    }
  }

  // REQUIRES: sum() was called. False for a box reaching outside the level.
  bool clear(const Box& b) const {
    const int c0 = floor_div(b.u0, kCell) - u0_;
    const int c1 = floor_div(b.u1, kCell) - u0_;
    const int r0 = floor_div(b.v0, kCell) - v0_;
    const int r1 = floor_div(b.v1, kCell) - v0_;
    if (c0 < 0 || r0 < 0 || c1 >= columns_ || r1 >= rows_) return false;
    return get(c1 + 1, r1 + 1) - get(c0, r1 + 1) - get(c1 + 1, r0) + get(c0, r0) == 0;
  }

 private:
  int& at(int c, int r) {
    return sum_[static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_ + 1) +
                static_cast<std::size_t>(c)];
  }
  int get(int c, int r) const {
    return sum_[static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_ + 1) +
                static_cast<std::size_t>(c)];
  }

  int u0_, v0_, columns_, rows_;
  std::vector<int> sum_;
};

class Mover {
 public:
  explicit Mover(DrawnTree& level) : t_(level), children_(level.room.size()) {
    for (std::size_t k = 0; k < t_.room.size(); ++k) {
      if (t_.parent[k] >= 0) children_[static_cast<std::size_t>(t_.parent[k])].push_back(k);
    }
    all_ = box_of_rect(t_.room[0]);
    for (std::size_t k = 0; k < t_.room.size(); ++k) {
      all_ = united(all_, box_of_rect(t_.room[k]));
      for (const Point& p : t_.corridor[k]) all_ = united(all_, Box{p.x, p.y, p.x, p.y});
    }
  }

  bool run() {
    shapes_ = shapes_of(t_);
    std::vector<std::size_t> order;
    for (std::size_t k = 0; k < t_.room.size(); ++k) {
      if (t_.parent[k] >= 0 && cost_of(t_.corridor[k]) >= kLong) order.push_back(k);
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      return cost_of(t_.corridor[a]) > cost_of(t_.corridor[b]);
    });
    bool moved = false;
    for (const std::size_t k : order) moved = bring_home(k) || moved;
    return moved;
  }

 private:
  // The rooms of k's subtree, or none when it has more than kMovable.
  std::vector<std::size_t> subtree(std::size_t k) const {
    std::vector<std::size_t> rooms{k};
    for (std::size_t i = 0; i < rooms.size(); ++i) {
      for (const std::size_t c : children_[rooms[i]]) {
        if (rooms.size() == static_cast<std::size_t>(kMovable)) return {};
        rooms.push_back(c);
      }
    }
    return rooms;
  }

  bool bring_home(std::size_t k) {
    const std::vector<std::size_t> rooms = subtree(k);
    if (rooms.empty()) return false;
    std::vector<bool> moving(t_.room.size(), false);
    for (const std::size_t r : rooms) moving[r] = true;
    // The subtree's box, without the corridor that reaches it.
    Box inside = box_of_rect(t_.room[k]);
    for (const std::size_t r : rooms) {
      inside = united(inside, box_of_rect(t_.room[r]));
      if (r == k) continue;
      for (const Point& p : t_.corridor[r]) inside = united(inside, Box{p.x, p.y, p.x, p.y});
    }
    const std::vector<Point> old = t_.corridor[k];
    const Point door = old.front();
    // Only what stands within reach of the door matters.
    const int reach =
        kReach + std::max(inside.u1 - inside.u0, inside.v1 - inside.v0) + kWidestSpacing;
    const Box near{std::max(all_.u0, door.x - reach), std::max(all_.v0, door.y - reach),
                   std::min(all_.u1, door.x + reach), std::min(all_.v1, door.y + reach)};
    std::vector<Shape> standing;
    Occupancy free(near);
    for (const Shape& s : shapes_) {
      const std::size_t owner = static_cast<std::size_t>(s.room >= 0 ? s.room : s.corridor);
      if (moving[owner] || gap(s.box, near) > kWidestSpacing) continue;
      standing.push_back(s);
      free.mark(s.box);
    }
    free.sum();

    const Point entry = old.back();
    const Point out{(old[1].x > door.x) - (old[1].x < door.x),
                    (old[1].y > door.y) - (old[1].y < door.y)};
    const Point side{-out.y, out.x};
    const int most = std::min(cost_of(old) - kGain, kReach);
    int tries = 0;
    // Cheapest first: at each cost the straight corridor, then the jogs.
    for (int cost = 2 * kStep; cost <= most; cost += kStep) {
      for (int across = 0;; across += kStep) {
        const int ahead = across == 0 ? cost : cost - kJogCost - across;
        if (across > 0 && ahead < 2 * kStep) break;
        for (const int sign : {1, -1}) {
          if (across == 0 && sign < 0) continue;
          const int lateral = sign * across;
          const Point to{door.x + ahead * out.x + lateral * side.x,
                         door.y + ahead * out.y + lateral * side.y};
          const Vec by{to.x - entry.x, to.y - entry.y};
          if (!free.clear(shifted(inside, by))) continue;
          for (const int lane : lanes(ahead, across)) {
            if (++tries > kTries) return false;
            std::vector<Point> corridor{door};
            if (across != 0) {
              corridor.push_back({door.x + lane * out.x, door.y + lane * out.y});
              corridor.push_back(
                  {corridor.back().x + lateral * side.x, corridor.back().y + lateral * side.y});
            }
            corridor.push_back(to);
            if (try_move(k, rooms, by, corridor, standing)) {
              shapes_ = shapes_of(t_);
              return true;
            }
          }
        }
      }
    }
    return false;
  }

  // How far out of the wall a jog may turn: near the wall, half way, or
  // near the door it leads to.
  static std::vector<int> lanes(int ahead, int across) {
    if (across == 0) return {0};
    std::vector<int> at{kStep, ahead / 2 / kStep * kStep, ahead - kStep};
    std::sort(at.begin(), at.end());
    at.erase(std::unique(at.begin(), at.end()), at.end());
    at.erase(
        std::remove_if(at.begin(), at.end(), [&](int a) { return a < kStep || ahead - a < kStep; }),
        at.end());
    return at;
  }

  // Moves the subtree by `by` with `corridor` into it, if everything keeps
  // its spacing there; otherwise leaves the level as it was.
  bool try_move(std::size_t k, const std::vector<std::size_t>& rooms, Vec by,
                const std::vector<Point>& corridor, const std::vector<Shape>& standing) {
    const std::vector<Point> old = t_.corridor[k];
    const auto shift = [&](int sign) {
      for (const std::size_t r : rooms) {
        t_.room[r].x += sign * by.u;
        t_.room[r].y += sign * by.v;
        if (r == k) continue;
        for (Point& p : t_.corridor[r]) p = {p.x + sign * by.u, p.y + sign * by.v};
      }
    };
    shift(1);
    t_.corridor[k] = corridor;
    std::vector<Shape> near;  // the moved subtree, the new corridor aside
    for (const std::size_t r : rooms) {
      near.push_back({box_of_rect(t_.room[r]), static_cast<int>(r), -1});
      if (r == k) continue;
      const std::vector<Point>& p = t_.corridor[r];
      for (std::size_t j = 1; j < p.size(); ++j) {
        near.push_back(
            {box_of(Vec{p[j - 1].x, p[j - 1].y}, Vec{p[j].x, p[j].y}), -1, static_cast<int>(r)});
      }
    }
    bool ok = true;
    for (std::size_t j = 1; j < corridor.size() && ok; ++j) {
      const Shape run{
          box_of(Vec{corridor[j - 1].x, corridor[j - 1].y}, Vec{corridor[j].x, corridor[j].y}), -1,
          static_cast<int>(k)};
      for (const std::vector<Shape>* shapes :
           {&standing, static_cast<const std::vector<Shape>*>(&near)}) {
        for (const Shape& s : *shapes) {
          if (!keep_apart(run, s, t_)) {
            ok = false;
            break;
          }
        }
        if (!ok) break;
      }
    }
    if (!ok) {
      shift(-1);
      t_.corridor[k] = old;
    }
    return ok;
  }

  DrawnTree& t_;
  std::vector<Shape> shapes_;
  std::vector<std::vector<std::size_t>> children_;
  Box all_;
};

}  // namespace

bool shorten_long_corridors(DrawnTree& level) {
  if (level.room.size() < 2) return false;
  return Mover(level).run();
}

}  // namespace atlas
