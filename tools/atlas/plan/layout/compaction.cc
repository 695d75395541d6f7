// SPDX-License-Identifier: MIT
#include "atlas/plan/layout/compaction.h"

#include <algorithm>
#include <cstdlib>

#include "atlas/plan/layout/clearance.h"
#include "atlas/plan/layout/frame.h"

namespace atlas {
namespace {

// Slides go in whole 5-foot steps, which keeps rooms on the plan's grid.
constexpr int kStep = 5;
// A corridor keeps at least this much of a run it gives up to a slide.
constexpr int kShortestRun = 5;
constexpr int kCell = 40;
// A second full pass gains little room for twice the time.
constexpr int kPasses = 1;
constexpr int kTries = 3;

Box box_of_run(Point a, Point b) {
  return box_of(Vec{a.x, a.y}, Vec{b.x, b.y});
}

bool is_line(const Box& b) {
  return b.u0 == b.u1 || b.v0 == b.v1;
}

struct Piece {
  Box box;
  bool corridor = false;
  int owner = 0;  // the room, or the room the corridor leads to
};

class Compactor {
 public:
  explicit Compactor(DrawnTree& tree) : t_(tree) {}

  void run() {
    const std::size_t n = t_.parent.size();
    if (n < 2) return;
    number_subtrees();
    build_grid();
    // Small subtrees first, so each tightens before it moves as a whole;
    // then from the root down, so the level closes up round its middle.
    for (int pass = 0; pass < kPasses; ++pass) {
      for (std::size_t k = n; k-- > 1;) slide(bfs_[k]);
      for (std::size_t k = 1; k < n; ++k) slide(bfs_[k]);
    }
  }

 private:
  void number_subtrees() {
    const std::size_t n = t_.parent.size();
    std::vector<std::vector<int>> kids(n);
    for (std::size_t i = 1; i < n; ++i) {
      kids[static_cast<std::size_t>(t_.parent[i])].push_back(static_cast<int>(i));
    }
    for (std::size_t i = 0; i < n; ++i) bfs_.push_back(static_cast<int>(i));
    first_.assign(n, 0);
    end_.assign(n, 0);
    std::vector<std::pair<int, bool>> stack{{0, false}};
    while (!stack.empty()) {
      const auto [v, done] = stack.back();
      stack.pop_back();
      if (done) {
        end_[static_cast<std::size_t>(v)] = static_cast<int>(preorder_.size());
        continue;
      }
      first_[static_cast<std::size_t>(v)] = static_cast<int>(preorder_.size());
      preorder_.push_back(v);
      stack.push_back({v, true});
      const auto& k = kids[static_cast<std::size_t>(v)];
      for (auto it = k.rbegin(); it != k.rend(); ++it) stack.push_back({*it, false});
    }
  }

  bool inside(int x, int c) const {
    return first_[static_cast<std::size_t>(x)] >= first_[static_cast<std::size_t>(c)] &&
           first_[static_cast<std::size_t>(x)] < end_[static_cast<std::size_t>(c)];
  }

  // The grid covers the tree as it stands: slides only move subtrees back
  // towards their parents, inside that box.
  void build_grid() {
    Box all = box_of_rect(t_.room[0]);
    for (std::size_t i = 0; i < t_.room.size(); ++i) {
      all = united(all, box_of_rect(t_.room[i]));
      for (const Point& p : t_.corridor[i]) all = united(all, box_of_run(p, p));
    }
    x0_ = all.u0 - kCell;
    y0_ = all.v0 - kCell;
    columns_ = (all.u1 - x0_) / kCell + 2;
    rows_ = (all.v1 - y0_) / kCell + 2;
    cells_.assign(static_cast<std::size_t>(columns_ * rows_), {});
    seen_.clear();
    room_piece_.assign(t_.room.size(), 0);
    run_pieces_.assign(t_.room.size(), {});
    for (std::size_t i = 0; i < t_.room.size(); ++i) {
      room_piece_[i] = add({box_of_rect(t_.room[i]), false, static_cast<int>(i)});
      const auto& c = t_.corridor[i];
      for (std::size_t k = 1; k < c.size(); ++k) {
        run_pieces_[i].push_back(add({box_of_run(c[k - 1], c[k]), true, static_cast<int>(i)}));
      }
    }
  }

  int add(const Piece& p) {
    pieces_.push_back(p);
    seen_.push_back(0);
    const int id = static_cast<int>(pieces_.size()) - 1;
    file(id, true);
    return id;
  }

  template <typename F>
  void for_cells(const Box& b, F f) const {
    const int c0 = std::clamp((b.u0 - x0_) / kCell, 0, columns_ - 1);
    const int c1 = std::clamp((b.u1 - x0_) / kCell, 0, columns_ - 1);
    const int r0 = std::clamp((b.v0 - y0_) / kCell, 0, rows_ - 1);
    const int r1 = std::clamp((b.v1 - y0_) / kCell, 0, rows_ - 1);
    for (int r = r0; r <= r1; ++r) {
      for (int c = c0; c <= c1; ++c) f(static_cast<std::size_t>(r * columns_ + c));
    }
  }

