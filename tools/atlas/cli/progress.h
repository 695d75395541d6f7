// SPDX-License-Identifier: MIT
// The scan's progress line on standard error, for people watching a
// terminal: seeds done, matches and seeds a second, at most four times a
// second.
#ifndef ATLAS_CLI_PROGRESS_H_
#define ATLAS_CLI_PROGRESS_H_

#include <chrono>
#include <cstdint>

namespace atlas {

class Progress {
 public:
  // Writes nothing unless `enabled`.
  Progress(uint64_t total, bool enabled) : total_(total), enabled_(enabled) {}

  void update(uint64_t done, uint64_t matches);
  // Removes the line.
  void clear();

 private:
  uint64_t total_;
  bool enabled_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point last_{};
};

}  // namespace atlas

#endif  // ATLAS_CLI_PROGRESS_H_
