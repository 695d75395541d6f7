// SPDX-License-Identifier: MIT
#include "atlas/plan/layout/plan_layout.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>

#include "atlas/common/finished_run.h"
#include "atlas/plan/layout/compaction.h"
#include "atlas/plan/layout/level_compaction.h"
#include "atlas/plan/layout/subtree_layout.h"
#include "atlas/plan/room_footprint.h"
#include "atlas/plan/room_outline.h"

namespace atlas {
namespace {

using dungeon::Dungeon;

// Between the trees of a level: more than any spacing inside one, so a
// tree's box kept this far from all that stands is always clear.
constexpr int kTreeGap = 10;

// The unit step of a frame's forward, `turns` quarter turns clockwise from
// north, on the page (y grows south).
Point heading(int turns) {
  switch (mod4(turns)) {
    case 0:
      return {0, -1};
    case 1:
      return {1, 0};
    case 2:
      return {0, 1};
    default:
      return {-1, 0};
  }
}

// Where a room's frame stands on the page.
struct Placement {
  Point origin;
  int turns = 0;
  Point at(Vec p) const {
    const Point forward = heading(turns);
    const Point right = heading(turns + 1);
    return {origin.x + p.u * right.x + p.v * forward.x, origin.y + p.u * right.y + p.v * forward.y};
  }
  Rect rect(const Box& b) const {
    const Point a = at({b.u0, b.v0});
    const Point c = at({b.u1, b.v1});
    return {std::min(a.x, c.x), std::min(a.y, c.y), std::abs(a.x - c.x), std::abs(a.y - c.y)};
  }
};

struct RoomInfo {
  Footprint footprint;
  bool generated = true;
  // Ordinary exits leading on from this room, in slot order.
  std::vector<int> child_slots;
};

struct Corridor {
  int from = 0;
  int slot = 0;
  int to = 0;
  std::vector<Point> points;
};

struct Bounds {
  int x0 = 0;
  int y0 = 0;
  int x1 = 0;
  int y1 = 0;
  bool any = false;
  void add(int x, int y) {
    if (!any) {
      x0 = x1 = x;
      y0 = y1 = y;
      any = true;
      return;
    }
    x0 = std::min(x0, x);
    y0 = std::min(y0, y);
    x1 = std::max(x1, x);
    y1 = std::max(y1, y);
  }
};

int floor_to_ten(int feet) {
  return (feet >= 0 ? feet / 10 : -((-feet + 9) / 10)) * 10;
}

class LevelLayout {
 public:
  LevelLayout(const Dungeon& d, int level, const std::vector<bool>& generated)
      : d_(d), level_(level), generated_(generated) {}

  PlanLevel lay_out() {
    collect_rooms();
    std::vector<int> roots;
    for (const auto& [n, info] : rooms_) {
      if (is_root(n)) roots.push_back(n);
    }
    layouts_.resize(static_cast<std::size_t>(d_.tally.rooms()) + 1);
    std::vector<Tree> trees;
    for (const int root : roots) trees.push_back(lay_out_tree(root));
    // Biggest trees first.
    std::stable_sort(trees.begin(), trees.end(),
                     [](const Tree& a, const Tree& b) { return a.rooms.size() > b.rooms.size(); });
    pack(trees);
    close_up();
    return to_plan_level();
  }

 private:
  struct Tree {
    std::vector<int> rooms;
    std::size_t first_corridor = 0;
    std::size_t end_corridor = 0;
    Bounds bounds;
  };

  bool is_root(int n) const {
    if (n == 1) return true;
    Wall wall;
    return !wall_of_label(d_.room(n).exits[dungeon::kBackSlot].label, &wall);
  }

  int child_of(int n, int slot) const {
    return d_.room(n).exits[static_cast<std::size_t>(slot)].room;
  }

  int parent_of(int n) const { return parents_.at(n); }
  int back_slot_of(int n) const { return back_slots_.at(n); }

  Wall wall_of(int n, int slot) const {
    Wall wall = Wall::kNorth;
    wall_of_label(d_.room(n).exits[static_cast<std::size_t>(slot)].label, &wall);
    return wall;
  }

  void collect_rooms() {
    const int numbered = d_.tally.rooms();
    for (int n = 1; n <= numbered; ++n) {
      const dungeon::RoomRecord& room = d_.room(n);
      if (room.level != level_) continue;
      RoomInfo info;
      info.generated = generated_[static_cast<std::size_t>(n)];
      info.footprint =
          info.generated ? room_footprint(room.description.view()) : unexplored_footprint();
      for (int s = n == 1 ? 0 : 1; s < dungeon::kExitSlots; ++s) {
        const dungeon::Exit& exit = room.exits[static_cast<std::size_t>(s)];
        Wall wall;
        if (exit.room > 0 && exit.room <= numbered && wall_of_label(exit.label, &wall)) {
          info.child_slots.push_back(s);
        }
      }
      rooms_[n] = info;
    }
  }

