// dungeon: prints a random dungeon grown from the current time. It takes no
// options; arguments are ignored.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "framework/program.h"
#include "framework/run.h"

int main() {
  using namespace dungeon;
  const ProgramResult result = run_program(clock_seed());
  if (result.write_error != 0) {
    // A reader that stopped listening is no news to anyone.
    if (result.write_error != EPIPE) {
      std::fprintf(stderr, "dungeon: cannot write the report: %s\n",
                   std::strerror(result.write_error));
    }
    return 1;
  }
  return result.outcome == RunOutcome::kOverflow ? kOverflowExitStatus : 0;
}
