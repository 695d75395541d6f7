// SPDX-License-Identifier: MIT
// How a plan is drawn: for whom, with which grid, at what size, with which
// parts of the header, and with the ids and links a page of several plans
// needs. The drawing reads the plan and these alone.
#ifndef ATLAS_PLAN_DRAW_DRAW_OPTIONS_H_
#define ATLAS_PLAN_DRAW_DRAW_OPTIONS_H_

#include <string>

namespace atlas {

enum class GridLines { kNone, kFiveFeet, kTenFeet };

struct DrawOptions {
  // The players' map: what they may see. No M, T or $ marks, no stairs
  // destinations, no "not explored" marks, no magical-pool star, no seed
  // and no room descriptions; doors keep their kinds.
  bool player = false;
  // The number in each room. A players' map normally goes without.
  bool room_numbers = true;
  GridLines grid = GridLines::kTenFeet;
  // The size the drawing states (SVG width and height, so the PNG's pixels).
  // The header and every level's frame lie on whole 10-foot lines, so at a
  // whole number of pixels a 5-foot square, squares fall on whole pixels.
  double pixels_per_foot = 4;

  // The header over the plan. Without any of the three there is no header:
  // a level drawn alone is then its frame and nothing else.
  bool title = true;    // "Level 3: 41 rooms", or the dungeon's title
  bool legend = true;   // the symbols the drawing uses
  bool compass = true;  // the scale bar and the north arrow
  // The header's size: 0 grows it with the plan, so that its legend stays
  // legible when the whole plan is printed on one page; else this many times
  // its own size (its scale bar stays true to the plan).
  double header_scale = 0;

  // For a page that holds every level (the book): each id level K defines
  // starts with level_id_prefix(K) ("plan-3-room-12"). Otherwise ids are
  // "room-N", "level-K", ...
  bool prefixed_ids = false;
  // With prefixed_ids: each room links to its key entry "#room-N", each door
  // to the room it leads to on this plan and each stair to the room it
  // reaches on its level's plan. Never on a players' map.
  bool links = false;
  // Written as aria-labelledby on the root <svg> when not empty (the book's
  // figure caption id).
  std::string labelled_by;
};

// "plan-K-": the prefix of the ids of level K's plan on a page of several.
std::string level_id_prefix(int level);

}  // namespace atlas

#endif  // ATLAS_PLAN_DRAW_DRAW_OPTIONS_H_
