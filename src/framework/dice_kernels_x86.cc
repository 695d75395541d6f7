// SPDX-License-Identifier: MIT
// The x86 scans, one per instruction set. Each is compiled for its own
// target and only ever called once the processor is known to support it.
//
// Four vectors per block keep enough independent adds, compares and
// multiplies in flight to cover the multiply's latency; more did not help.
#include "framework/dice_kernels.h"

#if defined(__x86_64__)

#include <immintrin.h>

namespace dungeon::dice {
namespace {

constexpr int kVectorsPerBlock = 4;

}  // namespace

int scan_sse2(const int16_t* base, uint16_t offset, int16_t limit, int count) {
  constexpr int kLanes = 8;
  static_assert(kSse2Block == kVectorsPerBlock * kLanes);
  const __m128i limits = _mm_set1_epi16(limit);
  const __m128i block_step = _mm_set1_epi16(static_cast<int16_t>(kOffsetStep[kSse2Block]));
  const __m128i first = _mm_set1_epi16(static_cast<int16_t>(offset));
  __m128i lane[kVectorsPerBlock];
  for (int v = 0; v < kVectorsPerBlock; ++v) {
    lane[v] = _mm_mullo_epi16(
        first, _mm_loadu_si128(reinterpret_cast<const __m128i*>(kOffsetStep.data() + v * kLanes)));
  }
  for (int i = 0; i < count; i += kSse2Block) {
    __m128i hits[kVectorsPerBlock];
    __m128i any = _mm_setzero_si128();
    for (int v = 0; v < kVectorsPerBlock; ++v) {
      const __m128i table =
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + i + v * kLanes));
      hits[v] = _mm_cmplt_epi16(_mm_add_epi16(table, lane[v]), limits);
      any = _mm_or_si128(any, hits[v]);
    }
    if (_mm_movemask_epi8(any) != 0) {
      for (int v = 0;; ++v) {
        // Two mask bits per 16-bit lane.
        if (const int bits = _mm_movemask_epi8(hits[v]); bits != 0) {
          return i + v * kLanes + __builtin_ctz(static_cast<unsigned>(bits)) / 2;
        }
      }
    }
    for (auto& x : lane) x = _mm_mullo_epi16(x, block_step);
  }
  return -1;
}

__attribute__((target("avx2"))) int scan_avx2(const int16_t* base, uint16_t offset, int16_t limit,
                                              int count) {
  constexpr int kLanes = 16;
  static_assert(kAvx2Block == kVectorsPerBlock * kLanes);
  const __m256i limits = _mm256_set1_epi16(limit);
  const __m256i block_step = _mm256_set1_epi16(static_cast<int16_t>(kOffsetStep[kAvx2Block]));
  const __m256i first = _mm256_set1_epi16(static_cast<int16_t>(offset));
  __m256i lane[kVectorsPerBlock];
  for (int v = 0; v < kVectorsPerBlock; ++v) {
    lane[v] = _mm256_mullo_epi16(
        first,
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kOffsetStep.data() + v * kLanes)));
  }
  for (int i = 0; i < count; i += kAvx2Block) {
    __m256i hits[kVectorsPerBlock];
    __m256i any = _mm256_setzero_si256();
    for (int v = 0; v < kVectorsPerBlock; ++v) {
      const __m256i table =
          _mm256_loadu_si256(reinterpret_cast<const __m256i*>(base + i + v * kLanes));
      // AVX2 has no less-than; swap the operands of greater-than.
      hits[v] = _mm256_cmpgt_epi16(limits, _mm256_add_epi16(table, lane[v]));
      any = _mm256_or_si256(any, hits[v]);
    }
    if (_mm256_testz_si256(any, any) == 0) {
      for (int v = 0;; ++v) {
        if (const int bits = _mm256_movemask_epi8(hits[v]); bits != 0) {
          return i + v * kLanes + __builtin_ctz(static_cast<unsigned>(bits)) / 2;
        }
      }
    }
    for (auto& x : lane) x = _mm256_mullo_epi16(x, block_step);
  }
  return -1;
}

__attribute__((target("avx512bw"))) int scan_avx512bw(const int16_t* base, uint16_t offset,
                                                      int16_t limit, int count) {
  constexpr int kLanes = 32;
  static_assert(kAvx512bwBlock == kVectorsPerBlock * kLanes);
  const __m512i limits = _mm512_set1_epi16(limit);
  const __m512i block_step = _mm512_set1_epi16(static_cast<int16_t>(kOffsetStep[kAvx512bwBlock]));
  const __m512i first = _mm512_set1_epi16(static_cast<int16_t>(offset));
  __m512i lane[kVectorsPerBlock];
  for (int v = 0; v < kVectorsPerBlock; ++v) {
    lane[v] = _mm512_mullo_epi16(first, _mm512_loadu_si512(kOffsetStep.data() + v * kLanes));
  }
  for (int i = 0; i < count; i += kAvx512bwBlock) {
    __mmask32 hits[kVectorsPerBlock];
    __mmask32 any = 0;
    for (int v = 0; v < kVectorsPerBlock; ++v) {
      const __m512i table = _mm512_loadu_si512(base + i + v * kLanes);
      hits[v] = _mm512_cmplt_epi16_mask(_mm512_add_epi16(table, lane[v]), limits);
      any |= hits[v];
    }
    if (any != 0) {
      for (int v = 0;; ++v) {
        if (hits[v] != 0) return i + v * kLanes + __builtin_ctz(hits[v]);
      }
    }
    for (auto& x : lane) x = _mm512_mullo_epi16(x, block_step);
  }
  return -1;
}

}  // namespace dungeon::dice

#endif  // defined(__x86_64__)
