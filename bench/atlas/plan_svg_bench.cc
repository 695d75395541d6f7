// SPDX-License-Identifier: MIT
// How long the drawing of a floor plan takes: the SVG of every level, the
// layout and SVG together (what `plan --format svg` does after the run), and
// the PNG librsvg makes of it.
#include <benchmark/benchmark.h>

#include <memory>

#include "atlas/plan/draw/plan_png.h"
#include "atlas/plan/draw/plan_svg.h"
#include "atlas/plan/layout/plan_layout.h"
#include "framework/run.h"

namespace {

// Seed 0 reaches the 1000-room limit: as large as plans get.
constexpr uint32_t kLargest = 0;

struct Grown {
  std::unique_ptr<dungeon::Dungeon> d = dungeon::make_dungeon();
  dungeon::RunOutcome outcome;
  atlas::Plan plan;
  explicit Grown(uint32_t seed) {
    dungeon::NullSink report;
    outcome = dungeon::run_dungeon(*d, seed, report);
    plan = atlas::lay_out_plan(*d, seed, outcome);
  }
};

const Grown& largest() {
  static const Grown grown(kLargest);
  return grown;
}

void BM_PlanSvg(benchmark::State& state) {
  const Grown& run = largest();
  std::size_t bytes = 0;
  for (auto _ : state) bytes = atlas::plan_svg(run.plan, *run.d).size();
  state.SetLabel(std::to_string(run.d->tally.rooms()) + " rooms, " + std::to_string(bytes) +
                 " bytes");
}
BENCHMARK(BM_PlanSvg)->Unit(benchmark::kMillisecond);

void BM_LayoutAndSvg(benchmark::State& state) {
  const Grown& run = largest();
  for (auto _ : state) {
    const atlas::Plan plan = atlas::lay_out_plan(*run.d, kLargest, run.outcome);
    benchmark::DoNotOptimize(atlas::plan_svg(plan, *run.d));
  }
}
BENCHMARK(BM_LayoutAndSvg)->Unit(benchmark::kMillisecond);

void BM_PlanPng(benchmark::State& state) {
  const Grown& run = largest();
  const std::string svg = atlas::plan_svg(run.plan, *run.d);
  std::size_t bytes = 0;
  for (auto _ : state) bytes = atlas::plan_png(svg).size();
  state.SetLabel(std::to_string(bytes) + " bytes of PNG");
}
BENCHMARK(BM_PlanPng)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
