// SPDX-License-Identifier: MIT
#include "atlas/plan/draw/room_label.h"

#include <algorithm>
#include <string>

#include "atlas/plan/draw/sizes.h"

namespace atlas::draw {
namespace {

// Font sizes are the height of a capital in feet, about; widths and heights
// of text are in font sizes.
constexpr double kGlyphWidth = 0.58;     // a letter of the stairs lines
constexpr double kDigitWidth = 0.6;      // a digit of the number, bold
constexpr double kDigitFitWidth = 0.65;  // the same with room to spare, for fitting
constexpr double kDigitHeight = 0.75;    // the number's block: its digits' height
constexpr double kDigitMiddle = 0.39;    // from the top of the digits to their middle
constexpr double kLineHeight = 1.4;      // from one stairs line to the next
constexpr double kLineMiddle = 0.7;      // from the top of a stairs line to its middle
constexpr double kMarksLine = 1.2;       // the marks' line under the number

// The number: at most this share of the room's smaller side, no wider than
// the room less a foot each side, and within these sizes.
constexpr double kNumberShare = 0.42;
constexpr double kNumberSides = 2;
constexpr double kMinNumberFont = kMinLetters;
constexpr double kMaxNumberFont = 16;
constexpr double kMarksShare = 0.45;  // of the number's font
constexpr double kMinMarksFont = kMinLetters;
constexpr double kMarksWidth = 0.62;  // a letter or space of the marks, in font sizes

// A shaped room holds text across this share of its footprint only.
constexpr double kShapedInner = 0.7;
// The block of number, marks and stairs lines must leave this much room.
constexpr double kClearance = 3;
// Water sits low in the room; the number moves up by this share of its height.
constexpr double kAboveLake = 0.2;
constexpr double kAbovePool = 0.1;
// In a small room, the number moves down clear of the corner symbols.
constexpr int kSmallRoom = 20;
constexpr double kBelowCornerIcons = 0.8;
// The lines under a room start this far below its south wall, and the
// leader line stops short of them.
constexpr double kUnderRoom = 2.5;
constexpr double kLeaderGap = 0.4;

// Stairs symbols apart from their lines: a share of the room's smaller side,
// within these sizes, a foot apart and a foot in from the walls.
constexpr double kIconShare = 0.2;
constexpr double kMinIcon = 1.4;
constexpr double kMaxIcon = 4;
constexpr double kIconGap = 1;
constexpr double kIconInset = 1;

}  // namespace

double stairs_line_width(std::size_t characters) {
  return kStairsIcon + static_cast<double>(characters) * kLabelFont * kGlyphWidth;
}

RoomLabel fit_room_label(const LabelRoom& room) {
  const Rect& r = room.footprint;
  const double cx = r.x + r.w / 2.0;
  const double cy = r.y + r.h / 2.0;
  const double small = std::min(r.w, r.h);
  const std::size_t stairs = room.stairs_lines.size();

  double number_y = cy;
  if (room.water == Water::kLake) {
    number_y = cy - r.h * kAboveLake;
  } else if (room.water != Water::kNone) {
    number_y = cy - r.h * kAbovePool;
  }

  const double inner = room.shaped ? kShapedInner : 1.0;
  const double digits = static_cast<double>(std::to_string(room.number).size());
  double font = std::clamp(
      std::min(small * kNumberShare, (r.w * inner - kNumberSides) / (digits * kDigitFitWidth)),
      kMinNumberFont, kMaxNumberFont);
  const double marks_font = std::max(kMinMarksFont, font * kMarksShare);
  double stairs_block = 0;
  double stairs_wide = 0;
  for (const double width : room.stairs_lines) {
    stairs_block += kLabelFont * kLineHeight;
    stairs_wide = std::max(stairs_wide, width);
  }
  const double number_high = font * kDigitHeight;
  const double marks_block = room.marks > 0 ? marks_font * kMarksLine : 0;
  const bool marks_inside =
      room.marks == 0 ||
      (number_high + marks_block + kClearance <= r.h * inner &&
       static_cast<double>(room.marks) * marks_font * kMarksWidth + kClearance <= r.w * inner);
  const bool inside = marks_inside &&
                      stairs_block + number_high + marks_block + kClearance <= r.h * inner &&
                      stairs_wide + kClearance <= r.w * inner;
  const double inner_marks = marks_inside ? marks_block : 0;

  const double icon = std::clamp(small * kIconShare, kMinIcon, kMaxIcon);
  const bool beside = !inside && stairs > 0 && room.shaped;
  const double icons = beside ? static_cast<double>(stairs) * (icon + kIconGap) : 0;
  if (beside) {
    font = std::clamp((r.w * inner - kNumberSides - icons) / (digits * kDigitFitWidth),
                      kMinNumberFont, font);
  }
  if (!inside && stairs > 0 && small < kSmallRoom) number_y += kBelowCornerIcons;
  const double number_block = number_high + inner_marks;
  double top = number_y - number_block / 2;
  if (inside) top = number_y - (stairs_block + number_block) / 2;
  const double line_left = cx - (digits * kDigitWidth * font + icons) / 2;

  RoomLabel label;
  double line_y = inside ? top : r.bottom() + kUnderRoom;
  if (!marks_inside || (!inside && stairs > 0)) {
    label.leader = Leader{{cx, static_cast<double>(r.bottom())}, {cx, line_y - kLeaderGap}};
  }
  if (!marks_inside) {
    label.marks = {cx, line_y + marks_font * kDigitHeight};
    line_y += marks_font * kMarksLine;
  }
  for (std::size_t i = 0; i < stairs; ++i) {
    StairsLine& line = label.stairs.emplace_back();
    line.middle = {cx, line_y + kLabelFont * kLineMiddle};
    if (beside) {
      const double number_middle = top + font * kDigitMiddle;
      line.icon = Icon{
          {line_left + static_cast<double>(i) * (icon + kIconGap) + icon / 2, number_middle}, icon};
    } else if (!inside) {
      const double side = i % 2 == 0 ? 1 : -1;  // north-east first
      line.icon =
          Icon{{cx + side * (r.w / 2.0 - kIconInset - icon / 2), r.y + kIconInset + icon}, icon};
    }
    line_y += kLabelFont * kLineHeight;
  }
  if (inside) top += stairs_block;

  const double baseline = top + font * kDigitHeight;
  label.number = {beside ? line_left + icons + digits * (kDigitWidth / 2) * font : cx, baseline};
  label.number_font = font;
  if (marks_inside) label.marks = {cx, baseline + marks_font * kMarksLine};
  label.marks_font = marks_font;
  return label;
}

}  // namespace atlas::draw