  // Every subtree laid out in its own frame, deepest first (iterative: trees
  // run a hundred rooms deep), then the frames set on the page from the root.
  Tree lay_out_tree(int root) {
    std::vector<int> order{root};
    std::map<int, int> turns{{root, 0}};
    for (std::size_t k = 0; k < order.size(); ++k) {
      for (const int slot : rooms_.at(order[k]).child_slots) {
        const int child = child_of(order[k], slot);
        turns[child] = quarter(wall_of(order[k], slot));
        parents_[child] = order[k];
        back_slots_[child] = slot;
        order.push_back(child);
      }
    }
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
      const int n = *it;
      RoomBrief brief;
      brief.size = rooms_.at(n).footprint.size;
      brief.turns = turns.at(n);
      brief.entered = n != root;
      for (const int slot : rooms_.at(n).child_slots) {
        brief.children.push_back(
            {slot, wall_of(n, slot), &layouts_[static_cast<std::size_t>(child_of(n, slot))]});
      }
      layouts_[static_cast<std::size_t>(n)] = lay_out_room(brief);
    }
    // Frames on the page, from the root down.
    std::map<int, Placement> placements{{root, {{0, 0}, 0}}};
    std::map<int, int> index;
    DrawnTree drawn;
    for (const int n : order) {
      const Placement& p = placements.at(n);
      const RoomLayout& layout = layouts_[static_cast<std::size_t>(n)];
      index[n] = static_cast<int>(drawn.room.size());
      drawn.room.push_back(p.rect(layout.room));
      drawn.parent.push_back(n == root ? -1 : index.at(parent_of(n)));
      drawn.corridor.emplace_back();
      for (const RoomLayout::Child& c : layout.children) {
        placements[child_of(n, c.slot)] = {p.at(c.origin), p.turns + c.turns};
      }
    }
    for (const int n : order) {
      const Placement& p = placements.at(n);
      for (const RoomLayout::Child& c : layouts_[static_cast<std::size_t>(n)].children) {
        auto& points = drawn.corridor[static_cast<std::size_t>(index.at(child_of(n, c.slot)))];
        for (const Vec& v : c.corridor) points.push_back(p.at(v));
      }
    }
    compact(drawn);
    Tree tree;
    tree.first_corridor = corridors_.size();
    for (std::size_t k = 0; k < order.size(); ++k) {
      const int n = order[k];
      rects_[n] = drawn.room[k];
      tree.bounds.add(drawn.room[k].x, drawn.room[k].y);
      tree.bounds.add(drawn.room[k].right(), drawn.room[k].bottom());
      if (n == root) continue;
      corridor_into_[n] = corridors_.size();
      corridors_.push_back(
          {parent_of(n), back_slot_of(n), n, without_bends_in_line(drawn.corridor[k])});
      for (const Point& q : drawn.corridor[k]) tree.bounds.add(q.x, q.y);
    }
    tree.end_corridor = corridors_.size();
    tree.rooms = std::move(order);
    return tree;
  }

  // The trees of a level, biggest first, each set where it grows the level
  // least: often in the rock a bigger tree leaves empty. A tree stands as
  // its whole box, kept kTreeGap clear of every room and corridor already
  // standing (looked up on a grid of 10-foot cells), so nothing of two trees
  // can meet.
  void pack(std::vector<Tree>& trees) {
    std::vector<std::size_t> order(trees.size());
    for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
    const auto area = [&](std::size_t k) {
      const Bounds& b = trees[k].bounds;
      return static_cast<long long>(b.x1 - b.x0) * (b.y1 - b.y0);
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return area(a) > area(b); });
    std::vector<Box> standing;
    Box all;
    for (std::size_t n = 0; n < order.size(); ++n) {
      Tree& t = trees[order[n]];
      const int x0 = floor_to_ten(t.bounds.x0);
      const int y0 = floor_to_ten(t.bounds.y0);
      const int w = t.bounds.x1 - x0;
      const int h = t.bounds.y1 - y0;
      const Point at = n == 0 ? Point{0, 0} : free_place(standing, all, w, h);
      move_tree(t, at.x - x0, at.y - y0);
      const Box box{at.x, at.y, at.x + w, at.y + h};
      all = n == 0 ? box : united(all, box);
      for (const int r : t.rooms) {
        const Rect& q = rects_.at(r);
        standing.push_back({q.x, q.y, q.right(), q.bottom()});
      }
      for (std::size_t c = t.first_corridor; c < t.end_corridor; ++c) {
        const std::vector<Point>& p = corridors_[c].points;
        for (std::size_t k = 1; k < p.size(); ++k) {
          standing.push_back(box_of(Vec{p[k - 1].x, p[k - 1].y}, Vec{p[k].x, p[k].y}));
        }
      }
    }
    // The plan starts at (0, 0).
    for (Tree& t : trees) move_tree(t, -all.u0, -all.v0);
  }

