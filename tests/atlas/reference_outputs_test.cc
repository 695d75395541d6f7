// SPDX-License-Identifier: MIT
// Every machine-readable output of dungeon-atlas for the reference seeds,
// against files captured from an earlier build: a refactoring of the engine
// or of the writers must not move a byte. Small outputs are kept whole, so a
// failure shows the difference; the large ones (seed 0 runs to the room
// limit) are kept as SHA-256 sums. The plans' SVG and the book are the
// program's own text and are pinned too; the map's SVG and PNG and the plans'
// PNG are left out: they carry the Graphviz or librsvg version's own bytes,
// and they are drawn from the DOT and SVG checked here. One tabletop file is
// pinned whole, picture and all, so it moves with librsvg, cairo and zlib
// too: a new sum then wants only a look at the picture.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "process.h"

namespace atlas_test {
namespace {

std::string reference(const std::string& name) {
  return read_file(dungeon::testing::test_data_path("atlas/" + name));
}

struct Case {
  std::vector<std::string> args;
  std::string reference;  // file name under tests/data/atlas
};

std::string output_of(const Case& c) {
  const ProcessResult result = run_atlas(c.args);
  EXPECT_EQ(result.err, "") << c.reference;
  return result.out;
}

TEST(ReferenceOutputs, SmallOutputsAreUnchanged) {
  const std::vector<Case> cases = {
      {{"show", "--seed", "2", "--format", "json"}, "show_2.json"},
      {{"show", "--seed", "217", "--format", "json"}, "show_217.json"},
      {{"map", "--seed", "2", "--format", "dot"}, "map_2.dot"},
      {{"map", "--seed", "217"}, "map_217.dot"},
      {{"map", "--seed", "2", "--level", "2"}, "map_2_level2.dot"},
      {{"map", "--seed", "7", "--level", "2"}, "map_7_level2.dot"},
      {{"scan", "0..300"}, "scan_0-300.csv"},
      {{"scan", "0..100", "--format", "json"}, "scan_0-100.json"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(output_of(c), reference(c.reference)) << c.reference;
  }
}

TEST(ReferenceOutputs, LargeOutputsHaveTheirRecordedSums) {
  const std::vector<Case> cases = {
      {{"show", "--seed", "0", "--format", "json"}, "show_0.json"},
      {{"show", "--seed", "7", "--format", "json"}, "show_7.json"},
      {{"map", "--seed", "0"}, "map_0.dot"},
      {{"map", "--seed", "7"}, "map_7.dot"},
      {{"map", "--seed", "0", "--level", "2"}, "map_0_level2.dot"},
      {{"plan", "--seed", "2", "--format", "json"}, "plan_2.json"},
      {{"plan", "--seed", "7", "--format", "json"}, "plan_7.json"},
      {{"plan", "--seed", "0", "--format", "json"}, "plan_0.json"},
      {{"plan", "--seed", "2"}, "plan_2.svg"},
      {{"plan", "--seed", "7"}, "plan_7.svg"},
      {{"plan", "--seed", "0"}, "plan_0.svg"},
      {{"plan", "--seed", "7", "--level", "3"}, "plan_7_level3.svg"},
      {{"plan", "--seed", "7", "--level", "2", "--format", "uvtt", "--px-per-square", "70"},
       "plan_7_level2.uvtt"},
      {{"book", "--seed", "2"}, "book_2.html"},
      {{"book", "--seed", "7"}, "book_7.html"},
      {{"book", "--seed", "0"}, "book_0.html"},
  };
  const TempDir dir;
  std::vector<std::string> sum_command{"/usr/bin/sha256sum"};
  for (const Case& c : cases) {
    write_file(dir.file(c.reference), output_of(c));
    sum_command.push_back(c.reference);
  }
  // sha256sum names the files as it was given them: run it inside the folder.
  std::vector<std::string> argv{"/bin/sh", "-c", "cd \"$0\" && exec \"$@\"", dir.path()};
  argv.insert(argv.end(), sum_command.begin(), sum_command.end());
  const ProcessResult sums = run_process(argv);
  ASSERT_EQ(sums.status, 0) << sums.err;
  EXPECT_EQ(sums.out, reference("large_outputs.sha256"));
}

}  // namespace
}  // namespace atlas_test
