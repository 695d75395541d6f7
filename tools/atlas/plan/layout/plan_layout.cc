// SPDX-License-Identifier: MIT
#include "atlas/plan/layout/plan_layout.h"

#include <algorithm>
#include <array>
#include <map>
#include <stdexcept>
#include <string>

#include "atlas/common/finished_run.h"
#include "atlas/plan/layout/plan_grid.h"
#include "atlas/plan/layout/plan_router.h"
#include "atlas/plan/room_footprint.h"
#include "atlas/plan/room_outline.h"

namespace atlas {
namespace {

using dungeon::Dungeon;

// Footprints at least this far apart: two lanes of corridor fit between any
// two rooms, every door can step out of its wall, and corridors seldom have
// to cross to get round a room.
constexpr int kRoomGap = 15;
constexpr int kClearCells = kRoomGap / kCellFeet - 1;
// Door places tried on the wall of a child facing its parent, per turn.
constexpr std::size_t kOffsetsTried = 5;
// Between the trees of a level packed side by side.
constexpr int kTreeGap = 20;

Dir outward(Wall wall) {
  switch (wall) {
    case Wall::kNorth:
      return kDirNorth;
    case Wall::kSouth:
      return kDirSouth;
    case Wall::kEast:
      return kDirEast;
    case Wall::kWest:
      return kDirWest;
  }
  return kDirNorth;
}

// The room's lattice nodes, walls included.
CellBox cells_of(const Rect& r) {
  return {floor_div(r.x, kCellFeet), floor_div(r.y, kCellFeet), floor_div(r.x + r.w, kCellFeet),
          floor_div(r.y + r.h, kCellFeet)};
}

CellBox grown(CellBox box, int by) {
  return {box.i0 - by, box.j0 - by, box.i1 + by, box.j1 + by};
}

// `count` door offsets along a wall of `length` feet, spread out, ascending,
// none at `taken` (another door's offset, or -1). Whole 5-foot marks when
// there are enough of them; a crowded short wall takes whole feet.
std::vector<int> spread_doors(int length, int count, int taken) {
  std::vector<int> result;
  if (count == 0) return result;
  for (const int step : {kCellFeet, 2, 1}) {
    std::vector<int> marks;
    for (int o = step; o < length; o += step) {
      if (taken < 0 || std::abs(o - taken) >= std::min(step, 5)) marks.push_back(o);
    }
    if (static_cast<int>(marks.size()) < count) continue;
    const int n = static_cast<int>(marks.size());
    for (int k = 0; k < count; ++k) {
      result.push_back(marks[static_cast<std::size_t>((2 * k + 1) * n / (2 * count))]);
    }
    return result;
  }
  // More doors than whole feet: cannot happen with the engine's rooms, but
  // keep every door on the wall.
  for (int k = 0; k < count; ++k) result.push_back(1 + (k % std::max(1, length - 1)));
  return result;
}

struct RoomInfo {
  int number = 0;
  Footprint footprint;
  bool generated = true;
  // Ordinary exits leading on from this room, in slot order.
  std::vector<int> child_slots;
  int subtree = 1;  // rooms in the tree below, this one included
};

struct Placed {
  Rect rect;
  std::array<int, dungeon::kExitSlots> door_offset{};
  std::array<Wall, dungeon::kExitSlots> door_wall{};
};

struct Corridor {
  int from = 0;
  int slot = 0;
  int to = 0;
  std::vector<Point> points;
};

// The nodes a corridor runs on: node (i, j) is the point (5i + rx, 5j + ry).
// Doors off the 5-foot marks shift the lattice of their corridor, which keeps
// both doors of the passage on it.
struct Lattice {
  int rx = 0;
  int ry = 0;
  Cell cell(Point p) const {
    return {floor_div(p.x - rx, kCellFeet), floor_div(p.y - ry, kCellFeet)};
  }
  Point point(Cell c) const { return {c.i * kCellFeet + rx, c.j * kCellFeet + ry}; }
};

Lattice lattice_of(Point door, Wall wall) {
  return north_south(wall) ? Lattice{floor_mod(door.x, kCellFeet), 0}
                           : Lattice{0, floor_mod(door.y, kCellFeet)};
}

class TreeLayout {
 public:
  TreeLayout(const Dungeon& d, std::map<int, RoomInfo>& rooms, std::map<int, Placed>& placed,
             std::vector<Corridor>& corridors)
      : d_(d), rooms_(rooms), placed_(placed), corridors_(corridors) {}

