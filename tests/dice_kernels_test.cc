// SPDX-License-Identifier: MIT
// Every dice kernel against the plain loop: same values, same state after
// every roll, and the same whole reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/random.h"
#include "framework/run.h"
#include "test_support.h"

namespace dungeon {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

using testing::lcg_step;
using testing::reference_report;
using testing::report_for_seed;

// A second stream, unrelated to the dice, picks faces and states to jump to.
class Picker {
 public:
  explicit Picker(uint64_t seed) : x_(seed | 1) {}
  uint32_t next() {
    x_ ^= x_ << 13;
    x_ ^= x_ >> 7;
    x_ ^= x_ << 17;
    return static_cast<uint32_t>(x_ >> 16);
  }

 private:
  uint64_t x_;
};

std::vector<DiceKernel> fast_kernels() {
  std::vector<DiceKernel> kernels;
  for (const DiceKernel k : supported_dice_kernels()) {
    if (k != DiceKernel::kPlain) kernels.push_back(k);
  }
  return kernels;
}

// Forcing is process-wide: put back whatever was active before the test.
class DiceKernelTest : public ::testing::Test {
 protected:
  void TearDown() override { ASSERT_TRUE(force_dice_kernel(saved_)); }

  // One roll from `state` with `kernel`, through the engine's own dice.
  static int roll_with(DiceKernel kernel, uint32_t& state, int faces) {
    EXPECT_TRUE(force_dice_kernel(kernel));
    Random random(state);
    const int value = random.roll_die(faces);
    state = random.state();
    return value;
  }

