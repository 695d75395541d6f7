// SPDX-License-Identifier: MIT
#include "atlas/plan/layout/subtree_layout.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "atlas/plan/layout/clearance.h"

namespace atlas {
namespace {

constexpr int kFar = 1 << 28;
// Between drawings standing side by side in a row: clearance.h's spacing.
constexpr int kRowGap = 6;
// The first jog lane lies this far beyond the wall, the next ones kLane
// further each: a corridor in the doorway of a crowded wall turns here.
constexpr int kFirstLane = 5;
constexpr int kLane = 10;
// Drawings beside the channel keep this far from its centreline.
constexpr int kChannel = 10;
// What a jog costs against square feet of drawing, choosing a row's place.
constexpr long long kJogCost = 400;
// Orders of a room's rows tried at most.
constexpr int kOrders = 120;

// The shortest wall that holds `doors` doors 6' apart.
int wall_needed(int doors) {
  return doors <= 1 ? 0 : 6 * (doors - 1) + 2;
}

struct Spread {
  std::vector<int> at;  // offsets from the wall's low end, ascending
  bool crowded = false;
};

// Doors spread along a wall: evenly where they can stand 6' apart and 3'
// from the corners; closer to the corners if that is what it takes. A
// 10-foot wall with three or four doors is crowded: its doors hug the
// corners, and the corridors there turn off inside their doorways.
Spread spread(int length, int doors) {
  Spread s;
  if (doors == 0) return s;
  if (doors == 1) {
    s.at = {length / 2};
    return s;
  }
  std::vector<int> at;
  for (int i = 0; i < doors; ++i) at.push_back((i + 1) * length / (doors + 1));
  bool even = at.front() >= 3 && length - at.back() >= 3;
  for (std::size_t i = 1; i < at.size(); ++i) even = even && at[i] - at[i - 1] >= 6;
  if (even) {
    s.at = at;
    return s;
  }
  for (const int margin : {3, 2, 1}) {
    const int span = length - 2 * margin;
    if (span < 6 * (doors - 1)) continue;
    for (int i = 0; i < doors; ++i) s.at.push_back(margin + i * span / (doors - 1));
    return s;
  }
  s.crowded = true;
  if (doors == 3) {
    s.at = {1, length / 2, length - 1};
  } else if (doors == 4) {
    s.at = {1, 2, length - 2, length - 1};
  } else {
    for (int i = 0; i < doors; ++i) s.at.push_back(1 + i * (length - 2) / (doors - 1));
  }
  return s;
}

// Children reached through one wall and placed as one row, in the wall's
// frame (forward away from the wall, p along it).
struct Group {
  int turns = 0;                        // the wall's frame, from the room's
  std::vector<const ChildBrief*> kids;  // in door order, ascending p
  std::vector<int> door;                // p of each kid's door
  bool crowded = false;
  // A crowded wall's row stands with this kid's corridor straight.
  int pivot = -1;
  // Beside the channel: +1 all drawings at p >= kChannel, -1 at p <= -kChannel.
  int side = 0;
};

class RoomBuilder {
 public:
  explicit RoomBuilder(const RoomBrief& brief) : brief_(brief) {}

  RoomLayout build() {
    sort_children();
    // Every way of drawing the room is tried: turned a quarter where its
    // walls hold their doors either way, the back wall's children split
    // evenly by width or all on one side of the way in. A compact drawing
    // here is what lets the parent's rows close up.
    RoomLayout best;
    long long best_cost = -1;
    for (const bool turned : {false, true}) {
      for (const Split split : {Split::kEven, Split::kBefore, Split::kAfter}) {
        if (split != Split::kEven && (!brief_.entered || on_[2].empty())) break;
        if (split == Split::kBefore && on_[2].size() < 2) continue;  // as the even split
        if (!shape_room(split, turned)) break;
        lay_out_rows(best, best_cost);
      }
    }
    return best;
  }

 private:
  enum class Split { kEven, kBefore, kAfter };

