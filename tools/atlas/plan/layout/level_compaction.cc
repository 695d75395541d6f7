// SPDX-License-Identifier: MIT
#include "atlas/plan/layout/level_compaction.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <numeric>
#include <utility>

#include "atlas/plan/layout/clearance.h"
#include "atlas/plan/layout/frame.h"
#include "atlas/plan/layout/long_corridors.h"

namespace atlas {

namespace {

// Moves go in whole 5-foot steps, as the slides do: a room never moves by
// a sliver.
constexpr int kStep = 5;
// A run out of or into a door keeps at least this much; a straight
// corridor keeps its two rooms this far apart.
constexpr int kShortestRun = 5;
constexpr int kShortestStraight = 10;
// North then west, this many times: later rounds win little.
constexpr int kRounds = 4;
// Far subtrees brought home, then the level closed up again, this often.
constexpr int kCycles = 2;
// Below this density a level tries again with jogs opened (open_jogs), in
// subtrees of at least kOpens rooms.
constexpr double kSparse = 0.05;
constexpr int kOpens = 50;
constexpr int kPart = 10;

int step_up(int feet) {
  return feet >= 0 ? (feet + kStep - 1) / kStep * kStep : -(-feet / kStep * kStep);
}

// A room, or one run of a corridor, as the northward pass sees it: its
// north edge moves with element `top` and its south edge with `bottom`.
// Elements are the rooms (0..n-1) and then every corridor point.
struct Piece {
  Box box;
  Kind kind = Kind::kRoom;
  int top = 0;
  int bottom = 0;
  int corridor = -1;  // the room the corridor leads to; -1 for a room
  int shortest = 0;   // for a north-south run: how short it may get
};

class Elements {
 public:
  explicit Elements(const DrawnTree& t) : first_(t.room.size()) {
    int next = static_cast<int>(t.room.size());
    for (std::size_t k = 0; k < t.room.size(); ++k) {
      first_[k] = next;
      next += static_cast<int>(t.corridor[k].size());
    }
    up_.resize(static_cast<std::size_t>(next));
    std::iota(up_.begin(), up_.end(), 0);
  }
  int size() const { return static_cast<int>(up_.size()); }
  int point(std::size_t corridor, std::size_t j) const {
    return first_[corridor] + static_cast<int>(j);
  }
  int find(int e) {
    while (up_[static_cast<std::size_t>(e)] != e) {
      const int next = up_[static_cast<std::size_t>(e)];
      up_[static_cast<std::size_t>(e)] = up_[static_cast<std::size_t>(next)];
      e = next;
    }
    return e;
  }
  void join(int a, int b) {
    a = find(a);
    b = find(b);
    if (a != b) up_[static_cast<std::size_t>(std::max(a, b))] = std::min(a, b);
  }

