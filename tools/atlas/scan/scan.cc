// SPDX-License-Identifier: MIT
#include "atlas/scan/scan.h"

#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "atlas/common/finished_run.h"

namespace atlas {
namespace {

class Pipeline {
 public:
  Pipeline(uint64_t count, const PipelineOptions& options)
      : count_(count),
        block_size_(options.block_size == 0 ? 1 : options.block_size),
        blocks_((count + block_size_ - 1) / block_size_),
        window_(options.window == 0 ? 1 : options.window),
        slots_(window_) {}

  PipelineStats run(unsigned jobs, const std::function<BlockWork()>& make_worker,
                    const Deliver& deliver) {
    std::vector<std::thread> threads;
    try {
      const uint64_t useful = blocks_ < jobs ? blocks_ : jobs;
      threads.reserve(static_cast<std::size_t>(useful));
      for (uint64_t i = 0; i < useful; ++i) threads.emplace_back([&] { work(make_worker); });
    } catch (const std::system_error& error) {
      // A process or memory limit: the threads that did start share the
      // work, and none at all is an error like any other.
      if (threads.empty() && blocks_ > 0) {
        throw std::runtime_error("cannot start a thread: " + error.code().message());
      }
    } catch (const std::bad_alloc&) {
      if (threads.empty() && blocks_ > 0) throw;
    }

    try {
      deliver_all(deliver);
    } catch (...) {
      stop();
      for (std::thread& thread : threads) thread.join();
      throw;
    }
    stop();
    for (std::thread& thread : threads) thread.join();
    if (failure_) std::rethrow_exception(failure_);
    return stats_;
  }

 private:
  struct Slot {
    bool ready = false;
    std::vector<ScanRow> rows;
  };

  void stop() {
    const std::lock_guard lock(mutex_);
    stopped_ = true;
    space_.notify_all();
    ready_.notify_all();
  }

  void work(const std::function<BlockWork()>& make_worker) {
    try {
      const BlockWork block_work = make_worker();
      std::vector<ScanRow> rows;
      for (;;) {
        uint64_t block = 0;
        {
          std::unique_lock lock(mutex_);
          space_.wait(lock, [&] {
            return stopped_ || next_block_ >= blocks_ || next_block_ < delivered_ + window_;
          });
          if (stopped_ || next_block_ >= blocks_) return;
          block = next_block_++;
          const std::size_t in_flight = static_cast<std::size_t>(next_block_ - delivered_);
          if (in_flight > stats_.peak_blocks_in_flight) stats_.peak_blocks_in_flight = in_flight;
        }
        const uint64_t first = block * block_size_;
        const uint64_t last = first + block_size_ < count_ ? first + block_size_ : count_;
        rows.clear();
        block_work(first, last, rows);
        {
          const std::lock_guard lock(mutex_);
          Slot& slot = slots_[static_cast<std::size_t>(block % window_)];
          slot.rows.swap(rows);
          slot.ready = true;
          if (block == delivered_) ready_.notify_all();
        }
      }
    } catch (...) {
      const std::lock_guard lock(mutex_);
      if (!failure_) failure_ = std::current_exception();
      stopped_ = true;
      space_.notify_all();
      ready_.notify_all();
    }
  }

  void deliver_all(const Deliver& deliver) {
    std::vector<ScanRow> rows;
    while (true) {
      uint64_t done = 0;
      {
        std::unique_lock lock(mutex_);
        if (delivered_ >= blocks_) return;
        Slot& slot = slots_[static_cast<std::size_t>(delivered_ % window_)];
        ready_.wait(lock, [&] { return stopped_ || slot.ready; });
        if (!slot.ready) return;  // a worker failed
        rows.clear();
        rows.swap(slot.rows);
        slot.ready = false;
        ++delivered_;
        ++stats_.blocks_delivered;
        done = delivered_ * block_size_ < count_ ? delivered_ * block_size_ : count_;
        space_.notify_all();
      }
      if (!deliver(rows, done)) return;
    }
  }

  const uint64_t count_;
  const uint64_t block_size_;
  const uint64_t blocks_;
  const std::size_t window_;

