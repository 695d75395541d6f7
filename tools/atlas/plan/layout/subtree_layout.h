// SPDX-License-Identifier: MIT
// One room and everything behind it, laid out in the room's own frame (see
// frame.h) before anyone knows where it will stand. Its children are grouped
// by the wall they are reached through; each group stands in a row beyond
// that wall, in the order of its doors, every corridor straight or one jog
// with two bends, the jogs on lanes ordered so that no two meet. Each child
// is a finished drawing (its own subtree) treated as one solid box, so
// corridors of different subtrees can never meet either: the drawing cannot
// cross by construction.
#ifndef ATLAS_PLAN_LAYOUT_SUBTREE_LAYOUT_H_
#define ATLAS_PLAN_LAYOUT_SUBTREE_LAYOUT_H_

#include <array>
#include <vector>

#include "atlas/plan/geometry.h"
#include "atlas/plan/layout/frame.h"
#include "atlas/plan/room_footprint.h"
#include "framework/room_table.h"

namespace atlas {

struct RoomLayout;

struct ChildBrief {
  int slot = 0;
  Wall wall = Wall::kNorth;  // the wall of the parent it is reached through
  const RoomLayout* layout = nullptr;
};

struct RoomBrief {
  Size size;      // as described; the layout may turn it
  int turns = 0;  // the frame's forward, in quarter turns clockwise from north
  // False for the first room of a tree: no corridor comes in, so the room's
  // back wall needs no channel kept free.
  bool entered = true;
  std::vector<ChildBrief> children;  // ordinary exits leading on, in slot order
};

// A laid-out subtree, in the frame of its room: the door it is entered by at
// the origin, its room in 0 <= v <= depth. Nothing of it lies within 6' of
// the ray from the origin straight back (-v), so the corridor from its parent
// can always come in along that ray.
struct RoomLayout {
  int turns = 0;
  Box room;
  std::array<Vec, dungeon::kExitSlots> door{};  // by slot; slot 0 at the origin
  struct Child {
    int slot = 0;
    const RoomLayout* layout = nullptr;
    int turns = 0;              // its frame, in quarter turns from this one
    Vec origin;                 // its entry door, in this frame
    std::vector<Vec> corridor;  // from this room's door to its door
  };
  std::vector<Child> children;
  Box box;  // everything: rooms and corridor centrelines
};

// REQUIRES: every child's layout is finished, its turns are brief.turns plus
// its wall's quarter turns, and at most four doors share one wall.
RoomLayout lay_out_room(const RoomBrief& brief);

}  // namespace atlas

#endif  // ATLAS_PLAN_LAYOUT_SUBTREE_LAYOUT_H_
