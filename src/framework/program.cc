// SPDX-License-Identifier: MIT
#include "framework/program.h"

#include <unistd.h>

#include "framework/fd_output.h"

namespace dungeon {

ProgramResult run_program(uint32_t seed) {
  // Straight to the descriptor: no stream, so none of the locale set-up a
  // stream costs at start, and a failed write is remembered rather than lost.
  FdSink out(STDOUT_FILENO);
  const auto d = make_dungeon();
  const RunOutcome outcome = run_dungeon(*d, seed, out);
  return {outcome, out.error()};
}

}  // namespace dungeon
