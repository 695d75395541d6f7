#include "framework/random.h"

#include <atomic>
#include <cassert>
#include <vector>

#include "framework/dice_kernels.h"

namespace dungeon {

int roll_die_plain(uint32_t& state, int faces) {
  assert(faces >= 1 && faces <= 32767);
  // One unsigned compare tests 1 <= v <= faces: v == 0 wraps to the top.
  const auto limit = static_cast<uint32_t>(faces);
  for (;;) {
    state = state * kLcgMultiplier + kLcgIncrement;
    const auto v = static_cast<uint32_t>(lcg_output(state));
    if (v - 1 < limit) return static_cast<int>(v);
  }
}

namespace {

using RollFn = int (*)(uint32_t&, int);
using dice::kernel_table;
using dice::KernelEntry;

const KernelEntry* entry_of(DiceKernel kernel) {
  for (const KernelEntry& entry : kernel_table()) {
    if (entry.kernel == kernel) return &entry;
  }
  return nullptr;
}

// The built entry of `kernel` if this processor runs it, else null.
const KernelEntry* runnable(DiceKernel kernel) {
  const KernelEntry* entry = entry_of(kernel);
  return entry != nullptr && entry->runs_here() ? entry : nullptr;
}

std::vector<DiceKernel> list_kernels(bool supported_only) {
  std::vector<DiceKernel> kernels;
  for (const KernelEntry& entry : kernel_table()) {
    if (!supported_only || entry.runs_here()) kernels.push_back(entry.kernel);
  }
  return kernels;
}

const std::vector<DiceKernel>& built() {
  static const std::vector<DiceKernel> list = list_kernels(false);
  return list;
}

const std::vector<DiceKernel>& supported() {
  static const std::vector<DiceKernel> list = list_kernels(true);
  return list;
}

// Every kernel gives the same dice, so a roll made before the choice below
// (from another file's static initialiser, say) is still right, only slow.
// Atomic so that forcing a kernel never races with rolls in other threads.
std::atomic<RollFn> active_roll{roll_die_plain};

[[maybe_unused]] const bool fastest_chosen_at_start = force_dice_kernel(supported().back());

}  // namespace

std::string_view dice_kernel_name(DiceKernel kernel) {
  const KernelEntry* entry = entry_of(kernel);
  return entry != nullptr ? entry->name : "unknown";
}

std::span<const DiceKernel> built_dice_kernels() {
  return built();
}

std::span<const DiceKernel> supported_dice_kernels() {
  return supported();
}

DiceKernel active_dice_kernel() {
  const RollFn roll = active_roll.load(std::memory_order_relaxed);
  for (const KernelEntry& entry : kernel_table()) {
    if (entry.roll == roll) return entry.kernel;
  }
  return DiceKernel::kPlain;
}

bool force_dice_kernel(DiceKernel kernel) {
  const KernelEntry* entry = runnable(kernel);
  if (entry == nullptr) return false;
  active_roll.store(entry->roll, std::memory_order_relaxed);
  return true;
}

int roll_die_active(uint32_t& state, int faces) {
  return active_roll.load(std::memory_order_relaxed)(state, faces);
}

}  // namespace dungeon
