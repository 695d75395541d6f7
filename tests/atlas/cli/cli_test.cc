// SPDX-License-Identifier: MIT
// dungeon-atlas run as a program, the way people and scripts use it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>

#include "atlas/cli/version.h"
#include "framework/run.h"
#include "process.h"

namespace atlas_test {
namespace {

using nlohmann::json;

using dungeon::testing::reference_report;

std::string engine_report(uint32_t seed) {
  static const auto d = dungeon::make_dungeon();
  return dungeon::testing::report_for_seed(*d, seed);
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The `name value` lines svg_shape.py prints.
std::map<std::string, int> svg_shape(const std::string& svg_path) {
  const ProcessResult result = run_python("cli/svg_shape.py", {svg_path});
  EXPECT_EQ(result.status, 0) << result.out << result.err;
  std::map<std::string, int> shape;
  std::istringstream in(result.out);
  std::string name;
  int value = 0;
  while (in >> name >> value) shape[name] = value;
  return shape;
}

TEST(Show, TextIsTheReferenceReportByteForByte) {
  for (const uint32_t seed : {0u, 2u, 7u, 217u}) {
    const ProcessResult result = run_atlas({"show", "--seed", std::to_string(seed)});
    EXPECT_EQ(result.out, reference_report(seed)) << "seed " << seed;
    EXPECT_EQ(result.status, seed == 0 ? 156 : 0) << "seed " << seed;
    EXPECT_EQ(result.err, "");
  }
}

TEST(Show, TextIsTheEnginesReportForOtherSeeds) {
  for (const uint32_t seed : {1u, 5u, 1234567890u, 4294967295u}) {
    const ProcessResult result = run_atlas({"show", "--seed", std::to_string(seed)});
    const std::string expected = engine_report(seed);
    EXPECT_EQ(result.out, expected) << "seed " << seed;
    EXPECT_EQ(result.status, expected.ends_with("Error!!!\n") ? 156 : 0) << "seed " << seed;
  }
}

TEST(Show, WithoutASeedSaysWhichSeedItUsed) {
  const ProcessResult result = run_atlas({"show"});
  const std::vector<std::string> err = lines_of(result.err);
  ASSERT_EQ(err.size(), 1u) << result.err;
  ASSERT_TRUE(err[0].starts_with("seed: ")) << err[0];
  const std::string seed = err[0].substr(6);
  // The announced seed gives the same dungeon back.
  const ProcessResult again = run_atlas({"show", "--seed", seed});
  EXPECT_EQ(again.out, result.out);
  EXPECT_EQ(again.status, result.status);
  EXPECT_EQ(again.err, "");
}

TEST(Show, WritesTheFileOnlyAndNothingBeside) {
  const TempDir dir;
  const ProcessResult result = run_atlas({"show", "--seed", "0", "-o", dir.file("zero.txt")});
  EXPECT_EQ(result.status, 156);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(read_file(dir.file("zero.txt")), reference_report(0));
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"zero.txt"});
}

TEST(ShowJson, IsValidAgainstThePublishedSchema) {
  const TempDir dir;
  std::vector<std::string> documents;
  for (const uint32_t seed : {0u, 2u, 7u, 217u}) {
    const std::string path = dir.file(std::to_string(seed) + ".json");
    const ProcessResult result =
        run_atlas({"show", "--seed", std::to_string(seed), "--format", "json", "-o", path});
    EXPECT_EQ(result.status, seed == 0 ? 156 : 0);
    documents.push_back(path);
  }
  std::vector<std::string> args{ATLAS_SCHEMA_DIR "/dungeon-atlas.schema.json"};
  args.insert(args.end(), documents.begin(), documents.end());
  const ProcessResult valid = run_python("validate_json.py", args);
  EXPECT_EQ(valid.status, 0) << valid.out << valid.err;

  // The check must be able to fail: a document with a made-up outcome.
  json broken = json::parse(read_file(documents[1]));
  broken["outcome"] = "finished";
  write_file(dir.file("broken.json"), broken.dump());
  const ProcessResult invalid = run_python(
      "validate_json.py", {ATLAS_SCHEMA_DIR "/dungeon-atlas.schema.json", dir.file("broken.json")});
  EXPECT_EQ(invalid.status, 1) << invalid.out << invalid.err;
}

TEST(ScanJson, IsValidAgainstItsSchema) {
  const TempDir dir;
  const ProcessResult result =
      run_atlas({"scan", "0..5", "--format", "json", "--jobs", "2", "-o", dir.file("scan.json")});
  ASSERT_EQ(result.status, 0) << result.err;
  const ProcessResult valid =
      run_python("validate_json.py",
                 {ATLAS_SCHEMA_DIR "/dungeon-atlas-scan.schema.json", dir.file("scan.json")});
  EXPECT_EQ(valid.status, 0) << valid.out << valid.err;
  EXPECT_EQ(json::parse(read_file(dir.file("scan.json"))).size(), 6u);
}

TEST(Map, DotNeedsNoGraphviz) {
  const ProcessResult result = run_atlas({"map", "--seed", "217"});
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(result.out.starts_with("digraph \"dungeon 217\" {\n"));
  EXPECT_TRUE(result.out.ends_with("}\n"));
  EXPECT_EQ(result.err, "");
}

TEST(Map, SvgHasOneNodePerRoomAndOneEdgePerPassage) {
  const TempDir dir;
  ASSERT_EQ(run_atlas({"map", "--seed", "2", "--format", "svg", "-o", dir.file("2.svg")}).status,
            0);
  std::map<std::string, int> shape = svg_shape(dir.file("2.svg"));
  EXPECT_EQ(shape["rooms"], 28);
  EXPECT_EQ(shape["passages"], 27);
  EXPECT_EQ(shape["stairs"], 2);
  EXPECT_EQ(shape["stairs_labelled"], 2);
  EXPECT_EQ(shape["not_generated"], 0);

  ASSERT_EQ(run_atlas({"map", "--seed", "7", "--format", "svg", "-o", dir.file("7.svg")}).status,
            0);
  shape = svg_shape(dir.file("7.svg"));
  EXPECT_EQ(shape["rooms"], 297);
  EXPECT_EQ(shape["passages"], 296);
}

TEST(Map, SvgOfAnOverflowShowsTheUngeneratedRooms) {
  const TempDir dir;
  ASSERT_EQ(run_atlas({"map", "--seed", "0", "--format", "svg", "-o", dir.file("0.svg")}).status,
            0);
  const std::map<std::string, int> shape = svg_shape(dir.file("0.svg"));
  const int printed = 973;  // room blocks in tests/data/0.txt
  EXPECT_GT(shape.at("rooms"), dungeon::kMaxRoomNumber);
  EXPECT_EQ(shape.at("passages"), shape.at("rooms") - 1);
  EXPECT_EQ(shape.at("not_generated"), shape.at("rooms") - printed);
}

TEST(Map, PngRenders) {
  const TempDir dir;
  const ProcessResult result =
      run_atlas({"map", "--seed", "2", "--format", "png", "-o", dir.file("2.png")});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const std::string png = read_file(dir.file("2.png"));
  EXPECT_TRUE(png.starts_with("\x89PNG\r\n\x1a\n"));
  EXPECT_GT(png.size(), 10000u);
}

TEST(Map, OneLevel) {
  const ProcessResult result = run_atlas({"map", "--seed", "2", "--level", "5"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("subgraph cluster_level_5"), std::string::npos);
  EXPECT_EQ(result.out.find("subgraph cluster_level_1"), std::string::npos);
  EXPECT_NE(result.out.find("elsewhere10 -> room11"), std::string::npos);
}

std::vector<std::string> scan_rows(const std::vector<std::string>& args) {
  const ProcessResult result = run_atlas(args);
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "") << "no progress line unless standard error is a terminal";
  return lines_of(result.out);
}

TEST(Scan, ShardsTogetherAreTheWholeRange) {
  std::vector<std::string> whole = scan_rows({"scan", "3..20", "--no-header", "--jobs", "2"});
  ASSERT_EQ(whole.size(), 18u);
  std::vector<std::string> joined;
  for (int shard = 0; shard < 4; ++shard) {
    const std::vector<std::string> part = scan_rows(
        {"scan", "3..20", "--shard", std::to_string(shard) + "/4", "--no-header", "--jobs", "1"});
    for (const std::string& row : part) {
      const int seed = std::stoi(row.substr(0, row.find(',')));
      EXPECT_EQ((seed - 3) % 4, shard) << row;
    }
    joined.insert(joined.end(), part.begin(), part.end());
  }
  const auto by_seed = [](const std::string& a, const std::string& b) {
    return std::stoul(a.substr(0, a.find(','))) < std::stoul(b.substr(0, b.find(',')));
  };
  std::sort(joined.begin(), joined.end(), by_seed);
  EXPECT_EQ(joined, whole);
  EXPECT_TRUE(std::is_sorted(whole.begin(), whole.end(), by_seed));
}

TEST(Scan, FiltersKeepOnlyMatchingRuns) {
  const std::vector<std::string> all = scan_rows({"scan", "0..11", "--no-header"});
  const std::vector<std::string> some = scan_rows(
      {"scan", "0..11", "--no-header", "--complete", "--rooms", "20..300", "--deepest", "3..6"});
  ASSERT_FALSE(some.empty());
  EXPECT_LT(some.size(), all.size());
  std::size_t kept = 0;
  for (const std::string& row : all) {
    std::vector<std::string> field;
    std::istringstream in(row);
    for (std::string value; std::getline(in, value, ',');) field.push_back(value);
    ASSERT_EQ(field.size(), 7u);
    const int rooms = std::stoi(field[2]);
    const int deepest = std::stoi(field[3]);
    const bool wanted =
        field[1] == "complete" && rooms >= 20 && rooms <= 300 && deepest >= 3 && deepest <= 6;
    const bool listed = std::find(some.begin(), some.end(), row) != some.end();
    EXPECT_EQ(wanted, listed) << row;
    kept += wanted;
  }
  EXPECT_EQ(kept, some.size());
}

TEST(Cli, VersionIsTheProjectVersion) {
  const ProcessResult result = run_atlas({"--version"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "dungeon-atlas " ATLAS_PROJECT_VERSION "\n");
  EXPECT_STREQ(DUNGEON_ATLAS_VERSION, ATLAS_PROJECT_VERSION);
}

TEST(Cli, EveryCommandHasHelp) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--help"},
                                             {"show", "--help"},
                                             {"map", "--help"},
                                             {"plan", "--help"},
                                             {"scan", "--help"}}) {
    const ProcessResult result = run_atlas(args);
    EXPECT_EQ(result.status, 0) << args[0];
    EXPECT_NE(result.out.find("Usage: dungeon-atlas"), std::string::npos) << result.out;
    EXPECT_EQ(result.err, "");
  }
  EXPECT_NE(run_atlas({"scan", "--help"}).out.find("I counts from 0"), std::string::npos);
}

