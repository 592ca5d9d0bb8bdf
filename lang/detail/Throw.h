//===- lang/detail/Throw.h - every exception the library throws -----------===//
/// \file
/// The one place that builds and throws the library's exceptions. Each
/// function takes plain values (indices, lengths, a radix, units) and never
/// returns; Throw.cpp assembles the messages, exactly as each member
/// documents them. The storage and the text kernels report every failure
/// through these functions, so they stand on no exception class and on no
/// string: only Throw.cpp includes the exception headers.
///
/// The argument checks that several classes make stand here too, inline:
/// each order of range checks is written once, as a list of the conditions
/// in the order they are tested.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_DETAIL_THROW_H
#define ZQ_LANG_DETAIL_THROW_H

#include <climits>
#include <cstddef>
#include <string>
#include <string_view>

namespace zqlang {
namespace detail {

/// @name Memory
/// @{

/// OutOfMemoryError::ThrowInstance(): memory, or a size that does not fit.
[[noreturn]] void ThrowOutOfMemory();

/// Returns \p block; OutOfMemoryError when it is null (the allocation layer
/// reports no memory as null).
template <class T>
T* OrOutOfMemory(T* block) {
  if (block == nullptr)
    ThrowOutOfMemory();
  return block;
}
/// @}

/// @name Index and argument failures
/// @{

/// IndexOutOfBoundsException without a message (charAt and the code point
/// members).
[[noreturn]] void ThrowIndexOutOfBounds();
/// IndexOutOfBoundsException with the fixed \p message.
[[noreturn]] void ThrowIndexOutOfBounds(const char16_t* message);
/// StringIndexOutOfBoundsException built from \p value.
[[noreturn]] void ThrowStringIndexOutOfBounds(int value);
/// ArrayIndexOutOfBoundsException built from \p value.
[[noreturn]] void ThrowArrayIndexOutOfBounds(int value);
/// ArrayIndexOutOfBoundsException "<head><first><middle><second>", as the
/// dynamic array reports an index ("Index: 5, Length: 3").
[[noreturn]] void ThrowArrayIndexOutOfBounds(const char16_t* head, int first,
                                             const char16_t* middle, int second);
/// StringIndexOutOfBoundsException "Index: <index>, Length: <length>" of an
/// insertion point outside the text.
[[noreturn]] void ThrowInsertIndex(int index, int length);
/// The StringIndexOutOfBoundsException of deleteCharAt(index):
/// "DeleteCharAt: Negative start index: <index>" for a negative index, else
/// "DeleteRange: Index (<index>) is greater than or equal to length
/// (<length>)".
[[noreturn]] void ThrowDeleteCharAt(int index, int length);
/// NullPointerException "<operation>: <what>" ("getChars: null
/// destination").
[[noreturn]] void ThrowNullPointer(const char16_t* operation, const char16_t* what);
/// NegativeArraySizeException without a message.
[[noreturn]] void ThrowNegativeArraySize();
/// IllegalArgumentException "<head><value>".
[[noreturn]] void ThrowIllegalArgument(const char16_t* head, int value);
/// IllegalArgumentException with the whole \p message.
[[noreturn]] void ThrowIllegalArgument(std::u16string_view message);
/// IndexOutOfBoundsException "No group <group>" of a group a pattern does
/// not have.
[[noreturn]] void ThrowNoGroup(int group);
/// IllegalStateException with the whole \p message.
[[noreturn]] void ThrowIllegalState(std::u16string_view message);
/// IllegalArgumentException "appendCodePoint: Not a valid Unicode code
/// point: 0x<hex>", the 32 bits in upper-case hex without leading zeros.
[[noreturn]] void ThrowInvalidCodePoint(int codePoint);
/// @}

/// @name Number texts
/// @{

/// NumberFormatException "<name>: <what>".
[[noreturn]] void ThrowNumberFormat(const char16_t* name, const char16_t* what);
/// NumberFormatException "<name>: Unsupported radix: <radix>".
[[noreturn]] void ThrowUnsupportedRadix(const char16_t* name, int radix);
/// NumberFormatException of a number whose digits failed: "<name>: Bad
/// base-<radix> number: \"<text>\"", or with \p outOfRange "<name>: Number
/// out of range: <radix> number: \"<text>\"", quoting the \p count units.
[[noreturn]] void ThrowBadNumber(const char16_t* name, bool outOfRange, int radix,
                                 const char16_t* text, int count);
/// @}

/// @name Checks
/// @{

/// \p end - \p start in 32 bits with wrap-around: the value a reversed range
/// reports. The plain int subtraction overflows for far-apart arguments
/// (start 1, end INT_MIN), which is undefined.
constexpr int RangeDifference(int end, int start) noexcept {
  return static_cast<int>(static_cast<unsigned>(end) - static_cast<unsigned>(start));
}

/// The conditions under which a range [start, end) of a text of length
/// units is refused.
enum class RangeFault : unsigned char {
  kNegativeStart,     ///< start < 0
  kNegativeEnd,       ///< end < 0
  kStartAfterEnd,     ///< start > end
  kEndAfterLength,    ///< end > length
  kStartAfterLength,  ///< start > length
};

/// How a refused range is reported. With no operation, as a
/// StringIndexOutOfBoundsException built from the offending value (start,
/// end - start, or end); else with a message naming the operation, its
/// indices called "start index" and "end index" when \p indexWords is set,
/// "start" and "end" otherwise: "substring: end (9) is greater than length
/// (4)", "DeleteRange: Negative start index: -1".
struct RangeNames {
  const char16_t* operation;
  bool indexWords;
};

/// Reports the refused range (see RangeNames).
[[noreturn]] void ThrowRangeFault(RangeFault fault, int start, int end, int length,
                                  RangeNames names);

/// True when the range fails \p fault.
constexpr bool RangeFails(RangeFault fault, int start, int end, int length) noexcept {
  switch (fault) {
    case RangeFault::kNegativeStart:
      return start < 0;
    case RangeFault::kNegativeEnd:
      return end < 0;
    case RangeFault::kStartAfterEnd:
      return start > end;
    case RangeFault::kEndAfterLength:
      return end > length;
    case RangeFault::kStartAfterLength:
      return start > length;
  }
  return false;
}

/// Tests the range against \p kOrder, in that order, and reports the first
/// condition it fails: the one home of every range check of the library.
template <RangeFault... kOrder>
inline void CheckRange(int start, int end, int length, RangeNames names = {nullptr, false}) {
  for (const RangeFault fault : {kOrder...}) {
    if (RangeFails(fault, start, end, length))
      ThrowRangeFault(fault, start, end, length, names);
  }
}

/// The order of a source range (getChars, subSequence, append of a part of
/// a sequence, codePointCount): start < 0, start > end, end > length.
inline void CheckSourceRange(int start, int end, int length, RangeNames names = {nullptr, false}) {
  CheckRange<RangeFault::kNegativeStart, RangeFault::kStartAfterEnd, RangeFault::kEndAfterLength>(
      start, end, length, names);
}

/// The order of substring: start < 0, end > length, start > end.
inline void CheckSubstringRange(int start, int end, int length,
                                RangeNames names = {nullptr, false}) {
  CheckRange<RangeFault::kNegativeStart, RangeFault::kEndAfterLength, RangeFault::kStartAfterEnd>(
      start, end, length, names);
}

/// The order of the builder's editing ranges (deleteRange, replace):
/// start < 0, start > length, start > end, reported with messages naming
/// \p operation ("DeleteRange", "Replace") and "start index", "end index".
inline void CheckEditRange(int start, int end, int length, const char16_t* operation) {
  CheckRange<RangeFault::kNegativeStart, RangeFault::kStartAfterLength, RangeFault::kStartAfterEnd>(
      start, end, length, {operation, true});
}

/// Returns \p text; NullPointerException "<operation>: null text" when it is
/// null.
inline const char16_t* CheckText(const char16_t* text, const char16_t* operation) {
  if (text == nullptr)
    ThrowNullPointer(operation, u"null text");
  return text;
}

/// Returns \p count; StringIndexOutOfBoundsException built from it when it
/// is negative.
inline int CheckCount(int count) {
  if (count < 0)
    ThrowStringIndexOutOfBounds(count);
  return count;
}

/// The length of a terminated text; one that does not fit an int is no
/// memory.
inline int TextLength(const char16_t* text) {
  const std::size_t count = std::char_traits<char16_t>::length(text);
  if (count > static_cast<std::size_t>(INT_MAX))
    ThrowOutOfMemory();
  return static_cast<int>(count);
}

/// A length held as a size_t (a view's) as an int; one that does not fit is
/// no memory.
inline int LengthAsInt(std::size_t length) {
  if (length > static_cast<std::size_t>(INT_MAX))
    ThrowOutOfMemory();
  return static_cast<int>(length);
}
/// @}

}  // namespace detail
}  // namespace zqlang

#endif  // ZQ_LANG_DETAIL_THROW_H
