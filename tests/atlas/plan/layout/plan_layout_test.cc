// SPDX-License-Identifier: MIT
// Floor plans checked against the rules every plan keeps, on the JSON
// document alone: the checks know rooms, doors and corridors only as the
// document gives them, so they hold the layout to account whatever its method.
#include "atlas/plan/layout/plan_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "atlas/common/errors.h"
#include "atlas/common/finished_run.h"
#include "atlas/plan/plan_json.h"
#include "atlas/plan/room_footprint.h"
#include "process.h"

namespace atlas {
namespace {

using atlas_test::ProcessResult;
using atlas_test::read_file;
using atlas_test::run_python;
using atlas_test::TempDir;
using atlas_test::write_file;
using nlohmann::ordered_json;

#if defined(__SANITIZE_ADDRESS__)
constexpr uint32_t kSeeds = 200;  // the sanitizers slow the layout tenfold
#else
constexpr uint32_t kSeeds = 2000;
#endif

struct Box {
  int x0, y0, x1, y1;  // closed: x0 <= x <= x1
};

Box box_of(const ordered_json& room) {
  const int x = room["x"], y = room["y"];
  return {x, y, x + room["width"].get<int>(), y + room["height"].get<int>()};
}

// Does the axis-parallel segment from a to b reach into the open interior?
bool enters(const Box& r, int ax, int ay, int bx, int by) {
  return std::max(ax, bx) > r.x0 && std::min(ax, bx) < r.x1 && std::max(ay, by) > r.y0 &&
         std::min(ay, by) < r.y1;
}

struct Figures {
  std::vector<double> density;  // levels of 10 rooms or more
  long corridors = 0, straight = 0, within_two_bends = 0, bends = 0;
  long levels = 0, levels_crossed = 0, crossings = 0, touches = 0;
};

// The part of run a-b more than 5' (square measure) from `door`, up to the
// ends it runs to: none, one or two closed runs.
std::vector<Box> beyond_doorway(Box run, std::array<int, 2> door) {
  const bool across = run.y0 == run.y1;
  const int line = across ? run.y0 : run.x0, lo = across ? run.x0 : run.y0;
  const int hi = across ? run.x1 : run.y1, at = across ? door[0] : door[1];
  if (std::abs(line - (across ? door[1] : door[0])) > 5) return {run};
  std::vector<Box> parts;
  const auto add = [&](int a, int b) {
    parts.push_back(across ? Box{a, line, b, line} : Box{line, a, line, b});
  };
  if (lo < at - 5) add(lo, std::min(hi, at - 5));
  if (hi > at + 5) add(std::max(lo, at + 5), hi);
  return parts;
}

// Strips 5' wide on two centrelines touch when the runs come within 5'.
bool within_five(const Box& a, const Box& b) {
  return std::max({0, a.x0 - b.x1, b.x0 - a.x1}) <= 5 &&
         std::max({0, a.y0 - b.y1, b.y0 - a.y1}) <= 5;
}

// Every rule, on one level's JSON; `d` is the dungeon it was drawn from.
void check_level(const dungeon::Dungeon& d, const std::vector<bool>& generated,
                 const ordered_json& level, uint32_t seed, Figures& figures) {
  const int number = level["level"];
  SCOPED_TRACE("seed " + std::to_string(seed) + " level " + std::to_string(number));
  const int numbered = d.tally.rooms();

  // 1. Exactly the level's rooms, once each, at their size.
  std::map<int, Box> rooms;
  for (const ordered_json& room : level["rooms"]) {
    const int n = room["number"];
    ASSERT_TRUE(n >= 1 && n <= numbered) << n;
    ASSERT_EQ(d.room(n).level, number) << "room " << n;
    ASSERT_TRUE(rooms.emplace(n, box_of(room)).second) << "room " << n << " twice";
    EXPECT_EQ(room["generated"].get<bool>(), generated[static_cast<std::size_t>(n)]);
    const Footprint f = generated[static_cast<std::size_t>(n)]
                            ? room_footprint(d.room(n).description.view())
                            : unexplored_footprint();
    const int w = room["width"], h = room["height"];
    EXPECT_TRUE((w == f.size.width && h == f.size.height) ||
                (w == f.size.height && h == f.size.width))
        << "room " << n << " is " << w << " x " << h;
    EXPECT_EQ(room["shape"], plan_shape_name(f.shape));
    const bool odd_shape = f.shape != PlanShape::kRectangle && f.shape != PlanShape::kCave &&
                           f.shape != PlanShape::kDoubleCave;
    EXPECT_TRUE(!odd_shape || (w % 10 == 0 && h % 10 == 0)) << "room " << n;
    // A shaped room's outline: a polygon inside its footprint.
    const Box r = box_of(room);
    EXPECT_EQ(room.contains("outline"), f.shape != PlanShape::kRectangle) << "room " << n;
    if (room.contains("outline")) {
      EXPECT_GE(room["outline"].size(), 3u) << "room " << n;
      for (const auto& p : room["outline"]) {
        EXPECT_TRUE(p[0] >= r.x0 && p[0] <= r.x1 && p[1] >= r.y0 && p[1] <= r.y1) << "room " << n;
      }
    }
  }
  int expected_rooms = 0;
  for (int n = 1; n <= numbered; ++n) expected_rooms += d.room(n).level == number ? 1 : 0;
  ASSERT_EQ(static_cast<int>(rooms.size()), expected_rooms);

  // 2. No two footprints overlap (a sweep over rooms sorted by west edge).
  std::vector<Box> sorted;
  for (const auto& [n, b] : rooms) sorted.push_back(b);
  std::sort(sorted.begin(), sorted.end(), [](const Box& a, const Box& b) { return a.x0 < b.x0; });
  for (std::size_t a = 0; a < sorted.size(); ++a) {
    for (std::size_t b = a + 1; b < sorted.size() && sorted[b].x0 < sorted[a].x1; ++b) {
      EXPECT_FALSE(sorted[b].y0 < sorted[a].y1 && sorted[a].y0 < sorted[b].y1)
          << "footprints overlap at " << sorted[b].x0 << "," << sorted[b].y0;
    }
  }

  // 3. A door for every ordinary exit, on the wall it names, the room beyond.
  std::map<std::pair<int, int>, std::pair<int, int>> doors;  // (room, slot) -> point
  for (const ordered_json& door : level["doors"]) {
    const int n = door["room"], slot = door["slot"];
    ASSERT_TRUE(rooms.count(n)) << "door of room " << n << " not on this level";
    const dungeon::Exit& exit = d.room(n).exits[static_cast<std::size_t>(slot)];
    Wall wall;
    ASSERT_TRUE(exit.room > 0 && wall_of_label(exit.label, &wall)) << n << "/" << slot;
    EXPECT_EQ(door["wall"], wall_name(wall));
    EXPECT_EQ(door["passage"], exit.kind);
    const Box& r = rooms.at(n);
    const int x = door["x"], y = door["y"];
    const bool on_wall = wall == Wall::kNorth   ? y == r.y0 && x > r.x0 && x < r.x1
                         : wall == Wall::kSouth ? y == r.y1 && x > r.x0 && x < r.x1
                         : wall == Wall::kWest  ? x == r.x0 && y > r.y0 && y < r.y1
                                                : x == r.x1 && y > r.y0 && y < r.y1;
    EXPECT_TRUE(on_wall) << "door " << n << "/" << slot << " at " << x << "," << y;
    ASSERT_TRUE(rooms.count(exit.room)) << "exit of room " << n << " leaves the level";
    const Box& o = rooms.at(exit.room);
    const bool beyond = wall == Wall::kNorth   ? o.y1 <= r.y0
                        : wall == Wall::kSouth ? o.y0 >= r.y1
                        : wall == Wall::kWest  ? o.x1 <= r.x0
                                               : o.x0 >= r.x1;
    EXPECT_TRUE(beyond) << "room " << exit.room << " is not beyond the " << wall_name(wall)
                        << " wall of room " << n;
    ASSERT_TRUE(doors.emplace(std::pair{n, slot}, std::pair{x, y}).second);
  }
  std::size_t exits = 0;
  for (const auto& [n, b] : rooms) {
    for (const dungeon::Exit& exit : d.room(n).exits) {
      Wall wall;
      exits += exit.room > 0 && wall_of_label(exit.label, &wall) ? 1 : 0;
    }
  }
  EXPECT_EQ(doors.size(), exits);

  // 4. One corridor per passage, door to door, out perpendicular, through no room.
  std::set<int> reached;
  struct Segment {
    int x0, y0, x1, y1;
    std::size_t corridor;
  };
  std::vector<Segment> segments;
  struct Ends {
    int from, to;
    std::array<int, 2> first, last;
  };
  std::vector<Ends> ends{{0, 0, {}, {}}};  // by corridor, from 1
  // Rooms filed by 100-foot columns, so each segment meets only its neighbours.
  int west = sorted.front().x0, east = west;
  for (const Box& r : sorted) east = std::max(east, r.x1);
  const auto column = [&](int x) { return std::clamp((x - west) / 100, 0, (east - west) / 100); };
  std::vector<std::vector<const Box*>> columns(static_cast<std::size_t>((east - west) / 100 + 1));
  for (const Box& r : sorted) {
    for (int c = column(r.x0); c <= column(r.x1); ++c)
      columns[static_cast<std::size_t>(c)].push_back(&r);
  }
  long level_straight = 0;
  for (const ordered_json& corridor : level["corridors"]) {
    const int from = corridor["from"]["room"], slot = corridor["from"]["slot"];
    const int to = corridor["to"]["room"];
    ASSERT_EQ(corridor["to"]["slot"], 0);
    ASSERT_EQ(d.room(from).exits[static_cast<std::size_t>(slot)].room, to);
    ASSERT_EQ(d.room(to).exits[0].room, from);
    EXPECT_TRUE(reached.insert(to).second) << "two corridors to room " << to;
    const std::vector<std::array<int, 2>> points = corridor["points"];
    ASSERT_GE(points.size(), 2u);
    const auto [fx, fy] = doors.at({from, slot});
    const auto [tx, ty] = doors.at({to, 0});
    EXPECT_TRUE(points.front()[0] == fx && points.front()[1] == fy) << "corridor to " << to;
    EXPECT_TRUE(points.back()[0] == tx && points.back()[1] == ty) << "corridor to " << to;
    int bends = 0;
    for (std::size_t k = 1; k < points.size(); ++k) {
      const auto [ax, ay] = points[k - 1];
      const auto [bx, by] = points[k];
      ASSERT_TRUE((ax == bx) != (ay == by)) << "corridor to " << to << " segment " << k;
      for (int c = column(std::min(ax, bx)); c <= column(std::max(ax, bx)); ++c) {
        for (const Box* r : columns[static_cast<std::size_t>(c)]) {
          if (enters(*r, ax, ay, bx, by)) ADD_FAILURE() << "corridor to " << to << " enters a room";
        }
      }
      segments.push_back(
          {std::min(ax, bx), std::min(ay, by), std::max(ax, bx), std::max(ay, by), reached.size()});
      bends += k > 1 ? 1 : 0;
    }
    // Out of the first door and into the second, each along its wall's normal.
    auto leaves = [](const Box& r, std::array<int, 2> door, std::array<int, 2> next) {
      if (door[1] == r.y0) return next[0] == door[0] && next[1] < door[1];
      if (door[1] == r.y1) return next[0] == door[0] && next[1] > door[1];
      if (door[0] == r.x0) return next[1] == door[1] && next[0] < door[0];
      return next[1] == door[1] && next[0] > door[0];
    };
    EXPECT_TRUE(leaves(rooms.at(from), points[0], points[1])) << "corridor to " << to;
    EXPECT_TRUE(leaves(rooms.at(to), points.back(), points[points.size() - 2]))
        << "corridor to " << to;
    ends.push_back({from, to, points.front(), points.back()});
    EXPECT_LE(bends, 2) << "corridor to " << to;
    ++figures.corridors;
    level_straight += bends == 0 ? 1 : 0;
    figures.straight += bends == 0 ? 1 : 0;
    figures.within_two_bends += bends <= 2 ? 1 : 0;
    figures.bends += bends;
  }
  for (const auto& [n, b] : rooms) {
    Wall wall;
    const bool by_corridor = n != 1 && wall_of_label(d.room(n).exits[0].label, &wall);
    EXPECT_EQ(reached.count(n), by_corridor ? 1u : 0u) << "room " << n;
  }

  // Crossings, counted here from scratch: segment pairs of two corridors that meet.
  std::sort(segments.begin(), segments.end(),
            [](const Segment& a, const Segment& b) { return a.x0 < b.x0; });
  int crossings = 0;
  for (std::size_t a = 0; a < segments.size(); ++a) {
    for (std::size_t b = a + 1; b < segments.size() && segments[b].x0 <= segments[a].x1; ++b) {
      crossings += segments[a].corridor != segments[b].corridor &&
                   segments[b].y0 <= segments[a].y1 && segments[a].y0 <= segments[b].y1;
    }
  }
  EXPECT_EQ(level["crossings"], crossings);
  EXPECT_EQ(crossings, 0);

  // Touches: runs of two corridors whose strips meet. Two corridors of one
  // room may meet within 5' of their own doors there.
  int touches = 0;
  for (std::size_t a = 0; a < segments.size(); ++a) {
    for (std::size_t b = a + 1; b < segments.size() && segments[b].x0 <= segments[a].x1 + 5; ++b) {
      const Segment& p = segments[a];
      const Segment& q = segments[b];
      if (p.corridor == q.corridor) continue;
      const Box pb{p.x0, p.y0, p.x1, p.y1}, qb{q.x0, q.y0, q.x1, q.y1};
      if (!within_five(pb, qb)) continue;
      const Ends& e = ends[p.corridor];
      const Ends& f = ends[q.corridor];
      std::vector<Box> ps{pb}, qs{qb};
      if (e.from == f.from || e.to == f.from || e.from == f.to) {
        ps = beyond_doorway(pb, e.from == f.from || e.from == f.to ? e.first : e.last);
        qs = beyond_doorway(qb, e.from == f.from || e.to == f.from ? f.first : f.last);
      }
      bool touch = false;
      for (const Box& x : ps) {
        for (const Box& y : qs) touch = touch || within_five(x, y);
      }
      if (touch) {
        ++touches;
        ADD_FAILURE() << "corridors to " << e.to << " and " << f.to << " touch near " << p.x0 << ","
                      << p.y0;
      }
    }
  }
  if (rooms.size() >= 10 && !level["corridors"].empty()) {
    EXPECT_GE(100 * level_straight, 40 * static_cast<long>(level["corridors"].size()));
  }

  // 5. Other levels only by stairs, both ends listed.
  std::size_t stairs = 0;
  for (const auto& [n, b] : rooms) {
    for (const dungeon::Exit& exit : d.room(n).exits) {
      Wall wall;
      stairs += exit.room > 0 && !wall_of_label(exit.label, &wall) ? 1 : 0;
    }
  }
  EXPECT_EQ(level["stairs"].size(), stairs);
  for (const ordered_json& s : level["stairs"]) {
    const int n = s["room"], slot = s["slot"], to = s["to_room"];
    const dungeon::Exit& exit = d.room(n).exits[static_cast<std::size_t>(slot)];
    EXPECT_EQ(exit.room, to);
    EXPECT_EQ(s["direction"], exit.label);
    EXPECT_EQ(s["to_level"], d.room(to).level);
    EXPECT_NE(d.room(to).level, number);
  }

  Box extent = sorted.front();
  long area = 0;
  for (const Box& r : sorted) {
    area += static_cast<long>(r.x1 - r.x0) * (r.y1 - r.y0);
    extent = {std::min(extent.x0, r.x0), std::min(extent.y0, r.y0), std::max(extent.x1, r.x1),
              std::max(extent.y1, r.y1)};
  }
  for (const Segment& s : segments) {
    extent = {std::min(extent.x0, s.x0), std::min(extent.y0, s.y0), std::max(extent.x1, s.x1),
              std::max(extent.y1, s.y1)};
  }
  if (rooms.size() >= 10) {
    figures.density.push_back(
        static_cast<double>(area) /
        (static_cast<double>(extent.x1 - extent.x0) * (extent.y1 - extent.y0)));
  }
  ++figures.levels;
  figures.levels_crossed += crossings > 0 ? 1 : 0;
  figures.crossings += crossings;
  figures.touches += touches;
}

struct Reach {
  int overflowed = 0, mammoths = 0, largest_level = 0, multi_level = 0;
};

// Seeds first, first + step, ... below kSeeds, each laid out and checked.
void check_seeds(uint32_t first, uint32_t step, Figures& figures, Reach& reach) {
  for (uint32_t seed = first; seed < kSeeds; seed += step) {
    const FinishedRun run(seed);
    const dungeon::Dungeon& d = run.d();
    const dungeon::RunOutcome outcome = run.outcome();
    const ordered_json plan = plan_json(lay_out_plan(d, seed, outcome));
    std::vector<bool> generated(static_cast<std::size_t>(d.tally.rooms()) + 1, false);
    for (int k = 0; k < d.reported; ++k) {
      generated[static_cast<std::size_t>(d.report_order[static_cast<std::size_t>(k)])] = true;
    }
    std::set<int> levels;
    for (int n = 1; n <= d.tally.rooms(); ++n) {
      levels.insert(d.room(n).level);
      reach.mammoths += d.room(n).description.view().starts_with("Mammoth") ? 1 : 0;
    }
    ASSERT_EQ(plan["seed"], seed);
    ASSERT_EQ(plan["levels"].size(), levels.size());
    for (const ordered_json& level : plan["levels"]) {
      ASSERT_TRUE(levels.count(level["level"].get<int>()));
      check_level(d, generated, level, seed, figures);
      reach.largest_level = std::max(reach.largest_level, static_cast<int>(level["rooms"].size()));
      if (::testing::Test::HasFailure()) return;  // one broken plan says enough
    }
    reach.overflowed += outcome == dungeon::RunOutcome::kOverflow ? 1 : 0;
    reach.multi_level += levels.size() > 1 ? 1 : 0;
  }
}

TEST(PlanLayout, KeepsEveryRuleOnEveryLevelOfManySeeds) {
  // Two threads, each its own dungeon; the figures are merged in a fixed order.
  Figures both[2];
  Reach reaches[2];
  std::thread other(check_seeds, 1, 2, std::ref(both[1]), std::ref(reaches[1]));
  check_seeds(0, 2, both[0], reaches[0]);
  other.join();
  Figures figures = both[0];
  figures.density.insert(figures.density.end(), both[1].density.begin(), both[1].density.end());
  figures.corridors += both[1].corridors;
  figures.straight += both[1].straight;
  figures.within_two_bends += both[1].within_two_bends;
  figures.bends += both[1].bends;
  figures.levels += both[1].levels;
  figures.levels_crossed += both[1].levels_crossed;
  figures.crossings += both[1].crossings;
  figures.touches += both[1].touches;
  const int overflowed = reaches[0].overflowed + reaches[1].overflowed;
  const int mammoths = reaches[0].mammoths + reaches[1].mammoths;
  const int multi_level = reaches[0].multi_level + reaches[1].multi_level;
  const int largest_level = std::max(reaches[0].largest_level, reaches[1].largest_level);
  // The seeds must reach the hard cases.
  EXPECT_GT(overflowed, 0);
  EXPECT_GT(mammoths, 0);
  EXPECT_GT(multi_level, 0);
  EXPECT_GE(largest_level, kSeeds >= 2000 ? 700 : 300);

  std::sort(figures.density.begin(), figures.density.end());
  const auto at = [&](double q) {
    return figures
        .density[static_cast<std::size_t>(q * static_cast<double>(figures.density.size() - 1))];
  };
  std::printf(
      "%u seeds, %ld levels: density (room area / drawing) lowest %.3f p10 %.3f median %.3f "
      "p90 %.3f; "
      "corridors %ld, straight %.1f%%, at most 2 bends %.2f%%, %.2f bends each; "
      "levels with no crossing %.1f%%, %.2f crossings per level, %ld touches\n",
      kSeeds, figures.levels, figures.density.front(), at(0.1), at(0.5), at(0.9), figures.corridors,
      100.0 * static_cast<double>(figures.straight) / static_cast<double>(figures.corridors),
      100.0 * static_cast<double>(figures.within_two_bends) /
          static_cast<double>(figures.corridors),
      static_cast<double>(figures.bends) / static_cast<double>(figures.corridors),
      100.0 * static_cast<double>(figures.levels - figures.levels_crossed) /
          static_cast<double>(figures.levels),
      static_cast<double>(figures.crossings) / static_cast<double>(figures.levels),
      figures.touches);
  EXPECT_GE(100 * figures.straight, 70 * figures.corridors);
  // Compact: a level of 10 rooms or more is not mostly rock.
  EXPECT_GE(at(0.5), 0.17);
  EXPECT_GE(at(0.1), 0.09);
  EXPECT_GE(figures.density.front(), 0.04);
}

TEST(PlanLayout, IsTheSameEveryRunAndNamesAMissingLevel) {
  // One dungeon grown again and again: nothing may linger from run to run.
  FinishedRun run(0);
  const dungeon::RunOutcome zero = run.outcome();
  const std::string first = plan_json(lay_out_plan(run.d(), 0, zero)).dump();
  run.regrow(7);
  const std::string seven = plan_json(lay_out_plan(run.d(), 7, run.outcome())).dump();
  run.regrow(0);
  EXPECT_EQ(plan_json(lay_out_plan(run.d(), 0, zero)).dump(), first);

  const Plan one = lay_out_plan(run.d(), 0, zero, 2);
  ASSERT_EQ(one.levels.size(), 1u);
  EXPECT_EQ(one.levels[0].level, 2);
  run.regrow(7);
  EXPECT_EQ(plan_json(lay_out_plan(run.d(), 7, run.outcome())).dump(), seven);
  try {
    lay_out_plan(run.d(), 7, run.outcome(), 99);
    FAIL() << "no error for a missing level";
  } catch (const UsageError& error) {
    EXPECT_TRUE(std::string(error.what())
                    .starts_with("the dungeon of seed 7 has no level 99 (its levels: 1"))
        << error.what();
  }
}

TEST(PlanJson, IsValidAgainstItsSchema) {
  const TempDir dir;
  std::vector<std::string> args{ATLAS_SCHEMA_DIR "/dungeon-atlas-plan.schema.json"};
  for (const uint32_t seed : {2u, 7u, 0u}) {
    const FinishedRun run(seed);
    args.push_back(dir.file(std::to_string(seed) + ".json"));
    write_file(args.back(), plan_json(lay_out_plan(run.d(), seed, run.outcome())).dump());
  }
  const ProcessResult valid = run_python("validate_json.py", args);
  EXPECT_EQ(valid.status, 0) << valid.out << valid.err;

  // The schema must be able to fail: a door on a wall no room has.
  ordered_json broken = ordered_json::parse(read_file(args[1]));
  broken["levels"][0]["doors"][0]["wall"] = "up";
  write_file(dir.file("broken.json"), broken.dump());
  const ProcessResult invalid = run_python("validate_json.py", {args[0], dir.file("broken.json")});
  EXPECT_EQ(invalid.status, 1) << invalid.out << invalid.err;
}

}  // namespace
}  // namespace atlas
