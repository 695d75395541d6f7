// SPDX-License-Identifier: MIT
// Floor plans drawn as SVG, to scale and in black and white: a grid of
// 10-foot squares, rooms with thick walls, doors in the walls, corridors,
// stairs labelled with where they go, and a legend.
#ifndef ATLAS_PLAN_DRAW_PLAN_SVG_H_
#define ATLAS_PLAN_DRAW_PLAN_SVG_H_

#include <string>

#include "atlas/plan/plan.h"
#include "framework/room_table.h"

namespace atlas {

struct PlanSvgOptions {
  // Prepended to every id the SVG defines ("plan-3-" gives "plan-3-room-12"),
  // so several plans can share one HTML page. Empty: ids are "room-N", ...
  std::string id_prefix;
  // Each room group wrapped in <a href="#room-N"> (the book's key entry) and
  // each stair symbol in <a href="#room-M"> (the room it reaches, on the
  // other level).
  bool link_rooms = false;
  // Written as aria-labelledby on the root <svg> when not empty (the book's
  // figure caption id).
  std::string labelled_by;
  // False when the SVG is pasted into HTML: no XML prolog.
  bool xml_prolog = true;
};

// One level drawn to scale as a standalone <svg> element. The root <svg> gets
// id `{id_prefix}plan` and a viewBox in feet plus width/height in px; every
// room is <g id="{id_prefix}room-N"> with a <title>Room N: DESCRIPTION</title>.
// REQUIRES: `d` is the dungeon the level was laid out from.
std::string plan_level_svg(const PlanLevel& level, const dungeon::Dungeon& d,
                           const PlanSvgOptions& options = {});

// Every level of a plan in one SVG document, one under another, each under a
// heading ("Level 3: 41 rooms").
std::string plan_svg(const Plan& plan, const dungeon::Dungeon& d);

}  // namespace atlas

#endif  // ATLAS_PLAN_DRAW_PLAN_SVG_H_
