// SPDX-License-Identifier: MIT
// How long the drawing of a floor plan takes: the SVG of every level, the
// layout and SVG together (what `plan --format svg` does after the run), and
// the PNG librsvg makes of it.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "atlas/common/finished_run.h"
#include "atlas/plan/describe.h"
#include "atlas/plan/draw/plan_png.h"
#include "atlas/plan/draw/plan_svg.h"
#include "atlas/plan/layout/plan_layout.h"

namespace {

// Seed 0 reaches the 1000-room limit: as large as plans get.
constexpr uint32_t kLargest = 0;

const atlas::FinishedRun& largest() {
  static const atlas::FinishedRun run(kLargest);
  return run;
}

// What the plan command draws: the layout, described.
atlas::Plan plan_of(const atlas::FinishedRun& run) {
  atlas::Plan plan = atlas::lay_out_plan(run.d(), run.seed(), run.outcome());
  atlas::describe_plan(plan, run);
  return plan;
}

void BM_PlanSvg(benchmark::State& state) {
  const atlas::FinishedRun& run = largest();
  const atlas::Plan plan = plan_of(run);
  std::size_t bytes = 0;
  for (auto _ : state) bytes = atlas::plan_svg(plan).svg.size();
  state.SetLabel(std::to_string(run.rooms()) + " rooms, " + std::to_string(bytes) + " bytes");
}
BENCHMARK(BM_PlanSvg)->Unit(benchmark::kMillisecond);

void BM_LayoutAndSvg(benchmark::State& state) {
  const atlas::FinishedRun& run = largest();
  for (auto _ : state) benchmark::DoNotOptimize(atlas::plan_svg(plan_of(run)));
}
BENCHMARK(BM_LayoutAndSvg)->Unit(benchmark::kMillisecond);

void BM_PlanPng(benchmark::State& state) {
  const atlas::FinishedRun& run = largest();
  // As the plan command draws it by default: at most kMaxPlanPixels a side.
  const atlas::Plan plan = plan_of(run);
  atlas::DrawOptions options;
  const atlas::SvgDrawing full = atlas::plan_svg(plan, options);
  options.pixels_per_foot *=
      std::min(1.0, atlas::kMaxPlanPixels / std::max(full.width, full.height));
  const atlas::SvgDrawing drawing = atlas::plan_svg(plan, options);
  std::size_t bytes = 0;
  for (auto _ : state) bytes = atlas::plan_png(drawing).size();
  state.SetLabel(std::to_string(bytes) + " bytes of PNG");
}
BENCHMARK(BM_PlanPng)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
