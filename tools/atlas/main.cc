// dungeon-atlas: shows, maps and scans the dungeons `dungeon` grows.
#include <signal.h>

#include <cstdio>
#include <new>

#include "atlas/cli.h"

// Graphviz, Pango and fontconfig keep caches and plugin tables for the life
// of the process and never free them; under LeakSanitizer that would drown
// any leak of our own. Only sanitizer builds ever call this.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libgvc.so\n"
         "leak:libcgraph.so\n"
         "leak:libgvplugin_\n"
         "leak:libfontconfig.so\n"
         "leak:libpango\n"
         "leak:libcairo.so\n"
         "leak:libglib-2.0.so\n"
         "leak:libgobject-2.0.so\n";
}

// The list of what was left out would end up in every map command's error output.
extern "C" const char* __lsan_default_options() {
  return "print_suppressions=0";
}

int main(int argc, char** argv) {
  // Past a file-size limit (a full quota) a write fails with "File too large"
  // and the temporary file is removed, instead of the kernel ending the run
  // and leaving it behind.
  ::signal(SIGXFSZ, SIG_IGN);
  try {
    return atlas::run_cli(argc, argv);
  } catch (const std::bad_alloc&) {
    // Reading the command line or writing the help allocates too.
    std::fputs("dungeon-atlas: out of memory\n", stderr);
    return 1;
  }
}