  void file(int id, bool in) {
    for_cells(pieces_[static_cast<std::size_t>(id)].box, [&](std::size_t cell) {
      auto& list = cells_[cell];
      if (in) {
        list.push_back(id);
      } else {
        list.erase(std::find(list.begin(), list.end(), id));
      }
    });
  }

  void move_piece(int id, const Box& to) {
    file(id, false);
    pieces_[static_cast<std::size_t>(id)].box = to;
    file(id, true);
  }

  // Is `box` (swept, of a piece of the sliding subtree c) clear of every
  // piece outside it? `run_of_c` marks a run of c's own corridor, which may
  // come close to its siblings' corridors inside their common doorway.
  bool clear(const Box& box, bool corridor, int c, bool run_of_c) {
    ++stamp_;
    bool ok = true;
    const Box reach = {box.u0 - 10, box.v0 - 10, box.u1 + 10, box.v1 + 10};
    for_cells(reach, [&](std::size_t cell) {
      if (!ok) return;
      for (const int id : cells_[cell]) {
        if (seen_[static_cast<std::size_t>(id)] == stamp_) continue;
        seen_[static_cast<std::size_t>(id)] = stamp_;
        const Piece& p = pieces_[static_cast<std::size_t>(id)];
        if (inside(p.owner, c)) continue;
        const int parent = t_.parent[static_cast<std::size_t>(c)];
        // A corridor meets the rooms at its two ends at its doors.
        if (run_of_c && !p.corridor && p.owner == parent) continue;
        const int need = spacing(corridor ? Kind::kCorridor : Kind::kRoom,
                                 p.corridor ? Kind::kCorridor : Kind::kRoom);
        if (gap(box, p.box) >= need) continue;
        if (run_of_c && p.corridor && is_line(box)) {
          const auto& mine = t_.corridor[static_cast<std::size_t>(c)];
          const auto& theirs = t_.corridor[static_cast<std::size_t>(p.owner)];
          const bool sibling = t_.parent[static_cast<std::size_t>(p.owner)] == parent;
          if (sibling || p.owner == parent) {
            const Point their_door = sibling ? theirs.front() : theirs.back();
            if (apart_beyond_doorways(box, {mine.front().x, mine.front().y}, p.box,
                                      {their_door.x, their_door.y}, need)) {
              continue;
            }
          }
        }
        ok = false;
        return;
      }
    });
    return ok;
  }

  // How far `box` may move along `dir` (at most `most`) before it comes
  // closer than `need` to `other`.
  static int room_to(const Box& box, const Box& other, Point dir, int need, int most) {
    // Turn both so that the move runs towards +u.
    const auto turn = [&](const Box& b) {
      if (dir.x > 0) return b;
      if (dir.x < 0) return Box{-b.u1, b.v0, -b.u0, b.v1};
      if (dir.y > 0) return Box{b.v0, b.u0, b.v1, b.u1};
      return Box{-b.v1, b.u0, -b.v0, b.u1};
    };
    const Box a = turn(box);
    const Box o = turn(other);
    if (std::max({0, o.v0 - a.v1, a.v0 - o.v1}) >= need) return most;
    if (a.u0 - o.u1 >= need) return most;
    return std::clamp(o.u0 - a.u1 - need, 0, most);
  }

