// How long the book of a large dungeon takes: seed 0 overflows at room 1001,
// the largest dungeon there is. The whole command's work (grow, lay out,
// write the page) and the page alone from a finished layout.
#include <benchmark/benchmark.h>

#include <memory>
#include <ostream>
#include <streambuf>

#include "atlas/book.h"
#include "atlas/plan_layout.h"
#include "framework/run.h"

namespace {

class NullBuffer : public std::streambuf {
 protected:
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
  int_type overflow(int_type c) override { return traits_type::not_eof(c); }
};

constexpr uint32_t kSeed = 0;

void BM_BookCommand(benchmark::State& state) {
  const auto d = std::make_unique<dungeon::Dungeon>();
  NullBuffer null;
  std::ostream out(&null);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const dungeon::RunOutcome outcome = dungeon::run_dungeon(*d, kSeed, out);
    const atlas::Plan plan = atlas::lay_out_plan(*d, kSeed, outcome);
    bytes = atlas::dungeon_book(*d, kSeed, outcome, plan).size();
    benchmark::DoNotOptimize(bytes);
  }
  state.SetLabel("seed 0, 1001 rooms: grow, lay out, write " + std::to_string(bytes) + " bytes");
}
BENCHMARK(BM_BookCommand)->Unit(benchmark::kMillisecond);

void BM_BookPageOnly(benchmark::State& state) {
  const auto d = std::make_unique<dungeon::Dungeon>();
  NullBuffer null;
  std::ostream out(&null);
  const dungeon::RunOutcome outcome = dungeon::run_dungeon(*d, kSeed, out);
  const atlas::Plan plan = atlas::lay_out_plan(*d, kSeed, outcome);
  for (auto _ : state) benchmark::DoNotOptimize(atlas::dungeon_book(*d, kSeed, outcome, plan));
  state.SetLabel("seed 0: plans drawn and page written from a finished layout");
}
BENCHMARK(BM_BookPageOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