  // Every order of the rows (crowded walls always first) for the room as
  // shaped; keeps the smallest drawing in `best`, the first of equals, so the
  // result is the same everywhere.
  void lay_out_rows(RoomLayout& best, long long& best_cost) {
    obstacles_.clear();
    out_ = RoomLayout();
    out_.turns = brief_.turns;
    out_.room = room_;
    out_.box = room_;
    obstacles_.push_back({room_, Kind::kRoom, false, {}});
    if (brief_.entered) {
      obstacles_.push_back({{0, -kFar, 0, 0}, Kind::kCorridor, true, {0, 0}});
    }
    std::vector<Group> groups = make_groups();
    // Crowded walls first, while only the room stands: their corridors must
    // turn off right at the wall.
    std::stable_sort(groups.begin(), groups.end(),
                     [](const Group& a, const Group& b) { return a.crowded > b.crowded; });
    // Which wall's row stands first decides what the later ones must stand
    // beyond.
    const std::size_t fixed = static_cast<std::size_t>(
        std::count_if(groups.begin(), groups.end(), [](const Group& g) { return g.crowded; }));
    std::vector<std::size_t> order(groups.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    const std::vector<Item> start = obstacles_;
    const RoomLayout empty = out_;
    int tries = 0;
    do {
      obstacles_ = start;
      out_ = empty;
      for (const std::size_t i : order) place(groups[i]);
      // A long thin drawing leaves more rock round it in its parent's rows
      // than a square one of the same area.
      const long long w = out_.box.u1 - out_.box.u0;
      const long long h = out_.box.v1 - out_.box.v0;
      const long long cost = w * h + (w - h) * (w - h) / 2;
      if (best_cost < 0 || cost < best_cost) {
        best_cost = cost;
        best = std::move(out_);
      }
    } while (
        ++tries < kOrders &&
        std::next_permutation(order.begin() + static_cast<std::ptrdiff_t>(fixed), order.end()));
  }

  void sort_children() {
    for (const ChildBrief& c : brief_.children) {
      on_[static_cast<std::size_t>(mod4(quarter(c.wall) - brief_.turns))].push_back(&c);
    }
  }

  int doors_on(int k) const {
    return static_cast<int>(on_[static_cast<std::size_t>(k)].size()) +
           (k == 2 && brief_.entered ? 1 : 0);
  }

  // Turns the room so that its walls hold their doors 6' apart if either way
  // does, and finds where on the back wall the way in is. False when the
  // split asked for is not one this wall can take.
  bool shape_room(Split split, bool turned) {
    before_.clear();
    after_.clear();
    const bool along = brief_.turns % 2 == 0;
    width_ = along ? brief_.size.width : brief_.size.height;
    depth_ = along ? brief_.size.height : brief_.size.width;
    const auto fits = [&](int w, int d) {
      return w >= wall_needed(doors_on(0)) && w >= wall_needed(doors_on(2)) &&
             d >= wall_needed(doors_on(1)) && d >= wall_needed(doors_on(3));
    };
    if (!fits(width_, depth_) && fits(depth_, width_)) std::swap(width_, depth_);
    if (turned) {
      // The other way round too, where its walls hold their doors as well.
      if (width_ == depth_ || !fits(depth_, width_)) return false;
      std::swap(width_, depth_);
    }
    // The back wall, in its own frame p = -u: children before the way in
    // stand at p < 0, after it at p > 0. An even split makes both sides
    // about as wide; a crowded wall keeps one before.
    const std::vector<const ChildBrief*>& back = on_[2];
    back_spread_ = spread(width_, doors_on(2));
    if (!brief_.entered) {
      before_ = back;
      entry_offset_ = width_ / 2;
    } else {
      if (back_spread_.crowded) {
        if (split != Split::kEven) return false;
        before_.assign(back.begin(), back.begin() + 1);
        after_.assign(back.begin() + 1, back.end());
      } else if (split == Split::kBefore) {
        before_ = back;
      } else if (split == Split::kAfter) {
        after_ = back;
      } else {
        int wide_before = 0;
        int wide_after = 0;
        for (const ChildBrief* c : back) {
          const int w = c->layout->box.u1 - c->layout->box.u0 + kRowGap;
          if (wide_before <= wide_after) {
            before_.push_back(c);
            wide_before += w;
          } else {
            after_.push_back(c);
            wide_after += w;
          }
        }
      }
      entry_offset_ = back_spread_.at[before_.size()];
    }
    // Back-wall frame: p runs from a - W to a, the way in at p = 0.
    a_ = width_ - entry_offset_;
    room_ = {-a_, 0, width_ - a_, depth_};
    return true;
  }

  std::vector<Group> make_groups() {
    std::vector<Group> groups;
    for (const int k : {0, 1, 3}) {
      const auto& kids = on_[static_cast<std::size_t>(k)];
      if (kids.empty()) continue;
      const Box wall = to_turned(room_, k);
      const Spread s = spread(wall.u1 - wall.u0, static_cast<int>(kids.size()));
      Group g;
      g.turns = k;
      g.kids = kids;
      for (const int at : s.at) g.door.push_back(wall.u0 + at);
      g.crowded = s.crowded;
      g.pivot = s.crowded ? 1 : -1;
      groups.push_back(g);
    }
    const Box wall = to_turned(room_, 2);
    if (!brief_.entered) {
      if (!before_.empty()) {
        Group g;
        g.turns = 2;
        g.kids = before_;
        for (const int at : back_spread_.at) g.door.push_back(wall.u0 + at);
        g.crowded = back_spread_.crowded;
        g.pivot = g.crowded ? 1 : -1;
        groups.push_back(g);
      }
      return groups;
    }
    const std::size_t n = before_.size();
    if (!before_.empty()) {
      Group g;
      g.turns = 2;
      g.kids = before_;
      for (std::size_t i = 0; i < n; ++i) g.door.push_back(wall.u0 + back_spread_.at[i]);
      g.crowded = back_spread_.crowded;
      g.side = -1;
      groups.push_back(g);
    }
    if (!after_.empty()) {
      Group g;
      g.turns = 2;
      g.kids = after_;
      for (std::size_t i = n + 1; i < back_spread_.at.size(); ++i) {
        g.door.push_back(wall.u0 + back_spread_.at[i]);
      }
      g.crowded = back_spread_.crowded;
      g.side = 1;
      groups.push_back(g);
    }
    return groups;
  }

  struct Try {
    std::vector<int> t;     // p of each kid's door
    std::vector<int> lane;  // q of its jog, or -1 when straight
    int base = 0;           // q where the row's drawings begin
  };

  // Lanes for one row: corridors jogging to lower p take lanes further out
  // the further right they start, those jogging to higher p the further left;
  // so no jog passes another corridor's run.
  static std::vector<int> lane_numbers(const std::vector<int>& door, const std::vector<int>& t,
                                       int* lanes) {
    const std::size_t n = door.size();
    std::vector<int> number(n, -1);
    int down = 0;
    for (std::size_t i = 0; i < n; ++i) {
      if (t[i] < door[i]) number[i] = down++;
    }
    int up = 0;
    for (std::size_t i = n; i-- > 0;) {
      if (t[i] > door[i]) number[i] = up++;
    }
    *lanes = std::max(down, up);
    return number;
  }

  void place(const Group& g) {
    const std::size_t n = g.kids.size();
    const Box wall = to_turned(room_, g.turns);
    const int q_wall = wall.v1;
    std::vector<int> offset(n, 0);
    for (std::size_t i = 1; i < n; ++i) {
      const Box& a = g.kids[i - 1]->layout->box;
      const Box& b = g.kids[i]->layout->box;
      offset[i] = offset[i - 1] + a.u1 + kRowGap - b.u0;
    }
    const Box& first = g.kids.front()->layout->box;
    const Box& last = g.kids.back()->layout->box;
    // Where the row may stand along the wall: one kid's corridor straight,
    // the middle ones first; beside the channel also hard against it.
    std::vector<int> shifts;
    const auto straight = [&](std::size_t i) { shifts.push_back(g.door[i] - offset[i]); };
    if (g.pivot >= 0 && static_cast<std::size_t>(g.pivot) < n) {
      straight(static_cast<std::size_t>(g.pivot));
    } else {
      std::vector<std::size_t> order(n);
      for (std::size_t i = 0; i < n; ++i) order[i] = i;
      const auto from_middle = [&](std::size_t i) {
        return std::abs(2 * static_cast<int>(i) - static_cast<int>(n) + 1);
      };
      std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return from_middle(a) < from_middle(b);
      });
      for (const std::size_t i : order) straight(i);
    }
    if (g.side > 0) shifts.push_back(kChannel - first.u0);
    if (g.side < 0) shifts.push_back(-kChannel - offset[n - 1] - last.u1);
    std::erase_if(shifts, [&](int x) {
      return (g.side > 0 && x + first.u0 < kChannel) ||
             (g.side < 0 && x + offset[n - 1] + last.u1 > -kChannel);
    });
    // Also just clear of each thing already standing, on either side.
    // (Drawings only: corridors lie between them, and trying each run too
    // costs more time than it wins room.)
    std::vector<Box> standing;
    int far = q_wall;
    for (std::size_t o = brief_.entered ? 2 : 1; o < obstacles_.size(); ++o) {
      const Box b = to_turned(obstacles_[o].box, g.turns);
      far = std::max(far, b.v1);
      if (obstacles_[o].kind == Kind::kDrawing) standing.push_back(b);
    }
    if (g.pivot < 0) {
      for (const Box& o : standing) {
        shifts.push_back(o.u0 - kRowGap - offset[n - 1] - last.u1);
        shifts.push_back(o.u1 + kRowGap - first.u0);
      }
    }
    std::erase_if(shifts, [&](int x) {
      return (g.side > 0 && x + first.u0 < kChannel) ||
             (g.side < 0 && x + offset[n - 1] + last.u1 > -kChannel);
    });
    std::sort(shifts.begin(), shifts.end());
    shifts.erase(std::unique(shifts.begin(), shifts.end()), shifts.end());
    // Of all the places that fit, the one that grows the drawing least, and
    // straight corridors where that costs nothing.
    for (const bool near_wall : {g.crowded, false}) {
      bool found = false;
      Try best;
      long long best_cost = 0;
      for (const int x : shifts) {
        Try attempt;
        for (std::size_t i = 0; i < n; ++i) attempt.t.push_back(x + offset[i]);
        int lanes = 0;
        const std::vector<int> number = lane_numbers(g.door, attempt.t, &lanes);
        const int nearest = q_wall + (lanes > 0 ? kFirstLane + kLane * lanes : kRowGap);
        std::vector<int> bases{nearest, far + kRowGap + kLane * (lanes + 1)};
        for (const Box& o : standing) {
          bases.push_back(o.v1 + kRowGap);
          bases.push_back(o.v1 + 6 + kLane * lanes);
        }
        std::sort(bases.begin(), bases.end());
        int jogs = 0;
        for (std::size_t i = 0; i < n; ++i) jogs += number[i] >= 0 ? 1 : 0;
        for (const int base : bases) {
          if (base < nearest) continue;
          attempt.base = base;
          attempt.lane.clear();
          for (std::size_t i = 0; i < n; ++i) {
            attempt.lane.push_back(number[i] < 0 ? -1
                                   : near_wall   ? q_wall + kFirstLane + kLane * number[i]
                                                 : base - kLane * (lanes - number[i]));
          }
          Box grown = out_.box;
          for (std::size_t i = 0; i < n; ++i) grown = united(grown, drawing(g, attempt, i));
          const long long cost =
              static_cast<long long>(grown.u1 - grown.u0) * (grown.v1 - grown.v0) + kJogCost * jogs;
          if (found && cost >= best_cost) break;  // further out only costs more
          if (!fits(g, attempt)) continue;
          found = true;
          best = attempt;
          best_cost = cost;
          break;
        }
      }
      if (found) {
        commit(g, best);
        return;
      }
    }
    throw std::logic_error("plan layout: no room for a row of children");
  }

