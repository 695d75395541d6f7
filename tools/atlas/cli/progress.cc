// SPDX-License-Identifier: MIT
#include "atlas/cli/progress.h"

#include <cstdio>

namespace atlas {

void Progress::update(uint64_t done, uint64_t matches) {
  if (!enabled_) return;
  const auto now = std::chrono::steady_clock::now();
  if (done < total_ && now - last_ < std::chrono::milliseconds(250)) return;
  last_ = now;
  const double seconds = std::chrono::duration<double>(now - start_).count();
  const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0.0;
  std::fprintf(
      stderr, "\r\033[Kscan: %llu of %llu seeds (%.1f%%), %llu matching, %.0f seeds/s",
      static_cast<unsigned long long>(done), static_cast<unsigned long long>(total_),
      total_ == 0 ? 100.0 : 100.0 * static_cast<double>(done) / static_cast<double>(total_),
      static_cast<unsigned long long>(matches), rate);
}

void Progress::clear() {
  if (enabled_) std::fputs("\r\033[K", stderr);
}

}  // namespace atlas
