// SPDX-License-Identifier: MIT
// How long a floor plan takes: layout and JSON of every level of the largest
// dungeons there are, on one core.
#include <benchmark/benchmark.h>

#include "atlas/common/finished_run.h"
#include "atlas/plan/layout/plan_layout.h"
#include "atlas/plan/plan_json.h"

namespace {

// Seed 0 overflows (1001 rooms on 7 levels); seed 461 has the largest level
// of the first 2,000 seeds (927 rooms); seed 1782 is the largest complete
// run among them (999 rooms).
void BM_PlanJson(benchmark::State& state) {
  const auto seed = static_cast<uint32_t>(state.range(0));
  const atlas::FinishedRun run(seed);
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes += atlas::plan_json(atlas::lay_out_plan(run.d(), seed, run.outcome())).dump().size();
  }
  benchmark::DoNotOptimize(bytes);
  state.SetLabel("seed " + std::to_string(seed) + ", " + std::to_string(run.rooms()) +
                 " rooms, all levels");
}
BENCHMARK(BM_PlanJson)->Arg(0)->Arg(461)->Arg(1782)->Unit(benchmark::kMillisecond);

void BM_LayoutOnly(benchmark::State& state) {
  const atlas::FinishedRun run(0);
  for (auto _ : state) {
    const atlas::Plan plan = atlas::lay_out_plan(run.d(), 0, run.outcome());
    benchmark::DoNotOptimize(plan.levels.size());
  }
}
BENCHMARK(BM_LayoutOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
