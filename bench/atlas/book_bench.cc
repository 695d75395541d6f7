// SPDX-License-Identifier: MIT
// How long the book of a large dungeon takes: seed 0 overflows at room 1001,
// the largest dungeon there is. The whole command's work (grow, lay out,
// write the page) and the page alone from a finished layout.
#include <benchmark/benchmark.h>

#include "atlas/book/book.h"
#include "atlas/common/finished_run.h"
#include "atlas/plan/describe.h"
#include "atlas/plan/layout/plan_layout.h"

namespace {

constexpr uint32_t kSeed = 0;

void BM_BookCommand(benchmark::State& state) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    const atlas::FinishedRun run(kSeed);
    atlas::Plan plan = atlas::lay_out_plan(run.d(), kSeed, run.outcome());
    atlas::describe_plan(plan, run);
    bytes = atlas::dungeon_book(run, plan).size();
    benchmark::DoNotOptimize(bytes);
  }
  state.SetLabel("seed 0, 1001 rooms: grow, lay out, write " + std::to_string(bytes) + " bytes");
}
BENCHMARK(BM_BookCommand)->Unit(benchmark::kMillisecond);

void BM_BookPageOnly(benchmark::State& state) {
  const atlas::FinishedRun run(kSeed);
  atlas::Plan plan = atlas::lay_out_plan(run.d(), kSeed, run.outcome());
  atlas::describe_plan(plan, run);
  for (auto _ : state) benchmark::DoNotOptimize(atlas::dungeon_book(run, plan));
  state.SetLabel("seed 0: plans drawn and page written from a finished layout");
}
BENCHMARK(BM_BookPageOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
