// SPDX-License-Identifier: MIT
// How many seeds a second a scan gets through: one thread for the per-core
// figure, then the whole pipeline on every core. The one-thread figure comes
// twice: as scans run, with the report dropped unformatted, and with the
// report formatted and thrown away, as scans ran before, so that one run
// gives both figures.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <thread>

#include "atlas/scan/scan.h"
#include "framework/report.h"
#include "framework/run.h"

namespace {

// The way scans dropped the report before NullSink: formatted in full, then
// written through a stream into nothing.
class NullBuffer : public std::streambuf {
 protected:
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
  int_type overflow(int_type c) override { return traits_type::not_eof(c); }
};

// A fixed stretch of seeds, so that runs compare: dungeons differ a
// hundredfold in size from seed to seed.
constexpr uint32_t kFirstSeed = 1'700'000'000;
constexpr uint32_t kSeeds = 512;

template <typename Sink>
void seeds_one_thread(benchmark::State& state, Sink& sink) {
  const auto d = dungeon::make_dungeon();
  uint32_t k = 0;
  for (auto _ : state) {
    const dungeon::RunOutcome outcome = dungeon::run_dungeon(*d, kFirstSeed + k, sink);
    benchmark::DoNotOptimize(outcome);
    k = (k + 1) % kSeeds;
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel("seeds/s on one core");
}

void BM_SeedsOneThread(benchmark::State& state) {
  dungeon::NullSink discard;
  seeds_one_thread(state, discard);
}
BENCHMARK(BM_SeedsOneThread)->Unit(benchmark::kMillisecond);

void BM_SeedsOneThreadFormattingTheReport(benchmark::State& state) {
  NullBuffer nothing;
  std::ostream stream(&nothing);
  dungeon::OstreamSink formatted(stream);
  seeds_one_thread(state, formatted);
}
BENCHMARK(BM_SeedsOneThreadFormattingTheReport)->Unit(benchmark::kMillisecond);

void BM_ScanAllCores(benchmark::State& state) {
  const unsigned jobs = static_cast<unsigned>(state.range(0));
  const atlas::ScanSeeds seeds{{kFirstSeed, kFirstSeed + kSeeds - 1}, {}};
  uint64_t rows = 0;
  for (auto _ : state) {
    atlas::scan(seeds, atlas::ScanFilter{}, jobs,
                [&](std::vector<atlas::ScanRow>& block, uint64_t) {
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