  std::vector<Vec> corridor(const Group& g, const Try& at, std::size_t i) const {
    const Box& box = g.kids[i]->layout->box;
    const int q_wall = to_turned(room_, g.turns).v1;
    const int q_door = at.base - box.v0;
    std::vector<Vec> points{{g.door[i], q_wall}};
    if (at.lane[i] >= 0) {
      points.push_back({g.door[i], at.lane[i]});
      points.push_back({at.t[i], at.lane[i]});
    }
    points.push_back({at.t[i], q_door});
    for (Vec& p : points) p = from_turned(p, g.turns);
    return points;
  }

  Box drawing(const Group& g, const Try& at, std::size_t i) const {
    const Box& box = g.kids[i]->layout->box;
    return from_turned(Box{at.t[i] + box.u0, at.base, at.t[i] + box.u1, at.base + box.v1 - box.v0},
                       g.turns);
  }

  bool fits(const Group& g, const Try& at) const {
    const std::vector<Item> others(obstacles_.begin() + 1, obstacles_.end());
    for (std::size_t i = 0; i < g.kids.size(); ++i) {
      if (!clear_of({drawing(g, at, i), Kind::kDrawing, false, {}}, obstacles_)) return false;
      const std::vector<Vec> points = corridor(g, at, i);
      for (std::size_t k = 1; k < points.size(); ++k) {
        if (!clear_of({box_of(points[k - 1], points[k]), Kind::kCorridor, true, points.front()},
                      others)) {
          return false;
        }
      }
    }
    return true;
  }