  // How far a piece of the sliding subtree c may move along `dir`, as far as
  // pieces outside it tell; pairs that may share a doorway are left to
  // can_move.
  int room_ahead(const Box& box, bool corridor, int c, bool run_of_c, Point dir, int most) {
    ++stamp_;
    int room = most;
    const int parent = t_.parent[static_cast<std::size_t>(c)];
    const auto look = [&](std::size_t cell) {
      for (const int id : cells_[cell]) {
        if (seen_[static_cast<std::size_t>(id)] == stamp_) continue;
        seen_[static_cast<std::size_t>(id)] = stamp_;
        const Piece& p = pieces_[static_cast<std::size_t>(id)];
        if (inside(p.owner, c)) continue;
        if (run_of_c && !p.corridor && p.owner == parent) continue;
        if (run_of_c && p.corridor &&
            (p.owner == parent || t_.parent[static_cast<std::size_t>(p.owner)] == parent)) {
          continue;
        }
        const int need = spacing(corridor ? Kind::kCorridor : Kind::kRoom,
                                 p.corridor ? Kind::kCorridor : Kind::kRoom);
        room = std::min(room, room_to(box, p.box, dir, need, room));
      }
    };
    // Slices of cells across the move, nearest first, until the room left
    // ends short of the next slice.
    const Box reach = {box.u0 - 10, box.v0 - 10, box.u1 + 10, box.v1 + 10};
    const int c0 = std::clamp((reach.u0 - x0_) / kCell, 0, columns_ - 1);
    const int c1 = std::clamp((reach.u1 - x0_) / kCell, 0, columns_ - 1);
    const int r0 = std::clamp((reach.v0 - y0_) / kCell, 0, rows_ - 1);
    const int r1 = std::clamp((reach.v1 - y0_) / kCell, 0, rows_ - 1);
    const bool across = dir.x != 0;
    const int step = across ? dir.x : dir.y;
    int slice = step > 0 ? (across ? c0 : r0) : (across ? c1 : r1);
    const int limit = across ? columns_ : rows_;
    const int front = across ? (step > 0 ? box.u1 : box.u0) : (step > 0 ? box.v1 : box.v0);
    const int origin = across ? x0_ : y0_;
    for (; slice >= 0 && slice < limit && room > 0; slice += step) {
      const int near =
          step > 0 ? origin + slice * kCell - front : front - (origin + (slice + 1) * kCell);
      if (near > room + 10) break;
      if (across) {
        for (int r = r0; r <= r1; ++r) look(static_cast<std::size_t>(r * columns_ + slice));
      } else {
        for (int c2 = c0; c2 <= c1; ++c2) look(static_cast<std::size_t>(slice * columns_ + c2));
      }
    }
    return room;
  }

  // The most subtree c may move along `dir` (at most `most`) as its pieces
  // see it, the points of its corridor from `from` on going along.
  int room_for(int c, Point dir, int most, std::size_t from) {
    const auto& path = t_.corridor[static_cast<std::size_t>(c)];
    int room = most;
    std::vector<Box> fixed;
    for (std::size_t k = 1; k < path.size() && room > 0; ++k) {
      if (k - 1 >= from) {
        room = room_ahead(box_of_run(path[k - 1], path[k]), true, c, true, dir, room);
      } else if (k + 1 < path.size() && k < from) {
        fixed.push_back(box_of_run(path[k - 1], path[k]));
      }
    }
    for (int k = first_[static_cast<std::size_t>(c)];
         k < end_[static_cast<std::size_t>(c)] && room > 0; ++k) {
      const int x = preorder_[static_cast<std::size_t>(k)];
      const Box box = box_of_rect(t_.room[static_cast<std::size_t>(x)]);
      room = room_ahead(box, false, c, false, dir, room);
      for (const Box& f : fixed) room = std::min(room, room_to(box, f, dir, 5, room));
      if (x == c) continue;
      const auto& runs = t_.corridor[static_cast<std::size_t>(x)];
      for (std::size_t r = 1; r < runs.size() && room > 0; ++r) {
        const Box run = box_of_run(runs[r - 1], runs[r]);
        room = room_ahead(run, true, c, false, dir, room);
        if (t_.parent[static_cast<std::size_t>(x)] != c) {
          for (const Box& f : fixed) room = std::min(room, room_to(run, f, dir, 6, room));
        }
      }
    }
    return room;
  }

  // Is the swept `box` of a piece of c's subtree (a room, or a run of the
  // corridor into `x`) clear of the runs of c's own corridor that stay put?
  bool clear_of_own(const Box& box, bool corridor, int x, int c, const std::vector<Box>& fixed) {
    const auto& mine = t_.corridor[static_cast<std::size_t>(c)];
    for (const Box& run : fixed) {
      const int need = corridor ? spacing(Kind::kCorridor, Kind::kCorridor)
                                : spacing(Kind::kRoom, Kind::kCorridor);
      if (gap(box, run) >= need) continue;
      // Corridors out of c and the one into it share c's doorway.
      if (corridor && t_.parent[static_cast<std::size_t>(x)] == c && is_line(box)) {
        const Point from = t_.corridor[static_cast<std::size_t>(x)].front();
        if (apart_beyond_doorways(box, {from.x, from.y}, run, {mine.back().x, mine.back().y},
                                  need)) {
          continue;
        }
      }
      return false;
    }
    return true;
  }

