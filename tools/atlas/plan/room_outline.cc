// SPDX-License-Identifier: MIT
#include "atlas/plan/room_outline.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace atlas {
namespace {

struct Vec {
  double x = 0;
  double y = 0;
};

// A value in [0, 1) that depends only on the room and a counter: outlines
// must come out the same everywhere, so no library distributions.
double unit_hash(int room, int index) {
  uint64_t z = (static_cast<uint64_t>(static_cast<uint32_t>(room)) << 32) ^
               static_cast<uint32_t>(index) ^ 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  return static_cast<double>(z >> 11) * 0x1.0p-53;
}

double polygon_area(const std::vector<Vec>& polygon) {
  double twice = 0;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const Vec& a = polygon[i];
    const Vec& b = polygon[(i + 1) % polygon.size()];
    twice += a.x * b.y - b.x * a.y;
  }
  return std::abs(twice) / 2;
}

// Unit-square shapes; each touches the middle of the square's sides, or
// comes near it, so that doors need only short passages in.
std::vector<Vec> ellipse_points() {
  constexpr int kPoints = 24;
  std::vector<Vec> points;
  for (int i = 0; i < kPoints; ++i) {
    const double angle = 2 * std::numbers::pi * i / kPoints;
    points.push_back({0.5 + 0.5 * std::sin(angle), 0.5 - 0.5 * std::cos(angle)});
  }
  return points;
}

std::vector<Vec> unit_shape(PlanShape shape) {
  constexpr double kCut = 1 - std::numbers::sqrt2 / 2;  // a regular octagon's corner
  switch (shape) {
    case PlanShape::kCircle:
    case PlanShape::kOval:
      return ellipse_points();
    case PlanShape::kTriangle:
      return {{0.5, 0}, {1, 1}, {0, 1}};
    case PlanShape::kTrapezoid:
      return {{0.25, 0}, {0.75, 0}, {1, 1}, {0, 1}};
    case PlanShape::kHexagon:
      return {{0, 0.5}, {0.25, 0}, {0.75, 0}, {1, 0.5}, {0.75, 1}, {0.25, 1}};
    case PlanShape::kOctagon:
      return {{kCut, 0},     {1 - kCut, 0}, {1, kCut},     {1, 1 - kCut},
              {1 - kCut, 1}, {kCut, 1},     {0, 1 - kCut}, {0, kCut}};
    default:
      return {};
  }
}

// Twelve points round the unit square, each pushed in by its own amount:
// a room that keeps no straight wall.
std::vector<Vec> irregular_shape(int room) {
  constexpr double kDeepest = 0.2;
  std::vector<Vec> points;
  const Vec corners[] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  const Vec inward[] = {{0, 1}, {-1, 0}, {0, -1}, {1, 0}};  // of the side leaving each corner
  int index = 0;
  for (int side = 0; side < 4; ++side) {
    const Vec from = corners[side];
    const Vec to = corners[(side + 1) % 4];
    const Vec before = inward[(side + 3) % 4];
    for (int step = 0; step < 3; ++step) {
      const double t = step / 3.0;
      Vec p{from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t};
      const double depth = kDeepest * unit_hash(room, index++);
      p.x += inward[side].x * depth;
      p.y += inward[side].y * depth;
      if (step == 0) {  // a corner is pushed in off both of its sides
        const double other = kDeepest * unit_hash(room, index++);
        p.x += before.x * other;
        p.y += before.y * other;
      }
      points.push_back(p);
    }
  }
  return points;
}

// A quarter turn of the unit square, `turns` times clockwise.
Vec turned(Vec p, int turns) {
  for (int i = 0; i < turns; ++i) p = {1 - p.y, p.x};
  return p;
}

// A closed rectilinear path (clockwise on the page: y grows south) made
// rough: every side cut into pieces about `depth` long (ten feet at least)
// whose ends are pushed in by up to `depth`. Points marked `fixed` stay where they are.
struct PathPoint {
  Vec at;
  bool fixed = false;
};