 private:
  DiceKernel saved_ = active_dice_kernel();
};

TEST_F(DiceKernelTest, FastestSupportedKernelIsActiveUnlessForced) {
  ASSERT_FALSE(supported_dice_kernels().empty());
  EXPECT_EQ(active_dice_kernel(), supported_dice_kernels().back());
}

TEST_F(DiceKernelTest, EveryProcessorHasTheReferenceAndAVectorisedPath) {
  const auto kernels = supported_dice_kernels();
  EXPECT_EQ(kernels.front(), DiceKernel::kPlain);
  EXPECT_NE(std::find(kernels.begin(), kernels.end(), DiceKernel::kPortable), kernels.end());
#if defined(__x86_64__)
  auto has = [&](DiceKernel k) {
    return std::find(kernels.begin(), kernels.end(), k) != kernels.end();
  };
  EXPECT_TRUE(has(DiceKernel::kSse2));
  EXPECT_EQ(has(DiceKernel::kAvx2), __builtin_cpu_supports("avx2") != 0);
  EXPECT_EQ(has(DiceKernel::kAvx512bw), __builtin_cpu_supports("avx512bw") != 0);
#endif
}

TEST_F(DiceKernelTest, ForcingSelectsExactlySupportedKernels) {
  const auto kernels = supported_dice_kernels();
  for (const DiceKernel k : built_dice_kernels()) {
    const bool supported = std::find(kernels.begin(), kernels.end(), k) != kernels.end();
    const DiceKernel before = active_dice_kernel();
    EXPECT_EQ(force_dice_kernel(k), supported) << dice_kernel_name(k);
    EXPECT_EQ(active_dice_kernel(), supported ? k : before) << dice_kernel_name(k);
  }
}

TEST_F(DiceKernelTest, NamesAreDistinct) {
  std::vector<std::string> names;
  for (const DiceKernel k : built_dice_kernels()) names.emplace_back(dice_kernel_name(k));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(std::unique(names.begin(), names.end()), names.end());
  EXPECT_EQ(dice_kernel_name(DiceKernel::kAvx2), "avx2");
}

// Ten million rolls of d1 to d100 in all, split into shards the test runner
// can spread over cores. The stream runs on from roll to roll and now and
// then jumps to an arbitrary state. Under the sanitizers, which slow the
// kernels several times over, a tenth of that.
constexpr int kShards = 4;
constexpr int kRollsPerShard = (kSanitized ? 1'000'000 : 10'000'000) / kShards;

class DiceKernelShardTest : public DiceKernelTest, public ::testing::WithParamInterface<int> {};

TEST_P(DiceKernelShardTest, EveryRollMatchesThePlainLoop) {
  const std::vector<DiceKernel> kernels = fast_kernels();
  ASSERT_FALSE(kernels.empty());
  Picker pick(0x9E3779B97F4A7C15u * static_cast<uint64_t>(GetParam() + 1));
  uint32_t reference = pick.next();
  for (int roll = 0; roll < kRollsPerShard; ++roll) {
    if (pick.next() % 64 == 0) reference = pick.next();
    const int faces = static_cast<int>(1 + pick.next() % 100);
    const uint32_t before = reference;
    const int expected = roll_die_plain(reference, faces);
    for (const DiceKernel kernel : kernels) {
      uint32_t state = before;
      const int value = roll_with(kernel, state, faces);
      if (value != expected || state != reference) {
        FAIL() << dice_kernel_name(kernel) << ": d" << faces << " from state " << before << " gave "
               << value << " and state " << state << "; the plain loop gave " << expected
               << " and state " << reference << " (roll " << roll << ")";
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Shards, DiceKernelShardTest, ::testing::Range(0, kShards));

TEST_F(DiceKernelTest, RollsAcrossTheEndOfTheLowBitsCycle) {
  // The low 15 bits of the state run through a cycle of 32768 values. Start
  // long rolls at each of the last 600 points of the cycle that state 0
  // begins, with mixed high bits, and with the widest dice allowed too.
  const std::vector<DiceKernel> kernels = fast_kernels();
  uint32_t low = 0;
  for (int i = 0; i < 32768 - 600; ++i) low = lcg_step(low);
  Picker pick(77);
  for (int point = 0; point < 600; ++point, low = lcg_step(low)) {
    for (const int faces : {1, 2, 7, 20, 100, 1000, 32766, 32767}) {
      const uint32_t start = (low & 0x7FFF) | (pick.next() << 15);
      uint32_t reference = start;
      const int expected = roll_die_plain(reference, faces);
      for (const DiceKernel kernel : kernels) {
        uint32_t state = start;
        ASSERT_EQ(roll_with(kernel, state, faces), expected)
            << dice_kernel_name(kernel) << " d" << faces << " from " << start;
        ASSERT_EQ(state, reference)
            << dice_kernel_name(kernel) << " d" << faces << " from " << start;
      }
    }
  }
}

TEST_F(DiceKernelTest, ManyDiceOfEveryWidthAgree) {
  const std::vector<DiceKernel> kernels = fast_kernels();
  Picker pick(4242);
  for (int faces = 1; faces <= 32767; faces += faces < 200 ? 1 : 97) {
    uint32_t reference = pick.next();
    std::vector<uint32_t> states(kernels.size(), reference);
    for (int roll = 0; roll < 8; ++roll) {
      const int expected = roll_die_plain(reference, faces);
      for (std::size_t k = 0; k < states.size(); ++k) {
        ASSERT_EQ(roll_with(kernels[k], states[k], faces), expected)
            << dice_kernel_name(kernels[k]) << " d" << faces;
        ASSERT_EQ(states[k], reference) << dice_kernel_name(kernels[k]) << " d" << faces;
      }
    }
  }
}

TEST_F(DiceKernelTest, RollDiceSumsTheSameWithEveryKernel) {
  for (const DiceKernel kernel : fast_kernels()) {
    ASSERT_TRUE(force_dice_kernel(kernel));
    Random fast(31337);
    uint32_t reference = 31337;
    int expected = 0;
    for (int i = 0; i < 5; ++i) expected += roll_die_plain(reference, 4);
    EXPECT_EQ(fast.roll_dice(5, 4), expected) << dice_kernel_name(kernel);
    EXPECT_EQ(fast.state(), reference) << dice_kernel_name(kernel);
    EXPECT_EQ(fast.roll_dice(0, 20), 0);
    EXPECT_EQ(fast.state(), reference) << dice_kernel_name(kernel);
  }
}

std::string report_with(DiceKernel kernel, Dungeon& d, uint32_t seed, RunOutcome* outcome) {
  EXPECT_TRUE(force_dice_kernel(kernel));
  return report_for_seed(d, seed, outcome);
}

// Whole reports are long: on a mismatch, say where they part.
::testing::AssertionResult same_report(const std::string& actual, const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  const auto diverge =
      std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
  const auto at = static_cast<std::size_t>(diverge.first - actual.begin());
  return ::testing::AssertionFailure()
         << "reports of " << actual.size() << " and " << expected.size() << " bytes part at byte "
         << at << ": \"" << actual.substr(at, 60) << "\" instead of \"" << expected.substr(at, 60)
         << "\"";
}

TEST_F(DiceKernelTest, EveryKernelPrintsTheReferenceReports) {
  const auto d = make_dungeon();
  for (const uint32_t seed : {0u, 2u, 7u, 217u}) {
    const std::string expected = reference_report(seed);
    ASSERT_FALSE(expected.empty()) << "seed " << seed;
    for (const DiceKernel kernel : supported_dice_kernels()) {
      RunOutcome outcome{};
      EXPECT_TRUE(same_report(report_with(kernel, *d, seed, &outcome), expected))
          << dice_kernel_name(kernel) << " seed " << seed;
      EXPECT_EQ(outcome, seed == 0 ? RunOutcome::kOverflow : RunOutcome::kComplete);
    }
  }
}

TEST_F(DiceKernelTest, EveryKernelGrowsTheSameLargeDungeons) {
  const auto d = make_dungeon();
  // 1782 completes with 999 rooms; the others are ordinary seeds of today.
  for (const uint32_t seed : {1782u, 1700000000u, 1767225600u}) {
    RunOutcome plain_outcome{};
    const std::string plain = report_with(DiceKernel::kPlain, *d, seed, &plain_outcome);
    for (const DiceKernel kernel : fast_kernels()) {
      RunOutcome outcome{};
      EXPECT_TRUE(same_report(report_with(kernel, *d, seed, &outcome), plain))
          << dice_kernel_name(kernel) << " seed " << seed;
      EXPECT_EQ(outcome, plain_outcome);
    }
  }
}

}  // namespace
}  // namespace dungeon