struct BadInput {
  std::vector<std::string> args;
  std::string says;  // part of the one error line
};

TEST(Cli, BadInputGetsOneLineAndStatusTwo) {
  const TempDir dir;
  const std::string out = dir.file("out");
  const std::vector<BadInput> cases = {
      {{"show", "--seed", "abc", "-o", out}, "invalid seed 'abc'"},
      {{"show", "--seed", "-1", "-o", out}, "negative seed '-1'"},
      {{"show", "--seed=-1", "-o", out}, "negative seed '-1'"},
      {{"show", "--seed", "4294967296", "-o", out}, "seed '4294967296' is too large"},
      {{"map", "--seed", "12x", "-o", out}, "invalid seed '12x'"},
      {{"scan", "5..2", "-o", out}, "reversed seed range '5..2'"},
      {{"scan", "", "-o", out}, "empty seed range"},
      {{"scan", "..", "-o", out}, "incomplete seed range"},
      {{"scan", "7", "-o", out}, "invalid seed range '7'"},
      {{"scan", "0..4294967296", "-o", out}, "too large"},
      {{"scan", "-o", out}, "missing the seed range"},
      {{"scan", "0..9", "--shard", "4/4", "-o", out}, "shard '4/4' is out of range"},
      {{"scan", "0..9", "--shard", "0/0", "-o", out}, "N must be at least 1"},
      {{"scan", "0..9", "--shard", "-1/4", "-o", out}, "negative shard index"},
      {{"scan", "0..9", "--rooms", "9..1", "-o", out}, "reversed rooms range"},
      {{"scan", "0..9", "--deepest", "a..b", "-o", out}, "invalid deepest bound 'a'"},
      {{"scan", "0..9", "--jobs", "0", "-o", out}, "job count"},
      {{"scan", "0..9", "--format", "xml", "-o", out}, "unknown format 'xml' for scan"},
      {{"show", "--format", "html", "-o", out}, "unknown format 'html' for show"},
      {{"map", "--format", "gif", "-o", out}, "unknown format 'gif' for map"},
      {{"map", "--seed", "2", "--level", "3", "-o", out}, "has no level 3"},
      {{"map", "--seed", "2", "--level", "-2", "-o", out}, "negative level"},
      {{"plan", "--format", "pdf", "-o", out}, "unknown format 'pdf' for plan"},
      {{"plan", "--seed", "2", "--level", "3", "-o", out}, "has no level 3"},
      {{"book", "--scale", "huge", "-o", out}, "--scale needs fit, battle or a number"},
      {{"book", "--scale", "0.5", "-o", out}, "--scale needs fit, battle or a number"},
      {{"book", "--numbers", "-o", out}, "--numbers puts room numbers on the player's map"},
      {{"plan", "--grid", "7", "-o", out}, "--grid needs none, 5 or 10"},
      {{"plan", "--px-per-square", "70", "-o", out}, "--px-per-square sizes a picture"},
      {{"plan", "--format", "png", "--px-per-square", "0", "-o", out}, "--px-per-square needs"},
      {{"plan", "--scale", "fit", "-o", out}, "--scale sets the printed size"},
      {{"plan", "--format", "json", "--player", "-o", out}, "--player is for the drawings"},
      {{"plan", "--seed", "2", "--format", "uvtt", "-o", out}, "needs --level K"},
      {{"plan", "--seed", "2", "--level", "1", "--format", "uvtt", "--grid", "5", "-o", out},
       "tabletops draw their own"},
      {{"plan", "--seed", "0", "--level", "4", "--format", "uvtt", "-o", out},
       "the largest that fits is --px-per-square"},
      {{"explore"}, "unknown command 'explore'"},
      {{}, "no command given"},
      {{"show", "--colour", "-o", out}, "--colour"},
      {{"scan", "0..9", "10..20", "-o", out}, "10..20"},
      {{"show", "--seed", "1", "-o", dir.file("missing/out.txt")}, "No such file or directory"},
      {{"show", "--seed", "1", "-o", dir.path()}, "it is a directory"},
      {{"show", "--seed", "1", "-o", ""}, "-o needs a file name"},
      {{"show", "--seed", "\x1b[2J", "-o", out}, "invalid seed '\\x1b[2J'"},
      {{"show", "-o", dir.file("missing/a\x1b[31m\n\xc2\x9b")}, "a\\x1b[31m\\x0a\\xc2\\x9b'"},
      {{"scan", "0..9", "--rom\x07s"}, "--rom\\x07s"},
      {{"plan", "--level", "-o", out}, "--level needs a number, for example --level 2"},
      {{"show", "-o"}, "-o needs a file name"},
      {{"map", "--scale", "2", "-o", out}, "map has no option --scale (it has --seed, --format"},
      {{"show", "--seed", "1", "--seed=2", "-o", out}, "--seed is given twice"},
      {{"scan", "0..9", "--complete=no", "-o", out}, "--complete takes no value"},
      {{"--seed", "5", "show"}, "takes a command first, not --seed"},
  };
  for (const BadInput& bad : cases) {
    std::string shown;
    for (const std::string& arg : bad.args) shown += " " + arg;
    SCOPED_TRACE("dungeon-atlas" + shown);
    const ProcessResult result = run_atlas(bad.args);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    const std::vector<std::string> err = lines_of(result.err);
    ASSERT_EQ(err.size(), 1u) << result.err;
    EXPECT_TRUE(result.err.ends_with("\n"));
    EXPECT_TRUE(err[0].starts_with("dungeon-atlas: ")) << err[0];
    EXPECT_NE(err[0].find(bad.says), std::string::npos) << err[0];
    EXPECT_NE(err[0].find("--help"), std::string::npos) << err[0];
    for (const std::string cli11 : {"required", "not expected", "Expected"}) {
      EXPECT_EQ(err[0].find(cli11), std::string::npos) << "CLI11's own words: " << err[0];
    }
    EXPECT_TRUE(
        std::none_of(err[0].begin(), err[0].end(), [](char c) { return c >= 0 && c < ' '; }));
    EXPECT_TRUE(dir.entries().empty()) << "left behind: " << dir.entries().front();
  }
}

