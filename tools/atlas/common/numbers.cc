// SPDX-License-Identifier: MIT
#include "atlas/common/numbers.h"

#include <charconv>

namespace atlas {
namespace {

std::string quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

bool all_digits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// Splits "A..B"; the message names what kind of range it should have been.
std::pair<std::string_view, std::string_view> split_range(std::string_view text,
                                                          std::string_view what) {
  const std::size_t dots = text.find("..");
  if (text.empty()) throw UsageError("empty " + std::string(what) + " range");
  if (dots == std::string_view::npos) {
    throw UsageError("invalid " + std::string(what) + " range " + quoted(text) +
                     ": expected MIN..MAX, e.g. 1..100");
  }
  const std::string_view low = text.substr(0, dots);
  const std::string_view high = text.substr(dots + 2);
  if (low.empty() || high.empty()) {
    throw UsageError("incomplete " + std::string(what) + " range " + quoted(text) +
                     ": both ends are needed, e.g. 1..100");
  }
  return {low, high};
}

}  // namespace

uint64_t parse_number(std::string_view text, std::string_view what, uint64_t max) {
  const std::string range = "a whole number from 0 to " + std::to_string(max);
  if (text.empty()) throw UsageError("empty " + std::string(what) + ": expected " + range);
  if (text.front() == '-' && all_digits(text.substr(1))) {
    throw UsageError("negative " + std::string(what) + " " + quoted(text) + ": expected " + range);
  }
  if (!all_digits(text)) {
    throw UsageError("invalid " + std::string(what) + " " + quoted(text) + ": expected " + range);
  }
  uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error == std::errc::result_out_of_range || value > max) {
    throw UsageError(std::string(what) + " " + quoted(text) + " is too large: expected " + range);
  }
  (void)end;  // all digits, so from_chars read them all
  return value;
}

uint32_t parse_seed(std::string_view text) {
  return static_cast<uint32_t>(parse_number(text, "seed", kMaxSeed));
}

SeedRange parse_seed_range(std::string_view text) {
  const auto [low, high] = split_range(text, "seed");
  SeedRange range{parse_seed(low), parse_seed(high)};
  if (range.from > range.to) {
    throw UsageError("reversed seed range " + quoted(text) + ": FROM must not exceed TO");
  }
  return range;
}

CountRange parse_count_range(std::string_view text, std::string_view what) {
  const auto [low, high] = split_range(text, what);
  const std::string bound = std::string(what) + " bound";
  CountRange range{parse_number(low, bound, UINT32_MAX), parse_number(high, bound, UINT32_MAX)};
  if (range.min > range.max) {
    throw UsageError("reversed " + std::string(what) + " range " + quoted(text) +
                     ": MIN must not exceed MAX");
  }
  return range;
}

Shard parse_shard(std::string_view text) {
  const std::size_t slash = text.find('/');
  if (slash == std::string_view::npos) {
    throw UsageError("invalid shard " + quoted(text) + ": expected I/N, e.g. 0/4");
  }
  // Up to 2^32 parts: one seed each is the finest split that means anything.
  constexpr uint64_t kMaxShards = uint64_t{UINT32_MAX} + 1;
  Shard shard{parse_number(text.substr(0, slash), "shard index", kMaxShards - 1),
              parse_number(text.substr(slash + 1), "shard count", kMaxShards)};
  if (shard.count == 0)
    throw UsageError("invalid shard " + quoted(text) + ": N must be at least 1");
  if (shard.index >= shard.count) {
    throw UsageError("shard " + quoted(text) + " is out of range: I counts from 0 to N-1");
  }
  return shard;
}

}  // namespace atlas
