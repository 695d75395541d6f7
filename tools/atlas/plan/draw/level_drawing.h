// SPDX-License-Identifier: MIT
// One level of a plan drawn to scale, in feet: grey rock, white corridors,
// rooms with thick walls, the symbols of their doors and stairs, their
// numbers and marks, and a grid of 10-foot squares over it all.
#ifndef ATLAS_PLAN_DRAW_LEVEL_DRAWING_H_
#define ATLAS_PLAN_DRAW_LEVEL_DRAWING_H_

#include <string>
#include <string_view>
#include <vector>

#include "atlas/common/markup.h"
#include "atlas/plan/draw/room_label.h"
#include "atlas/plan/plan.h"

namespace atlas::draw {

class LevelDrawing {
 public:
  // `id_prefix` goes before every id the level defines. With `link_rooms`
  // each room is a link to "#room-N" and each stair to the room it reaches.
  // REQUIRES: `level` outlives the drawing and was described (describe.h).
  LevelDrawing(const PlanLevel& level, std::string_view id_prefix, bool link_rooms);

  // The rooms and corridors in whole 10-foot squares, so that the grid
  // lines up with the rooms, and a margin round them.
  const Rect& bounds() const { return bounds_; }

  // The level as a group, its bounds' north-west corner at (x, y) of the page.
  void write(Markup& svg, double x, double y) const;

 private:
  void write_corridors(Markup& svg) const;
  void write_grid(Markup& svg) const;
  void write_room(Markup& svg, const PlanRoom& room) const;
  void write_unexplored(Markup& svg, const PlanRoom& room) const;
  void write_label(Markup& svg, const PlanRoom& room) const;
  void write_doors(Markup& svg, const PlanRoom& room) const;
  void write_stairs(Markup& svg, const PlanStairs& stairs, const StairsLine& line) const;
  // The passage from a door in to the walls of a room that is not a
  // rectangle; empty for a rectangle's door.
  const std::vector<Point>& stub_of(const PlanDoor& door) const;

  const PlanLevel& level_;
  std::string id_prefix_;
  bool link_rooms_;
  Rect bounds_;
  // By room number.
  std::vector<const PlanRoom*> room_of_;
  std::vector<std::vector<const PlanDoor*>> doors_of_;
  std::vector<std::vector<const PlanStairs*>> stairs_of_;
};

}  // namespace atlas::draw

#endif  // ATLAS_PLAN_DRAW_LEVEL_DRAWING_H_
