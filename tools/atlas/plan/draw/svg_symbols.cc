// SPDX-License-Identifier: MIT
#include "atlas/plan/draw/svg_symbols.h"

#include <algorithm>
#include <cmath>

#include "atlas/plan/draw/sizes.h"

namespace atlas::draw {
namespace {

// A rectangle `along` by `across` centred on (x, y) and lying along the wall.
void wall_rect(Markup& svg, double x, double y, Wall wall, double along, double across,
               std::string_view style) {
  const bool horizontal = north_south(wall);
  const double w = horizontal ? along : across;
  const double h = horizontal ? across : along;
  svg << "<rect x=\"" << x - w / 2 << "\" y=\"" << y - h / 2 << "\" width=\"" << w << "\" height=\""
      << h << "\" " << style << "/>";
}

}  // namespace

void line(Markup& svg, double x0, double y0, double x1, double y1, std::string_view style) {
  svg << "<path d=\"M" << x0 << ' ' << y0 << 'L' << x1 << ' ' << y1 << "\" " << style << "/>";
}

void write_text(Markup& svg, double x, double y, double size, std::string_view text,
                std::string_view extra) {
  svg << "<text x=\"" << x << "\" y=\"" << y << "\" font-size=\"" << size << '"';
  if (!extra.empty()) svg << ' ' << extra;
  svg << '>';
  svg.text(text) << "</text>";
}

void door_symbol(Markup& svg, double x, double y, Wall wall, Passage passage) {
  const Point in = inward(wall);
  const Point on = along(wall);
  constexpr std::string_view kDoorStyle = "fill=\"#fff\" stroke=\"#000\" stroke-width=\"0.45\"";
  if (passage == Passage::kArchway) {
    // A gap in the wall between two jambs.
    wall_rect(svg, x, y, wall, kDoorAlong, kWall + 0.4, "fill=\"#fff\"");
    for (const double side : {-1.0, 1.0}) {
      const double jx = x + on.x * side * kDoorAlong / 2;
      const double jy = y + on.y * side * kDoorAlong / 2;
      line(svg, jx - in.x * 1.6, jy - in.y * 1.6, jx + in.x * 1.6, jy + in.y * 1.6,
           "stroke=\"#000\" stroke-width=\"0.6\"");
    }
    return;
  }
  if (passage == Passage::kBrokenDoor) {
    // Split in two, one half hanging open.
    const double half = kDoorAlong / 2;
    const double hx = x - on.x * half / 2;
    const double hy = y - on.y * half / 2;
    wall_rect(svg, x, y, wall, kDoorAlong, kWall + 0.4, "fill=\"#fff\"");
    wall_rect(svg, hx, hy, wall, half - 0.3, kDoorAcross, kDoorStyle);
    const double ox = x + on.x * half / 2;
    const double oy = y + on.y * half / 2;
    // Swung outward, away from the room's number and marks.
    const int swing = wall == Wall::kNorth || wall == Wall::kEast ? 35 : -35;
    svg << "<g transform=\"rotate(" << swing << ' ' << x + on.x * half << ' ' << y + on.y * half
        << ")\">";
    wall_rect(svg, ox, oy, wall, half - 0.3, kDoorAcross, kDoorStyle);
    svg << "</g>";
    return;
  }
  wall_rect(svg, x, y, wall, kDoorAlong, kDoorAcross, kDoorStyle);
  if (passage == Passage::kLockedDoor) {
    // A bolt through the door.
    line(svg, x - in.x * 2.2, y - in.y * 2.2, x + in.x * 2.2, y + in.y * 2.2,
         "stroke=\"#000\" stroke-width=\"0.9\"");
  }
}

void stairs_symbol(Markup& svg, double cx, double cy, double s, bool down) {
  svg << "<path d=\"";
  constexpr int kTreads = 5;
  for (int i = 0; i <= kTreads; ++i) {
    const double t = static_cast<double>(i) / kTreads;
    const double narrow = down ? t : 1 - t;
    const double half = s * (0.5 - 0.25 * narrow);
    const double y = cy - s + 2 * s * t;
    svg << 'M' << cx - half << ' ' << y << 'H' << cx + half;
  }
  svg << "M" << cx - s / 2 << ' ' << (down ? cy - s : cy + s) << 'L' << cx - s / 4 << ' '
      << (down ? cy + s : cy - s) << 'M' << cx + s / 2 << ' ' << (down ? cy - s : cy + s) << 'L'
      << cx + s / 4 << ' ' << (down ? cy + s : cy - s)
      << "\" fill=\"none\" stroke=\"#000\" stroke-width=\"0.4\"/>";
}

void water_symbol(Markup& svg, double cx, double cy, double rx, double ry, bool magical) {
  svg << "<ellipse cx=\"" << cx << "\" cy=\"" << cy << "\" rx=\"" << rx << "\" ry=\"" << ry
      << "\" fill=\"#fff\" stroke=\"#000\" stroke-width=\"0.5\"/><path d=\"";
  const int rows = std::clamp(static_cast<int>(ry / 16), 2, 6);
  const double step = std::min(rx * 0.25, 14.0);
  for (int i = 0; i < rows; ++i) {
    const double dy = ry * (-0.6 + 1.2 * (i + 0.5) / rows);
    const double room = 2 * rx * std::sqrt(1 - (dy / ry) * (dy / ry)) * 0.7;
    const int waves = std::max(2, static_cast<int>(room / step) / 2 * 2);
    svg << 'M' << cx - waves * step / 2 << ' ' << cy + dy;
    for (int k = 0; k < waves; ++k) {
      svg << 'q' << step / 2 << ' ' << (k % 2 == 0 ? -step * 0.3 : step * 0.3) << ' ' << step
          << " 0";
    }
  }
  svg << "\" fill=\"none\" stroke=\"#000\" stroke-width=\"" << std::clamp(step * 0.1, 0.35, 0.7)
      << "\"/>";
  if (magical) {
    svg << "<text x=\"" << cx << "\" y=\"" << cy + ry * 0.95 << "\" font-size=\"" << ry * 0.7
        << "\" text-anchor=\"middle\">*</text>";
  }
}

}  // namespace atlas::draw
