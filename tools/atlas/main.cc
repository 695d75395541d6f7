// SPDX-License-Identifier: MIT
// dungeon-atlas: shows, maps, plans, scans and writes books of the dungeons
// `dungeon` grows.
#include <signal.h>
#include <unistd.h>

#include <new>

#include "atlas/cli/cli.h"
#include "atlas/common/output_file.h"

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

namespace {

// Called by operator new, on any thread, when memory runs out. Ends the run
// here rather than throwing: with memory that short, even the exception may
// not be made, and a worker thread's failure would wait for the others.
void out_of_memory() {
  atlas::remove_pending_output();
  constexpr char kMessage[] = "dungeon-atlas: out of memory\n";
  [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
  ::_exit(1);
}

// Before any static constructor: CLI11 builds its validators in static
// initialisers, and with memory that short their allocation would fail
// before main could install the handler.
__attribute__((constructor(101))) void install_out_of_memory_handler() {
  std::set_new_handler(out_of_memory);
}

}  // namespace

int main(int argc, char** argv) {
  // Past a file-size limit (a full quota) a write fails with "File too large"
  // and the temporary file is removed, instead of the kernel ending the run
  // and leaving it behind.
  ::signal(SIGXFSZ, SIG_IGN);
  return atlas::run_cli(argc, argv);
}
