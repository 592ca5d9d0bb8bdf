//===- lang/detail/UnitReverse.h - reverse UTF-16 text, pairs kept --------===//
/// \file
/// Writes the units of a text in reverse order into another array, except
/// that a high surrogate followed by a low surrogate is one character and
/// keeps its order. A lone surrogate, or a low one before a high one, moves
/// like any other unit.
///
/// Whether a unit starts a pair depends only on it and its successor (a high
/// surrogate can never be the second half of a pair), so the place of every
/// unit in the result is a local decision. The SSE2 path uses that to handle
/// eight units at a time without a sequential walk; the scalar path walks the
/// text pair by pair and is the reference for the other.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_DETAIL_UNITREVERSE_H
#define ZQ_LANG_DETAIL_UNITREVERSE_H

#if defined(__SSE2__) && !defined(ZARQLANG_NO_SIMD)
#include <emmintrin.h>
#define ZQ_UNIT_REVERSE_SSE2 1
#endif

namespace zqlang {
namespace detail {

inline bool IsHighSurrogate(char16_t unit) noexcept { return (unit & 0xFC00u) == 0xD800u; }
inline bool IsLowSurrogate(char16_t unit) noexcept { return (unit & 0xFC00u) == 0xDC00u; }

/// Writes the \p count units of \p src to \p dst reversed, pairs kept. The
/// arrays must not overlap.
inline void ReverseUnitsScalar(const char16_t* src, int count, char16_t* dst) noexcept {
  int i = 0;
  while (i < count) {
    const char16_t unit = src[i];
    if (IsHighSurrogate(unit) && i + 1 < count && IsLowSurrogate(src[i + 1])) {
      dst[count - i - 2] = unit;
      dst[count - i - 1] = src[i + 1];
      i += 2;
    } else {
      dst[count - i - 1] = unit;
      ++i;
    }
  }
}

/// The unit that lands at dst[count - 1 - i]: normally src[i], but the other
/// half of the pair when src[i] belongs to one.
inline char16_t MirroredUnit(const char16_t* src, int count, int i) noexcept {
  const char16_t unit = src[i];
  if (IsHighSurrogate(unit) && i + 1 < count && IsLowSurrogate(src[i + 1]))
    return src[i + 1];
  if (IsLowSurrogate(unit) && i > 0 && IsHighSurrogate(src[i - 1]))
    return src[i - 1];
  return unit;
}

#if defined(ZQ_UNIT_REVERSE_SSE2)
/// ReverseUnitsScalar, eight units per step.
inline void ReverseUnitsSse2(const char16_t* src, int count, char16_t* dst) noexcept {
  int i = 0;
  // Each step reads src[i - 1 .. i + 9), so the steps run from i = 1 while
  // i + 9 <= count; the first and last units go through MirroredUnit.
  if (count >= 9) {
    dst[count - 1] = MirroredUnit(src, count, 0);
    const __m128i surrogateBits = _mm_set1_epi16(static_cast<short>(0xFC00));
    const __m128i high = _mm_set1_epi16(static_cast<short>(0xD800));
    const __m128i low = _mm_set1_epi16(static_cast<short>(0xDC00));
    for (i = 1; i + 9 <= count; i += 8) {
      const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
      const __m128i prev = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i - 1));
      const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 1));
      const __m128i kind = _mm_and_si128(units, surrogateBits);
      // A low half after a high one takes its predecessor's place in the
      // mirrored order, a high half before a low one its successor's.
      const __m128i pairEnd = _mm_and_si128(
          _mm_cmpeq_epi16(kind, low), _mm_cmpeq_epi16(_mm_and_si128(prev, surrogateBits), high));
      const __m128i pairStart = _mm_and_si128(
          _mm_cmpeq_epi16(kind, high), _mm_cmpeq_epi16(_mm_and_si128(next, surrogateBits), low));
      __m128i mirrored = _mm_or_si128(
          _mm_andnot_si128(_mm_or_si128(pairEnd, pairStart), units),
          _mm_or_si128(_mm_and_si128(pairEnd, prev), _mm_and_si128(pairStart, next)));
      // Reverse the eight lanes: the four 32-bit halves, then each pair of
      // 16-bit units inside them.
      mirrored = _mm_shuffle_epi32(mirrored, _MM_SHUFFLE(0, 1, 2, 3));
      mirrored = _mm_shufflelo_epi16(mirrored, _MM_SHUFFLE(2, 3, 0, 1));
      mirrored = _mm_shufflehi_epi16(mirrored, _MM_SHUFFLE(2, 3, 0, 1));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + count - 8 - i), mirrored);
    }
  }
  for (; i < count; ++i)
    dst[count - 1 - i] = MirroredUnit(src, count, i);
}
#endif

/// Writes the \p count units of \p src to \p dst reversed, pairs kept, with
/// the fastest path this build has. The arrays must not overlap.
inline void ReverseUnits(const char16_t* src, int count, char16_t* dst) noexcept {
#if defined(ZQ_UNIT_REVERSE_SSE2)
  ReverseUnitsSse2(src, count, dst);
#else
  ReverseUnitsScalar(src, count, dst);
#endif
}

}  // namespace detail
}  // namespace zqlang

#endif  // ZQ_LANG_DETAIL_UNITREVERSE_H
