// SPDX-License-Identifier: MIT
// Running dungeon-atlas (or Python) as a child process and collecting what it
// printed, for the end-to-end tests.
#ifndef ATLAS_TESTS_PROCESS_H_
#define ATLAS_TESTS_PROCESS_H_

#include <string>
#include <vector>

#include "test_support.h"

namespace atlas_test {

using dungeon::testing::read_file;

struct ProcessResult {
  int status = -1;  // exit status, or 128 + signal number
  std::string out;
  std::string err;
};

// Runs argv[0] (a path) with the given arguments; no shell is involved.
ProcessResult run_process(const std::vector<std::string>& argv);
ProcessResult run_atlas(const std::vector<std::string>& args);
// Runs a helper script from tests/atlas with the Debian Python.
ProcessResult run_python(const std::string& script, const std::vector<std::string>& args);

void write_file(const std::string& path, const std::string& text);

// A fresh folder, removed with everything in it at the end of the test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  // Names of the entries in the folder, sorted.
  std::vector<std::string> entries() const;

 private:
  std::string path_;
};

}  // namespace atlas_test

#endif  // ATLAS_TESTS_PROCESS_H_