  void commit(const Group& g, const Try& at) {
    for (std::size_t i = 0; i < g.kids.size(); ++i) {
      const Box box = drawing(g, at, i);
      obstacles_.push_back({box, Kind::kDrawing, false, {}});
      out_.box = united(out_.box, box);
      RoomLayout::Child child;
      child.slot = g.kids[i]->slot;
      child.layout = g.kids[i]->layout;
      child.turns = g.turns;
      child.corridor = corridor(g, at, i);
      child.origin = child.corridor.back();
      out_.door[static_cast<std::size_t>(child.slot)] = child.corridor.front();
      for (std::size_t k = 1; k < child.corridor.size(); ++k) {
        const Box run = box_of(child.corridor[k - 1], child.corridor[k]);
        obstacles_.push_back({run, Kind::kCorridor, true, child.corridor.front()});
        out_.box = united(out_.box, run);
      }
      out_.children.push_back(std::move(child));
    }
  }

  const RoomBrief& brief_;
  std::array<std::vector<const ChildBrief*>, 4> on_;
  int width_ = 0;
  int depth_ = 0;
  int a_ = 0;
  int entry_offset_ = 0;
  Spread back_spread_;
  std::vector<const ChildBrief*> before_;
  std::vector<const ChildBrief*> after_;
  Box room_;
  std::vector<Item> obstacles_;
  RoomLayout out_;
};

}  // namespace

RoomLayout lay_out_room(const RoomBrief& brief) {
  return RoomBuilder(brief).build();
}

}  // namespace atlas