  // The whole level pulled together north and west, then set at (0, 0).
  void close_up() {
    DrawnTree level;
    std::map<int, int> index;
    for (const auto& [n, info] : rooms_) {
      index[n] = static_cast<int>(level.room.size());
      level.room.push_back(rects_.at(n));
    }
    for (const auto& [n, info] : rooms_) {
      const auto into = corridor_into_.find(n);
      level.parent.push_back(into == corridor_into_.end() ? -1 : index.at(parent_of(n)));
      level.corridor.push_back(into == corridor_into_.end() ? std::vector<Point>{}
                                                            : corridors_[into->second].points);
    }
    compact_level(level);
    Bounds all;
    for (const Rect& r : level.room) {
      all.add(r.x, r.y);
      all.add(r.right(), r.bottom());
    }
    for (const auto& c : level.corridor) {
      for (const Point& p : c) all.add(p.x, p.y);
    }
    const int dx = -floor_to_ten(all.x0);
    const int dy = -floor_to_ten(all.y0);
    for (const auto& [n, k] : index) {
      Rect& r = rects_.at(n);
      r = level.room[static_cast<std::size_t>(k)];
      r.x += dx;
      r.y += dy;
      const auto into = corridor_into_.find(n);
      if (into == corridor_into_.end()) continue;
      std::vector<Point>& points = corridors_[into->second].points;
      points = level.corridor[static_cast<std::size_t>(k)];
      for (Point& p : points) p = {p.x + dx, p.y + dy};
    }
  }

  void move_tree(Tree& t, int dx, int dy) {
    for (const int r : t.rooms) {
      rects_.at(r).x += dx;
      rects_.at(r).y += dy;
    }
    for (std::size_t c = t.first_corridor; c < t.end_corridor; ++c) {
      for (Point& p : corridors_[c].points) {
        p.x += dx;
        p.y += dy;
      }
    }
  }

  // The corner, on the 10-foot grid, of a free w by h box that grows `all`
  // least (the first such in rows from the north-west).
  static Point free_place(const std::vector<Box>& standing, const Box& all, int w, int h) {
    const int wc = w / 10 + 1;
    const int hc = h / 10 + 1;
    const int gx0 = floor_to_ten(all.u0) / 10 - wc - 3;
    const int gy0 = floor_to_ten(all.v0) / 10 - hc - 3;
    const int columns = floor_to_ten(all.u1) / 10 + wc + 4 - gx0;
    const int rows = floor_to_ten(all.v1) / 10 + hc + 4 - gy0;
    const auto cols = static_cast<std::size_t>(columns + 1);
    std::vector<int> sum(cols * static_cast<std::size_t>(rows + 1), 0);
    const auto cell = [&](int c, int r) -> int& {
      return sum[static_cast<std::size_t>(r) * cols + static_cast<std::size_t>(c)];
    };
    for (const Box& b : standing) {
      const int c0 = std::max(0, floor_to_ten(b.u0 - kTreeGap) / 10 - gx0);
      const int c1 = std::min(columns - 1, floor_to_ten(b.u1 + kTreeGap) / 10 - gx0);
      const int r0 = std::max(0, floor_to_ten(b.v0 - kTreeGap) / 10 - gy0);
      const int r1 = std::min(rows - 1, floor_to_ten(b.v1 + kTreeGap) / 10 - gy0);
      for (int r = r0; r <= r1; ++r) {
        for (int c = c0; c <= c1; ++c) cell(c + 1, r + 1) = 1;
      }
    }
    for (int r = 1; r <= rows; ++r) {
      for (int c = 1; c <= columns; ++c) {
        cell(c, r) += cell(c - 1, r) + cell(c, r - 1) - cell(c - 1, r - 1);
      }
    }
    // The columns west of everything are always free; this is never kept.
    Point best{floor_to_ten(all.u1) + kTreeGap + 10, floor_to_ten(all.v0)};
    long long best_area = -1;
    for (int r = 0; r + hc <= rows; ++r) {
      for (int c = 0; c + wc <= columns; ++c) {
        if (cell(c + wc, r + hc) - cell(c, r + hc) - cell(c + wc, r) + cell(c, r) != 0) continue;
        const Point at{(gx0 + c) * 10, (gy0 + r) * 10};
        const Box grown = united(all, {at.x, at.y, at.x + w, at.y + h});
        const long long a = static_cast<long long>(grown.u1 - grown.u0) * (grown.v1 - grown.v0);
        if (best_area < 0 || a < best_area) {
          best_area = a;
          best = at;
        }
      }
    }
    return best;
  }

