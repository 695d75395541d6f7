// SPDX-License-Identifier: MIT
// The dungeon program proper: one run onto standard output.
#ifndef DUNGEON_FRAMEWORK_PROGRAM_H_
#define DUNGEON_FRAMEWORK_PROGRAM_H_

#include <cstdint>

#include "framework/run.h"

namespace dungeon {

struct ProgramResult {
  RunOutcome outcome;
  int write_error;  // errno of the first failed write to standard output, or 0
};

// Prints the dungeon of `seed` on standard output.
ProgramResult run_program(uint32_t seed);

}  // namespace dungeon

#endif  // DUNGEON_FRAMEWORK_PROGRAM_H_
