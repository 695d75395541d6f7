// SPDX-License-Identifier: MIT
#include "framework/dice_kernels.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace dungeon::dice {
namespace {

// Built by the compiler, so a run starts with nothing to compute.
struct PhaseTables {
  // (r_n >> 15) + 0x7FFE for phases n, continued past the cycle's end so a
  // block started at any phase reads only real entries.
  std::array<int16_t, kPhases + kMaxBlock> base;
  // The phase whose low 15 bits are i.
  std::array<uint16_t, kPhases> phase_of;
};

constexpr PhaseTables make_phase_tables() {
  PhaseTables t{};
  uint32_t r = 0;
  for (int n = 0; n < kPhases + kMaxBlock; ++n) {
    t.base[static_cast<std::size_t>(n)] =
        static_cast<int16_t>(static_cast<uint16_t>((r >> 15) + 0x7FFE));
    if (n < kPhases) t.phase_of[r & 0x7FFF] = static_cast<uint16_t>(n);
    r = r * kLcgMultiplier + kLcgIncrement;
  }
  return t;
}

constexpr PhaseTables kTables = make_phase_tables();

// k steps of the generator are one multiply-add; two table entries cover
// every k a roll can ask for (below 2^16).
struct Affine {
  uint32_t mul = 1;
  uint32_t add = 0;
};

constexpr Affine then(Affine first, Affine second) {
  return {first.mul * second.mul, first.add * second.mul + second.add};
}

constexpr std::array<Affine, 256> make_steps(Affine one) {
  std::array<Affine, 256> steps{};
  for (std::size_t k = 1; k < steps.size(); ++k) steps[k] = then(steps[k - 1], one);
  return steps;
}

constexpr std::array<Affine, 256> kSteps = make_steps({kLcgMultiplier, kLcgIncrement});
constexpr std::array<Affine, 256> kSteps256 = make_steps(then(kSteps[255], kSteps[1]));

uint32_t advance(uint32_t state, uint32_t k) {
  const Affine low = kSteps[k & 0xFF];
  const Affine high = kSteps256[(k >> 8) & 0xFF];
  return (state * low.mul + low.add) * high.mul + high.add;
}

template <ScanFn scan, int kBlock>
int roll_die_scanning(uint32_t& state, int faces) {
  static_assert(kBlock <= kMaxBlock && kBlock + kPhases < 0x10000);
  const auto limit = static_cast<int16_t>(2 * faces - 32768);
  for (;;) {
    const uint32_t first = state * kLcgMultiplier + kLcgIncrement;
    const int phase = kTables.phase_of[first & 0x7FFF];
    const int16_t* base = kTables.base.data() + phase;
    const auto offset =
        static_cast<uint16_t>((first >> 15) - static_cast<uint16_t>(*base) + 0x7FFE);
    // A scan stops at the end of the cycle, where the table ends.
    const int count = kPhases - phase;
    const int hit = scan(base, offset, limit, count);
    if (hit >= 0) {
      state = advance(state, static_cast<uint32_t>(hit) + 1);
      return lcg_output(state);
    }
    // No hit before the table ran out: go on from the first draw not looked
    // at, whose phase is back near the start of the cycle. Rare: a d20
    // crosses the end in about one roll in twenty.
    state = advance(state, static_cast<uint32_t>((count + kBlock - 1) / kBlock * kBlock));
  }
}

}  // namespace

int scan_portable(const int16_t* base, uint16_t offset, int16_t limit, int count) {
  // Plain lanes a compiler can vectorise for whatever it targets.
  std::array<uint16_t, kPortableBlock> lane;
  for (std::size_t j = 0; j < lane.size(); ++j) {
    lane[j] = static_cast<uint16_t>(uint32_t{offset} * kOffsetStep[j]);
  }
  auto sum = [&](std::size_t j) {
    return static_cast<int16_t>(static_cast<uint16_t>(base[j]) + lane[j]);
  };
  for (int i = 0; i < count; i += kPortableBlock, base += kPortableBlock) {
    // A minimum is a reduction compilers vectorise; an early exit is not.
    int16_t least = INT16_MAX;
    for (std::size_t j = 0; j < lane.size(); ++j) least = std::min(least, sum(j));
    if (least < limit) {
      for (std::size_t j = 0;; ++j) {
        if (sum(j) < limit) return i + static_cast<int>(j);
      }
    }
    for (auto& x : lane) x = static_cast<uint16_t>(uint32_t{x} * kOffsetStep[kPortableBlock]);
  }
  return -1;
}

namespace {

bool always() {
  return true;
}

#if defined(__x86_64__)
// These may run among the static initialisers, before the runtime has
// looked at the processor.
bool has_avx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
}
bool has_avx512bw() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512bw") != 0;
}
#endif

constexpr KernelEntry kKernels[] = {
    {DiceKernel::kPlain, "plain", roll_die_plain, always},
    {DiceKernel::kPortable, "portable", roll_die_scanning<scan_portable, kPortableBlock>, always},
#if defined(__x86_64__)
    {DiceKernel::kSse2, "sse2", roll_die_scanning<scan_sse2, kSse2Block>, always},
    {DiceKernel::kAvx2, "avx2", roll_die_scanning<scan_avx2, kAvx2Block>, has_avx2},
    {DiceKernel::kAvx512bw, "avx512bw", roll_die_scanning<scan_avx512bw, kAvx512bwBlock>,
     has_avx512bw},
#endif
};

}  // namespace

std::span<const KernelEntry> kernel_table() {
  return kKernels;
}

}  // namespace dungeon::dice
