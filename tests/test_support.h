// SPDX-License-Identifier: MIT
// What both test programs share besides the report parser: files, the
// reference reports and other checked-in data, runs whose report is wanted
// as text, and the generator written out longhand.
#ifndef DUNGEON_TESTS_TEST_SUPPORT_H_
#define DUNGEON_TESTS_TEST_SUPPORT_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/room_table.h"
#include "framework/run.h"

namespace dungeon::testing {

// The whole file; throws std::runtime_error when it cannot be read.
std::string read_file(const std::string& path);

// A file under tests/data, named relative to it ("atlas/map_2.dot").
std::string test_data_path(std::string_view name);

// tests/data/SEED.txt: the reference report of seed 0, 2, 7 or 217.
std::string reference_report(uint32_t seed);

// The report of one run, and its outcome.
std::string report_for_seed(Dungeon& d, uint32_t seed, RunOutcome* outcome = nullptr);

// One step of the generator, independent of the code under test.
constexpr uint32_t lcg_step(uint32_t state) {
  return state * 214013u + 2531011u;
}

}  // namespace dungeon::testing

#endif  // DUNGEON_TESTS_TEST_SUPPORT_H_
