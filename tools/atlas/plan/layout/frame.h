// SPDX-License-Identifier: MIT
// Quarter-turn frames for laying out a subtree without knowing where it ends
// up. A room's own frame has its way in at the origin and "forward" (away
// from its parent) along +v, with u to the right; a wall's frame has that
// wall's outward direction as forward. Turning a drawing by whole quarter
// turns keeps every coordinate a whole number of feet.
#ifndef ATLAS_PLAN_LAYOUT_FRAME_H_
#define ATLAS_PLAN_LAYOUT_FRAME_H_

#include <algorithm>

#include "atlas/plan/geometry.h"

namespace atlas {

struct Vec {
  int u = 0;
  int v = 0;
  bool operator==(const Vec&) const = default;
};

constexpr Vec operator+(Vec a, Vec b) {
  return {a.u + b.u, a.v + b.v};
}

// A closed box: u0 <= u <= u1, v0 <= v <= v1.
struct Box {
  int u0 = 0;
  int v0 = 0;
  int u1 = 0;
  int v1 = 0;
};

constexpr Box box_of(Vec a, Vec b) {
  return {std::min(a.u, b.u), std::min(a.v, b.v), std::max(a.u, b.u), std::max(a.v, b.v)};
}

constexpr Box box_of_rect(const Rect& r) {
  return {r.x, r.y, r.x + r.w, r.y + r.h};
}

constexpr Box united(const Box& a, const Box& b) {
  return {std::min(a.u0, b.u0), std::min(a.v0, b.v0), std::max(a.u1, b.u1), std::max(a.v1, b.v1)};
}

constexpr Box shifted(const Box& b, Vec by) {
  return {b.u0 + by.u, b.v0 + by.v, b.u1 + by.u, b.v1 + by.v};
}

constexpr int mod4(int n) {
  return ((n % 4) + 4) % 4;
}

// A wall's outward direction in quarter turns clockwise from north.
constexpr int quarter(Wall wall) {
  switch (wall) {
    case Wall::kNorth:
      return 0;
    case Wall::kEast:
      return 1;
    case Wall::kSouth:
      return 2;
    case Wall::kWest:
      return 3;
  }
  return 0;
}

// Directions counted in quarter turns clockwise from forward: 0 forward,
// 1 right, 2 back, 3 left.
constexpr Vec unit(int turns) {
  switch (mod4(turns)) {
    case 0:
      return {0, 1};
    case 1:
      return {1, 0};
    case 2:
      return {0, -1};
    default:
      return {-1, 0};
  }
}

// A point given in the frame turned `turns` quarter turns from this one,
// sharing its origin, expressed in this one.
constexpr Vec from_turned(Vec p, int turns) {
  const Vec forward = unit(turns);
  const Vec right = unit(turns + 1);
  return {p.u * right.u + p.v * forward.u, p.u * right.v + p.v * forward.v};
}

// The inverse of from_turned.
constexpr Vec to_turned(Vec p, int turns) {
  const Vec forward = unit(turns);
  const Vec right = unit(turns + 1);
  return {p.u * right.u + p.v * right.v, p.u * forward.u + p.v * forward.v};
}

constexpr Box from_turned(const Box& b, int turns) {
  return box_of(from_turned(Vec{b.u0, b.v0}, turns), from_turned(Vec{b.u1, b.v1}, turns));
}

constexpr Box to_turned(const Box& b, int turns) {
  return box_of(to_turned(Vec{b.u0, b.v0}, turns), to_turned(Vec{b.u1, b.v1}, turns));
}

}  // namespace atlas

#endif  // ATLAS_PLAN_LAYOUT_FRAME_H_
