//===- lang/detail/BoundsText.h - messages of the range checks ------------===//
/// \file
/// The messages of the builder's range checks: fixed texts and decimal
/// numbers joined with CZqString concatenation, e.g.
/// "DeleteRange: start index (7) is greater than length (6)".
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_DETAIL_BOUNDSTEXT_H
#define ZQ_LANG_DETAIL_BOUNDSTEXT_H

#include "lang/CZqString.h"

namespace zqlang {
namespace detail {

/// \p head followed by \p value in decimal.
inline CZqString BoundsText(const char16_t* head, int value) {
  return CZqString(head) + CZqString(value);
}

/// \p head, \p first, \p middle, \p second, then ")".
inline CZqString BoundsText(const char16_t* head, int first, const char16_t* middle, int second) {
  return CZqString(head) + CZqString(first) + CZqString(middle) + CZqString(second) +
         CZqString(u")");
}

}  // namespace detail
}  // namespace zqlang

#endif  // ZQ_LANG_DETAIL_BOUNDSTEXT_H
