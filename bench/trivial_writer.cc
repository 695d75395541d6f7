// SPDX-License-Identifier: MIT
// trivial_writer N: writes N bytes of report-like text to standard output and
// exits; what any program that prints that much costs at the least.
#include <unistd.h>

#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  const long size = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 0;
  std::string text;
  text.reserve(static_cast<std::size_t>(size));
  while (static_cast<long>(text.size()) < size) text.append("Room 1: Start 40 x 60 Room\n\t");
  text.resize(static_cast<std::size_t>(size));
  for (std::size_t done = 0; done < text.size();) {
    const ssize_t written = write(STDOUT_FILENO, text.data() + done, text.size() - done);
    if (written <= 0) return 1;
    done += static_cast<std::size_t>(written);
  }
  return 0;
}