  void lay_out(int root) {
    const RoomInfo& info = rooms_.at(root);
    Placed& p = placed_[root];
    p.rect = {0, 0, info.footprint.size.width, info.footprint.size.height};
    grid_.add_room(cells_of(p.rect));
    assign_doors(root, -1);
    // All children of a room together, then each child's subtree in turn,
    // biggest first: a subtree grows while the space around it is open.
    std::vector<int> stack{root};
    while (!stack.empty()) {
      const int n = stack.back();
      stack.pop_back();
      const std::vector<int> slots = children_in_order(n);
      for (const int slot : slots) {
        place_child(n, slot, d_.room(n).exits[static_cast<std::size_t>(slot)].room);
      }
      for (auto it = slots.rbegin(); it != slots.rend(); ++it) {
        stack.push_back(d_.room(n).exits[static_cast<std::size_t>(*it)].room);
      }
    }
  }

 private:
  // Bigger subtrees first: they need the room most.
  std::vector<int> children_in_order(int n) const {
    std::vector<int> slots = rooms_.at(n).child_slots;
    std::stable_sort(slots.begin(), slots.end(),
                     [&](int a, int b) { return subtree_of(n, a) > subtree_of(n, b); });
    return slots;
  }
  int subtree_of(int n, int slot) const {
    return rooms_.at(d_.room(n).exits[static_cast<std::size_t>(slot)].room).subtree;
  }

  // Gives every door of room n but the way back (`back_slot`, already set)
  // its place on its wall.
  void assign_doors(int n, int back_slot) {
    Placed& p = placed_.at(n);
    const auto& exits = d_.room(n).exits;
    for (const Wall wall : {Wall::kNorth, Wall::kEast, Wall::kSouth, Wall::kWest}) {
      std::vector<int> slots;
      for (int s = 0; s < dungeon::kExitSlots; ++s) {
        Wall w;
        if (s == back_slot || exits[static_cast<std::size_t>(s)].room <= 0 ||
            !wall_of_label(exits[static_cast<std::size_t>(s)].label, &w) || w != wall) {
          continue;
        }
        slots.push_back(s);
      }
      const bool has_back =
          back_slot >= 0 && p.door_wall[static_cast<std::size_t>(back_slot)] == wall;
      const std::vector<int> offsets =
          spread_doors(wall_length(p.rect, wall), static_cast<int>(slots.size()),
                       has_back ? p.door_offset[static_cast<std::size_t>(back_slot)] : -1);
      for (std::size_t k = 0; k < slots.size(); ++k) {
        p.door_offset[static_cast<std::size_t>(slots[k])] = offsets[k];
        p.door_wall[static_cast<std::size_t>(slots[k])] = wall;
        const Point door = door_point(p.rect, wall, offsets[k]);
        const Dir out = outward(wall);
        const Cell stub = lattice_of(door, wall).cell(door);
        grid_.reserve(stub.i + kStepI[out], stub.j + kStepJ[out]);
        grid_.reserve(stub.i + 2 * kStepI[out], stub.j + 2 * kStepJ[out]);
      }
    }
  }

  // The child's back-door offsets that keep its door on the corridor's
  // lattice: the middle of the wall first, then outwards, at most a handful.
  static std::vector<int> back_offsets(int span, int residue) {
    std::vector<int> offsets;
    for (int o = residue == 0 ? kCellFeet : residue; o < span; o += kCellFeet) offsets.push_back(o);
    std::stable_sort(offsets.begin(), offsets.end(),
                     [&](int a, int b) { return std::abs(2 * a - span) < std::abs(2 * b - span); });
    if (offsets.size() > kOffsetsTried) offsets.resize(kOffsetsTried);
    return offsets;
  }

