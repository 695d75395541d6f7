// SPDX-License-Identifier: MIT
// Pulling a tree's drawing together once it stands on the page. Rows are
// built from whole-subtree boxes, which leaves pockets wherever a drawing is
// not a rectangle; here each subtree slides back towards its parent along the
// corridor that reaches it, as far as every spacing allows. A slide sweeps
// the subtree through the space between, and that whole space must be clear,
// so nothing can jump over a corridor: the drawing still cannot cross.
#ifndef ATLAS_PLAN_LAYOUT_COMPACTION_H_
#define ATLAS_PLAN_LAYOUT_COMPACTION_H_

#include <vector>

#include "atlas/plan/geometry.h"

namespace atlas {

// One tree on the page, rooms by index, parents before their children.
struct DrawnTree {
  std::vector<int> parent;  // -1 for the root
  std::vector<Rect> room;
  // Into each room from its parent's door to its own (empty for the root):
  // straight, or out, along a lane and in.
  std::vector<std::vector<Point>> corridor;
};

// REQUIRES: the tree keeps every spacing of clearance.h (as subtree_layout
// builds it). It still does after.
void compact(DrawnTree& tree);

}  // namespace atlas

#endif  // ATLAS_PLAN_LAYOUT_COMPACTION_H_
