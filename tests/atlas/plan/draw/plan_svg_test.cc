// SPDX-License-Identifier: MIT
// Floor plans drawn: the SVG and PNG of `dungeon-atlas plan`, and the SVG a
// book embeds.
#include "atlas/plan/draw/plan_svg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "atlas/common/finished_run.h"
#include "atlas/plan/describe.h"
#include "atlas/plan/draw/plan_png.h"
#include "atlas/plan/layout/plan_layout.h"
#include "process.h"

namespace atlas_test {
namespace {

using atlas::FinishedRun;

// Found in the report's order, not taken from the code under test.
bool printed(const FinishedRun& run, int n) {
  const dungeon::Dungeon& d = run.d();
  return std::find(d.report_order.begin(), d.report_order.begin() + d.reported, n) !=
         d.report_order.begin() + d.reported;
}

// What a room's <title> must say.
std::string title(const FinishedRun& run, int n) {
  return "Room " + std::to_string(n) + ": " +
         (printed(run, n) ? std::string(run.d().room(n).description.view()) : "not explored");
}

// What plan_svg_shape.py read from an SVG file.
struct SvgShape {
  std::map<int, std::string> titles;
  std::set<int> unexplored;
  std::vector<std::string> headings;
  std::vector<std::string> links;
};

SvgShape read_svg(const std::string& path) {
  const ProcessResult result = run_python("plan/draw/plan_svg_shape.py", {path});
  EXPECT_EQ(result.status, 0) << result.out << result.err;
  SvgShape shape;
  std::istringstream in(result.out);
  for (std::string kind; in >> kind;) {
    std::string rest;
    std::getline(in, rest);
    rest.erase(0, 1);
    if (kind == "room") {
      std::istringstream fields(rest);
      int n = 0;
      std::string state;
      fields >> n >> state;
      std::string title;
      std::getline(fields, title);
      EXPECT_TRUE(shape.titles.emplace(n, title.substr(1)).second) << "room " << n << " twice";
      if (state == "unexplored") shape.unexplored.insert(n);
    } else if (kind == "heading") {
      shape.headings.push_back(rest);
    } else if (kind == "link") {
      shape.links.push_back(rest);
    }
  }
  return shape;
}

TEST(PlanSvg, EveryRoomOnceWithItsTitleAndEveryLevelHeaded) {
  const TempDir dir;
  for (const uint32_t seed : {2u, 7u, 0u}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const FinishedRun run(seed);
    const std::string file = dir.file(std::to_string(seed) + ".svg");
    const ProcessResult result =
        run_atlas({"plan", "--seed", std::to_string(seed), "--format", "svg", "-o", file});
    EXPECT_EQ(result.status, run.outcome() == dungeon::RunOutcome::kOverflow ? 156 : 0)
        << result.err;
    const SvgShape shape = read_svg(file);

    ASSERT_EQ(static_cast<int>(shape.titles.size()), run.rooms());
    std::map<int, int> per_level;
    std::set<int> ungenerated;
    for (int n = 1; n <= run.rooms(); ++n) {
      ASSERT_EQ(shape.titles.count(n), 1u) << "room " << n;
      EXPECT_EQ(shape.titles.at(n), title(run, n));
      ++per_level[run.d().room(n).level];
      if (!printed(run, n)) ungenerated.insert(n);
    }
    EXPECT_EQ(shape.unexplored, ungenerated);
    if (seed == 0) {
      EXPECT_FALSE(ungenerated.empty());
      // The overflow's status, whatever the format.
      EXPECT_EQ(
          run_atlas({"plan", "--seed", "0", "--format", "json", "-o", dir.file("0.json")}).status,
          156);
    }
    std::vector<std::string> headings;
    for (const auto& [level, rooms] : per_level) {
      headings.push_back("Level " + std::to_string(level) + ": " + std::to_string(rooms) +
                         (rooms == 1 ? " room" : " rooms"));
    }
    EXPECT_EQ(shape.headings, headings);
  }
}

TEST(PlanSvg, OneLevelHasOnlyThatLevelsRooms) {
  const TempDir dir;
  const FinishedRun run(7);
  ASSERT_EQ(run_atlas({"plan", "--seed", "7", "--level", "3", "-o", dir.file("3.svg")}).status, 0);
  const SvgShape shape = read_svg(dir.file("3.svg"));
  std::set<int> expected;
  for (int n = 1; n <= run.rooms(); ++n) {
    if (run.d().room(n).level == 3) expected.insert(n);
  }
  std::set<int> drawn;
  for (const auto& [n, title] : shape.titles) drawn.insert(n);
  EXPECT_EQ(drawn, expected);
  EXPECT_EQ(shape.headings.size(), 1u);
}

// A PNG's width and height, from its header chunk.
std::pair<long, long> png_size(const std::string& png) {
  EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
  const auto at = [&](std::size_t i) {
    long value = 0;
    for (std::size_t k = i; k < i + 4; ++k)
      value = value * 256 + static_cast<unsigned char>(png[k]);
    return value;
  };
  return {at(16), at(20)};
}

TEST(PlanPng, RendersAPictureAtMost8000PixelsASideByDefault) {
  const TempDir dir;
  const ProcessResult result = run_atlas(
      {"plan", "--seed", "0", "--level", "4", "--format", "png", "-o", dir.file("0.png")});
  ASSERT_EQ(result.status, 156) << result.err;
  const auto [width, height] = png_size(read_file(dir.file("0.png")));
  EXPECT_EQ(std::max(width, height), 8000);
}

// What a virtual tabletop needs: the level alone at a whole number of pixels
// a 5-foot square, each square on whole pixels.
TEST(PlanPng, ALevelAloneAtPixelsASquareHasItsSquaresOnWholePixels) {
  const FinishedRun run(7);
  atlas::Plan plan = atlas::lay_out_plan(run.d(), 7, run.outcome(), 2);
  atlas::describe_plan(plan, run);
  atlas::DrawOptions options;
  options.player = true;
  options.grid = atlas::GridLines::kNone;
  options.title = options.legend = options.compass = false;
  options.pixels_per_foot = 70 / 5.0;
  const atlas::SvgDrawing drawing = atlas::plan_level_svg(plan.levels[0], options);
  EXPECT_EQ(drawing.frame.x % 10, 0);
  EXPECT_EQ(drawing.width, drawing.frame.w / 5 * 70);
  EXPECT_EQ(drawing.height, drawing.frame.h / 5 * 70);
  EXPECT_EQ(drawing.svg.find("class=\"grid\""), std::string::npos);
  // Room 44's stairs keep their symbol in the room: no leader to nothing.
  EXPECT_EQ(drawing.svg.find("class=\"leader\""), std::string::npos);
  const std::string png = atlas::plan_png(drawing, 150);
  EXPECT_EQ(png_size(png),
            std::make_pair(long{drawing.frame.w / 5 * 70}, long{drawing.frame.h / 5 * 70}));
  // 150 dots an inch are 5906 a metre, recorded for printing.
  EXPECT_NE(png.find(std::string("pHYs\0\0\x17\x12\0\0\x17\x12\x01", 13)), std::string::npos);
}

// Too large a picture is refused at once, in one line that says how large a
// scale fits; and nothing is written.
TEST(PlanPng, RefusesAPictureTheRendererCannotMake) {
  const TempDir dir;
  const ProcessResult result = run_atlas({"plan", "--seed", "7", "--format", "png",
                                          "--px-per-square", "300", "-o", dir.file("7.png")});
  EXPECT_EQ(result.status, 2);
  EXPECT_TRUE(dir.entries().empty());
  long width = 0, height = 0, fits = 0;
  ASSERT_EQ(std::sscanf(result.err.c_str(),
                        "dungeon-atlas: --px-per-square 300 makes a picture of %ld x %ld pixels, "
                        "more than the renderer can make (32767 a side, 2 GB in all); the "
                        "largest that fits is --px-per-square %ld;",
                        &width, &height, &fits),
            3)
      << result.err;
  EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1);
  const auto possible = [&](long px) {
    const double w = std::round(static_cast<double>(width) * px / 300);
    const double h = std::round(static_cast<double>(height) * px / 300);
    return w <= 32767 && h <= 32767 && w * h * 4 < 2147483648.0;
  };
  EXPECT_TRUE(possible(fits));
  EXPECT_FALSE(possible(fits + 1));
}

TEST(PlanSvg, GridEveryTenOrFiveFeetOrNone) {
  for (const auto& [grid, paths] : {std::pair{"10", 1}, {"5", 2}, {"none", 0}}) {
    const ProcessResult result = run_atlas({"plan", "--seed", "2", "--level", "2", "--grid", grid});
    ASSERT_EQ(result.status, 0) << result.err;
    std::size_t found = 0;
    for (std::size_t at = 0; (at = result.out.find("class=\"grid\"", at)) != std::string::npos;
         ++at) {
      ++found;
    }
    EXPECT_EQ(found, static_cast<std::size_t>(paths)) << "--grid " << grid;
    EXPECT_EQ(result.out.find("1 square = 5 ft") != std::string::npos, paths == 2);
  }
}

// The book pastes plans of several levels into one page: each room links to
// its key entry, each door to the room it opens toward on the plan, each
// stair to the room it reaches on its own level's plan. The links expected
// come from the dungeon's exits, not from the plan.
TEST(PlanSvg, BookOptionsPrefixIdsAndLinkRoomsDoorsAndStairs) {
  const FinishedRun run(7);
  atlas::Plan plan = atlas::lay_out_plan(run.d(), 7, run.outcome(), 2);
  atlas::describe_plan(plan, run);
  ASSERT_EQ(plan.levels.size(), 1u);
  const atlas::PlanLevel& level = plan.levels[0];
  atlas::DrawOptions options;
  options.prefixed_ids = true;
  options.links = true;
  options.labelled_by = "caption-2";
  const std::string svg = atlas::plan_level_svg(level, options).svg;
  EXPECT_TRUE(svg.starts_with("<svg ")) << svg.substr(0, 40);
  EXPECT_NE(svg.find(" id=\"plan-2-plan\""), std::string::npos);
  EXPECT_NE(svg.find(" aria-labelledby=\"caption-2\""), std::string::npos);
  EXPECT_EQ(svg.find(" id=\"room-"), std::string::npos) << "an id without the prefix";

  const TempDir dir;
  write_file(dir.file("level.svg"), svg);
  const SvgShape shape = read_svg(dir.file("level.svg"));
  std::multiset<std::string> expected_links;
  int stairs = 0;
  for (const atlas::PlanRoom& room : level.rooms) {
    EXPECT_EQ(shape.titles.count(room.number), 1u) << "room " << room.number;
    expected_links.insert("#room-" + std::to_string(room.number));
    for (const dungeon::Exit& exit : run.d().room(room.number).exits) {
      if (exit.room <= 0) continue;
      const int to_level = run.d().room(exit.room).level;
      stairs += to_level != 2;
      expected_links.insert("#plan-" + std::to_string(to_level) + "-room-" +
                            std::to_string(exit.room));
    }
  }
  ASSERT_GT(stairs, 0);
  EXPECT_EQ(std::multiset<std::string>(shape.links.begin(), shape.links.end()), expected_links);
}

}  // namespace
}  // namespace atlas_test
