// SPDX-License-Identifier: MIT
// Reading the numbers people type: seeds, seed ranges, count ranges and
// shards. Every reader either returns a value or throws UsageError with a
// message fit to show as it stands, so a typo never turns into a different
// dungeon.
#ifndef ATLAS_COMMON_NUMBERS_H_
#define ATLAS_COMMON_NUMBERS_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "atlas/common/errors.h"

namespace atlas {

inline constexpr uint64_t kMaxSeed = UINT32_MAX;

// Plain decimal digits only: no sign, no spaces, no base prefix. `what`
// names the value in messages ("seed", "level", ...).
uint64_t parse_number(std::string_view text, std::string_view what, uint64_t max);

uint32_t parse_seed(std::string_view text);

// Inclusive at both ends.
struct SeedRange {
  uint32_t from = 0;
  uint32_t to = 0;
  uint64_t size() const { return uint64_t{to} - from + 1; }
};

// "FROM..TO", both seeds, FROM <= TO.
SeedRange parse_seed_range(std::string_view text);

// Inclusive bounds on a count, as "MIN..MAX".
struct CountRange {
  uint64_t min = 0;
  uint64_t max = UINT64_MAX;
  bool contains(uint64_t value) const { return min <= value && value <= max; }
};

CountRange parse_count_range(std::string_view text, std::string_view what);

// Part `index` of `count` interleaved parts; index is 0-based.
struct Shard {
  uint64_t index = 0;
  uint64_t count = 1;
};

// "I/N" with 0 <= I < N.
Shard parse_shard(std::string_view text);

}  // namespace atlas

#endif  // ATLAS_COMMON_NUMBERS_H_
