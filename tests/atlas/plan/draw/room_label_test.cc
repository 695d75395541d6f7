// SPDX-License-Identifier: MIT
// Where a room's number, marks and stairs lines go, checked as geometry over
// rooms of every size the engine makes, with and without stairs and marks.
#include "atlas/plan/draw/room_label.h"

#include <gtest/gtest.h>

#include <string>

#include "atlas/plan/draw/sizes.h"

namespace atlas::draw {
namespace {

constexpr double kSlack = 1e-9;

struct Case {
  LabelRoom room;
  RoomLabel label;
  std::string name;
};

// Rooms from 10' to 120' a side, numbered 1 to 999, rectangles and shaped,
// with 0 to 3 stairs of the longest label ("down 3 to room 999").
std::vector<Case> all_cases() {
  std::vector<Case> cases;
  const double line = stairs_line_width(std::string("down 3 to room 999").size());
  for (const int w : {10, 15, 20, 30, 40, 60, 90, 120}) {
    for (const int h : {10, 15, 20, 30, 40, 60, 90, 120}) {
      for (const int number : {1, 57, 999}) {
        for (const bool shaped : {false, true}) {
          for (const bool marks : {false, true}) {
            for (std::size_t stairs = 0; stairs <= 3; ++stairs) {
              LabelRoom room{{-30, 50, w, h}, shaped, number, marks ? 5u : 0u, Water::kNone, {}};
              room.stairs_lines.assign(stairs, line);
              cases.push_back({room, fit_room_label(room),
                               std::to_string(w) + "x" + std::to_string(h) + " room " +
                                   std::to_string(number) + (shaped ? " shaped" : "") +
                                   (marks ? " marked" : "") + ", stairs " +
                                   std::to_string(stairs)});
            }
          }
        }
      }
    }
  }
  return cases;
}

TEST(RoomLabel, NumberAndMarksFitTheRoomAcrossAndStayLegible) {
  int marks_under = 0;
  for (const Case& c : all_cases()) {
    SCOPED_TRACE(c.name);
    const Rect& r = c.room.footprint;
    const double cx = r.x + r.w / 2.0;
    const double digits = static_cast<double>(std::to_string(c.room.number).size());
    const double usable = r.w * (c.room.shaped ? 0.7 : 1.0) - 2;
    EXPECT_GE(c.label.number_font, kMinLetters);
    EXPECT_LE(c.label.number_font, 16);
    EXPECT_GE(c.label.marks_font, kMinLetters);
    // The number is as wide as the room allows, unless it is as small as it gets.
    const double half_number = digits * 0.3 * c.label.number_font;
    if (c.label.number_font > kMinLetters) {
      EXPECT_LE(2 * half_number, usable + kSlack);
      EXPECT_GE(c.label.number.x - half_number, r.x);
      EXPECT_LE(c.label.number.x + half_number, r.right());
    }
    EXPECT_EQ(c.label.marks.x, cx);
    EXPECT_GT(c.label.marks.y, c.label.number.y);
    ASSERT_EQ(c.label.stairs.size(), c.room.stairs_lines.size());
    // Marks the room cannot hold go under it, a leader line from its south
    // wall down to them; those it holds stay clear of its walls.
    if (c.room.marks == 0) continue;
    if (c.label.marks.y > r.bottom()) {
      ++marks_under;
      ASSERT_TRUE(c.label.leader);
      EXPECT_EQ(c.label.leader->from.y, r.bottom());
      EXPECT_LT(c.label.leader->to.y, c.label.marks.y - c.label.marks_font * 0.75);
    } else {
      EXPECT_LE(5 * 0.62 * c.label.marks_font, r.w * (c.room.shaped ? 0.7 : 1.0));
      EXPECT_LE(c.label.marks.y, r.bottom());
    }
  }
  EXPECT_GT(marks_under, 100);
}

TEST(RoomLabel, StairsLinesGoInsideWhenTheyFitAndUnderTheRoomOtherwise) {
  int inside = 0, under = 0, corners = 0, beside = 0;
  for (const Case& c : all_cases()) {
    SCOPED_TRACE(c.name);
    const Rect& r = c.room.footprint;
    const double cx = r.x + r.w / 2.0;
    const std::vector<StairsLine>& lines = c.label.stairs;
    for (std::size_t i = 1; i < lines.size(); ++i) {
      EXPECT_NEAR(lines[i].middle.y - lines[i - 1].middle.y, kLabelFont * 1.4, kSlack);
    }
    if (lines.empty()) continue;
    if (!lines[0].icon) {
      ++inside;
      // One block, the lines above the number: all of it within the walls.
      for (const StairsLine& line : lines) {
        EXPECT_FALSE(line.icon);
        EXPECT_EQ(line.middle.x, cx);
        EXPECT_GE(line.middle.y - kLabelFont * 0.7, r.y);
        EXPECT_LT(line.middle.y, c.label.number.y - c.label.number_font * 0.75 + kSlack);
        EXPECT_LE(c.room.stairs_lines[0], r.w);
      }
      EXPECT_LE(c.room.marks ? c.label.marks.y : c.label.number.y, r.bottom());
      continue;
    }
    ++under;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      ASSERT_TRUE(lines[i].icon);
      EXPECT_GT(lines[i].middle.y - kLabelFont * 0.7, r.bottom());
      const Icon& icon = *lines[i].icon;
      // A symbol is s wide and 2s tall round its centre, inside the footprint
      // (beside a number as small as it gets, the row may not fit).
      if (!c.room.shaped || c.label.number_font > kMinLetters) {
        EXPECT_GE(icon.at.x - icon.size / 2, r.x);
        EXPECT_LE(icon.at.x + icon.size / 2, r.right());
      }
      EXPECT_GE(icon.at.y - icon.size, r.y);
      EXPECT_LE(icon.at.y + icon.size, r.bottom());
      if (c.room.shaped) {
        ++beside;
        // In a row, left of the number, clear of it.
        const double digits = static_cast<double>(std::to_string(c.room.number).size());
        EXPECT_LE(icon.at.x + icon.size / 2,
                  c.label.number.x - digits * 0.3 * c.label.number_font + kSlack);
      } else {
        ++corners;
        // North-east first, then north-west, by turns.
        EXPECT_EQ(icon.at.x > cx, i % 2 == 0);
      }
    }
  }
  EXPECT_GT(inside, 100);
  EXPECT_GT(corners, 100);
  EXPECT_GT(beside, 100);
}

TEST(RoomLabel, WaterLiftsTheNumber) {
  LabelRoom room{{0, 0, 60, 60}, false, 12, true, Water::kNone, {}};
  const double dry = fit_room_label(room).number.y;
  room.water = Water::kPool;
  const double pool = fit_room_label(room).number.y;
  room.water = Water::kLake;
  const double lake = fit_room_label(room).number.y;
  EXPECT_NEAR(dry - pool, 6, kSlack);
  EXPECT_NEAR(dry - lake, 12, kSlack);
}

}  // namespace
}  // namespace atlas::draw
