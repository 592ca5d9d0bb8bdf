//===- lang/detail/Checks.h - argument checks shared by the classes -------===//
/// \file
/// The checks that strings and builders make on the arguments their bodies
/// cannot check (null text, negative counts, source ranges), each written
/// once, and the range arithmetic of their messages.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_DETAIL_CHECKS_H
#define ZQ_LANG_DETAIL_CHECKS_H

#include <climits>
#include <cstddef>
#include <string>

#include "lang/CZqString.h"
#include "lang/NullPointerException.h"
#include "lang/OutOfMemoryError.h"
#include "lang/StringIndexOutOfBoundsException.h"

namespace zqlang {
namespace detail {

/// \p end - \p start in 32 bits with wrap-around: the value a reversed range
/// reports. The plain int subtraction overflows for far-apart arguments
/// (start 1, end INT_MIN), which is undefined.
constexpr int RangeDifference(int end, int start) noexcept {
  return static_cast<int>(static_cast<unsigned>(end) - static_cast<unsigned>(start));
}

/// Returns \p text; NullPointerException "<operation>: null text" when it is
/// null.
inline const char16_t* CheckText(const char16_t* text, const char16_t* operation) {
  if (text == nullptr)
    throw NullPointerException(CZqString(operation) + CZqString(u": null text"));
  return text;
}

/// Returns \p count; StringIndexOutOfBoundsException built from it when it
/// is negative.
inline int CheckCount(int count) {
  if (count < 0)
    throw StringIndexOutOfBoundsException(count);
  return count;
}

/// The length of a terminated text; one that does not fit an int is no
/// memory.
inline int TextLength(const char16_t* text) {
  const std::size_t count = std::char_traits<char16_t>::length(text);
  if (count > static_cast<std::size_t>(INT_MAX))
    OutOfMemoryError::ThrowInstance();
  return static_cast<int>(count);
}

/// Checks a source range [start, end) of a text of \p length units, in the
/// order start < 0, start > end, end > length; each failure is a
/// StringIndexOutOfBoundsException built from the offending value (start,
/// end - start, end).
inline void CheckSourceRange(int start, int end, int length) {
  if (start < 0)
    throw StringIndexOutOfBoundsException(start);
  if (start > end)
    throw StringIndexOutOfBoundsException(RangeDifference(end, start));
  if (end > length)
    throw StringIndexOutOfBoundsException(end);
}

/// The same checks in the order of a string's substring: start < 0,
/// end > length, start > end.
inline void CheckSubstringRange(int start, int end, int length) {
  if (start < 0)
    throw StringIndexOutOfBoundsException(start);
  if (end > length)
    throw StringIndexOutOfBoundsException(end);
  if (start > end)
    throw StringIndexOutOfBoundsException(RangeDifference(end, start));
}

}  // namespace detail
}  // namespace zqlang

#endif  // ZQ_LANG_DETAIL_CHECKS_H
