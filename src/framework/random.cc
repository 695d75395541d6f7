// SPDX-License-Identifier: MIT
#include "framework/random.h"

#include <array>
#include <atomic>
#include <cassert>

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

// A fixed list, not a vector: the lists are made among the static
// initialisers, where an allocation that fails under a tight memory limit
// could not even be reported.
struct KernelList {
  std::array<DiceKernel, 8> kernels{};
  std::size_t count = 0;
};

KernelList list_kernels(bool supported_only) {
  KernelList list;
  for (const KernelEntry& entry : kernel_table()) {
    if (supported_only && !entry.runs_here()) continue;
    assert(list.count < list.kernels.size());
    list.kernels[list.count++] = entry.kernel;
  }
  return list;
}

const KernelList& built() {
  static const KernelList list = list_kernels(false);
  return list;
}

const KernelList& supported() {
  static const KernelList list = list_kernels(true);
  return list;
}

// Every kernel gives the same dice, so a roll made before the choice below
// (from another file's static initialiser, say) is still right, only slow.
// Atomic so that forcing a kernel never races with rolls in other threads.
std::atomic<RollFn> active_roll{roll_die_plain};

[[maybe_unused]] const bool fastest_chosen_at_start =
    force_dice_kernel(supported().kernels[supported().count - 1]);

}  // namespace

std::string_view dice_kernel_name(DiceKernel kernel) {
  const KernelEntry* entry = entry_of(kernel);
  return entry != nullptr ? entry->name : "unknown";
}

std::span<const DiceKernel> built_dice_kernels() {
  return {built().kernels.data(), built().count};
}

std::span<const DiceKernel> supported_dice_kernels() {
  return {supported().kernels.data(), supported().count};
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
