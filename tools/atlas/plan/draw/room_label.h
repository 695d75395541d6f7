// SPDX-License-Identifier: MIT
// Where a room's texts go: its number, large, the marks (M, T, $) under it,
// and a line per stairs saying where they lead. A pure function of the
// room's size and what it must hold, kept apart from the markup so that it
// can be tested alone.
//
// The lines go inside the room, as one block with the number round the
// room's middle, when they fit. Where they do not, each stairs symbol moves
// to a north corner of the room (a rectangle) or beside the number (any
// other shape, whose corners are rock), and the lines go under the room,
// the marks first when they do not fit either, joined to the room by a
// leader line. No letter is smaller than kMinLetters feet, so that it prints
// about 2 mm tall at the smallest scale a book prints at.
#ifndef ATLAS_PLAN_DRAW_ROOM_LABEL_H_
#define ATLAS_PLAN_DRAW_ROOM_LABEL_H_

#include <cstddef>
#include <optional>
#include <vector>

#include "atlas/plan/plan.h"

namespace atlas::draw {

inline constexpr double kMinLetters = 4.2;

// The width of a stairs line of `characters` letters, symbol included, in
// feet.
double stairs_line_width(std::size_t characters);

// What the fitting needs to know of a room.
struct LabelRoom {
  Rect footprint;
  // Not a rectangle: narrower than its footprint away from the middle.
  bool shaped = false;
  int number = 0;
  // The letters and spaces of its line of marks ("M T $" has 5); 0 for none.
  std::size_t marks = 0;
  Water water = Water::kNone;
  // The width of each stairs line (stairs_line_width), in the stairs' order.
  std::vector<double> stairs_lines;
};

struct Spot {
  double x = 0;
  double y = 0;
};

// A stairs symbol drawn apart from its line: centred on `at`, `size` feet
// high, twice that wide.
struct Icon {
  Spot at;
  double size = 0;
};

struct StairsLine {
  Spot middle;               // of the line: the symbol first, then the words
  std::optional<Icon> icon;  // set when the symbol is not on the line
};

// A thin line from the room's wall to its lines under it.
struct Leader {
  Spot from;
  Spot to;
};

struct RoomLabel {
  Spot number;  // the middle of the number's baseline
  double number_font = 0;
  Spot marks;  // the middle of the marks' baseline, inside or under the room
  double marks_font = 0;
  std::vector<StairsLine> stairs;  // one for each of room.stairs_lines
  std::optional<Leader> leader;    // set when lines go under the room
};

// Everything in feet, on the plan's grid.
RoomLabel fit_room_label(const LabelRoom& room);

}  // namespace atlas::draw

#endif  // ATLAS_PLAN_DRAW_ROOM_LABEL_H_
