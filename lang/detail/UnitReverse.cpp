//===- lang/detail/UnitReverse.cpp - reverse UTF-16 text, pairs kept ------===//
#include "lang/detail/UnitReverse.h"

#include "lang/detail/Surrogates.h"

namespace zqlang {
namespace detail {

/// Writes the \p count units of \p src to \p dst reversed, pairs kept. The
/// arrays must not overlap.
void ReverseUnitsScalar(const char16_t* src, int count, char16_t* dst) noexcept {
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

#if ZQ_SSE2
namespace {

// The unit that lands at dst[count - 1 - i]: normally src[i], but the other
// half of the pair when src[i] belongs to one.
inline char16_t MirroredUnit(const char16_t* src, int count, int i) noexcept {
  const char16_t unit = src[i];
  if (IsHighSurrogate(unit) && i + 1 < count && IsLowSurrogate(src[i + 1]))
    return src[i + 1];
  if (IsLowSurrogate(unit) && i > 0 && IsHighSurrogate(src[i - 1]))
    return src[i - 1];
  return unit;
}

// The eight 16-bit lanes of \p units in reverse order: the four 32-bit
// halves, then the two units inside each.
inline __m128i ReverseLanes(__m128i units) noexcept {
  units = _mm_shuffle_epi32(units, _MM_SHUFFLE(0, 1, 2, 3));
  units = _mm_shufflelo_epi16(units, _MM_SHUFFLE(2, 3, 0, 1));
  return _mm_shufflehi_epi16(units, _MM_SHUFFLE(2, 3, 0, 1));
}

// The 16-bit lanes of \p value.
inline __m128i Lanes(unsigned value) noexcept { return _mm_set1_epi16(static_cast<short>(value)); }

// Lanes where \p units are surrogates (IsSurrogate, lane by lane).
inline __m128i SurrogateLanes(__m128i units) noexcept {
  return _mm_cmpeq_epi16(_mm_and_si128(units, Lanes(kSurrogateMask)), Lanes(kFirstHighSurrogate));
}

// Writes the mirrored units of src[i .. i + 8) to dst, reading src[i - 1]
// and src[i + 8] as well.
inline void MirrorEightUnits(const char16_t* src, int count, char16_t* dst, int i) noexcept {
  const __m128i halfBits = Lanes(kHalfMask);
  const __m128i high = Lanes(kFirstHighSurrogate);
  const __m128i low = Lanes(kFirstLowSurrogate);
  const __m128i units = Load(src + i);
  const __m128i prev = Load(src + i - 1);
  const __m128i next = Load(src + i + 1);
  const __m128i half = _mm_and_si128(units, halfBits);
  // A low half after a high one takes its predecessor's place in the
  // mirrored order, a high half before a low one its successor's.
  const __m128i pairEnd = _mm_and_si128(_mm_cmpeq_epi16(half, low),
                                        _mm_cmpeq_epi16(_mm_and_si128(prev, halfBits), high));
  const __m128i pairStart = _mm_and_si128(_mm_cmpeq_epi16(half, high),
                                          _mm_cmpeq_epi16(_mm_and_si128(next, halfBits), low));
  const __m128i mirrored =
      _mm_or_si128(_mm_andnot_si128(_mm_or_si128(pairEnd, pairStart), units),
                   _mm_or_si128(_mm_and_si128(pairEnd, prev), _mm_and_si128(pairStart, next)));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + count - 8 - i), ReverseLanes(mirrored));
}

}  // namespace

// ReverseUnitsScalar, eight units per step.
void ReverseUnitsSse2(const char16_t* src, int count, char16_t* dst) noexcept {
  if (count < 9) {
    ReverseUnitsScalar(src, count, dst);
    return;
  }
  // A step at i reads src[i - 1 .. i + 8], so the steps start at i = 1 and
  // end before count - 8; the units outside go through MirroredUnit.
  dst[count - 1] = MirroredUnit(src, count, 0);
  int i = 1;
  // Blocks of 32 units: a block without any surrogate, the common case, is
  // only reversed. Deciding per block rather than per step keeps the branch
  // predictable both in plain text and in text dense with pairs.
  for (; count - i >= 33; i += 32) {
    const __m128i a = Load(src + i);
    const __m128i b = Load(src + i + 8);
    const __m128i c = Load(src + i + 16);
    const __m128i d = Load(src + i + 24);
    const __m128i any = _mm_or_si128(_mm_or_si128(SurrogateLanes(a), SurrogateLanes(b)),
                                     _mm_or_si128(SurrogateLanes(c), SurrogateLanes(d)));
    if (_mm_movemask_epi8(any) == 0) {
      char16_t* const out = dst + count - 8 - i;
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out), ReverseLanes(a));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out - 8), ReverseLanes(b));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out - 16), ReverseLanes(c));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out - 24), ReverseLanes(d));
    } else {
      for (int step = 0; step < 32; step += 8)
        MirrorEightUnits(src, count, dst, i + step);
    }
  }
  for (; count - i >= 9; i += 8)
    MirrorEightUnits(src, count, dst, i);
  for (; i < count; ++i)
    dst[count - 1 - i] = MirroredUnit(src, count, i);
}
#endif

/// Writes the \p count units of \p src to \p dst reversed, pairs kept, with
/// the fastest path this build has. The arrays must not overlap.
void ReverseUnits(const char16_t* src, int count, char16_t* dst) noexcept {
#if ZQ_SSE2
  ReverseUnitsSse2(src, count, dst);
#else
  ReverseUnitsScalar(src, count, dst);
#endif
}

}  // namespace detail
}  // namespace zqlang
