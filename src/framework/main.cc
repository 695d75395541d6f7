// SPDX-License-Identifier: MIT
// dungeon: prints a random dungeon grown from the current time. It takes no
// options; arguments are ignored.
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "framework/program.h"
#include "framework/run.h"

namespace {

// Called by operator new when memory runs out. Ends the run here rather than
// throwing: with memory that short, even the exception may not be made.
void out_of_memory() {
  constexpr char kMessage[] = "dungeon: out of memory\n";
  [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
  ::_exit(1);
}

}  // namespace

int main() {
  using namespace dungeon;
  // Past a file-size limit (a full quota) the write should fail and say so,
  // rather than the kernel ending the program without a word.
  ::signal(SIGXFSZ, SIG_IGN);
  std::set_new_handler(out_of_memory);
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
