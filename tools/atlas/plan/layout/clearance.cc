// SPDX-License-Identifier: MIT
#include "atlas/plan/layout/clearance.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace atlas {
namespace {

// The parts of a run that lie outside its doorway: at most two.
struct Parts {
  std::array<Box, 2> box;
  int count = 0;
};

Parts outside_doorway(const Box& run, Vec door) {
  Parts parts;
  const bool across = run.v0 == run.v1;
  const int line = across ? run.v0 : run.u0;
  const int at = across ? door.v : door.u;
  const int lo = across ? run.u0 : run.v0;
  const int hi = across ? run.u1 : run.v1;
  const int centre = across ? door.u : door.v;
  const auto add = [&](int a, int b) {
    if (a > b) return;
    parts.box[static_cast<std::size_t>(parts.count++)] =
        across ? Box{a, line, b, line} : Box{line, a, line, b};
  };
  // A point is in the doorway when it is at most kDoorway from the door;
  // what is left is the rest of the run and the ends it runs up to.
  if (std::abs(line - at) > kDoorway) {
    add(lo, hi);
  } else {
    if (lo < centre - kDoorway) add(lo, std::min(hi, centre - kDoorway));
    if (hi > centre + kDoorway) add(std::max(lo, centre + kDoorway), hi);
  }
  return parts;
}

}  // namespace

bool apart_beyond_doorways(const Box& a, Vec door_a, const Box& b, Vec door_b, int need) {
  const Parts pa = outside_doorway(a, door_a);
  const Parts pb = outside_doorway(b, door_b);
  for (int i = 0; i < pa.count; ++i) {
    for (int j = 0; j < pb.count; ++j) {
      if (gap(pa.box[static_cast<std::size_t>(i)], pb.box[static_cast<std::size_t>(j)]) < need) {
        return false;
      }
    }
  }
  return true;
}

bool clear_of(const Item& item, const std::vector<Item>& others) {
  for (const Item& other : others) {
    const int need = spacing(item.kind, other.kind);
    if (gap(item.box, other.box) >= need) continue;
    if (!(item.doorway && other.doorway)) return false;
    if (!apart_beyond_doorways(item.box, item.door, other.box, other.door, need)) return false;
  }
  return true;
}

}  // namespace atlas