  // The child's footprint when its door on `back_wall` (facing the way the
  // corridor comes from) is at `door`, `offset` feet along that wall.
  static Rect rect_at(Point door, Wall back_wall, int offset, Size size) {
    switch (back_wall) {
      case Wall::kSouth:
        return {door.x - offset, door.y - size.height, size.width, size.height};
      case Wall::kNorth:
        return {door.x - offset, door.y, size.width, size.height};
      case Wall::kEast:
        return {door.x - size.width, door.y - offset, size.width, size.height};
      case Wall::kWest:
        return {door.x, door.y - offset, size.width, size.height};
    }
    return {};
  }

  // How far the corridor's next cell lies beyond the parent's wall, in feet.
  static int beyond(Wall wall, int wall_line, Point p) {
    switch (wall) {
      case Wall::kNorth:
        return wall_line - p.y;
      case Wall::kSouth:
        return p.y - wall_line;
      case Wall::kWest:
        return wall_line - p.x;
      case Wall::kEast:
        return p.x - wall_line;
    }
    return 0;
  }

  // True when no cell of a corridor's path lies in `box`.
  static bool clear_of(const std::vector<Cell>& path, const CellBox& box) {
    return std::none_of(path.begin(), path.end(), [&](Cell c) {
      return c.i >= box.i0 && c.i <= box.i1 && c.j >= box.j0 && c.j <= box.j1;
    });
  }

  // The search runs from the parent's door over the free lattice, cheapest
  // corridor first, and stops at the first cell from which one step straight
  // on reaches a door of the child in a free spot wholly beyond the wall.
  void place_child(int parent, int slot, int child) {
    const Placed& p = placed_.at(parent);
    const Wall wall = p.door_wall[static_cast<std::size_t>(slot)];
    const Wall back_wall = opposite(wall);
    const Dir out = outward(wall);
    const Point from = door_point(p.rect, wall, p.door_offset[static_cast<std::size_t>(slot)]);
    const bool ns = north_south(wall);
    const int wall_line = ns ? from.y : from.x;
    const Lattice lattice = lattice_of(from, wall);
    const int residue = ns ? lattice.rx : lattice.ry;
    const Footprint& footprint = rooms_.at(child).footprint;
    const Cell door_cell = lattice.cell(from);
    const Cell own_step{door_cell.i + kStepI[out], door_cell.j + kStepJ[out]};

    // A child with more doors on the wall it is entered by needs a lane
    // between the two rooms for their corridors.
    const auto& exits = d_.room(child).exits;
    bool crowded = false;
    for (int s = 1; s < dungeon::kExitSlots; ++s) {
      crowded =
          crowded || (exits[static_cast<std::size_t>(s)].room > 0 &&
                      exits[static_cast<std::size_t>(s)].label == exits[dungeon::kBackSlot].label);
    }
    const int nearest = crowded ? kRoomGap + 2 * kCellFeet : kRoomGap;

    struct Turn {
      Size size;
      std::vector<int> offsets;
    };
    std::vector<Turn> turns{{footprint.size, {}}};
    if (footprint.size.width != footprint.size.height) {
      turns.push_back({{footprint.size.height, footprint.size.width}, {}});
    }
    for (Turn& turn : turns) {
      turn.offsets = back_offsets(ns ? turn.size.width : turn.size.height, residue);
    }

    Rect found;
    int found_offset = 0;
    const auto accept = [&](Cell at, Dir dir) {
      if (dir != out) return false;
      const Point door = lattice.point({at.i + kStepI[out], at.j + kStepJ[out]});
      if (beyond(wall, wall_line, door) < nearest) return false;
      // Every spot's margin holds the cells round its door: one look rules
      // out most cells before any spot is tried.
      const Cell door_at = lattice.cell(door);
      if (!grid_.clear(grown({door_at.i, door_at.j, door_at.i, door_at.j}, kClearCells))) {
        return false;
      }
      for (const Turn& turn : turns) {
        for (const int offset : turn.offsets) {
          const Rect rect = rect_at(door, back_wall, offset, turn.size);
          if (!grid_.clear(grown(cells_of(rect), kClearCells))) continue;
          if (!clear_of(search_.current_path(), cells_of(rect))) continue;
          found = rect;
          found_offset = offset;
          return true;
        }
      }
      return false;
    };
    // The lane outside this door is this corridor's now: the child may stand
    // in it.
    grid_.release(own_step.i, own_step.j);
    grid_.release(own_step.i + kStepI[out], own_step.j + kStepJ[out]);
    // The region reaches past everything laid out by more than the child's
    // size, so some spot beyond the wall is always free.
    const int reach = std::max(footprint.size.width, footprint.size.height) / kCellFeet + 4;
    std::vector<Cell> cells =
        search_.run(grid_, door_cell, out, grown(grid_.used(), reach), accept);
    if (cells.empty()) {
      // Cannot happen: the region's border beyond the wall is free.
      throw std::logic_error("plan layout: no place for room " + std::to_string(child));
    }
    const Point to = door_point(found, back_wall, found_offset);
    cells.push_back(lattice.cell(to));
    settle(parent, slot, child, found, found_offset, corners_of(lattice, cells, from, to), cells);
  }

