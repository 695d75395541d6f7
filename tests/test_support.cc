// SPDX-License-Identifier: MIT
#include "test_support.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace dungeon::testing {

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return std::move(text).str();
}

std::string test_data_path(std::string_view name) {
  return std::string(DUNGEON_TEST_DATA_DIR) + "/" + std::string(name);
}

std::string reference_report(uint32_t seed) {
  return read_file(test_data_path(std::to_string(seed) + ".txt"));
}

std::string report_for_seed(Dungeon& d, uint32_t seed, RunOutcome* outcome) {
  std::ostringstream out;
  const RunOutcome result = run_dungeon(d, seed, out);
  if (outcome != nullptr) *outcome = result;
  return std::move(out).str();
}

}  // namespace dungeon::testing