  std::mutex mutex_;
  std::condition_variable space_;  // a worker may take another block
  std::condition_variable ready_;  // the next block to deliver may be done
  std::vector<Slot> slots_;        // block b waits in slot b % window
  uint64_t next_block_ = 0;
  uint64_t delivered_ = 0;
  bool stopped_ = false;
  std::exception_ptr failure_;
  PipelineStats stats_;
};

}  // namespace

ScanRow scan_row(const FinishedRun& run) {
  const dungeon::Dungeon& d = run.d();
  return {run.seed(),
          run.outcome(),
          d.reported,
          d.tally.deepest_level,
          d.tally.trap_count,
          d.tally.monster_count,
          d.tally.treasure_count};
}

bool ScanFilter::matches(const ScanRow& row) const {
  if (complete_only && row.outcome != dungeon::RunOutcome::kComplete) return false;
  return rooms.contains(static_cast<uint64_t>(row.rooms)) &&
         deepest_level.contains(static_cast<uint64_t>(row.deepest_level));
}

uint64_t ScanPlan::count() const {
  const uint64_t size = range.size();
  if (shard.index >= size) return 0;
  return (size - shard.index + shard.count - 1) / shard.count;
}

PipelineStats run_in_order(uint64_t count, const PipelineOptions& options,
                           const std::function<BlockWork()>& make_worker, const Deliver& deliver) {
  return Pipeline(count, options).run(options.jobs == 0 ? 1 : options.jobs, make_worker, deliver);
}

PipelineStats scan(const ScanPlan& plan, const ScanFilter& filter, unsigned jobs,
                   const Deliver& deliver) {
  const auto make_worker = [&plan, &filter]() -> BlockWork {
    // One run for the thread, grown afresh for every seed. Shared by the
    // copies std::function may make; lives as long as the thread's worker.
    auto run = std::make_shared<std::optional<FinishedRun>>();
    return [run, &plan, &filter](uint64_t first, uint64_t last, std::vector<ScanRow>& rows) {
      for (uint64_t k = first; k < last; ++k) {
        const uint32_t seed = plan.seed_at(k);
        if (*run) {
          (*run)->regrow(seed);
        } else {
          run->emplace(seed);
        }
        const ScanRow row = scan_row(**run);
        if (filter.matches(row)) rows.push_back(row);
      }
    };
  };
  PipelineOptions options;
  options.jobs = jobs;
  options.window = 4 * static_cast<std::size_t>(jobs == 0 ? 1 : jobs);
  return run_in_order(plan.count(), options, make_worker, deliver);
}

RowWriter::RowWriter(std::ostream& out, ScanFormat format, bool header)
    : out_(out), format_(format), header_(header) {}

void RowWriter::begin() {
  if (format_ == ScanFormat::kCsv) {
    if (header_) text_ += "seed,outcome,rooms,deepest_level,traps,monsters,treasures\n";
  } else {
    text_ += '[';
  }
}

void RowWriter::write(const ScanRow& row) {
  const std::string_view outcome = outcome_name(row.outcome);
  const auto number = [this](auto value) { text_ += std::to_string(value); };
  if (format_ == ScanFormat::kCsv) {
    number(row.seed);
    text_ += ',';
    text_ += outcome;
    for (const int value : {row.rooms, row.deepest_level, row.traps, row.monsters, row.treasures}) {
      text_ += ',';
      number(value);
    }
    text_ += '\n';
    return;
  }
  // One row a line, so line tools can still cut the document apart.
  text_ += first_ ? "\n" : ",\n";
  text_ += R"({"seed":)";
  number(row.seed);
  text_ += R"(,"outcome":")";
  text_ += outcome;
  text_ += R"(","rooms":)";
  number(row.rooms);
  text_ += R"(,"deepest_level":)";
  number(row.deepest_level);
  text_ += R"(,"traps":)";
  number(row.traps);
  text_ += R"(,"monsters":)";
  number(row.monsters);
  text_ += R"(,"treasures":)";
  number(row.treasures);
  text_ += '}';
  first_ = false;
}

void RowWriter::end() {
  if (format_ == ScanFormat::kJson) text_ += first_ ? "]\n" : "\n]\n";
  flush();
}

void RowWriter::flush() {
  out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
  text_.clear();
}

}  // namespace atlas
