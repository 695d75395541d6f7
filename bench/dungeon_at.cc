// SPDX-License-Identifier: MIT
// dungeon_at SEED: the dungeon program run at a chosen second, so whole
// processes can be timed seed by seed instead of at whatever second the
// clock shows.
#include <cstdlib>

#include "framework/program.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const auto seed = static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10));
  return dungeon::run_program(seed).write_error == 0 ? 0 : 1;
}
