// dungeon: prints a random dungeon grown from the current time. It takes no
// options; arguments are ignored.
#include <signal.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "framework/program.h"
#include "framework/run.h"

int main() {
  using namespace dungeon;
  // Past a file-size limit (a full quota) the write should fail and say so,
  // rather than the kernel ending the program without a word.
  ::signal(SIGXFSZ, SIG_IGN);
  ProgramResult result{};
  try {
    result = run_program(clock_seed());
  } catch (const std::bad_alloc&) {
    std::fputs("dungeon: out of memory\n", stderr);
    return 1;
  }
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
