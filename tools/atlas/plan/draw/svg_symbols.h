// SPDX-License-Identifier: MIT
// The symbols of classic dungeon maps, as SVG elements in feet: doors and
// archways in walls, stairs, water; and the plain lines and texts round them.
#ifndef ATLAS_PLAN_DRAW_SVG_SYMBOLS_H_
#define ATLAS_PLAN_DRAW_SVG_SYMBOLS_H_

#include <string_view>

#include "atlas/common/markup.h"
#include "atlas/plan/plan.h"

namespace atlas::draw {

// A passage's symbol centred on (x, y) of `wall`, the room on the side
// inward(wall) points to.
void door_symbol(Markup& svg, double x, double y, Wall wall, Passage passage);

// Treads across a 2s-by-s box centred on (cx, cy); the narrow end is the
// lower one.
void stairs_symbol(Markup& svg, double cx, double cy, double s, bool down);

// An oval of water with radii rx, ry and as many rows of waves as it holds;
// a star when it is magical.
void water_symbol(Markup& svg, double cx, double cy, double rx, double ry, bool magical);

// `style` holds the path's other attributes.
void line(Markup& svg, double x0, double y0, double x1, double y1, std::string_view style);

// `text` is escaped; `extra` holds other attributes, as markup.
void write_text(Markup& svg, double x, double y, double size, std::string_view text,
                std::string_view extra = {});

}  // namespace atlas::draw

#endif  // ATLAS_PLAN_DRAW_SVG_SYMBOLS_H_