  PlanLevel to_plan_level() const {
    PlanLevel level;
    level.level = level_;
    for (const auto& [n, info] : rooms_) {
      const Rect& r = rects_.at(n);
      PlanRoom room;
      room.number = n;
      room.shape = info.footprint.shape;
      room.x = r.x;
      room.y = r.y;
      room.width = r.w;
      room.height = r.h;
      room.generated = info.generated;
      room.water = info.footprint.water;
      room.outline = room_outline(info.footprint, room);
      level.rooms.push_back(room);
    }
    for (const auto& [n, info] : rooms_) {
      const auto& exits = d_.room(n).exits;
      for (int s = 0; s < dungeon::kExitSlots; ++s) {
        const dungeon::Exit& exit = exits[static_cast<std::size_t>(s)];
        Wall wall;
        if (exit.room <= 0 || exit.room > d_.tally.rooms()) continue;
        if (wall_of_label(exit.label, &wall)) {
          // A door is where its corridor ends.
          const bool back = s == dungeon::kBackSlot && corridor_into_.count(n) > 0;
          const Corridor& c = corridors_[corridor_into_.at(back ? n : exit.room)];
          level.doors.push_back({n, s, wall, back ? c.points.back() : c.points.front(), exit.kind});
        } else {
          level.stairs.push_back({n, s, exit.label, exit.room, d_.room(exit.room).level});
        }
      }
    }
    std::vector<const Corridor*> corridors;
    for (const Corridor& c : corridors_) corridors.push_back(&c);
    std::stable_sort(corridors.begin(), corridors.end(),
                     [](const Corridor* a, const Corridor* b) { return a->to < b->to; });
    for (const Corridor* c : corridors) {
      level.corridors.push_back({{c->from, c->slot}, {c->to, dungeon::kBackSlot}, c->points});
    }
    level.crossings = count_crossings(level);
    return level;
  }

  const Dungeon& d_;
  int level_;
  const std::vector<bool>& generated_;
  std::map<int, RoomInfo> rooms_;
  std::vector<RoomLayout> layouts_;
  std::map<int, int> parents_;
  std::map<int, int> back_slots_;  // the parent's slot that leads to the room
  std::map<int, Rect> rects_;
  std::map<int, std::size_t> corridor_into_;
  std::vector<Corridor> corridors_;
};

}  // namespace

int count_crossings(const PlanLevel& level) {
  struct Segment {
    int x0, y0, x1, y1;
    std::size_t corridor;
  };
  std::vector<Segment> segments;
  for (std::size_t c = 0; c < level.corridors.size(); ++c) {
    const std::vector<Point>& points = level.corridors[c].points;
    for (std::size_t k = 1; k < points.size(); ++k) {
      const Point a = points[k - 1];
      const Point b = points[k];
      segments.push_back(
          {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y), c});
    }
  }
  std::stable_sort(segments.begin(), segments.end(),
                   [](const Segment& a, const Segment& b) { return a.x0 < b.x0; });
  // Horizontal and vertical segments meet exactly when their boxes do.
  int crossings = 0;
  for (std::size_t a = 0; a < segments.size(); ++a) {
    for (std::size_t b = a + 1; b < segments.size() && segments[b].x0 <= segments[a].x1; ++b) {
      if (segments[a].corridor == segments[b].corridor) continue;
      if (segments[b].y0 <= segments[a].y1 && segments[a].y0 <= segments[b].y1) ++crossings;
    }
  }
  return crossings;
}

Plan lay_out_plan(const Dungeon& d, uint32_t seed, dungeon::RunOutcome outcome,
                  std::optional<int> only_level) {
  const std::vector<LevelRooms> levels = rooms_by_level(d);
  if (only_level) require_level(levels, seed, *only_level);
  const std::vector<bool> generated = generated_rooms(d);
  Plan plan;
  plan.seed = seed;
  plan.outcome = outcome;
  for (const LevelRooms& level : levels) {
    if (only_level && level.level != *only_level) continue;
    plan.levels.push_back(LevelLayout(d, level.level, generated).lay_out());
  }
  return plan;
}

}  // namespace atlas
