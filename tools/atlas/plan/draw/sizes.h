// SPDX-License-Identifier: MIT
// The plans' sizes. The drawing's unit is the foot, so a room's figures are
// its size on the page; a plan is shown at kPixelsPerFoot.
#ifndef ATLAS_PLAN_DRAW_SIZES_H_
#define ATLAS_PLAN_DRAW_SIZES_H_

#include <string_view>

namespace atlas::draw {

inline constexpr int kPixelsPerFoot = 4;
// Round each level, and between the levels of a whole plan.
inline constexpr int kMargin = 20;
inline constexpr double kWall = 1.2;
inline constexpr double kCorridor = 5;
inline constexpr double kCorridorEdge = 0.5;
// A door's symbol along its wall and across it.
inline constexpr double kDoorAlong = 4.6;
inline constexpr double kDoorAcross = 2.4;
// The stairs' lines and "not explored": about 2 mm tall at the smallest
// scale a book prints at (room_label.h).
inline constexpr double kLabelFont = 4.2;
// Room for the stairs symbol at the start of a stairs line.
inline constexpr double kStairsIcon = 4;
inline constexpr double kLegendFont = 4;
inline constexpr double kHeadingFont = 7;
inline constexpr double kTitleFont = 9;
// The title, legend, scale bar and north arrow over the levels.
inline constexpr double kHeaderHeight = 58;
inline constexpr double kLegendWidth = 330;
inline constexpr std::string_view kFont = "DejaVu Sans, Helvetica, Arial, sans-serif";

}  // namespace atlas::draw

#endif  // ATLAS_PLAN_DRAW_SIZES_H_
