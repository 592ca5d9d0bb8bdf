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

#include "lang/detail/Simd.h"

namespace zqlang {
namespace detail {

/// Writes the \p count units of \p src to \p dst reversed, pairs kept: the
/// portable reference, walking the text pair by pair.
void ReverseUnitsScalar(const char16_t* src, int count, char16_t* dst) noexcept;

#if ZQ_SSE2
/// The same, eight units at a time.
void ReverseUnitsSse2(const char16_t* src, int count, char16_t* dst) noexcept;
#endif

/// The same with the fastest path this build has. The arrays must not
/// overlap.
void ReverseUnits(const char16_t* src, int count, char16_t* dst) noexcept;

}  // namespace detail
}  // namespace zqlang

#endif  // ZQ_LANG_DETAIL_UNITREVERSE_H
