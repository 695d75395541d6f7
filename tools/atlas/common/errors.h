// SPDX-License-Identifier: MIT
// The three ways a dungeon-atlas command fails, each with its own exit status
// (cli.h): the messages are fit to show as they stand, in one line.
#ifndef ATLAS_COMMON_ERRORS_H_
#define ATLAS_COMMON_ERRORS_H_

#include <stdexcept>

namespace atlas {

// Bad input on the command line, found before any output is written: the
// program says so in one line and exits 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Output that could not be written after it was started; the program exits 1.
class WriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A picture could not be drawn: a Graphviz plugin missing, usually, or
// librsvg or cairo failing. The message says what to install. Exits 1.
class RenderError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace atlas

#endif  // ATLAS_COMMON_ERRORS_H_
