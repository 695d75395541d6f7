// SPDX-License-Identifier: MIT
// Floor plans drawn as SVG, to scale and in black and white: a grid, rooms
// with thick walls, doors in the walls, corridors, stairs labelled with
// where they go, and a legend. The drawing reads the plan and its options
// alone, once describe_plan (plan/describe.h) has filled the plan in.
//
// A level for a virtual tabletop, say, at 70 pixels a 5-foot square, for the
// players and with no grid:
//   DrawOptions options;
//   options.player = true;
//   options.grid = GridLines::kNone;
//   options.title = options.legend = options.compass = false;
//   options.pixels_per_foot = 70.0 / 5;
//   const SvgDrawing drawing = plan_level_svg(level, options);
//   const std::string png = plan_png(drawing);  // plan_png.h
// A point (x, y) of the plan, in feet, is then at pixel
// ((x - drawing.frame.x) * 14, (y - drawing.frame.y) * 14).
#ifndef ATLAS_PLAN_DRAW_PLAN_SVG_H_
#define ATLAS_PLAN_DRAW_PLAN_SVG_H_

#include <string>
#include <string_view>
#include <vector>

#include "atlas/plan/draw/draw_options.h"
#include "atlas/plan/plan.h"

namespace atlas {

// An <svg> element and the size it states, rounded as it is written there.
struct SvgDrawing {
  std::string svg;
  double width = 0;   // pixels
  double height = 0;  // pixels
  double pixels_per_foot = 0;
  // The level's frame in the plan's feet (the rooms and corridors in whole
  // 10-foot squares and a margin), and where its north-west corner is in the
  // drawing, in feet from the drawing's own. Set by plan_level_svg only.
  Rect frame;
  double frame_x = 0;
  double frame_y = 0;
};

// One level drawn to scale as an <svg> element to paste into HTML (no XML
// prolog). The root <svg> gets id "plan" (with prefixed_ids,
// "plan-K-plan"), a viewBox in feet and width and height in pixels; every
// room is <g id="room-N"> (prefixed likewise) whose <title>, on the game
// master's map, is "Room N: DESCRIPTION"; each door is a group or link whose
// <title> names the room it opens toward ("Locked door to room 11").
// REQUIRES: `level` was described (plan/describe.h).
SvgDrawing plan_level_svg(const PlanLevel& level, const DrawOptions& options = {});

// Parts of one level for a page that shows the level whole elsewhere (the
// book's print tiles): for each of `regions` (the plan's feet), what lies in
// and round it, as SVG elements in the plan's feet for a viewBox to clip,
// without ids, titles or links. Each room is a group of class "room-N".
// REQUIRES: `level` was described (plan/describe.h).
std::vector<std::string> plan_regions_svg(const PlanLevel& level, const DrawOptions& options,
                                          const std::vector<Rect>& regions);

// One symbol of a legend set as text (the book's): a small <svg> of the
// symbol, empty for a letter; the letter (M, T or $), empty for a symbol;
// and what it means.
struct LegendSample {
  std::string svg;
  std::string_view mark;
  std::string meaning;
};

// The legend of `level` drawn with `options`: only what the drawing shows.
std::vector<LegendSample> plan_legend(const PlanLevel& level, const DrawOptions& options);

// The header's scale (DrawOptions::header_scale) that prints its legend
// about 3 mm tall at `mm_per_foot` millimetres a foot.
double header_scale_for_print(double mm_per_foot);

// Every level of a plan in one SVG document, one under another, each under a
// heading ("Level 3: 41 rooms"). The ids are not prefixed, nor linked.
// REQUIRES: `plan` was described (plan/describe.h).
SvgDrawing plan_svg(const Plan& plan, const DrawOptions& options = {});

}  // namespace atlas

#endif  // ATLAS_PLAN_DRAW_PLAN_SVG_H_
