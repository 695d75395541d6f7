// SPDX-License-Identifier: MIT
#include "atlas/plan/vtt/walls.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <polyclipping/clipper.hpp>
#include <tuple>

#include "atlas/plan/draw/sizes.h"

namespace atlas::vtt {
namespace {

using ClipperLib::IntPoint;
using ClipperLib::Path;
using ClipperLib::Paths;

// A corridor is drawn as a black stroke under a narrower white one; its
// wall is the middle of the black edge that shows.
constexpr double kCorridorWallFeet = (draw::kCorridor + draw::kCorridorEdge) / 2;
constexpr int kCorridorWall = static_cast<int>(kCorridorWallFeet * kUnitsPerFoot);
static_assert(kCorridorWall == kCorridorWallFeet * kUnitsPerFoot,
              "a corridor's wall must fall on the quarter-foot grid");

IntPoint fine(const Point& p) {
  return {static_cast<ClipperLib::cInt>(p.x) * kUnitsPerFoot,
          static_cast<ClipperLib::cInt>(p.y) * kUnitsPerFoot};
}

Path fine_path(const std::vector<Point>& points) {
  Path path;
  path.reserve(points.size());
  for (const Point& p : points) path.push_back(fine(p));
  return path;
}

// The floor a room's walls enclose: its outline, or its footprint (a
// rectangle, or a room an overflow left unexplored).
Path room_floor(const PlanRoom& room) {
  if (!room.outline.empty()) return fine_path(room.outline);
  const Rect r = room.footprint();
  return fine_path({{r.x, r.y}, {r.right(), r.y}, {r.right(), r.bottom()}, {r.x, r.bottom()}});
}

// Clipper's union needs every room wound the same way round, or an overlap
// of two opposite windings would count as no floor.
Paths room_floors(const PlanLevel& level) {
  Paths floors;
  floors.reserve(level.rooms.size());
  for (const PlanRoom& room : level.rooms) {
    Path floor = room_floor(room);
    if (!ClipperLib::Orientation(floor)) ClipperLib::ReversePath(floor);
    floors.push_back(std::move(floor));
  }
  return floors;
}

// Corridors and the passages into rooms that are not rectangles, as the
// drawing strokes them: square ends, mitred bends.
Paths corridor_strips(const PlanLevel& level) {
  Paths lines;
  lines.reserve(level.corridors.size() + level.doors.size());
  for (const PlanCorridor& corridor : level.corridors) lines.push_back(fine_path(corridor.points));
  for (const PlanRoom& room : level.rooms) {
    for (const std::vector<Point>& stub : room.door_stubs) {
      if (!stub.empty()) lines.push_back(fine_path(stub));
    }
  }
  ClipperLib::ClipperOffset offset;
  offset.AddPaths(lines, ClipperLib::jtMiter, ClipperLib::etOpenSquare);
  Paths strips;
  offset.Execute(strips, kCorridorWall);
  return strips;
}

bool north_west_of(const FinePoint& a, const FinePoint& b) {
  return a.y != b.y ? a.y < b.y : a.x < b.x;
}

std::vector<FinePoint> closed_ring(const Path& path) {
  std::vector<FinePoint> ring;
  ring.reserve(path.size() + 1);
  for (const IntPoint& p : path) ring.push_back({p.X, p.Y});
  std::rotate(ring.begin(), std::min_element(ring.begin(), ring.end(), north_west_of), ring.end());
  ring.push_back(ring.front());
  return ring;
}

struct Vec {
  double x = 0;
  double y = 0;
};

Vec operator+(Vec a, Vec b) {
  return {a.x + b.x, a.y + b.y};
}
Vec operator-(Vec a, Vec b) {
  return {a.x - b.x, a.y - b.y};
}
Vec operator*(Vec a, double k) {
  return {a.x * k, a.y * k};
}

Vec feet(const Point& p) {
  return {static_cast<double>(p.x), static_cast<double>(p.y)};
}

FinePoint fine_at(Vec feet) {
  return {std::llround(feet.x * kUnitsPerFoot), std::llround(feet.y * kUnitsPerFoot)};
}

// Where segment a-b first meets the closed polygon, as a fraction of a-b.
std::optional<double> first_meeting(Vec a, Vec b, const std::vector<Point>& polygon) {
  std::optional<double> first;
  const Vec r = b - a;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const Vec p = feet(polygon[i]);
    const Vec s = feet(polygon[(i + 1) % polygon.size()]) - p;
    const double cross = r.x * s.y - r.y * s.x;
    if (cross == 0) continue;
    const Vec ap = p - a;
    const double t = (ap.x * s.y - ap.y * s.x) / cross;
    const double u = (ap.x * r.y - ap.y * r.x) / cross;
    if (t >= 0 && t <= 1 && u >= 0 && u <= 1 && (!first || t < *first)) first = t;
  }
  return first;
}

Portal portal_across(Vec centre, Vec across, bool closed) {
  FinePoint a = fine_at(centre - across * kCorridorWallFeet);
  FinePoint b = fine_at(centre + across * kCorridorWallFeet);
  if (b.x < a.x || b.y < a.y) std::swap(a, b);
  return {a, b, closed};
}

// The passage into a room that is not a rectangle meets its walls where
// either side of the passage first reaches them: there both ends of the
// portal lie on walls, and the passage behind it is shut off. The drawing
// puts the door's symbol a little further in, where the middle of the
// passage is inside the room.
Portal portal_in_passage(const std::vector<Point>& stub, const std::vector<Point>& outline,
                         bool closed) {
  Vec centre = feet(stub.back());
  Vec across{1, 0};
  for (std::size_t i = 0; i + 1 < stub.size(); ++i) {
    const Vec a = feet(stub[i]);
    Vec b = feet(stub[i + 1]);
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    if (length == 0) continue;
    const Vec d = (b - a) * (1 / length);
    across = {-d.y, d.x};
    // The last leg's square end reaches past its last point.
    if (i + 2 == stub.size()) b = b + d * kCorridorWallFeet;
    std::optional<double> meeting;
    for (const double side : {-kCorridorWallFeet, kCorridorWallFeet}) {
      const std::optional<double> t = first_meeting(a + across * side, b + across * side, outline);
      if (t && (!meeting || *t < *meeting)) meeting = t;
    }
    if (meeting) return portal_across(a + (b - a) * *meeting, across, closed);
  }
  return portal_across(centre, across, closed);
}

// The opening a door in a wall leaves, along the wall from its middle, in
// quarter feet. Doors closer together than a corridor's width share one
// opening (their corridors run together): each then reaches halfway to its
// neighbour, so that doors side by side close the opening between them and
// an archway beside a door leaves its half open.
struct Opening {
  int64_t before = -kCorridorWall;
  int64_t after = kCorridorWall;
};

std::vector<Opening> openings_in_walls(const PlanLevel& level,
                                       const std::vector<const PlanRoom*>& room_of) {
  struct OnWall {
    int room;
    Wall wall;
    int along;
    std::size_t door;
    bool operator<(const OnWall& o) const {
      return std::tie(room, wall, along) < std::tie(o.room, o.wall, o.along);
    }
  };
  std::vector<OnWall> order;
  for (std::size_t i = 0; i < level.doors.size(); ++i) {
    const PlanDoor& door = level.doors[i];
    if (!room_of[static_cast<std::size_t>(door.room)]
             ->door_stubs[static_cast<std::size_t>(door.slot)]
             .empty()) {
      continue;
    }
    order.push_back({door.room, door.wall, north_south(door.wall) ? door.at.x : door.at.y, i});
  }
  std::sort(order.begin(), order.end());
  std::vector<Opening> openings(level.doors.size());
  for (std::size_t k = 0; k + 1 < order.size(); ++k) {
    const OnWall& first = order[k];
    const OnWall& second = order[k + 1];
    const int64_t apart = static_cast<int64_t>(second.along - first.along) * kUnitsPerFoot;
    if (first.room != second.room || first.wall != second.wall || apart >= 2 * kCorridorWall) {
      continue;
    }
    openings[first.door].after = apart / 2;
    openings[second.door].before = -apart / 2;
  }
  return openings;
}

std::vector<Portal> level_portals(const PlanLevel& level) {
  std::vector<const PlanRoom*> room_of;
  for (const PlanRoom& room : level.rooms) {
    if (static_cast<std::size_t>(room.number) >= room_of.size()) {
      room_of.resize(static_cast<std::size_t>(room.number) + 1, nullptr);
    }
    room_of[static_cast<std::size_t>(room.number)] = &room;
  }
  const std::vector<Opening> openings = openings_in_walls(level, room_of);
  std::vector<Portal> portals;
  for (std::size_t i = 0; i < level.doors.size(); ++i) {
    const PlanDoor& door = level.doors[i];
    const Passage passage = passage_kind(door.passage);
    if (passage == Passage::kArchway) continue;
    const bool closed = passage != Passage::kBrokenDoor;
    const PlanRoom& room = *room_of[static_cast<std::size_t>(door.room)];
    const std::vector<Point>& stub = room.door_stubs[static_cast<std::size_t>(door.slot)];
    if (!stub.empty()) {
      portals.push_back(portal_in_passage(stub, room.outline, closed));
      continue;
    }
    const IntPoint at = fine(door.at);
    const Point on = along(door.wall);
    const Opening& opening = openings[i];
    portals.push_back({{at.X + on.x * opening.before, at.Y + on.y * opening.before},
                       {at.X + on.x * opening.after, at.Y + on.y * opening.after},
                       closed});
  }
  return portals;
}

// Clipper rounds where a corridor's side meets a slanting wall to the grid,
// as the portal's end is rounded, but not always the same way: an end a
// unit off the wall's corner moves onto it, so that no light leaks by.
void close_gaps(std::vector<Portal>& portals, const std::vector<std::vector<FinePoint>>& rings) {
  std::vector<FinePoint> corners;
  for (const auto& ring : rings) corners.insert(corners.end(), ring.begin(), ring.end() - 1);
  const auto west_first = [](const FinePoint& a, const FinePoint& b) {
    return std::tie(a.x, a.y) < std::tie(b.x, b.y);
  };
  std::sort(corners.begin(), corners.end(), west_first);
  for (Portal& portal : portals) {
    for (FinePoint* end : {&portal.a, &portal.b}) {
      const FinePoint* nearest = nullptr;
      int64_t off = 2;
      auto it = std::lower_bound(corners.begin(), corners.end(), FinePoint{end->x - 1, end->y - 1},
                                 west_first);
      for (; it != corners.end() && it->x <= end->x + 1; ++it) {
        const int64_t here = std::max(std::abs(it->x - end->x), std::abs(it->y - end->y));
        if (here < off) {
          off = here;
          nearest = &*it;
        }
      }
      if (nearest != nullptr) *end = *nearest;
    }
  }
}

}  // namespace

LevelWalls level_walls(const PlanLevel& level) {
  ClipperLib::Clipper clipper;
  clipper.AddPaths(room_floors(level), ClipperLib::ptSubject, true);
  clipper.AddPaths(corridor_strips(level), ClipperLib::ptSubject, true);
  Paths outline;
  clipper.Execute(ClipperLib::ctUnion, outline, ClipperLib::pftNonZero, ClipperLib::pftNonZero);

  LevelWalls walls;
  walls.rings.reserve(outline.size());
  for (const Path& path : outline) {
    if (path.size() >= 3) walls.rings.push_back(closed_ring(path));
  }
  std::sort(walls.rings.begin(), walls.rings.end(), [](const auto& a, const auto& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), north_west_of);
  });
  walls.portals = level_portals(level);
  close_gaps(walls.portals, walls.rings);
  return walls;
}

}  // namespace atlas::vtt
