// SPDX-License-Identifier: MIT
#include "atlas/plan/room_footprint.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace atlas {
namespace {

struct NamedShape {
  std::string_view prefix;
  PlanShape shape;
  // The shape's area as a fraction of the rectangle that holds it, and that
  // rectangle's width over its height.
  double fill;
  double aspect = 1;
};

// A regular hexagon of width w is sqrt(3)/2 w high: 0.65 of its square; a
// regular octagon fills 0.83; a trapezoid with a top half its base, 0.75; an
// oval is half as wide again as it is high.
constexpr NamedShape kShapes[] = {
    {"Circular ", PlanShape::kCircle, std::numbers::pi / 4},
    {"Triangular ", PlanShape::kTriangle, 0.5},
    {"Trapezoidal ", PlanShape::kTrapezoid, 0.75},
    {"Irregular ", PlanShape::kIrregular, 0.7},
    {"Oval ", PlanShape::kOval, std::numbers::pi / 4, 1.5},
    {"Hexagonal ", PlanShape::kHexagon, 0.65},
    {"Octangonal ", PlanShape::kOctagon, 0.83},
};

int round_up_to_ten(double feet) {
  return static_cast<int>(std::ceil(feet / 10 - 1e-9)) * 10;
}

// The numbers of a description, in order; "1,300" is one number.
std::array<int, 4> numbers_in(std::string_view text, int* count) {
  std::array<int, 4> numbers{};
  *count = 0;
  bool in_number = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool digit = c >= '0' && c <= '9';
    const bool separator =
        c == ',' && in_number && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9';
    if (digit) {
      if (!in_number) {
        if (*count == static_cast<int>(numbers.size())) break;
        ++*count;
      }
      in_number = true;
      int& n = numbers[static_cast<std::size_t>(*count - 1)];
      n = n * 10 + (c - '0');
    } else if (!separator) {
      in_number = false;
    }
  }
  return numbers;
}

Water water_in(std::string_view description) {
  if (description.find(" with a magical pool") != std::string_view::npos)
    return Water::kMagicalPool;
  if (description.find(" with a pool") != std::string_view::npos) return Water::kPool;
  if (description.find(" with a lake") != std::string_view::npos) return Water::kLake;
  return Water::kNone;
}

}  // namespace

Footprint unexplored_footprint() {
  return {PlanShape::kRectangle, {10, 10}, 100, Water::kNone, {}};
}

Footprint room_footprint(std::string_view description) {
  int count = 0;
  const std::array<int, 4> n = numbers_in(description, &count);
  Footprint f;
  f.water = water_in(description);

  if (description.starts_with("Double Cave")) {
    f.shape = PlanShape::kDoubleCave;
    f.chambers = {Size{n[0], n[1]}, Size{n[2], n[3]}};
    f.size = {n[0] + n[2], std::max(n[1], n[3])};
    f.area = n[0] * n[1] + n[2] * n[3];
    return f;
  }
  if (description.starts_with("Cave") || description.starts_with("Cavern") ||
      description.starts_with("Mammoth Cavern")) {
    f.shape = PlanShape::kCave;
    f.size = {n[0], n[1]};
    f.area = n[0] * n[1];
    return f;
  }
  for (const NamedShape& named : kShapes) {
    if (!description.starts_with(named.prefix)) continue;
    f.shape = named.shape;
    f.area = n[0];
    const double height = std::sqrt(f.area / named.fill / named.aspect);
    f.size = {round_up_to_ten(height * named.aspect), round_up_to_ten(height)};
    return f;
  }
  // "20' x 30' Room", and the start room's "Start 40 x 60 Room".
  f.shape = PlanShape::kRectangle;
  f.size = {n[0], n[1]};
  f.area = n[0] * n[1];
  return f;
}

}  // namespace atlas