 private:
  std::vector<int> first_;
  std::vector<int> up_;
};

std::vector<Piece> pieces_of(const DrawnTree& t, const Elements& e, bool child_north) {
  std::vector<Piece> pieces;
  for (std::size_t k = 0; k < t.room.size(); ++k) {
    pieces.push_back(
        {box_of_rect(t.room[k]), Kind::kRoom, static_cast<int>(k), static_cast<int>(k), -1, 0});
  }
  for (std::size_t k = 0; k < t.room.size(); ++k) {
    const std::vector<Point>& p = t.corridor[k];
    for (std::size_t j = 1; j < p.size(); ++j) {
      Piece piece;
      piece.box = box_of(Vec{p[j - 1].x, p[j - 1].y}, Vec{p[j].x, p[j].y});
      piece.kind = Kind::kCorridor;
      piece.corridor = static_cast<int>(k);
      const bool south = p[j] == p[j - 1] ? !child_north : p[j].y > p[j - 1].y;
      piece.top = e.point(k, south ? j - 1 : j);
      piece.bottom = e.point(k, south ? j : j - 1);
      const int length = piece.box.v1 - piece.box.v0;
      const bool at_door = j == 1 || j + 1 == p.size();
      const int shortest = p.size() == 2 ? kShortestStraight : at_door ? kShortestRun : 0;
      piece.shortest = std::min(length, shortest);
      pieces.push_back(piece);
    }
  }
  return pieces;
}

// Calls f(a, b) for every two pieces, a before b in `order` (by west edge),
// that stand closer east-west than they must keep apart, so that their
// north-south order is what keeps them apart.
template <typename F>
void for_each_close_pair(const std::vector<Piece>& pieces, const std::vector<std::size_t>& order,
                         F f) {
  for (std::size_t i = 0; i < order.size(); ++i) {
    const Piece& a = pieces[order[i]];
    for (std::size_t j = i + 1; j < order.size(); ++j) {
      const Piece& b = pieces[order[j]];
      const int apart = b.box.u0 - a.box.u1;
      if (apart >= kWidestSpacing) break;
      if (a.corridor >= 0 && a.corridor == b.corridor) continue;
      if (apart >= spacing(a.kind, b.kind)) continue;
      f(a, b);
    }
  }
}

// A straight east-west corridor into a subtree of at least kOpens rooms and
// a tenth of the level may open a jog in its middle, so that the whole
// subtree can move north or south of the room it hangs from (`child_north`
// says which) into rock the rest leaves empty; where it does not move, the
// jog closes up again and the corridor stays straight.
void open_jogs(DrawnTree& t) {
  std::vector<int> rooms(t.room.size(), 1);
  // Children after parents is not promised: add up along each path instead.
  for (std::size_t k = 0; k < t.room.size(); ++k) {
    for (int up = t.parent[k]; up >= 0; up = t.parent[static_cast<std::size_t>(up)]) {
      ++rooms[static_cast<std::size_t>(up)];
    }
  }
  const int big = std::max(kOpens, static_cast<int>(t.room.size()) / kPart);
  for (std::size_t k = 0; k < t.room.size(); ++k) {
    std::vector<Point>& p = t.corridor[k];
    if (rooms[k] < big || p.size() != 2 || p[0].y != p[1].y) continue;
    if (std::abs(p[1].x - p[0].x) < 2 * kShortestStraight) continue;
    const Point middle{(p[0].x + p[1].x) / 2, p[0].y};
    p = {p[0], middle, middle, p[1]};
  }
}

// One northward pass; true when anything moved.
bool close_up_north(DrawnTree& t, bool jogs, bool child_north, bool hold_doorways) {
  if (jogs) open_jogs(t);
  Elements e(t);
  for (std::size_t k = 0; k < t.room.size(); ++k) {
    const std::vector<Point>& p = t.corridor[k];
    if (p.empty()) continue;
    // A door moves with its room, a run east-west with both its ends.
    e.join(e.point(k, 0), t.parent[k]);
    e.join(e.point(k, p.size() - 1), static_cast<int>(k));
    for (std::size_t j = 1; j < p.size(); ++j) {
      if (p[j].y == p[j - 1].y && p[j].x != p[j - 1].x) e.join(e.point(k, j - 1), e.point(k, j));
    }
  }
  const std::vector<Piece> pieces = pieces_of(t, e, child_north);
  std::vector<std::size_t> order(pieces.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return pieces[a].box.u0 < pieces[b].box.u0;
  });
  // Two pieces side by side move as one. With `hold_doorways`, so do two
  // runs of corridors of one room that come closer than their spacing,
  // which only their doorways allow: with that room, so that they stay
  // within their doorways. (A run that stretches can carry such a pair out
  // of its doorway; holding every such pair costs much of the room won, so
  // it is done only where a pass without it broke a doorway.)
  for_each_close_pair(pieces, order, [&](const Piece& a, const Piece& b) {
    const bool side_by_side = a.box.v0 < b.box.v1 && b.box.v0 < a.box.v1;
    const bool in_doorways = hold_doorways && a.kind == Kind::kCorridor &&
                             b.kind == Kind::kCorridor &&
                             gap(a.box, b.box) < spacing(a.kind, b.kind);
    if (!side_by_side && !in_doorways) return;
    e.join(a.top, a.bottom);
    e.join(a.top, b.top);
    e.join(a.top, b.bottom);
    if (!in_doorways) return;
    for (const int room : {t.parent[static_cast<std::size_t>(a.corridor)], a.corridor}) {
      if (room >= 0 &&
          (room == b.corridor || room == t.parent[static_cast<std::size_t>(b.corridor)])) {
        e.join(a.top, room);
      }
    }
  });

  std::vector<int> y(static_cast<std::size_t>(e.size()));
  for (std::size_t k = 0; k < t.room.size(); ++k) {
    y[k] = t.room[k].y;
    for (std::size_t j = 0; j < t.corridor[k].size(); ++j) {
      y[static_cast<std::size_t>(e.point(k, j))] = t.corridor[k][j].y;
    }
  }
  // shift[c] of each class c: how far north (negative) its elements move.
  // Every constraint reads shift[to] >= shift[from] + weight, weight <= 0,
  // so standing still keeps them all and the least shifts exist.
  struct Edge {
    int from, to, weight;
  };
  std::vector<Edge> edges;
  for (const Piece& p : pieces) {
    if (p.kind == Kind::kCorridor && p.top != p.bottom) {
      edges.push_back({e.find(p.top), e.find(p.bottom), p.shortest - (p.box.v1 - p.box.v0)});
    }
  }
  const auto keep_order = [&](const Piece& above, const Piece& below) {
    const int now = below.box.v0 - above.box.v1;
    const int need = std::min(spacing(above.kind, below.kind), now);
    edges.push_back({e.find(above.bottom), e.find(below.top), need - now});
  };
  for_each_close_pair(pieces, order, [&](const Piece& a, const Piece& b) {
    if (a.box.v1 <= b.box.v0) keep_order(a, b);
    if (b.box.v1 <= a.box.v0) keep_order(b, a);
  });

