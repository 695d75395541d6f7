#include "framework/program.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "framework/fd_output.h"
#include "framework/run.h"

namespace dungeon {

int run_program(uint32_t seed) {
  FdSink out(STDOUT_FILENO);
  const auto d = std::make_unique_for_overwrite<Dungeon>();
  const RunOutcome outcome = run_dungeon(*d, seed, out);

  if (const int error = out.error(); error != 0) {
    // A reader that stopped listening is no news to anyone.
    if (error != EPIPE) {
      std::fprintf(stderr, "dungeon: cannot write the report: %s\n", std::strerror(error));
    }
    return 1;
  }
  return outcome == RunOutcome::kOverflow ? kOverflowExitStatus : 0;
}

}  // namespace dungeon
