// dungeon: prints a random dungeon grown from the current time. It takes no
// options; arguments are ignored.
#include "framework/program.h"
#include "framework/run.h"

int main() {
  return dungeon::run_program(dungeon::clock_seed());
}
