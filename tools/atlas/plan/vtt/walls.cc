// SPDX-License-Identifier: MIT
#include "atlas/plan/vtt/walls.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
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

std::vector<const PlanRoom*> rooms_by_number(const PlanLevel& level) {
  std::vector<const PlanRoom*> room_of;
  for (const PlanRoom& room : level.rooms) {
    if (static_cast<std::size_t>(room.number) >= room_of.size()) {
      room_of.resize(static_cast<std::size_t>(room.number) + 1, nullptr);
    }
    room_of[static_cast<std::size_t>(room.number)] = &room;
  }
  return room_of;
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

// Mitred bends, as drawn.
Paths stroked(const Paths& lines, ClipperLib::EndType ends) {
  ClipperLib::ClipperOffset offset;
  offset.AddPaths(lines, ClipperLib::jtMiter, ends);
  Paths strips;
  offset.Execute(strips, kCorridorWall);
  return strips;
}

// The drawing puts the rooms over the corridors, so a corridor that passes
// a room, or runs on past its own door, has the room's wall beside it: it
// stops this far short of the wall, inside the wall's ink. It meets the
// room only through the mouth of its door, which reaches as far inside.
constexpr int kShortOfWall = 1;

Paths corridors_outside_rooms(const PlanLevel& level, const Paths& floors) {
  Paths lines;
  lines.reserve(level.corridors.size());
  for (const PlanCorridor& corridor : level.corridors) lines.push_back(fine_path(corridor.points));
  ClipperLib::ClipperOffset grow;
  grow.AddPaths(floors, ClipperLib::jtMiter, ClipperLib::etClosedPolygon);
  Paths grown;
  grow.Execute(grown, kShortOfWall);
  ClipperLib::Clipper cut;
  cut.AddPaths(stroked(lines, ClipperLib::etOpenButt), ClipperLib::ptSubject, true);
  cut.AddPaths(grown, ClipperLib::ptClip, true);
  Paths outside;
  cut.Execute(ClipperLib::ctDifference, outside, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
  return outside;
}

// Each door in a rectangle's wall, as wide as its corridor, from just
// outside the room to just inside it; inside, no wider than the wall, so
// that a door by a corner opens into its room alone.
Paths door_mouths(const PlanLevel& level) {
  const std::vector<const PlanRoom*> room_of = rooms_by_number(level);
  Paths mouths;
  for (const PlanDoor& door : level.doors) {
    const PlanRoom& room = *room_of[static_cast<std::size_t>(door.room)];
    if (!room.door_stubs[static_cast<std::size_t>(door.slot)].empty()) continue;
    const IntPoint at = fine(door.at);
    const Point on = along(door.wall);
    const Point in = inward(door.wall);
    const auto box = [&](int64_t from, int64_t to, int64_t out, int64_t deep) {
      Path corners;
      for (const auto& [side, depth] :
           {std::pair{from, out}, {to, out}, {to, deep}, {from, deep}}) {
        corners.push_back({at.X + on.x * side + in.x * depth, at.Y + on.y * side + in.y * depth});
      }
      if (!ClipperLib::Orientation(corners)) ClipperLib::ReversePath(corners);
      return corners;
    };
    const Rect r = room.footprint();
    const int64_t wall_from = (north_south(door.wall) ? r.x - door.at.x : r.y - door.at.y);
    const int64_t wall_to =
        (north_south(door.wall) ? r.right() - door.at.x : r.bottom() - door.at.y);
    mouths.push_back(box(-kCorridorWall, kCorridorWall, -2 * kShortOfWall, 0));
    mouths.push_back(box(std::max<int64_t>(-kCorridorWall, wall_from * kUnitsPerFoot),
                         std::min<int64_t>(kCorridorWall, wall_to * kUnitsPerFoot), -kShortOfWall,
                         kShortOfWall));
  }
  return mouths;
}

// The passages into rooms that are not rectangles end past the room's
// walls, their square ends the full width inside, as drawn.
Paths passages_in(const PlanLevel& level) {
  Paths lines;
  for (const PlanRoom& room : level.rooms) {
    for (const std::vector<Point>& stub : room.door_stubs) {
      if (!stub.empty()) lines.push_back(fine_path(stub));
    }
  }
  return stroked(lines, ClipperLib::etOpenSquare);
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

Portal portal_across(Vec centre, Vec across, bool closed) {
  FinePoint a = fine_at(centre - across * kCorridorWallFeet);
  FinePoint b = fine_at(centre + across * kCorridorWallFeet);
  if (b.x < a.x || b.y < a.y) std::swap(a, b);
  return {a, b, closed};
}

// How far p lies from the nearest edge of the polygons, in units.
double distance_to_edge(const IntPoint& p, const Paths& polygons) {
  double nearest = INFINITY;
  for (const Path& polygon : polygons) {
    for (std::size_t i = 0; i < polygon.size(); ++i) {
      const IntPoint& a = polygon[i];
      const IntPoint& b = polygon[(i + 1) % polygon.size()];
      const double dx = static_cast<double>(b.X - a.X), dy = static_cast<double>(b.Y - a.Y);
      const double px = static_cast<double>(p.X - a.X), py = static_cast<double>(p.Y - a.Y);
      const double squared = dx * dx + dy * dy;
      const double t = squared == 0 ? 0 : std::clamp((px * dx + py * dy) / squared, 0.0, 1.0);
      nearest = std::min(nearest, std::hypot(px - t * dx, py - t * dy));
    }
  }
  return nearest;
}

// The passage into a room that is not a rectangle opens where its part
// outside the room meets the room's walls, or another passage into the
// room that it runs into (a door near a corner, whose passage runs on past
// the wall to the room's curve). That contact runs across the passage only where
// a wall meets it square: along a slanting wall it runs obliquely, and past
// a curve it may reach round the passage's square end. The portal joins the
// two ends of the contact, so both lie on walls and the passage behind it is
// shut off. (The drawing puts the door's symbol a little further in, where
// the middle of the passage is inside the room.)
Portal portal_in_passage(const PlanRoom& room, int slot, bool closed) {
  const std::vector<Point>& stub = room.door_stubs[static_cast<std::size_t>(slot)];
  // Passages of doors further off than a corridor's width that run into
  // this one; doors nearer share their opening (share_openings).
  Paths others;
  for (const std::vector<Point>& other : room.door_stubs) {
    if (&other == &stub || other.empty()) continue;
    const int apart =
        std::abs(other.front().x - stub.front().x) + std::abs(other.front().y - stub.front().y);
    if (apart > 5) others.push_back(fine_path(other));
  }
  ClipperLib::Clipper join;
  join.AddPath(room_floor(room), ClipperLib::ptSubject, true);
  join.AddPaths(stroked(others, ClipperLib::etOpenSquare), ClipperLib::ptSubject, true);
  Paths inside;
  join.Execute(ClipperLib::ctUnion, inside, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
  ClipperLib::Clipper cut;
  cut.AddPaths(stroked({fine_path(stub)}, ClipperLib::etOpenSquare), ClipperLib::ptSubject, true);
  cut.AddPaths(inside, ClipperLib::ptClip, true);
  Paths outside;
  cut.Execute(ClipperLib::ctDifference, outside, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
  constexpr double kOnEdge = 1.5;  // units: Clipper rounds crossings to the grid
  for (const Path& piece : outside) {
    if (ClipperLib::PointInPolygon(fine(stub.front()), piece) == 0) continue;
    const std::size_t n = piece.size();
    std::vector<bool> on(n);
    for (std::size_t i = 0; i < n; ++i) on[i] = distance_to_edge(piece[i], inside) <= kOnEdge;
    const auto off = std::find(on.begin(), on.end(), false);
    if (off == on.end()) break;
    // The longest run of corners on the walls, going round from one off them.
    const std::size_t first = static_cast<std::size_t>(off - on.begin());
    std::size_t run = 0, longest = 0, from = 0, to = 0;
    for (std::size_t k = 1; k <= n; ++k) {
      const std::size_t i = (first + k) % n;
      run = on[i] ? run + 1 : 0;
      if (run > longest) std::tie(longest, from, to) = std::tuple{run, (i + n + 1 - run) % n, i};
    }
    if (longest < 2) break;
    FinePoint a{piece[from].X, piece[from].Y}, b{piece[to].X, piece[to].Y};
    if (std::tie(b.x, b.y) < std::tie(a.x, a.y)) std::swap(a, b);
    return {a, b, closed};
  }
  // No contact found: across the passage's end.
  const Vec end = feet(stub.back());
  const Vec before = feet(stub[stub.size() > 1 ? stub.size() - 2 : 0]);
  const double length = std::hypot(end.x - before.x, end.y - before.y);
  return portal_across(
      end, length == 0 ? Vec{1, 0} : Vec{-(end.y - before.y) / length, (end.x - before.x) / length},
      closed);
}

// Doors closer together than a corridor's width share one opening (their
// corridors run together): each then reaches halfway to its neighbour, so
// that doors side by side close the opening between them and an archway
// beside a door leaves its half open.
void share_openings(std::vector<Portal>& openings) {
  struct OnLine {
    bool east_west;
    int64_t line;
    int64_t from;
    int64_t middle;
    std::size_t index;
    auto operator<=>(const OnLine&) const = default;
  };
  std::vector<OnLine> order;
  order.reserve(openings.size());
  for (std::size_t i = 0; i < openings.size(); ++i) {
    const Portal& p = openings[i];
    const bool east_west = p.a.y == p.b.y;
    if (!east_west && p.a.x != p.b.x) continue;
    order.push_back(east_west ? OnLine{true, p.a.y, p.a.x, (p.a.x + p.b.x) / 2, i}
                              : OnLine{false, p.a.x, p.a.y, (p.a.y + p.b.y) / 2, i});
  }
  std::sort(order.begin(), order.end());
  for (std::size_t k = 0; k + 1 < order.size(); ++k) {
    const OnLine& first = order[k];
    const OnLine& second = order[k + 1];
    int64_t& end = first.east_west ? openings[first.index].b.x : openings[first.index].b.y;
    int64_t& start = first.east_west ? openings[second.index].a.x : openings[second.index].a.y;
    if (first.east_west != second.east_west || first.line != second.line || start >= end) {
      continue;
    }
    end = start = (first.middle + second.middle) / 2;
  }
}

// Where every door opens, archways too, in the level's door order.
std::vector<Portal> door_openings(const PlanLevel& level) {
  const std::vector<const PlanRoom*> room_of = rooms_by_number(level);
  std::vector<Portal> openings;
  openings.reserve(level.doors.size());
  for (const PlanDoor& door : level.doors) {
    const bool closed = passage_kind(door.passage) != Passage::kBrokenDoor;
    const PlanRoom& room = *room_of[static_cast<std::size_t>(door.room)];
    const std::vector<Point>& stub = room.door_stubs[static_cast<std::size_t>(door.slot)];
    openings.push_back(stub.empty() ? portal_across(feet(door.at), feet(along(door.wall)), closed)
                                    : portal_in_passage(room, door.slot, closed));
  }
  share_openings(openings);
  return openings;
}

// A portal ends where its opening does: at the wall corner on its line
// nearest each end, within a unit (Clipper rounds where a corridor's side
// meets a slanting wall to the grid, not always as the portal is rounded)
// or nearer the middle (a door by a corner whose corridor runs on past it),
// else the corner within a foot of it.
void close_gaps(std::vector<Portal>& portals, const std::vector<std::vector<FinePoint>>& rings) {
  std::vector<FinePoint> corners;
  for (const auto& ring : rings) corners.insert(corners.end(), ring.begin(), ring.end() - 1);
  const auto west_first = [](const FinePoint& a, const FinePoint& b) {
    return std::tie(a.x, a.y) < std::tie(b.x, b.y);
  };
  std::sort(corners.begin(), corners.end(), west_first);
  for (Portal& portal : portals) {
    const FinePoint middle{(portal.a.x + portal.b.x) / 2, (portal.a.y + portal.b.y) / 2};
    const Portal as_made = portal;
    for (const auto& [end, made] : {std::pair{&portal.a, as_made.a}, {&portal.b, as_made.b}}) {
      const auto off = [&](const FinePoint& p) {
        return std::max(std::abs(p.x - made.x), std::abs(p.y - made.y));
      };
      const int64_t reach = off(middle);
      const FinePoint* nearest = nullptr;
      auto it = std::lower_bound(corners.begin(), corners.end(),
                                 FinePoint{std::min(made.x, middle.x) - 1, INT64_MIN}, west_first);
      for (; it != corners.end() && it->x <= std::max(made.x, middle.x) + 1; ++it) {
        const bool on_line =
            it->y >= std::min(made.y, middle.y) - 1 && it->y <= std::max(made.y, middle.y) + 1;
        if (on_line && off(*it) < reach && (nearest == nullptr || off(*it) < off(*nearest))) {
          nearest = &*it;
        }
      }
      // An oblique portal into a shaped room: the corner its end was made
      // at, where Clipper's union rounded it a little differently.
      if (nearest == nullptr) {
        constexpr int64_t kNear = kUnitsPerFoot;
        it = std::lower_bound(corners.begin(), corners.end(), FinePoint{made.x - kNear, INT64_MIN},
                              west_first);
        for (; it != corners.end() && it->x <= made.x + kNear; ++it) {
          if (off(*it) <= kNear && (nearest == nullptr || off(*it) < off(*nearest))) {
            nearest = &*it;
          }
        }
      }
      if (nearest != nullptr) *end = *nearest;
    }
  }
}

}  // namespace

LevelWalls level_walls(const PlanLevel& level) {
  ClipperLib::Clipper clipper;
  const Paths floors = room_floors(level);
  clipper.AddPaths(floors, ClipperLib::ptSubject, true);
  clipper.AddPaths(corridors_outside_rooms(level, floors), ClipperLib::ptSubject, true);
  clipper.AddPaths(door_mouths(level), ClipperLib::ptSubject, true);
  clipper.AddPaths(passages_in(level), ClipperLib::ptSubject, true);
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
  const std::vector<Portal> openings = door_openings(level);
  for (std::size_t i = 0; i < openings.size(); ++i) {
    if (passage_kind(level.doors[i].passage) != Passage::kArchway) {
      walls.portals.push_back(openings[i]);
    }
  }
  close_gaps(walls.portals, walls.rings);
  return walls;
}

}  // namespace atlas::vtt
