#include "framework/random.h"

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

}  // namespace dungeon
