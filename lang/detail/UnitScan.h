//===- lang/detail/UnitScan.h - fast scans over UTF-16 unit arrays --------===//
/// \file
/// The loops under comparison, hashing and search of CZqStringBody. Each
/// gives exactly the result of the plain unit-by-unit loop it replaces; on
/// x86-64 (SSE2 is always there) they look at 8 to 32 units per step, and a
/// build with ZARQLANG_SIMD off compiles the portable loops only.
///
/// No function reads outside the ranges it is given: vector loads cover whole
/// blocks inside the range and the rest is done unit by unit.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_DETAIL_UNITSCAN_H
#define ZQ_LANG_DETAIL_UNITSCAN_H

#include <cstddef>
#include <cstring>

#include "lang/detail/Simd.h"

namespace zqlang {
namespace detail {

/// Index of the first \p unit in units[0, count), or -1.
int FindUnit(const char16_t* units, int count, char16_t unit) noexcept;

/// Index of the last \p unit in units[0, count), or -1.
int FindLastUnit(const char16_t* units, int count, char16_t unit) noexcept;

/// First index i in [from, last] at which the \p count needle units
/// (count >= 1) stand in \p text, or -1. The caller guarantees that
/// text[last + count - 1] is readable; from > last finds nothing.
int FindUnits(const char16_t* text, int from, int last, const char16_t* needle, int count) noexcept;

/// Last index i in [0, from] at which the \p count needle units
/// (count >= 1) stand in \p text, or -1. The caller guarantees that
/// text[from + count - 1] is readable; a negative \p from finds nothing.
int FindLastUnits(const char16_t* text, int from, const char16_t* needle, int count) noexcept;

/// Index of the first unit in which \p a and \p b differ, or \p count when
/// their first \p count units are equal.
int FirstDifference(const char16_t* a, const char16_t* b, int count) noexcept;

/// True when the first \p count units of \p a and \p b are equal. The C
/// library's memcmp: equality needs no index, and memcmp is at least as fast
/// as FirstDifference on short and long arrays alike.
inline bool UnitsEqual(const char16_t* a, const char16_t* b, int count) noexcept {
  return count <= 0 || std::memcmp(a, b, static_cast<std::size_t>(count) * sizeof(char16_t)) == 0;
}

/// h = 31 * h + unit over units[0, count), from h = 0, with unsigned 32-bit
/// wrap-around.
unsigned HashUnits(const char16_t* units, int count) noexcept;

/// @name Paths
/// Each function above is a dispatcher over a portable scalar reference and,
/// where the build has SSE2, a vector path with the same contract; the
/// tests compare the two. (Their FindUnits and FindLastUnits take a needle of
/// at least two units.)
/// @{
#define ZQ_UNITSCAN_DECLARE_PATH(Path)                                                  \
  int FindUnit##Path(const char16_t* units, int count, char16_t unit) noexcept;         \
  int FindLastUnit##Path(const char16_t* units, int count, char16_t unit) noexcept;     \
  int FindUnits##Path(const char16_t* text, int from, int last, const char16_t* needle, \
                      int count) noexcept;                                              \
  int FindLastUnits##Path(const char16_t* text, int from, const char16_t* needle,       \
                          int count) noexcept;                                          \
  int FirstDifference##Path(const char16_t* a, const char16_t* b, int count) noexcept;  \
  unsigned HashUnits##Path(const char16_t* units, int count) noexcept;
ZQ_UNITSCAN_DECLARE_PATH(Scalar)
#if ZQ_SSE2
ZQ_UNITSCAN_DECLARE_PATH(Sse2)
#endif
#undef ZQ_UNITSCAN_DECLARE_PATH
/// @}

}  // namespace detail
}  // namespace zqlang

#endif  // ZQ_LANG_DETAIL_UNITSCAN_H
