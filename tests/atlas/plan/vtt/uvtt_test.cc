// SPDX-License-Identifier: MIT
// A level as a tabletop file, read back as a tabletop reads it: the walls
// against the file's own picture, and the doors against the plan.
#include "atlas/plan/vtt/uvtt.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <set>

#include "atlas/common/finished_run.h"
#include "atlas/plan/describe.h"
#include "atlas/plan/layout/plan_layout.h"
#include "atlas/plan/vtt/picture.h"
#include "atlas/plan/vtt/walls.h"

namespace atlas_test {
namespace {

using nlohmann::json;

struct Xy {
  double x = 0;
  double y = 0;
};

Xy xy(const json& p) {
  return {p.at("x").get<double>(), p.at("y").get<double>()};
}

double distance_to_segment(Xy p, Xy a, Xy b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  const double t =
      length2 == 0 ? 0 : std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0);
  return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

// What the picture shows at a point: wall ink, white floor, the rock of the
// margin round the level, or something else drawn (symbols, the edges of
// letters).
enum class Ink { kWall, kRock, kFloor, kOther };

class Picture {
 public:
  Picture(const std::string& base64, int pixels_per_square) : per_square_(pixels_per_square) {
    gsize size = 0;
    guchar* png = g_base64_decode(base64.c_str(), &size);
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("png", nullptr);
    if (gdk_pixbuf_loader_write(loader, png, size, nullptr) &&
        gdk_pixbuf_loader_close(loader, nullptr)) {
      const GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader);
      width_ = gdk_pixbuf_get_width(pixbuf);
      height_ = gdk_pixbuf_get_height(pixbuf);
      for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
          const guchar* pixel = gdk_pixbuf_read_pixels(pixbuf) +
                                y * gdk_pixbuf_get_rowstride(pixbuf) +
                                x * gdk_pixbuf_get_n_channels(pixbuf);
          grey_.push_back(static_cast<uint8_t>((pixel[0] + pixel[1] + pixel[2]) / 3));
        }
      }
    }
    g_object_unref(loader);
    g_free(png);
  }

  int width() const { return width_; }
  int height() const { return height_; }

  // At a point given in squares.
  Ink at(Xy p) const {
    const int x = std::clamp(static_cast<int>(p.x * per_square_), 0, width() - 1);
    const int y = std::clamp(static_cast<int>(p.y * per_square_), 0, height() - 1);
    return at_pixel(x, y);
  }

  // The same all round the point, two pixels each way, or kOther: the
  // greys at the edge of a line can match the rock's.
  Ink around(Xy p) const {
    const int x = static_cast<int>(p.x * per_square_), y = static_cast<int>(p.y * per_square_);
    const Ink ink = at(p);
    for (int dy = -2; dy <= 2; ++dy) {
      for (int dx = -2; dx <= 2; ++dx) {
        const int px = std::clamp(x + dx, 0, width() - 1), py = std::clamp(y + dy, 0, height() - 1);
        if (at_pixel(px, py) != ink) return Ink::kOther;
      }
    }
    return ink;
  }

 private:
  Ink at_pixel(int x, int y) const {
    const int grey = grey_[static_cast<std::size_t>(y * width_ + x)];
    if (std::abs(grey - grey_[0]) <= 3) return Ink::kRock;  // the margin is rock
    return grey < 96 ? Ink::kWall : grey > 245 ? Ink::kFloor : Ink::kOther;
  }

  int per_square_;
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> grey_;
};

struct Case {
  uint32_t seed;
  int level;
  int pixels_per_square;
};

class TabletopFile : public testing::TestWithParam<Case> {};

// Seven's first level; a small and a middling level with caves; 566 rooms.
INSTANTIATE_TEST_SUITE_P(Levels, TabletopFile,
                         testing::Values(Case{7, 1, 20}, Case{4, 6, 20}, Case{12, 6, 20},
                                         Case{4, 2, 10}));