std::vector<Vec> roughened(const std::vector<PathPoint>& path, double depth, int room) {
  std::vector<Vec> points;
  int index = 0;
  const std::size_t n = path.size();
  auto inward = [&](std::size_t i) {  // of the side from point i to point i + 1
    const Vec a = path[i].at;
    const Vec b = path[(i + 1) % n].at;
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    return Vec{-(b.y - a.y) / length, (b.x - a.x) / length};
  };
  for (std::size_t i = 0; i < n; ++i) {
    const Vec a = path[i].at;
    const Vec b = path[(i + 1) % n].at;
    const Vec normal = inward(i);
    Vec corner = a;
    if (!path[i].fixed) {
      const Vec before = inward((i + n - 1) % n);
      const double d1 = depth * (0.3 + 0.7 * unit_hash(room, index++));
      const double d2 = depth * (0.3 + 0.7 * unit_hash(room, index++));
      corner.x += normal.x * d1 + before.x * d2;
      corner.y += normal.y * d1 + before.y * d2;
    }
    points.push_back(corner);
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    const int pieces = std::max(1, static_cast<int>(std::lround(length / std::max(10.0, depth))));
    for (int step = 1; step < pieces; ++step) {
      const double t = static_cast<double>(step) / pieces;
      const double d = depth * unit_hash(room, index++);
      points.push_back(
          {a.x + (b.x - a.x) * t + normal.x * d, a.y + (b.y - a.y) * t + normal.y * d});
    }
  }
  return points;
}

double rough_depth(double w, double h) {
  return std::clamp(std::min(w, h) * 0.1, 2.0, 30.0);
}

std::vector<Vec> cave_shape(double w, double h, int room) {
  return roughened({{{0, 0}}, {{w, 0}}, {{w, h}}, {{0, h}}}, rough_depth(w, h), room);
}

// Two chambers west to east, tops aligned, a wall of rock between them
// pierced by a neck halfway down the lower one.
std::vector<Vec> double_cave_shape(const std::array<Size, 2>& chambers, int room) {
  constexpr double kRock = 4;
  const double w1 = chambers[0].width;
  const double h1 = chambers[0].height;
  const double w = chambers[0].width + chambers[1].width;
  const double h2 = chambers[1].height;
  const double low = std::min(h1, h2);
  const double neck = std::clamp(low * 0.4, 8.0, 20.0);
  const double top = (low - neck) / 2;
  const double bottom = top + neck;
  const double west = w1 - kRock / 2;
  const double east = w1 + kRock / 2;
  const std::vector<PathPoint> path = {
      {{0, 0}},
      {{west, 0}},
      {{west, top}, true},
      {{east, top}, true},
      {{east, 0}},
      {{w, 0}},
      {{w, h2}},
      {{east, h2}},
      {{east, bottom}, true},
      {{west, bottom}, true},
      {{west, h1}},
      {{0, h1}},
  };
  const double depth =
      std::min(rough_depth(chambers[0].width, h1), rough_depth(chambers[1].width, h2));
  return roughened(path, std::min(depth, top / 2 + 1), room);
}

// Even-odd: whether `v` is inside `polygon`.
bool holds(const std::vector<Point>& polygon, Vec v) {
  bool in = false;
  for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const Vec p{static_cast<double>(polygon[i].x), static_cast<double>(polygon[i].y)};
    const Vec q{static_cast<double>(polygon[j].x), static_cast<double>(polygon[j].y)};
    if ((p.y > v.y) != (q.y > v.y) && v.x < (q.x - p.x) * (v.y - p.y) / (q.y - p.y) + p.x) in = !in;
  }
  return in;
}

}  // namespace

