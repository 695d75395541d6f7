// SPDX-License-Identifier: MIT
// What must stay apart while a room's children are placed round it.
// Corridors are strips 5' wide on their centrelines, so two corridors need
// centrelines more than 5' apart for rock to show between them. Near a room,
// corridors of that room's doors may come closer: within 5' (measured square,
// along both axes) of its own door a corridor is still in the doorway, and
// two corridors of one room are compared only outside their doorways.
#ifndef ATLAS_PLAN_LAYOUT_CLEARANCE_H_
#define ATLAS_PLAN_LAYOUT_CLEARANCE_H_

#include <algorithm>
#include <vector>

#include "atlas/plan/layout/frame.h"

namespace atlas {

// How far a corridor counts as its doorway, in feet.
inline constexpr int kDoorway = 5;

enum class Kind {
  kRoom,
  kCorridor,  // one straight run of a centreline
  kDrawing,   // a child's whole subtree: rooms and corridors
};

struct Item {
  Box box;
  Kind kind = Kind::kRoom;
  // Corridors of the room being laid out: their door, for the doorway rule.
  bool doorway = false;
  Vec door;
};

// The least distance two kinds keep: more than 5' between centrelines, 5'
// between a centreline and a wall, 6' between rooms and round whole
// drawings: as much rock as shows between two corridors, no more, since
// every foot more is paid for many times over on a big level.
constexpr int spacing(Kind a, Kind b) {
  if (a == Kind::kCorridor && b == Kind::kCorridor) return 6;
  if (a == Kind::kCorridor || b == Kind::kCorridor)
    return a == Kind::kRoom || b == Kind::kRoom ? 5 : 6;
  return 6;
}

// The most that spacing() ever asks for.
inline constexpr int kWidestSpacing = 6;

// Square distance between two closed boxes (0 when they meet).
constexpr int gap(const Box& a, const Box& b) {
  const int du = std::max({0, a.u0 - b.u1, b.u0 - a.u1});
  const int dv = std::max({0, a.v0 - b.v1, b.v0 - a.v1});
  return std::max(du, dv);
}

// REQUIRES: `a` and `b` are single horizontal or vertical runs of two
// corridors that leave one room, by the doors `door_a` and `door_b`.
// True when their parts outside their doorways keep `need` apart.
bool apart_beyond_doorways(const Box& a, Vec door_a, const Box& b, Vec door_b, int need);

// REQUIRES: every corridor item's box is a single horizontal or vertical run.
// True when `item` keeps its spacing from each of `others`.
bool clear_of(const Item& item, const std::vector<Item>& others);

}  // namespace atlas

#endif  // ATLAS_PLAN_LAYOUT_CLEARANCE_H_
