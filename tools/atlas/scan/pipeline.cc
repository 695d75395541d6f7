// SPDX-License-Identifier: MIT
#include "atlas/scan/pipeline.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <new>
#include <stdexcept>
#include <system_error>
#include <thread>

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

PipelineStats run_in_order(uint64_t count, const PipelineOptions& options,
                           const std::function<BlockWork()>& make_worker, const Deliver& deliver) {
  return Pipeline(count, options).run(options.jobs == 0 ? 1 : options.jobs, make_worker, deliver);
}

}  // namespace atlas
