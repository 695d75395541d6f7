// SPDX-License-Identifier: MIT
// Floor plans drawn: the SVG and PNG of `dungeon-atlas plan`, and the SVG a
// book embeds.
#include "atlas/plan/draw/plan_svg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "atlas/common/finished_run.h"
#include "atlas/plan/describe.h"
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

TEST(PlanPng, RendersAPicture) {
  const TempDir dir;
  const ProcessResult result =
      run_atlas({"plan", "--seed", "7", "--format", "png", "-o", dir.file("7.png")});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string png = read_file(dir.file("7.png"));
  ASSERT_GT(png.size(), 20000u);
  EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
}

// The book pastes plans of several levels into one page and links them to
// its key.
TEST(PlanSvg, BookOptionsPrefixIdsAndLinkRoomsAndStairs) {
  const FinishedRun run(7);
  atlas::Plan plan = atlas::lay_out_plan(run.d(), 7, run.outcome(), 2);
  atlas::describe_plan(plan, run);
  ASSERT_EQ(plan.levels.size(), 1u);
  const atlas::PlanLevel& level = plan.levels[0];
  atlas::PlanSvgOptions options;
  options.id_prefix = "plan-2-";
  options.link_rooms = true;
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
  for (const atlas::PlanRoom& room : level.rooms) {
    EXPECT_EQ(shape.titles.count(room.number), 1u) << "room " << room.number;
    expected_links.insert("#room-" + std::to_string(room.number));
  }
  ASSERT_FALSE(level.stairs.empty());
  for (const atlas::PlanStairs& stairs : level.stairs) {
    expected_links.insert("#room-" + std::to_string(stairs.to_room));
  }
  EXPECT_EQ(std::multiset<std::string>(shape.links.begin(), shape.links.end()), expected_links);
}

}  // namespace
}  // namespace atlas_test
