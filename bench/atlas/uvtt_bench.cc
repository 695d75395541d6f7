// SPDX-License-Identifier: MIT
// How long a tabletop file of a 554-room level takes: its walls and portals
// alone, and the whole file with its picture at a few pixels a square.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include "atlas/common/finished_run.h"
#include "atlas/plan/describe.h"
#include "atlas/plan/layout/plan_layout.h"
#include "atlas/plan/vtt/picture.h"
#include "atlas/plan/vtt/uvtt.h"
#include "atlas/plan/vtt/walls.h"

namespace {

// Seed 0's fourth level has 554 rooms, the largest of that dungeon.
constexpr uint32_t kSeed = 0;
constexpr int kLevel = 4;

const atlas::Plan& large_level() {
  static const atlas::Plan plan = [] {
    const atlas::FinishedRun run(kSeed);
    atlas::Plan laid_out = atlas::lay_out_plan(run.d(), run.seed(), run.outcome(), kLevel);
    atlas::describe_plan(laid_out, run);
    return laid_out;
  }();
  return plan;
}

// Seconds of processor time of this process and of the children it waited
// for: the picture is drawn in a child process.
double processor_seconds() {
  rusage self{};
  rusage children{};
  getrusage(RUSAGE_SELF, &self);
  getrusage(RUSAGE_CHILDREN, &children);
  double seconds = 0;
  for (const rusage& usage : {self, children}) {
    for (const timeval& t : {usage.ru_utime, usage.ru_stime}) seconds += t.tv_sec + t.tv_usec / 1e6;
  }
  return seconds;
}

void BM_UvttWalls(benchmark::State& state) {
  const atlas::PlanLevel& level = large_level().levels.front();
  atlas::vtt::LevelWalls walls;
  for (auto _ : state) walls = atlas::vtt::level_walls(level);
  std::size_t corners = 0;
  for (const auto& ring : walls.rings) corners += ring.size();
  state.SetLabel(std::to_string(level.rooms.size()) + " rooms, " +
                 std::to_string(walls.rings.size()) + " rings, " + std::to_string(corners) +
                 " corners, " + std::to_string(walls.portals.size()) + " portals");
}
BENCHMARK(BM_UvttWalls)->Unit(benchmark::kMillisecond);

// The file as `plan --format uvtt --px-per-square P` writes it, once the
// level is laid out.
void BM_UvttFile(benchmark::State& state) {
  const atlas::PlanLevel& level = large_level().levels.front();
  const int pixels_per_square = static_cast<int>(state.range(0));
  std::size_t bytes = 0;
  atlas::Rect frame;
  const double start = processor_seconds();
  for (auto _ : state) {
    const atlas::vtt::Picture picture = atlas::vtt::level_picture(
        atlas::vtt::tabletop_drawing(level, pixels_per_square, false), pixels_per_square);
    frame = picture.frame;
    bytes = atlas::vtt::uvtt_document(atlas::vtt::level_walls(level), picture).size();
  }
  state.counters["cpu_with_child_s"] =
      benchmark::Counter(processor_seconds() - start, benchmark::Counter::kAvgIterations);
  state.SetLabel(std::to_string(frame.w / 5 * pixels_per_square) + " x " +
                 std::to_string(frame.h / 5 * pixels_per_square) + " pixels, " +
                 std::to_string(bytes) + " bytes");
}
BENCHMARK(BM_UvttFile)->Arg(10)->Arg(20)->Arg(30)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
