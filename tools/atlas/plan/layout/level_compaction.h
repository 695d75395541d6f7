// SPDX-License-Identifier: MIT
// Closing up a whole level, one axis at a time. Trees and subtrees are set
// down as boxes and slid one by one, which leaves bands and pockets of rock
// that no single subtree can move into. Here every room and every run of a
// corridor moves at once, north as far as what stands north of it allows,
// then west the same way, again and again: long runs shorten, jogs close up
// into straight corridors, and empty bands vanish. Nothing changes the order
// of two things that stand side by side along the axis, so nothing can come
// to cross or touch that did not before. Between rounds, far subtrees are
// brought home (long_corridors.h).
#ifndef ATLAS_PLAN_LAYOUT_LEVEL_COMPACTION_H_
#define ATLAS_PLAN_LAYOUT_LEVEL_COMPACTION_H_

#include <vector>

#include "atlas/plan/layout/compaction.h"
#include "atlas/plan/layout/frame.h"

namespace atlas {

// REQUIRES: `level` keeps every spacing of clearance.h; roots have parent
// -1 and an empty corridor; a corridor is straight or one jog. All that
// still holds after, within the box the level had. A straight corridor may
// become a jog only on a level left sparse otherwise.
void compact_level(DrawnTree& level);

// A corridor's points less repeated ones and those where it runs straight
// on (a jog closed up).
std::vector<Point> without_bends_in_line(const std::vector<Point>& points);

// A room (its index in `room`) or one run of a corridor (the index of the
// room it leads to) of a level.
struct Shape {
  Box box;
  int room = -1;
  int corridor = -1;
};

std::vector<Shape> shapes_of(const DrawnTree& level);

// True when `a` and `b` keep their spacing on `level`: rooms 6' apart, a
// corridor 5' from a room it does not enter and out of those it does, more
// than 5' between two corridors outside the doorways of a room they share.
bool keep_apart(const Shape& a, const Shape& b, const DrawnTree& level);

// True when every spacing of clearance.h holds on `level`: rooms 6' apart,
// corridors 5' from rooms they do not enter and out of those they do, and
// more than 5' between two corridors outside the doorways of a room they
// share.
bool keeps_spacing(const DrawnTree& level);

}  // namespace atlas

#endif  // ATLAS_PLAN_LAYOUT_LEVEL_COMPACTION_H_
