//===- lang/detail/Growth.h - how storage grows ---------------------------===//
/// \file
/// The one growth rule of the library's storage (string bodies and dynamic
/// arrays): when count more items must fit after length of them, the new
/// capacity is exactly the need plus 16, never a multiple of the old one.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_DETAIL_GROWTH_H
#define ZQ_LANG_DETAIL_GROWTH_H

#include <climits>

#include "lang/detail/Throw.h"

namespace zqlang {
namespace detail {

/// Spare items that every growth adds beyond the need. (The body's inline
/// append applies the rule too, with a copy of the number that its source
/// checks against this one.)
constexpr int kGrowthSlack = 16;

/// length + count + 16, the capacity growth gives; a capacity that does not
/// fit an int is no memory (OutOfMemoryError).
inline int GrownCapacity(int length, int count) {
  const long long need = static_cast<long long>(length) + count + kGrowthSlack;
  if (need > INT_MAX)
    ThrowOutOfMemory();
  return static_cast<int>(need);
}

}  // namespace detail
}  // namespace zqlang

#endif  // ZQ_LANG_DETAIL_GROWTH_H