  static std::vector<Point> corners_of(const Lattice& lattice, const std::vector<Cell>& cells,
                                       Point from, Point to) {
    std::vector<Point> points{from};
    for (std::size_t k = 1; k + 1 < cells.size(); ++k) {
      const Cell a = cells[k - 1];
      const Cell b = cells[k];
      const Cell c = cells[k + 1];
      const bool straight = (b.i - a.i == c.i - b.i) && (b.j - a.j == c.j - b.j);
      if (!straight) points.push_back(lattice.point(b));
    }
    points.push_back(to);
    return points;
  }

  void settle(int parent, int slot, int child, const Rect& rect, int back_offset,
              std::vector<Point> points, const std::vector<Cell>& cells) {
    Placed& c = placed_[child];
    c.rect = rect;
    c.door_wall[dungeon::kBackSlot] =
        opposite(placed_.at(parent).door_wall[static_cast<std::size_t>(slot)]);
    c.door_offset[dungeon::kBackSlot] = back_offset;
    grid_.add_room(cells_of(rect));
    for (std::size_t k = 1; k + 1 < cells.size(); ++k) {
      const Cell a = cells[k - 1];
      const Cell b = cells[k];
      const Cell n = cells[k + 1];
      Run run = Run::kOther;
      if (a.i == b.i && b.i == n.i) run = Run::kVertical;
      if (a.j == b.j && b.j == n.j) run = Run::kHorizontal;
      grid_.add_run(b.i, b.j, run);
    }
    corridors_.push_back({parent, slot, child, std::move(points)});
    assign_doors(child, dungeon::kBackSlot);
  }

  const Dungeon& d_;
  std::map<int, RoomInfo>& rooms_;
  std::map<int, Placed>& placed_;
  std::vector<Corridor>& corridors_;
  CellGrid grid_;
  CorridorSearch search_;
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
  return floor_div(feet, 10) * 10;
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
    for (const int root : roots) count_subtree(root);
    // Biggest trees first, each in its own frame, then packed in rows.
    std::stable_sort(roots.begin(), roots.end(),
                     [&](int a, int b) { return rooms_.at(a).subtree > rooms_.at(b).subtree; });
    std::vector<Tree> trees;
    for (const int root : roots) trees.push_back(lay_out_tree(root));
    pack(trees);
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

