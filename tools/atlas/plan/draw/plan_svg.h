// SPDX-License-Identifier: MIT
// Floor plans drawn as SVG, to scale and in black and white: a grid of
// 10-foot squares, rooms with thick walls, doors in the walls, corridors,
// stairs labelled with where they go, and a legend. The drawing reads the
// plan alone, once describe_plan (plan/describe.h) has filled it in.
#ifndef ATLAS_PLAN_DRAW_PLAN_SVG_H_
#define ATLAS_PLAN_DRAW_PLAN_SVG_H_

#include <string>

#include "atlas/plan/plan.h"

namespace atlas {

// How a level is drawn for a page that holds several (the book).
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
};

// An <svg> element and the size it states, rounded as it is written there.
struct SvgDrawing {
  std::string svg;
  double width = 0;   // pixels
  double height = 0;  // pixels
  double pixels_per_foot = 0;
};

// One level drawn to scale as an <svg> element to paste into HTML (no XML
// prolog). The root <svg> gets id `{id_prefix}plan` and a viewBox in feet
// plus width and height in pixels; every room is <g id="{id_prefix}room-N">
// with a <title>Room N: DESCRIPTION</title>.
// REQUIRES: `level` was described (plan/describe.h).
SvgDrawing plan_level_svg(const PlanLevel& level, const PlanSvgOptions& options = {});

// Every level of a plan in one SVG document, one under another, each under a
// heading ("Level 3: 41 rooms").
// REQUIRES: `plan` was described (plan/describe.h).
std::string plan_svg(const Plan& plan);

}  // namespace atlas

#endif  // ATLAS_PLAN_DRAW_PLAN_SVG_H_
