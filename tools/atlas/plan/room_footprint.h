// SPDX-License-Identifier: MIT
// How much floor a room takes on a plan, read from its description: the two
// figures of a rectangle, cave or cavern; for the unusual shapes, a square of
// whole 10-foot squares that holds the shape at about its stated area.
#ifndef ATLAS_PLAN_ROOM_FOOTPRINT_H_
#define ATLAS_PLAN_ROOM_FOOTPRINT_H_

#include <array>
#include <string_view>

#include "atlas/plan/plan.h"

namespace atlas {

struct Size {
  int width = 0;
  int height = 0;
};

struct Footprint {
  PlanShape shape = PlanShape::kRectangle;
  // As the description gives it; a plan may turn it a quarter turn.
  Size size;
  // Square feet the drawn shape should cover, about; the footprint's own
  // area for rectangles.
  int area = 0;
  Water water = Water::kNone;
  // A double cave's two chambers as the description lists them; they sit
  // side by side west to east in the footprint, tops aligned.
  std::array<Size, 2> chambers{};
};

// An overflow's ungenerated rooms have no description: a 10' square.
Footprint unexplored_footprint();

// REQUIRES: `description` is a description the engine writes.
Footprint room_footprint(std::string_view description);

}  // namespace atlas

#endif  // ATLAS_PLAN_ROOM_FOOTPRINT_H_