  void collect_rooms() {
    const int numbered = d_.tally.rooms();
    for (int n = 1; n <= numbered; ++n) {
      const dungeon::RoomRecord& room = d_.room(n);
      if (room.level != level_) continue;
      RoomInfo info;
      info.number = n;
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

  // Iterative: the deepest tree runs to hundreds of rooms.
  void count_subtree(int root) {
    std::vector<int> order{root};
    for (std::size_t k = 0; k < order.size(); ++k) {
      for (const int slot : rooms_.at(order[k]).child_slots) {
        order.push_back(d_.room(order[k]).exits[static_cast<std::size_t>(slot)].room);
      }
    }
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
      RoomInfo& info = rooms_.at(*it);
      info.subtree = 1;
      for (const int slot : info.child_slots) {
        info.subtree += rooms_.at(d_.room(*it).exits[static_cast<std::size_t>(slot)].room).subtree;
      }
    }
  }

  Tree lay_out_tree(int root) {
    Tree tree;
    tree.first_corridor = corridors_.size();
    TreeLayout layout(d_, rooms_, placed_, corridors_);
    layout.lay_out(root);
    tree.end_corridor = corridors_.size();
    std::vector<int> order{root};
    for (std::size_t k = 0; k < order.size(); ++k) {
      const Rect& r = placed_.at(order[k]).rect;
      tree.bounds.add(r.x, r.y);
      tree.bounds.add(r.x + r.w, r.y + r.h);
      for (const int slot : rooms_.at(order[k]).child_slots) {
        order.push_back(d_.room(order[k]).exits[static_cast<std::size_t>(slot)].room);
      }
    }
    for (std::size_t k = tree.first_corridor; k < tree.end_corridor; ++k) {
      for (const Point& p : corridors_[k].points) tree.bounds.add(p.x, p.y);
    }
    tree.rooms = std::move(order);
    return tree;
  }

  // Shelf packing: rows of trees, tallest first, no wider than the widest
  // tree or the side of a square holding them all.
  void pack(std::vector<Tree>& trees) {
    long long area = 0;
    int widest = 0;
    for (const Tree& t : trees) {
      const int w = t.bounds.x1 - t.bounds.x0 + kTreeGap + 10;
      const int h = t.bounds.y1 - t.bounds.y0 + kTreeGap + 10;
      area += static_cast<long long>(w) * h;
      widest = std::max(widest, w);
    }
    int row_limit = widest;
    while (static_cast<long long>(row_limit) * row_limit < area) row_limit += 10;
    std::vector<std::size_t> order(trees.size());
    for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      return trees[a].bounds.y1 - trees[a].bounds.y0 > trees[b].bounds.y1 - trees[b].bounds.y0;
    });
    int x = 0;
    int y = 0;
    int row_height = 0;
    for (const std::size_t k : order) {
      Tree& t = trees[k];
      const int w = t.bounds.x1 - floor_to_ten(t.bounds.x0);
      const int h = t.bounds.y1 - floor_to_ten(t.bounds.y0);
      if (x > 0 && x + w > row_limit) {
        x = 0;
        y += row_height + kTreeGap;
        row_height = 0;
      }
      const int dx = x - floor_to_ten(t.bounds.x0);
      const int dy = y - floor_to_ten(t.bounds.y0);
      for (const int n : t.rooms) {
        placed_.at(n).rect.x += dx;
        placed_.at(n).rect.y += dy;
      }
      for (std::size_t c = t.first_corridor; c < t.end_corridor; ++c) {
        for (Point& p : corridors_[c].points) {
          p.x += dx;
          p.y += dy;
        }
      }
      x = floor_to_ten(x + w + kTreeGap + 9);
      row_height = std::max(row_height, floor_to_ten(h + 9));
    }
  }

  PlanLevel to_plan_level() const {
    PlanLevel level;
    level.level = level_;
    for (const auto& [n, info] : rooms_) {
      const Placed& p = placed_.at(n);
      PlanRoom room;
      room.number = n;
      room.shape = info.footprint.shape;
      room.x = p.rect.x;
      room.y = p.rect.y;
      room.width = p.rect.w;
      room.height = p.rect.h;
      room.generated = info.generated;
      room.water = info.footprint.water;
      room.outline = room_outline(info.footprint, room);
      level.rooms.push_back(room);
    }
    for (const auto& [n, info] : rooms_) {
      const Placed& p = placed_.at(n);
      const auto& exits = d_.room(n).exits;
      for (int s = 0; s < dungeon::kExitSlots; ++s) {
        const dungeon::Exit& exit = exits[static_cast<std::size_t>(s)];
        Wall wall;
        if (exit.room <= 0 || exit.room > d_.tally.rooms()) continue;
        if (wall_of_label(exit.label, &wall)) {
          level.doors.push_back(
              {n, s, wall, door_point(p.rect, wall, p.door_offset[static_cast<std::size_t>(s)]),
               exit.kind});
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
  std::map<int, Placed> placed_;
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