TEST_P(TabletopFile, WallsDoorsAndPictureAgree) {
  const Case c = GetParam();
  SCOPED_TRACE("seed " + std::to_string(c.seed) + " level " + std::to_string(c.level));
  const atlas::FinishedRun run(c.seed);
  atlas::Plan plan = atlas::lay_out_plan(run.d(), c.seed, run.outcome(), c.level);
  atlas::describe_plan(plan, run);
  const atlas::PlanLevel& level = plan.levels.at(0);
  const atlas::vtt::Picture drawn = atlas::vtt::level_picture(
      atlas::vtt::tabletop_drawing(level, c.pixels_per_square, false), c.pixels_per_square);
  const json file = json::parse(atlas::vtt::uvtt_document(atlas::vtt::level_walls(level), drawn));

  // Every field, and a picture of exactly the map's size.
  json fixed = file;
  for (const char* key : {"line_of_sight", "portals", "image"}) fixed.erase(key);
  const json& size = fixed.at("resolution").at("map_size");
  EXPECT_EQ(fixed, json::parse(R"({"format": 0.3, "objects_line_of_sight": [], "lights": [],
    "environment": {"baked_lighting": false, "ambient_light": "ffffffff"},
    "resolution": {"map_origin": {"x": 0, "y": 0}, "map_size": )" +
                               size.dump() + R"(, "pixels_per_grid": )" +
                               std::to_string(c.pixels_per_square) + "}}"));
  const Picture picture(file.at("image").get<std::string>(), c.pixels_per_square);
  ASSERT_EQ(picture.width(), size.at("x").get<int>() * c.pixels_per_square);
  ASSERT_EQ(picture.height(), size.at("y").get<int>() * c.pixels_per_square);

  constexpr double kFoot = 1.0 / 5;
  const atlas::Rect frame = drawn.frame;
  const auto squares = [&](double x, double y) {
    return Xy{(x - frame.x) * kFoot, (y - frame.y) * kFoot};
  };
  // Where each door's symbol is drawn: on its wall, or where its passage
  // meets a room that is not a rectangle.
  std::vector<const std::vector<atlas::Point>*> stubs;
  std::set<std::pair<int, int>> near_doors;  // squares
  for (const atlas::PlanDoor& door : level.doors) {
    const auto room = std::find_if(level.rooms.begin(), level.rooms.end(),
                                   [&](const auto& r) { return r.number == door.room; });
    const std::vector<atlas::Point>& stub = room->door_stubs[static_cast<std::size_t>(door.slot)];
    const Xy at =
        stub.empty() ? squares(door.at.x, door.at.y) : squares(stub.back().x, stub.back().y);
    stubs.push_back(&stub);
    for (int d = 0; d < 9; ++d) near_doors.emplace(int(at.x) + d % 3 - 1, int(at.y) + d / 3 - 1);
  }

  // Each wall closed, and on drawn ink all along but under door symbols.
  std::vector<std::pair<Xy, Xy>> walls;
  for (const json& ring : file.at("line_of_sight")) {
    ASSERT_GE(ring.size(), 4u);
    EXPECT_EQ(ring.front(), ring.back());
    for (std::size_t i = 0; i + 1 < ring.size(); ++i) {
      const Xy a = xy(ring[i]), b = xy(ring[i + 1]);
      walls.emplace_back(a, b);
      const double length = std::hypot(b.x - a.x, b.y - a.y);
      for (double t = 0; t <= length; t += kFoot / 4) {
        const Xy p{a.x + (b.x - a.x) * t / length, a.y + (b.y - a.y) * t / length};
        if (near_doors.contains({int(p.x), int(p.y)})) continue;
        ASSERT_EQ(picture.at(p), Ink::kWall) << "wall at " << p.x << ", " << p.y;
      }
    }
  }

  // Floor inside the walls and rock outside, wherever the picture shows
  // either, at the corners and middles of all 5-foot cells: every room and
  // corridor is walled in, and no wall crosses one.
  std::size_t wrong = 0;
  Xy first_wrong;
  for (int row = 0; row <= 2 * size.at("y").get<int>(); ++row) {
    const double y = row / 2.0;
    std::vector<double> crossings;
    for (const auto& [a, b] : walls) {
      if ((a.y <= y) != (b.y <= y))
        crossings.push_back(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y));
    }
    std::sort(crossings.begin(), crossings.end());
    std::size_t passed = 0;
    for (int column = 0; column <= 2 * size.at("x").get<int>(); ++column) {
      const Xy p{column / 2.0, y};
      while (passed < crossings.size() && crossings[passed] < p.x) ++passed;
      const Ink ink = picture.around(p);
      if (passed % 2 == 1 ? ink == Ink::kRock : ink == Ink::kFloor) {
        if (wrong++ == 0) first_wrong = p;
      }
    }
  }
  EXPECT_EQ(wrong, 0u) << "first at " << first_wrong.x << ", " << first_wrong.y;

  // A portal at every door, archways aside, both ends on a wall; broken
  // doors stand open.
  const json& portals = file.at("portals");
  std::size_t next = 0;
  for (std::size_t i = 0; i < level.doors.size(); ++i) {
    const atlas::PlanDoor& door = level.doors[i];
    const atlas::Passage passage = atlas::passage_kind(door.passage);
    if (passage == atlas::Passage::kArchway) continue;
    ASSERT_LT(next, portals.size());
    const json& portal = portals[next++];
    EXPECT_EQ(portal.at("closed"), passage != atlas::Passage::kBrokenDoor);
    EXPECT_EQ(portal.at("freestanding"), false);
    // Across the door, or across the way into a room that is not a
    // rectangle, its square end included.
    const Xy a = xy(portal.at("bounds")[0]), b = xy(portal.at("bounds")[1]);
    double off_passage = distance_to_segment(squares(door.at.x, door.at.y), a, b);
    const std::vector<atlas::Point>& stub = *stubs[i];
    for (std::size_t k = 0; k + 1 < stub.size(); ++k) {
      const double dx = stub[k + 1].x - stub[k].x, dy = stub[k + 1].y - stub[k].y;
      const double length = std::hypot(dx, dy), reach = length + (k + 2 == stub.size() ? 2.75 : 0);
      for (double t = 0; t <= reach; t += 0.25) {
        const Xy p = squares(stub[k].x + dx * t / length, stub[k].y + dy * t / length);
        off_passage = std::min(off_passage, distance_to_segment(p, a, b));
      }
    }
    EXPECT_LT(off_passage, 0.05) << "door of room " << door.room << " slot " << door.slot;
    for (const json& end : portal.at("bounds")) {
      double off_wall = 1e9;
      for (const auto& [a, b] : walls)
        off_wall = std::min(off_wall, distance_to_segment(xy(end), a, b));
      // Or inside an opening shared with a door beside it, their corridors one.
      const bool shared =
          std::any_of(level.doors.begin(), level.doors.end(), [&](const atlas::PlanDoor& other) {
            return &other != &door && other.room == door.room &&
                   std::abs(other.at.x - door.at.x) + std::abs(other.at.y - door.at.y) < 5.5;
          });
      EXPECT_TRUE(off_wall < 0.06 || shared) << "portal end " << end << ", " << off_wall;
    }
  }
  EXPECT_EQ(next, portals.size());
  // Doors side by side share their opening rather than overlap.
  for (const json& one : portals) {
    const Xy a = xy(one.at("bounds")[0]), b = xy(one.at("bounds")[1]);
    for (const json& other : portals) {
      const Xy c = xy(other.at("bounds")[0]), d = xy(other.at("bounds")[1]);
      const bool in_line =
          (a.y == b.y && c.y == d.y && a.y == c.y) || (a.x == b.x && c.x == d.x && a.x == c.x);
      EXPECT_FALSE(&one != &other && in_line && a.x + a.y < d.x + d.y && c.x + c.y < b.x + b.y)
          << one;
    }
  }
}

