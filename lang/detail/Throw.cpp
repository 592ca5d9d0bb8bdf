//===- lang/detail/Throw.cpp - every exception the library throws ---------===//
//
// The messages are assembled in a builder, the way the library builds its
// texts. A message that cannot be had (no memory) makes the builder throw
// OutOfMemoryError instead, as every allocation of the library does.
//===----------------------------------------------------------------------===//
#include "lang/detail/Throw.h"

#include "lang/ArrayIndexOutOfBoundsException.h"
#include "lang/CZqString.h"
#include "lang/CZqStringBuilder.h"
#include "lang/IllegalArgumentException.h"
#include "lang/IllegalStateException.h"
#include "lang/IndexOutOfBoundsException.h"
#include "lang/NegativeArraySizeException.h"
#include "lang/NullPointerException.h"
#include "lang/NumberFormatException.h"
#include "lang/OutOfMemoryError.h"
#include "lang/StringIndexOutOfBoundsException.h"

namespace zqlang {
namespace detail {
namespace {

// The text of its parts, each a fixed text or a number in decimal.
template <class... Parts>
CZqString Message(const Parts&... parts) {
  CZqStringBuilder message(64);
  (message.append(parts), ...);
  return message.toString();
}

}  // namespace

void ThrowOutOfMemory() { OutOfMemoryError::ThrowInstance(); }

void ThrowIndexOutOfBounds() { throw IndexOutOfBoundsException(); }

void ThrowIndexOutOfBounds(const char16_t* message) {
  throw IndexOutOfBoundsException(CZqString(message));
}

void ThrowStringIndexOutOfBounds(int value) { throw StringIndexOutOfBoundsException(value); }

void ThrowArrayIndexOutOfBounds(int value) { throw ArrayIndexOutOfBoundsException(value); }

void ThrowArrayIndexOutOfBounds(const char16_t* head, int first, const char16_t* middle,
                                int second) {
  throw ArrayIndexOutOfBoundsException(Message(head, first, middle, second));
}

void ThrowInsertIndex(int index, int length) {
  throw StringIndexOutOfBoundsException(Message(u"Index: ", index, u", Length: ", length));
}

void ThrowDeleteCharAt(int index, int length) {
  if (index < 0)
    throw StringIndexOutOfBoundsException(Message(u"DeleteCharAt: Negative start index: ", index));
  throw StringIndexOutOfBoundsException(Message(
      u"DeleteRange: Index (", index, u") is greater than or equal to length (", length, u")"));
}

void ThrowNullPointer(const char16_t* operation, const char16_t* what) {
  throw NullPointerException(Message(operation, u": ", what));
}

void ThrowNegativeArraySize() { throw NegativeArraySizeException(); }

void ThrowIllegalArgument(const char16_t* head, int value) {
  throw IllegalArgumentException(Message(head, value));
}

void ThrowIllegalArgument(std::u16string_view message) {
  throw IllegalArgumentException(CZqString(message));
}

void ThrowNoGroup(int group) {
  throw IndexOutOfBoundsException(CZqString(u"No group ") + CZqString(group));
}

void ThrowIllegalState(std::u16string_view message) {
  throw IllegalStateException(CZqString(message));
}

void ThrowInvalidCodePoint(int codePoint) {
  // Java's wording: the 32 bits in upper-case hex, no leading zeros.
  char16_t hex[8];
  int n = 0;
  const unsigned value = static_cast<unsigned>(codePoint);
  for (int shift = 28; shift >= 0; shift -= 4) {
    const unsigned digit = (value >> shift) & 0xFu;
    if (n > 0 || digit != 0 || shift == 0)
      hex[n++] = static_cast<char16_t>(digit < 10 ? u'0' + digit : u'A' + digit - 10);
  }
  CZqStringBuilder message(64);
  message.append(u"appendCodePoint: Not a valid Unicode code point: 0x").append(hex, 0, n);
  throw IllegalArgumentException(message.toString());
}

void ThrowNumberFormat(const char16_t* name, const char16_t* what) {
  throw NumberFormatException(Message(name, u": ", what));
}

void ThrowUnsupportedRadix(const char16_t* name, int radix) {
  throw NumberFormatException(Message(name, u": Unsupported radix: ", radix));
}

void ThrowBadNumber(const char16_t* name, bool outOfRange, int radix, const char16_t* text,
                    int count) {
  CZqStringBuilder message(64);
  message.append(name).append(outOfRange ? u": Number out of range: " : u": Bad base-");
  message.append(radix).append(u" number: \"").append(text, 0, count).append(u"\"");
  throw NumberFormatException(message.toString());
}

void ThrowRangeFault(RangeFault fault, int start, int end, int length, RangeNames names) {
  const char16_t* const op = names.operation;
  if (op == nullptr) {
    switch (fault) {
      case RangeFault::kNegativeStart:
      case RangeFault::kStartAfterLength:
        throw StringIndexOutOfBoundsException(start);
      case RangeFault::kStartAfterEnd:
        throw StringIndexOutOfBoundsException(RangeDifference(end, start));
      case RangeFault::kNegativeEnd:
      case RangeFault::kEndAfterLength:
        throw StringIndexOutOfBoundsException(end);
    }
  }
  const char16_t* const startWord = names.indexWords ? u": start index (" : u": start (";
  switch (fault) {
    case RangeFault::kNegativeStart:
      throw StringIndexOutOfBoundsException(Message(
          op, names.indexWords ? u": Negative start index: " : u": Negative start: ", start));
    case RangeFault::kNegativeEnd:
      throw StringIndexOutOfBoundsException(Message(op, u": Negative end: ", end));
    case RangeFault::kStartAfterEnd:
      throw StringIndexOutOfBoundsException(
          Message(op, startWord, start,
                  names.indexWords ? u") is greater than end index (" : u") is greater than end (",
                  end, u")"));
    case RangeFault::kEndAfterLength:
      throw StringIndexOutOfBoundsException(
          Message(op, u": end (", end, u") is greater than length (", length, u")"));
    case RangeFault::kStartAfterLength:
      throw StringIndexOutOfBoundsException(
          Message(op, startWord, start, u") is greater than length (", length, u")"));
  }
  throw StringIndexOutOfBoundsException(start);  // not reached: every fault is handled above
}

}  // namespace detail
}  // namespace zqlang