std::vector<Point> room_outline(const Footprint& footprint, const PlanRoom& room) {
  const double w = room.width;
  const double h = room.height;
  // The layout may have turned the footprint a quarter turn.
  const bool turned_footprint =
      room.width != footprint.size.width && room.width == footprint.size.height;
  std::vector<Vec> local;  // in feet from the footprint's north-west corner
  switch (footprint.shape) {
    case PlanShape::kRectangle:
      return {};
    case PlanShape::kCave:
      local = cave_shape(w, h, room.number);
      break;
    case PlanShape::kDoubleCave:
      local = double_cave_shape(footprint.chambers, room.number);
      if (turned_footprint) {
        for (Vec& p : local) std::swap(p.x, p.y);
      }
      break;
    default: {
      local = footprint.shape == PlanShape::kIrregular ? irregular_shape(room.number)
                                                       : unit_shape(footprint.shape);
      // Triangles and trapezoids point any way; hexagons lie flat or stand.
      int turns = 0;
      if (footprint.shape == PlanShape::kTriangle || footprint.shape == PlanShape::kTrapezoid)
        turns = room.number % 4;
      if (footprint.shape == PlanShape::kHexagon) turns = room.number % 2;
      for (Vec& p : local) {
        p = turned(p, turns);
        p = {p.x * w, p.y * h};
      }
      // The footprint is whole 10-foot squares round the shape: shrink it
      // about the centre to the stated area.
      const double area = polygon_area(local);
      const double scale = area > footprint.area ? std::sqrt(footprint.area / area) : 1.0;
      for (Vec& p : local) p = {w / 2 + (p.x - w / 2) * scale, h / 2 + (p.y - h / 2) * scale};
    }
  }

  std::vector<Point> outline;
  outline.reserve(local.size());
  for (const Vec& p : local) {
    const Point point{room.x + static_cast<int>(std::lround(std::clamp(p.x, 0.0, w))),
                      room.y + static_cast<int>(std::lround(std::clamp(p.y, 0.0, h)))};
    if (outline.empty() || !(outline.back() == point)) outline.push_back(point);
  }
  while (outline.size() > 1 && outline.front() == outline.back()) outline.pop_back();
  return outline;
}

std::vector<Point> door_stub(const PlanRoom& room, Wall wall, Point door) {
  const double cx = room.x + room.width / 2.0;
  const double cy = room.y + room.height / 2.0;
  // Where the way from `a` to `b` first enters the room (grazing a corner
  // does not count), as a fraction of the way; above 1 when it does not.
  // The stub ends a foot further in, so that no gap shows between the
  // passage and the room drawn over it.
  auto entry = [&](Vec a, Vec b) {
    const Vec r{b.x - a.x, b.y - a.y};
    const double length = std::hypot(r.x, r.y);
    std::vector<double> crossings;
    const std::size_t n = room.outline.size();
    for (std::size_t i = 0; i < n; ++i) {
      const Vec p{static_cast<double>(room.outline[i].x), static_cast<double>(room.outline[i].y)};
      const Vec q{static_cast<double>(room.outline[(i + 1) % n].x),
                  static_cast<double>(room.outline[(i + 1) % n].y)};
      const Vec s{q.x - p.x, q.y - p.y};
      const double cross = r.x * s.y - r.y * s.x;
      if (std::abs(cross) < 1e-12) continue;
      const double t = ((p.x - a.x) * s.y - (p.y - a.y) * s.x) / cross;
      const double u = ((p.x - a.x) * r.y - (p.y - a.y) * r.x) / cross;
      if (t >= 0 && t <= 1 && u >= 0 && u <= 1) crossings.push_back(t);
    }
    std::sort(crossings.begin(), crossings.end());
    for (const double t : crossings) {
      const double past = std::min(1.0, t + 1 / length);
      if (holds(room.outline, {a.x + r.x * past, a.y + r.y * past})) return past;
    }
    return 2.0;
  };
  auto at = [](Vec a, Vec b, double t) {
    return Point{static_cast<int>(std::lround(a.x + (b.x - a.x) * t)),
                 static_cast<int>(std::lround(a.y + (b.y - a.y) * t))};
  };

  const Vec start{static_cast<double>(door.x), static_cast<double>(door.y)};
  const bool across = north_south(wall);
  const Vec middle = across ? Vec{start.x, cy} : Vec{cx, start.y};
  std::vector<Point> stub{door};
  if (const double t = entry(start, middle); t <= 1) {
    stub.push_back(at(start, middle, t));
    return stub;
  }
  const Vec centre{cx, cy};
  stub.push_back(at(start, middle, 1));
  stub.push_back(at(middle, centre, std::min(entry(middle, centre), 1.0)));
  return stub;
}

}  // namespace atlas
