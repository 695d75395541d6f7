// SPDX-License-Identifier: MIT
// The run's single pseudo-random stream and the dice drawn from it.
//
// The generator is a 15-bit linear congruential generator, and a die is drawn
// by rejection: raw values outside 1..faces are discarded, the first value in
// range is the die. Which dungeon a seed produces depends on both choices and
// on the exact number of draws, so nothing here may scale, take remainders or
// change the generator.
#ifndef DUNGEON_FRAMEWORK_RANDOM_H_
#define DUNGEON_FRAMEWORK_RANDOM_H_

#include <cassert>
#include <cstdint>
#include <span>
#include <string_view>

namespace dungeon {

inline constexpr uint32_t kLcgMultiplier = 214013;
inline constexpr uint32_t kLcgIncrement = 2531011;

// The raw value a state yields: bits 16 to 30.
inline constexpr int lcg_output(uint32_t state) {
  return static_cast<int>((state >> 16) & 0x7FFF);
}

// The reference die: steps `state` until a value in 1..faces comes up.
// REQUIRES: 1 <= faces <= 32767.
int roll_die_plain(uint32_t& state, int faces);

// The ways of rolling a die. All give the same values and leave the same
// state as roll_die_plain; the others skip the discarded draws in bulk.
enum class DiceKernel {
  kPlain,     // the reference loop, one draw at a time
  kPortable,  // plain C++ lanes, for processors without a kernel of their own
  kSse2,      // every x86-64
  kAvx2,
  kAvx512bw,
};

// "unknown" for a kernel this build lacks (an x86 kernel elsewhere).
std::string_view dice_kernel_name(DiceKernel kernel);

// The kernels this build has, whether this processor runs them or not.
std::span<const DiceKernel> built_dice_kernels();

// The kernels this processor runs, slowest first.
std::span<const DiceKernel> supported_dice_kernels();

// The kernel Random::roll_die uses: the fastest supported one unless forced.
DiceKernel active_dice_kernel();

// For tests and benchmarks: makes every Random roll with `kernel` from now
// on. Returns false, changing nothing, if this processor cannot run it.
bool force_dice_kernel(DiceKernel kernel);

// roll_die_plain's contract, through the active kernel.
int roll_die_active(uint32_t& state, int faces);

class Random {
 public:
  // An unseeded stream starts from state 1.
  Random() = default;
  explicit Random(uint32_t seed) : state_(seed) {}

  void random_seed(uint32_t seed) { state_ = seed; }

  // Advances the state; returns a value in 0..32767.
  int random_next() {
    state_ = state_ * kLcgMultiplier + kLcgIncrement;
    return lcg_output(state_);
  }

  // REQUIRES: 1 <= faces <= 32767.
  int roll_die(int faces) {
    assert(faces >= 1 && faces <= 32767);
    return roll_die_active(state_, faces);
  }

  // The sum of `count` dice; a count of 0 or less draws nothing and gives 0.
  int roll_dice(int count, int faces) {
    int sum = 0;
    for (int i = 0; i < count; ++i) sum += roll_die(faces);
    return sum;
  }

  uint32_t state() const { return state_; }

 private:
  uint32_t state_ = 1;
};

}  // namespace dungeon

#endif  // DUNGEON_FRAMEWORK_RANDOM_H_
