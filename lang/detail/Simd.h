//===- lang/detail/Simd.h - the switch and helpers of the vector paths ----===//
/// \file
/// Every vector path of the library is compiled only when ZQ_SSE2 is 1: the
/// build asks for SIMD (ZARQLANG_SIMD) and the target has SSE2. Each module
/// that has one follows the same pattern: a portable scalar reference, the
/// vector path beside it, and a dispatcher in the .cpp that picks the vector
/// path where it is compiled; the tests compare the two.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_DETAIL_SIMD_H
#define ZQ_LANG_DETAIL_SIMD_H

#if defined(ZARQLANG_SIMD) && defined(__SSE2__)
#define ZQ_SSE2 1
#include <emmintrin.h>
#else
#define ZQ_SSE2 0
#endif

#if ZQ_SSE2
namespace zqlang {
namespace detail {

/// 16 bytes (8 UTF-16 units) from \p at, which need not be aligned.
inline __m128i Load(const void* at) noexcept {
  return _mm_loadu_si128(static_cast<const __m128i*>(at));
}

/// Writes 16 bytes to \p at, which need not be aligned.
inline void Store(void* at, __m128i v) noexcept { _mm_storeu_si128(static_cast<__m128i*>(at), v); }

/// One bit per byte of a compare result: two bits per 16-bit lane.
inline unsigned Mask(__m128i compared) noexcept {
  return static_cast<unsigned>(_mm_movemask_epi8(compared));
}

/// The lanes of 16-bit units equal in \p a and \p b, as Mask gives them.
inline unsigned EqualMask(__m128i a, __m128i b) noexcept { return Mask(_mm_cmpeq_epi16(a, b)); }

}  // namespace detail
}  // namespace zqlang
#endif  // ZQ_SSE2

#endif  // ZQ_LANG_DETAIL_SIMD_H
