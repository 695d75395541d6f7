// SPDX-License-Identifier: MIT
// The walls of rooms that are not rectangles, checked over every such room
// of many dungeons, in both orientations a plan may give them.
#include "atlas/plan/room_outline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "atlas/common/finished_run.h"
#include "atlas/plan/room_footprint.h"

namespace atlas {
namespace {

bool holds(const std::vector<Point>& polygon, double x, double y) {
  bool in = false;
  for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const Point p = polygon[i];
    const Point q = polygon[j];
    if ((p.y > y) != (q.y > y) && x < double(q.x - p.x) * (y - p.y) / (q.y - p.y) + p.x) in = !in;
  }
  return in;
}

long long turn(Point o, Point a, Point b) {
  return 1LL * (a.x - o.x) * (b.y - o.y) - 1LL * (a.y - o.y) * (b.x - o.x);
}

bool sides_cross(Point a, Point b, Point c, Point d) {
  const long long d1 = turn(c, d, a), d2 = turn(c, d, b), d3 = turn(a, b, c), d4 = turn(a, b, d);
  return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

double area_of(const std::vector<Point>& polygon) {
  long long twice = 0;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const Point a = polygon[i];
    const Point b = polygon[(i + 1) % polygon.size()];
    twice += 1LL * a.x * b.y - 1LL * b.x * a.y;
  }
  return std::abs(static_cast<double>(twice)) / 2;
}

TEST(RoomOutline, InsideItsFootprintSimpleAboutTheStatedAreaAndReachedFromEveryDoor) {
  int outlines = 0;
  int stubs_short_of_the_room = 0;
  int stubs = 0;
  for (uint32_t seed = 0; seed < 150; ++seed) {
    const FinishedRun run(seed);
    const dungeon::Dungeon& d = run.d();
    for (int i = 0; i < d.reported; ++i) {
      const int n = d.report_order[static_cast<std::size_t>(i)];
      const std::string_view description = d.room(n).description.view();
      const Footprint f = room_footprint(description);
      PlanRoom room;
      room.number = n;
      room.x = -35;
      room.y = 20;
      room.width = f.size.width;
      room.height = f.size.height;
      EXPECT_EQ(room_outline(f, room).empty(), f.shape == PlanShape::kRectangle) << description;
      if (f.shape == PlanShape::kRectangle) continue;
      for (const bool turned : {false, true}) {
        if (turned) std::swap(room.width, room.height);
        room.outline = room_outline(f, room);
        const std::vector<Point>& o = room.outline;
        SCOPED_TRACE(std::string(description) + (turned ? ", turned" : ""));
        ++outlines;
        ASSERT_GE(o.size(), 3u);
        EXPECT_EQ(room_outline(f, room), o) << "not repeatable";
        for (std::size_t k = 0; k < o.size(); ++k) {
          EXPECT_TRUE(o[k].x >= room.x && o[k].x <= room.x + room.width && o[k].y >= room.y &&
                      o[k].y <= room.y + room.height);
          for (std::size_t m = k + 2; m < o.size() && !(k == 0 && m == o.size() - 1); ++m) {
            ASSERT_FALSE(sides_cross(o[k], o[(k + 1) % o.size()], o[m], o[(m + 1) % o.size()]));
          }
        }
        EXPECT_TRUE(holds(o, room.x + room.width / 2.0, room.y + room.height / 2.0));
        const double ratio = area_of(o) / f.area;
        EXPECT_TRUE(ratio > 0.7 && ratio < 1.1) << ratio;

        // A door every five feet of every wall.
        for (const Wall wall : {Wall::kNorth, Wall::kSouth, Wall::kEast, Wall::kWest}) {
          const bool across = wall == Wall::kNorth || wall == Wall::kSouth;
          for (int along = 5; along < (across ? room.width : room.height); along += 5) {
            const Point door =
                across ? Point{room.x + along, wall == Wall::kNorth ? room.y : room.y + room.height}
                       : Point{wall == Wall::kWest ? room.x : room.x + room.width, room.y + along};
            const std::vector<Point> stub = door_stub(room, wall, door);
            ASSERT_EQ(stub.front(), door);
            for (std::size_t k = 1; k < stub.size(); ++k) {
              EXPECT_TRUE(stub[k].x == stub[k - 1].x || stub[k].y == stub[k - 1].y);
            }
            ++stubs;
            if (!holds(o, stub.back().x + 0.01, stub.back().y + 0.01)) ++stubs_short_of_the_room;
          }
        }
      }
    }
  }
  EXPECT_GT(outlines, 1000);
  // Rounding to whole feet may leave the end of a passage on a sharp corner.
  EXPECT_LT(stubs_short_of_the_room * 1000, stubs) << stubs_short_of_the_room << " of " << stubs;
}

}  // namespace
}  // namespace atlas
