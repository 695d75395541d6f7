// SPDX-License-Identifier: MIT
// The walls of a room that is not a rectangle, as a polygon inside the
// footprint the layout gave it, and the short passage that joins a door on
// the footprint's edge to those walls.
#ifndef ATLAS_PLAN_ROOM_OUTLINE_H_
#define ATLAS_PLAN_ROOM_OUTLINE_H_

#include <vector>

#include "atlas/plan/plan.h"
#include "atlas/plan/room_footprint.h"

namespace atlas {

// The outline of a non-rectangular room placed at `room.x, room.y` with
// `room.width x room.height` (footprint.size or that size turned a quarter
// turn): a closed polygon (first point not repeated) inside the footprint,
// whole feet, absolute coordinates, covering about footprint.area. Caves and
// irregular rooms vary with `room.number`, the same way on every machine.
// Empty for rectangles.
std::vector<Point> room_outline(const Footprint& footprint, const PlanRoom& room);

// The path from a door on the footprint's `wall` to the room's outline:
// straight in where the wall opposite the door is reached that way, else in
// to the footprint's middle line and along it. The first point is `door`.
// REQUIRES: `room.outline` is not empty and holds the footprint's centre.
std::vector<Point> door_stub(const PlanRoom& room, Wall wall, Point door);

}  // namespace atlas

#endif  // ATLAS_PLAN_ROOM_OUTLINE_H_