  const std::size_t n = static_cast<std::size_t>(e.size());
  const int north = *std::min_element(y.begin(), y.end());
  std::vector<int> shift(n, 0);
  std::vector<int> highest(n, 0);
  std::vector<bool> is_class(n, false);
  for (std::size_t k = 0; k < n; ++k) {
    const auto c = static_cast<std::size_t>(e.find(static_cast<int>(k)));
    highest[c] = is_class[c] ? std::min(highest[c], y[k]) : y[k];
    is_class[c] = true;
  }
  std::vector<std::size_t> queue_order;
  for (std::size_t c = 0; c < n; ++c) {
    if (!is_class[c]) continue;
    shift[c] = step_up(north - highest[c]);
    queue_order.push_back(c);
  }
  std::stable_sort(queue_order.begin(), queue_order.end(),
                   [&](std::size_t a, std::size_t b) { return highest[a] < highest[b]; });
  std::vector<std::size_t> start(n + 1, 0);
  for (const Edge& d : edges) ++start[static_cast<std::size_t>(d.from) + 1];
  std::partial_sum(start.begin(), start.end(), start.begin());
  std::vector<std::pair<int, int>> out(edges.size());
  std::vector<std::size_t> fill(start.begin(), start.end() - 1);
  for (const Edge& d : edges) out[fill[static_cast<std::size_t>(d.from)]++] = {d.to, d.weight};
  std::deque<std::size_t> queue(queue_order.begin(), queue_order.end());
  std::vector<bool> queued(n, false);
  for (const std::size_t c : queue_order) queued[c] = true;
  while (!queue.empty()) {
    const std::size_t a = queue.front();
    queue.pop_front();
    queued[a] = false;
    for (std::size_t k = start[a]; k < start[a + 1]; ++k) {
      const auto b = static_cast<std::size_t>(out[k].first);
      const int s = step_up(shift[a] + out[k].second);
      if (s <= shift[b]) continue;
      shift[b] = s;
      if (!queued[b]) {
        queued[b] = true;
        queue.push_back(b);
      }
    }
  }

  bool moved = false;
  const auto shift_of = [&](int element) {
    return shift[static_cast<std::size_t>(e.find(element))];
  };
  for (std::size_t k = 0; k < t.room.size(); ++k) {
    const int s = shift_of(static_cast<int>(k));
    moved = moved || s != 0;
    t.room[k].y += s;
    for (std::size_t j = 0; j < t.corridor[k].size(); ++j) {
      const int by = shift_of(e.point(k, j));
      moved = moved || by != 0;
      t.corridor[k][j].y += by;
    }
    t.corridor[k] = without_bends_in_line(t.corridor[k]);
  }
  return moved;
}

void transpose(DrawnTree& t) {
  for (Rect& r : t.room) r = {r.y, r.x, r.h, r.w};
  for (std::vector<Point>& c : t.corridor) {
    for (Point& p : c) p = {p.y, p.x};
  }
}

}  // namespace

std::vector<Point> without_bends_in_line(const std::vector<Point>& points) {
  std::vector<Point> out;
  for (const Point& p : points) {
    if (!out.empty() && out.back() == p) continue;
    if (out.size() >= 2) {
      const Point a = out[out.size() - 2];
      const Point b = out.back();
      if ((a.x == b.x && b.x == p.x) || (a.y == b.y && b.y == p.y)) out.pop_back();
    }
    out.push_back(p);
  }
  return out;
}

namespace {

// North and west in turn until nothing moves; false when a pass had to be
// taken back (it broke a doorway), which ends all compaction. With `jogs`,
// big subtrees may jog away from their parents, north in one round and
// south in the next.
bool close_up(DrawnTree& level, bool jogs) {
  for (int round = 0; round < kRounds; ++round) {
    bool moved = false;
    for (const bool west : {false, true}) {
      const DrawnTree before = level;
      bool this_moved = false;
      for (const bool hold : {false, true}) {
        if (west) transpose(level);
        this_moved = close_up_north(level, jogs, round % 2 == 0, hold);
        if (west) transpose(level);
        // The pass keeps every spacing by construction but for doorways;
        // the check says whether it kept those too.
        if (!this_moved || keeps_spacing(level)) break;
        level = before;
        if (hold) return false;
      }
      moved = moved || this_moved;
    }
    if (!moved && !jogs) break;
  }
  return true;
}

// Closing up and bringing far subtrees home, in turn.
void compact(DrawnTree& level, bool jogs) {
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    if (!close_up(level, jogs)) return;
    DrawnTree before = level;
    if (!shorten_long_corridors(level)) return;
    if (!keeps_spacing(level)) {
      level = std::move(before);
      return;
    }
  }
  close_up(level, jogs);
}

