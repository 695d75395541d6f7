// dungeon-atlas: shows, maps and scans the dungeons `dungeon` grows.
#include "atlas/cli.h"

int main(int argc, char** argv) {
  return atlas::run_cli(argc, argv);
}
