// SPDX-License-Identifier: MIT
// The scale plans print at, and the paper they print on. Lengths on paper
// are in millimetres; a plan's scale is millimetres a 10-foot square.
#ifndef ATLAS_COMMON_PRINT_SCALE_H_
#define ATLAS_COMMON_PRINT_SCALE_H_

#include <string_view>

namespace atlas {

// What every page holds, on A4 and on Letter alike with 12 mm margins: the
// smaller of the two in each direction.
inline constexpr double kPageWidthMm = 186;
inline constexpr double kPageHeightMm = 255;

// Miniatures' scale: an inch to a 5-foot square.
inline constexpr double kBattleMm = 50.8;
// The smallest scale a plan stays readable at: its smallest letters are then
// about 2 mm tall.
inline constexpr double kReadableMm = 4.8;
// The largest scale asked for: a page then still holds 20 feet of plan.
inline constexpr double kLargestMm = 80;

struct PrintScale {
  enum class Kind {
    kReadable,  // as large as fits a page, up to the plan's own size, but not
                // below kReadableMm: tiled at that scale past it
    kFit,       // each level on one page, as large as fits
    kFixed,     // at mm_per_ten_feet, tiled as need be
  };
  Kind kind = Kind::kReadable;
  double mm_per_ten_feet = 0;  // for kFixed
};

// "fit", "battle" (kFixed at kBattleMm) or a number of millimetres a 10-foot
// square from 1 to kLargestMm ("25", "12.5"). Throws UsageError naming
// --scale and what it takes.
PrintScale parse_print_scale(std::string_view text);

}  // namespace atlas

#endif  // ATLAS_COMMON_PRINT_SCALE_H_
