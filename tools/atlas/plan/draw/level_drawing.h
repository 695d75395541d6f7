// SPDX-License-Identifier: MIT
// One level of a plan drawn to scale, in feet: grey rock, white corridors,
// rooms with thick walls, the symbols of their doors and stairs, their
// numbers and marks, and a grid over it all.
#ifndef ATLAS_PLAN_DRAW_LEVEL_DRAWING_H_
#define ATLAS_PLAN_DRAW_LEVEL_DRAWING_H_

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "atlas/common/markup.h"
#include "atlas/plan/draw/draw_options.h"
#include "atlas/plan/draw/room_label.h"
#include "atlas/plan/plan.h"

namespace atlas::draw {

class LevelDrawing {
 public:
  // A `bare` drawing has no ids, titles or links: it draws parts of a level
  // drawn whole elsewhere on the page.
  // REQUIRES: `level` and `options` outlive the drawing; `level` was
  // described (describe.h).
  LevelDrawing(const PlanLevel& level, const DrawOptions& options, bool bare = false);

  // The rooms and corridors in whole 10-foot squares, so that the grid
  // lines up with the rooms, and a margin round them.
  const Rect& bounds() const { return bounds_; }

  // The level as a group, its bounds' north-west corner at (x, y) of the page.
  void write(Markup& svg, double x, double y) const;

  // What lies in `region` of the plan (feet) and round it: rock, the
  // corridors and rooms that reach into it, the grid; in the plan's feet,
  // for a viewBox to clip. Each room is a group of class "room-N".
  // REQUIRES: the drawing is bare.
  void write_region(Markup& svg, const Rect& region) const;

 private:
  void write_corridors(Markup& svg) const;
  void write_corridor_lines(Markup& svg, const std::vector<const std::vector<Point>*>& lines) const;
  void write_grid(Markup& svg) const;
  void write_grid_lines(Markup& svg, const Rect& area) const;
  void write_room(Markup& svg, const PlanRoom& room) const;
  void write_title(Markup& svg, const PlanRoom& room) const;
  void write_floor(Markup& svg, const PlanRoom& room) const;
  void write_unexplored(Markup& svg, const PlanRoom& room) const;
  void write_texts(Markup& svg, const PlanRoom& room, const RoomLabel& label) const;
  void write_doors(Markup& svg, const PlanRoom& room) const;
  void write_stairs(Markup& svg, const PlanStairs& stairs, const StairsLine& line) const;
  RoomLabel fit_label(const PlanRoom& room) const;
  // "down 2 to room 57"; empty on a players' map, which keeps destinations
  // to itself.
  std::string stairs_words(const PlanStairs& stairs) const;
  // The passage from a door in to the walls of a room that is not a
  // rectangle; empty for a rectangle's door.
  const std::vector<Point>& stub_of(const PlanDoor& door) const;
  // The room a door of `room` opens toward, 0 when no corridor names it.
  int leads_to(const PlanDoor& door) const;

  const PlanLevel& level_;
  const DrawOptions& options_;
  bool bare_;
  bool links_;
  std::string id_prefix_;
  Rect bounds_;
  // By room number.
  std::vector<const PlanRoom*> room_of_;
  std::vector<std::vector<const PlanDoor*>> doors_of_;
  std::vector<std::vector<const PlanStairs*>> stairs_of_;
  std::vector<std::array<int, dungeon::kExitSlots>> door_to_;
};

}  // namespace atlas::draw

#endif  // ATLAS_PLAN_DRAW_LEVEL_DRAWING_H_
