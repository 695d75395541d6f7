// The dungeon program proper: one run onto standard output, its outcome
// turned into an exit status.
#ifndef DUNGEON_FRAMEWORK_PROGRAM_H_
#define DUNGEON_FRAMEWORK_PROGRAM_H_

#include <cstdint>

namespace dungeon {

// Prints the dungeon of `seed` on standard output and returns the exit
// status: 0, kOverflowExitStatus after an overflow, 1 when the report could
// not be written (with one line on standard error, unless the reader had
// simply gone away).
int run_program(uint32_t seed);

}  // namespace dungeon

#endif  // DUNGEON_FRAMEWORK_PROGRAM_H_
