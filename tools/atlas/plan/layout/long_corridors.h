// SPDX-License-Identifier: MIT
// Bringing far rooms home. A row stands beyond its wall as a whole, so a
// small subtree next to a big sibling ends up beyond all of the sibling's
// drawing, at the end of a corridor hundreds of feet long that no slide can
// shorten: the sibling is in the way. Here such a subtree is lifted out and
// set down again in free rock near its parent's door, with a new corridor
// (straight, or one jog) that keeps clear of everything.
#ifndef ATLAS_PLAN_LAYOUT_LONG_CORRIDORS_H_
#define ATLAS_PLAN_LAYOUT_LONG_CORRIDORS_H_

#include "atlas/plan/layout/compaction.h"

namespace atlas {

// REQUIRES: `level` keeps every spacing (level_compaction.h keeps_spacing);
// roots have parent -1 and an empty corridor. It still does after, within
// the same box; true when a subtree moved.
bool shorten_long_corridors(DrawnTree& level);

}  // namespace atlas

#endif  // ATLAS_PLAN_LAYOUT_LONG_CORRIDORS_H_
