// SPDX-License-Identifier: MIT
// The kernels behind Random::roll_die. Internal to the dice: the rest of the
// engine only sees Random and the kernel choice in random.h.
//
// A die discards every draw outside 1..faces, so a d20 spends about 1,600
// generator steps per roll. The kernels find the first kept draw without
// stepping one draw at a time, and leave the generator exactly where the
// plain loop would.
//
// How: the low 15 bits of the state run through one fixed cycle of 32,768
// values whatever the high bits are. Number the cycle's positions (phases) by
// the stream from state 0, r_0 = 0, r_(n+1) = a r_n + c. Any state is then
// s = r_n + 2^15 X (mod 2^32) for its phase n and an offset X, and one step
// later it is r_(n+1) + 2^15 aX. A draw is bits 1..15 of the 16-bit sum
// (r_n >> 15) + X, so with the 16-bit table kPhaseBase[n] = (r_n >> 15) +
// 0x7FFE the draw d of phase n and offset X is a hit exactly when
// int16(kPhaseBase[n] + X) < 2 faces - 32768 (the bias turns 1 <= d <= faces
// into one signed compare). Each draw is then a 16-bit add and compare,
// independent of every other draw, and the offsets of the next block of W
// draws are one 16-bit multiply by a^W: SSE2 already has all three, so every
// x86-64 runs 8 draws per instruction, AVX2 16 and AVX-512BW 32. Stepping
// 32-bit states by a^W instead needs a 32-bit multiply and a compare per half
// as many lanes, and measured slower here.
#ifndef DUNGEON_FRAMEWORK_DICE_KERNELS_H_
#define DUNGEON_FRAMEWORK_DICE_KERNELS_H_

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "framework/random.h"

namespace dungeon::dice {

inline constexpr int kPhases = 32768;
// Blocks never reach further than this past the last phase.
inline constexpr int kMaxBlock = 128;

// a^j mod 2^16: the offset j draws after a given one is offset * kOffsetStep[j].
inline constexpr std::array<uint16_t, kMaxBlock + 1> kOffsetStep = [] {
  std::array<uint16_t, kMaxBlock + 1> step{};
  uint32_t power = 1;
  for (auto& s : step) {
    s = static_cast<uint16_t>(power);
    power = (power * kLcgMultiplier) & 0xFFFF;
  }
  return step;
}();

// A scan looks at draws 0, 1, 2, ... of phases base[0], base[1], ... whose
// first offset is `offset`, in whole blocks of its width, until a block
// contains a hit (an int16 sum below `limit`) or it has looked at `count`
// draws or more. It returns the index of the first hit, or -1.
using ScanFn = int (*)(const int16_t* base, uint16_t offset, int16_t limit, int count);

int scan_portable(const int16_t* base, uint16_t offset, int16_t limit, int count);
inline constexpr int kPortableBlock = 32;

#if defined(__x86_64__)
int scan_sse2(const int16_t* base, uint16_t offset, int16_t limit, int count);
int scan_avx2(const int16_t* base, uint16_t offset, int16_t limit, int count);
int scan_avx512bw(const int16_t* base, uint16_t offset, int16_t limit, int count);
inline constexpr int kSse2Block = 32;
inline constexpr int kAvx2Block = 64;
inline constexpr int kAvx512bwBlock = 128;
#endif

// Everything the engine knows of one kernel. A new kernel is its enum value,
// its scan above and its entry in the table.
struct KernelEntry {
  DiceKernel kernel;
  std::string_view name;
  // roll_die_plain's contract.
  int (*roll)(uint32_t& state, int faces);
  // Whether this processor has the instructions the kernel uses.
  bool (*runs_here)();
};

// Every kernel built for this architecture, slowest first.
std::span<const KernelEntry> kernel_table();

}  // namespace dungeon::dice

#endif  // DUNGEON_FRAMEWORK_DICE_KERNELS_H_
