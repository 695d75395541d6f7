// SPDX-License-Identifier: MIT
// Dice kernels against the plain loop, per roll and over a whole dungeon.
//
//   build/release/bench/dice_bench --benchmark_repetitions=5
//       --benchmark_report_aggregates_only=true  (one command line)
//
// Every kernel this processor runs is registered, "plain" among them, so the
// speed-ups are ratios of rows from one run.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "framework/random.h"
#include "framework/report.h"
#include "framework/room_table.h"
#include "framework/run.h"

namespace dungeon {
namespace {

// The engine's dice in the proportions a dungeon rolls them: 55% d20, 20%
// d10, 20% d100, 5% d4, in a fixed shuffled order.
std::array<int, 4096> realistic_mix() {
  std::array<int, 4096> faces{};
  uint32_t pick = 12345;
  for (int& f : faces) {
    pick = pick * 1664525u + 1013904223u;
    const uint32_t percent = (pick >> 8) % 100;
    f = percent < 55 ? 20 : percent < 75 ? 10 : percent < 95 ? 100 : 4;
  }
  return faces;
}

void BM_RollMix(benchmark::State& state, DiceKernel kernel) {
  if (!force_dice_kernel(kernel)) {
    state.SkipWithError("kernel not supported");
    return;
  }
  static const std::array<int, 4096> kFaces = realistic_mix();
  Random random(2024);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(random.roll_die(kFaces[i]));
    i = (i + 1) % kFaces.size();
  }
  state.SetItemsProcessed(state.iterations());
}

// Completes with 999 rooms, the largest complete dungeon among seeds below 3000.
// The report is dropped unformatted, so the dice weigh as much as they can.
constexpr uint32_t kLargeSeed = 1782;

void BM_LargeDungeon(benchmark::State& state, DiceKernel kernel) {
  if (!force_dice_kernel(kernel)) {
    state.SkipWithError("kernel not supported");
    return;
  }
  NullSink discard;
  const auto d = make_dungeon();
  for (auto _ : state) {
    const RunOutcome outcome = run_dungeon(*d, kLargeSeed, discard);
    benchmark::DoNotOptimize(outcome);
  }
  if (d->tally.rooms() != 999) state.SkipWithError("seed no longer gives 999 rooms");
}

const bool registered = [] {
  for (const DiceKernel kernel : supported_dice_kernels()) {
    const std::string name(dice_kernel_name(kernel));
    benchmark::RegisterBenchmark(("RollMix/" + name).c_str(), BM_RollMix, kernel);
  }
  for (const DiceKernel kernel : supported_dice_kernels()) {
    const std::string name(dice_kernel_name(kernel));
    benchmark::RegisterBenchmark(("LargeDungeon/" + name).c_str(), BM_LargeDungeon, kernel)
        ->Unit(benchmark::kMicrosecond);
  }
  return true;
}();

}  // namespace
}  // namespace dungeon

BENCHMARK_MAIN();
