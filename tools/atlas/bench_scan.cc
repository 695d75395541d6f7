// How many seeds a second a scan gets through: one thread for the per-core
// figure, then the whole pipeline on every core.
#include <benchmark/benchmark.h>

#include <memory>
#include <ostream>
#include <streambuf>
#include <thread>

#include "atlas/scan.h"
#include "framework/run.h"

namespace {

class NullBuffer : public std::streambuf {
 protected:
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
  int_type overflow(int_type c) override { return traits_type::not_eof(c); }
};

// A fixed stretch of seeds, so that runs compare: dungeons differ a
// hundredfold in size from seed to seed.
constexpr uint32_t kFirstSeed = 1'700'000'000;
constexpr uint32_t kSeeds = 512;

void BM_SeedsOneThread(benchmark::State& state) {
  const auto d = dungeon::make_dungeon();
  NullBuffer null;
  std::ostream out(&null);
  uint32_t k = 0;
  for (auto _ : state) {
    const dungeon::RunOutcome outcome = dungeon::run_dungeon(*d, kFirstSeed + k, out);
    benchmark::DoNotOptimize(outcome);
    k = (k + 1) % kSeeds;
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel("seeds/s on one core");
}
BENCHMARK(BM_SeedsOneThread)->Unit(benchmark::kMillisecond);

void BM_ScanAllCores(benchmark::State& state) {
  const unsigned jobs = static_cast<unsigned>(state.range(0));
  const atlas::ScanPlan plan{{kFirstSeed, kFirstSeed + kSeeds - 1}, {}};
  uint64_t rows = 0;
  for (auto _ : state) {
    atlas::scan(plan, atlas::ScanFilter{}, jobs, [&](std::vector<atlas::ScanRow>& block, uint64_t) {
      rows += block.size();
      return true;
    });
  }
  benchmark::DoNotOptimize(rows);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kSeeds);
  state.SetLabel("seeds/s with " + std::to_string(jobs) + " jobs");
}
BENCHMARK(BM_ScanAllCores)
    ->Arg(1)
    ->Arg(static_cast<int64_t>(std::max(1u, std::thread::hardware_concurrency())))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