// Room area over the area of the box round rooms and corridors.
double density(const DrawnTree& level) {
  Box all = box_of_rect(level.room[0]);
  double rooms = 0;
  for (std::size_t k = 0; k < level.room.size(); ++k) {
    all = united(all, box_of_rect(level.room[k]));
    rooms += static_cast<double>(level.room[k].w) * level.room[k].h;
    for (const Point& p : level.corridor[k]) all = united(all, Box{p.x, p.y, p.x, p.y});
  }
  return rooms / (static_cast<double>(all.u1 - all.u0) * (all.v1 - all.v0));
}

}  // namespace

void compact_level(DrawnTree& level) {
  if (level.room.size() < 2) return;
  const DrawnTree laid_out = level;
  compact(level, false);
  // Jogs cost straight corridors, so only a level left mostly rock tries them.
  if (density(level) >= kSparse) return;
  DrawnTree jogged = laid_out;
  compact(jogged, true);
  if (density(jogged) > density(level)) level = std::move(jogged);
}

std::vector<Shape> shapes_of(const DrawnTree& level) {
  std::vector<Shape> shapes;
  for (std::size_t k = 0; k < level.room.size(); ++k) {
    shapes.push_back({box_of_rect(level.room[k]), static_cast<int>(k), -1});
  }
  for (std::size_t k = 0; k < level.room.size(); ++k) {
    const std::vector<Point>& p = level.corridor[k];
    for (std::size_t j = 1; j < p.size(); ++j) {
      shapes.push_back(
          {box_of(Vec{p[j - 1].x, p[j - 1].y}, Vec{p[j].x, p[j].y}), -1, static_cast<int>(k)});
    }
  }
  return shapes;
}

bool keep_apart(const Shape& a, const Shape& b, const DrawnTree& level) {
  const bool a_room = a.corridor < 0;
  const bool b_room = b.corridor < 0;
  const int need =
      spacing(a_room ? Kind::kRoom : Kind::kCorridor, b_room ? Kind::kRoom : Kind::kCorridor);
  if (gap(a.box, b.box) >= need) return true;
  if (a_room && b_room) return false;
  // A corridor's door at one of its two rooms, or none.
  const auto door_at = [&](int corridor, int room) -> const Point* {
    const std::vector<Point>& p = level.corridor[static_cast<std::size_t>(corridor)];
    if (level.parent[static_cast<std::size_t>(corridor)] == room) return &p.front();
    if (corridor == room) return &p.back();
    return nullptr;
  };
  if (a_room || b_room) {
    const Shape& room = a_room ? a : b;
    const Shape& run = a_room ? b : a;
    if (door_at(run.corridor, room.room) == nullptr) return false;
    // Its own room: it may meet the wall at its door, never go in.
    const Box& r = room.box;
    const Box& s = run.box;
    return !(r.u0 < s.u1 && s.u0 < r.u1 && r.v0 < s.v1 && s.v0 < r.v1);
  }
  if (a.corridor == b.corridor) return true;
  // Two corridors of one room are compared outside their doorways there.
  for (const int room : {level.parent[static_cast<std::size_t>(a.corridor)], a.corridor}) {
    const Point* da = room < 0 ? nullptr : door_at(a.corridor, room);
    const Point* db = room < 0 ? nullptr : door_at(b.corridor, room);
    if (da != nullptr && db != nullptr) {
      return apart_beyond_doorways(a.box, {da->x, da->y}, b.box, {db->x, db->y}, need);
    }
  }
  return false;
}

bool keeps_spacing(const DrawnTree& level) {
  const std::vector<Shape> shapes = shapes_of(level);
  std::vector<std::size_t> order(shapes.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return shapes[a].box.u0 < shapes[b].box.u0;
  });
  for (std::size_t i = 0; i < order.size(); ++i) {
    const Shape& a = shapes[order[i]];
    for (std::size_t j = i + 1; j < order.size(); ++j) {
      const Shape& b = shapes[order[j]];
      if (b.box.u0 - a.box.u1 >= kWidestSpacing) break;
      if (!keep_apart(a, b, level)) return false;
    }
  }
  return true;
}

}  // namespace atlas
