#include "framework/random.h"

#include <array>
#include <atomic>

#include "framework/dice_kernels.h"

namespace dungeon {

int roll_die_plain(uint32_t& state, int faces) {
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

struct KernelEntry {
  DiceKernel kernel;
  RollFn roll;
};

// Slowest first, as supported_dice_kernels promises.
constexpr std::array kKernels = {
    KernelEntry{DiceKernel::kPlain, roll_die_plain},
    KernelEntry{DiceKernel::kPortable, dice::roll_die_portable},
#if defined(__x86_64__)
    KernelEntry{DiceKernel::kSse2, dice::roll_die_sse2},
    KernelEntry{DiceKernel::kAvx2, dice::roll_die_avx2},
    KernelEntry{DiceKernel::kAvx512bw, dice::roll_die_avx512bw},
#endif
};

// The compiled entry of `kernel` if this processor runs it, else null.
const KernelEntry* runnable(DiceKernel kernel) {
#if defined(__x86_64__)
  __builtin_cpu_init();  // this may run among the static initialisers
  if (kernel == DiceKernel::kAvx2 && !__builtin_cpu_supports("avx2")) return nullptr;
  if (kernel == DiceKernel::kAvx512bw && !__builtin_cpu_supports("avx512bw")) return nullptr;
#endif
  for (const KernelEntry& entry : kKernels) {
    if (entry.kernel == kernel) return &entry;
  }
  return nullptr;
}

struct KernelList {
  std::array<DiceKernel, kKernels.size()> kernels{};
  std::size_t count = 0;
};

const KernelList& supported() {
  static const KernelList list = [] {
    KernelList l;
    for (const KernelEntry& entry : kKernels) {
      if (runnable(entry.kernel) != nullptr) l.kernels[l.count++] = entry.kernel;
    }
    return l;
  }();
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
  switch (kernel) {
    case DiceKernel::kPlain:
      return "plain";
    case DiceKernel::kPortable:
      return "portable";
    case DiceKernel::kSse2:
      return "sse2";
    case DiceKernel::kAvx2:
      return "avx2";
    case DiceKernel::kAvx512bw:
      return "avx512bw";
  }
  return "unknown";
}

std::span<const DiceKernel> supported_dice_kernels() {
  return {supported().kernels.data(), supported().count};
}

DiceKernel active_dice_kernel() {
  const RollFn roll = active_roll.load(std::memory_order_relaxed);
  for (const KernelEntry& entry : kKernels) {
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