  // Can subtree c move by `mv`, and with it the points of its corridor from
  // index `from` on? The runs between moving points sweep along; the run
  // that loses or gains an end stays where it is, as do those before it.
  bool can_move(int c, Point mv, std::size_t from) {
    const auto swept = [&](const Box& b) { return united(b, shifted(b, {mv.x, mv.y})); };
    const auto& path = t_.corridor[static_cast<std::size_t>(c)];
    std::vector<Box> fixed;
    for (std::size_t k = 1; k < path.size(); ++k) {
      if (k - 1 >= from) {
        if (!clear(swept(box_of_run(path[k - 1], path[k])), true, c, true)) return false;
      } else if (k + 1 < path.size()) {
        const Point end = k >= from ? Point{path[k].x + mv.x, path[k].y + mv.y} : path[k];
        fixed.push_back(box_of_run(path[k - 1], end));
      }
    }
    for (int k = first_[static_cast<std::size_t>(c)]; k < end_[static_cast<std::size_t>(c)]; ++k) {
      const int x = preorder_[static_cast<std::size_t>(k)];
      const Box room = swept(box_of_rect(t_.room[static_cast<std::size_t>(x)]));
      if (!clear(room, false, c, false) || !clear_of_own(room, false, x, c, fixed)) return false;
      if (x == c) continue;
      const auto& runs = t_.corridor[static_cast<std::size_t>(x)];
      for (std::size_t r = 1; r < runs.size(); ++r) {
        const Box run = swept(box_of_run(runs[r - 1], runs[r]));
        if (!clear(run, true, c, false) || !clear_of_own(run, true, x, c, fixed)) return false;
      }
    }
    return true;
  }

  void apply(int c, Point mv, std::size_t from) {
    for (int k = first_[static_cast<std::size_t>(c)]; k < end_[static_cast<std::size_t>(c)]; ++k) {
      const std::size_t x = static_cast<std::size_t>(preorder_[static_cast<std::size_t>(k)]);
      Rect& r = t_.room[x];
      r.x += mv.x;
      r.y += mv.y;
      move_piece(room_piece_[x], box_of_rect(r));
      auto& path = t_.corridor[x];
      for (std::size_t p = static_cast<int>(x) == c ? from : 0; p < path.size(); ++p) {
        path[p].x += mv.x;
        path[p].y += mv.y;
      }
      for (std::size_t r2 = 1; r2 < path.size(); ++r2) {
        move_piece(run_pieces_[x][r2 - 1], box_of_run(path[r2 - 1], path[r2]));
      }
    }
  }

  static int length(Point a, Point b) { return std::abs(a.x - b.x) + std::abs(a.y - b.y); }

  static Point unit_from(Point a, Point b) {
    return {(b.x > a.x) - (b.x < a.x), (b.y > a.y) - (b.y < a.y)};
  }

  // The longest move of subtree c along `dir`, up to `most` feet, in whole
  // steps (or all of `most` at once), and makes it.
  void move_far(int c, Point dir, int most, std::size_t from) {
    if (most <= 0) return;
    const auto at = [&](int by) { return Point{dir.x * by, dir.y * by}; };
    const int room = room_for(c, dir, most, from);
    if (room == most && can_move(c, at(most), from)) {
      apply(c, at(most), from);
      return;
    }
    const int steps = std::min(room, most - 1) / kStep;
    if (steps == 0) return;
    if (can_move(c, at(steps * kStep), from)) {
      apply(c, at(steps * kStep), from);
      return;
    }
    // A doorway or a lane the estimate did not see: a few halvings, not a
    // full search (each try sweeps the whole subtree).
    int lo = 0;
    int hi = steps - 1;
    for (int tries = 0; lo < hi && tries < kTries; ++tries) {
      const int mid = (lo + hi + 1) / 2;
      if (can_move(c, at(mid * kStep), from)) {
        lo = mid;
      } else {
        hi = mid - 1;
      }
    }
    if (lo > 0) apply(c, at(lo * kStep), from);
  }

  void slide(int c) {
    const auto& path = t_.corridor[static_cast<std::size_t>(c)];
    // A jog first shortens its lane, straightening the corridor if it can;
    // then the lane comes back (the run out of the wall shortens); then the
    // subtree alone (its run in shortens).
    if (path.size() == 4 && path[1] != path[2]) {
      move_far(c, unit_from(path[2], path[1]), length(path[1], path[2]), 2);
    }
    const Point in = unit_from(path[path.size() - 2], path.back());
    const Point back{-in.x, -in.y};
    if (path.size() == 4) move_far(c, back, length(path[0], path[1]) - kShortestRun, 1);
    const int room_gap = path.size() == 2 || path[1] == path[2] ? 10 : kShortestRun;
    move_far(c, back, length(path[path.size() - 2], path.back()) - room_gap, path.size() - 1);
  }

  DrawnTree& t_;
  std::vector<int> bfs_;
  std::vector<int> preorder_;
  std::vector<int> first_;
  std::vector<int> end_;
  std::vector<Piece> pieces_;
  std::vector<int> room_piece_;
  std::vector<std::vector<int>> run_pieces_;
  std::vector<std::vector<int>> cells_;
  std::vector<int> seen_;
  int stamp_ = 0;
  int x0_ = 0;
  int y0_ = 0;
  int columns_ = 0;
  int rows_ = 0;
};

}  // namespace

void compact(DrawnTree& tree) {
  Compactor(tree).run();
}

}  // namespace atlas