TEST(Cli, AnUnwritableFolderIsBadInputToo) {
  if (geteuid() == 0) {
    // root writes anywhere; a read-only place shows the same path instead.
    const ProcessResult result = run_atlas({"show", "--seed", "1", "-o", "/proc/atlas-out.txt"});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(lines_of(result.err).size(), 1u) << result.err;
    EXPECT_NE(result.err.find("cannot write '/proc/atlas-out.txt'"), std::string::npos)
        << result.err;
    return;
  }
  const TempDir dir;
  ASSERT_EQ(chmod(dir.path().c_str(), 0500), 0);
  const ProcessResult result = run_atlas({"show", "--seed", "1", "-o", dir.file("out.txt")});
  chmod(dir.path().c_str(), 0700);
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("Permission denied"), std::string::npos) << result.err;
  EXPECT_TRUE(dir.entries().empty());
}

TEST(Cli, AFailedRenderLeavesNoFile) {
  // A level the dungeon lacks is found only after the output file was
  // opened: the half-made file must go again.
  const TempDir dir;
  const ProcessResult result = run_atlas(
      {"map", "--seed", "217", "--level", "9", "--format", "svg", "-o", dir.file("m.svg")});
  EXPECT_EQ(result.status, 2);
  EXPECT_TRUE(dir.entries().empty());
}

}  // namespace
}  // namespace atlas_test