// Doors into rooms of every shape, over whole dungeons: both ends of every
// portal on a wall, wherever the passage meets a slanting or curved wall.
TEST(TabletopWalls, EveryPortalEndsOnAWall) {
#if defined(__SANITIZE_ADDRESS__)
  constexpr uint32_t kSeeds = 4;
#else
  constexpr uint32_t kSeeds = 30;
#endif
  int into_shaped_rooms = 0;
  for (uint32_t seed = 0; seed < kSeeds; ++seed) {
    const atlas::FinishedRun run(seed);
    atlas::Plan plan = atlas::lay_out_plan(run.d(), seed, run.outcome());
    atlas::describe_plan(plan, run);
    for (const atlas::PlanLevel& level : plan.levels) {
      SCOPED_TRACE("seed " + std::to_string(seed) + " level " + std::to_string(level.level));
      const atlas::vtt::LevelWalls walls = atlas::vtt::level_walls(level);
      constexpr double kFoot = atlas::vtt::kUnitsPerFoot;
      const auto feet = [&](const atlas::vtt::FinePoint& p) {
        return Xy{p.x / kFoot, p.y / kFoot};
      };
      std::vector<std::pair<Xy, Xy>> segments;
      for (const auto& ring : walls.rings) {
        for (std::size_t i = 0; i + 1 < ring.size(); ++i)
          segments.emplace_back(feet(ring[i]), feet(ring[i + 1]));
      }
      std::size_t next = 0;
      for (const atlas::PlanDoor& door : level.doors) {
        if (atlas::passage_kind(door.passage) == atlas::Passage::kArchway) continue;
        const atlas::vtt::Portal& portal = walls.portals.at(next++);
        const bool shared = std::any_of(level.doors.begin(), level.doors.end(), [&](const auto& o) {
          return &o != &door && o.room == door.room &&
                 std::abs(o.at.x - door.at.x) + std::abs(o.at.y - door.at.y) <= 5;
        });
        const auto room = std::find_if(level.rooms.begin(), level.rooms.end(),
                                       [&](const auto& r) { return r.number == door.room; });
        if (shared || room->outline.empty()) continue;
        ++into_shaped_rooms;
        for (const Xy end : {feet(portal.a), feet(portal.b)}) {
          double off = 1e9;
          for (const auto& [a, b] : segments) off = std::min(off, distance_to_segment(end, a, b));
          EXPECT_LT(off, 0.3) << "door of room " << door.room << " slot " << door.slot << " at "
                              << end.x << ", " << end.y;
        }
      }
    }
  }
  EXPECT_GT(into_shaped_rooms, kSeeds * 20);
}

}  // namespace
}  // namespace atlas_test
