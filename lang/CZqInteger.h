//===- lang/CZqInteger.h - boxed 32-bit integer, parsing and radix text ---===//
/// \file
/// CZqInteger is a 32-bit signed integer in a counted heap object of the
/// ZqUnknownItf family, and the home of the library's conversions between
/// integers and text in a radix from 2 to 36.
///
/// \code
///   int n = CZqInteger::parseInt(u"-ff", 16);        // -255
///   CZqString hex = CZqInteger::toHexString(-1);      // "ffffffff"
///   SPtr<CZqInteger> boxed = CZqInteger::valueOf(7); // count 1
/// \endcode
///
/// Every text that is not exactly a number in the radix is reported by a
/// NumberFormatException whose message names the radix and quotes the text.
/// Only a leading '-' is a sign; there is no '+' and no skipping of blanks.
///
/// An integer on the stack can be used as a plain value as long as no holder
/// and no AddRef() is ever applied to it. Counting is not atomic.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_CZQINTEGER_H
#define ZQ_LANG_CZQINTEGER_H

#include <cstddef>
#include <new>
#include <optional>
#include <string_view>

#include "lang/CZqString.h"
#include "lang/SPtr.h"
#include "lang/ZqExport.h"
#include "lang/ZqUnknownItf.h"

namespace zqlang {

class CZqStringBuilder;

/// A counted, boxed 32-bit integer; conversions between integers and text.
class ZQ_API CZqInteger : public ZqUnknownItf {
 public:
  /// @name The box
  /// @{

  /// Holds \p value; count 0.
  explicit CZqInteger(int value);
  /// Holds parseInt(text, 10); count 0. Throws NumberFormatException.
  explicit CZqInteger(const CZqString& text);
  /// Copies the value and also the count of \p other (it is not reset).
  CZqInteger(const CZqInteger& other);
  /// Takes \p other's value; keeps this object's own count.
  CZqInteger& operator=(const CZqInteger& other);
  /// Not virtual: a boxed integer is freed by its own Release(), which
  /// destroys it as a CZqInteger.
  ~CZqInteger() = default;

  int intValue() const { return mValue; }
  operator int() const { return mValue; }
  /// The value itself.
  int hashCode() const { return mValue; }
  bool equals(const CZqInteger& other) const { return mValue == other.mValue; }
  /// The decimal text, with '-' for a negative value.
  CZqString toString() const;

  /// A holder of a new heap integer of \p value (count 1 once returned).
  /// Throws OutOfMemoryError when it cannot be allocated.
  static SPtr<CZqInteger> valueOf(int value);
  /// parseInt(text, radix), then as valueOf(int). A NumberFormatException
  /// leaves before anything is allocated.
  static SPtr<CZqInteger> valueOf(const CZqString& text, int radix);

  int AddRef() const override;
  int Release() const override;
  /// @}

  /// @name Text to number
  /// @{

  /// The value of \p text in \p radix (2 to 36; letters a-z, either case,
  /// are the digits 10 to 35). Above radix 10 each unit is first lower-cased
  /// with towlower of the current C locale, so a unit that the locale maps
  /// to an ASCII letter counts as that letter: under a UTF-8 locale
  /// parseInt(u"\u212A", 36), KELVIN SIGN, is 20 (the digit k). Throws
  /// NumberFormatException with one of:
  ///   "Integer::parseInt: Unsupported radix: " + radix (checked first);
  ///   "Integer::parseInt: Empty string";
  ///   "Integer::parseInt: Bad string: \"-\"" for the text "-";
  ///   "Integer::parseInt: Bad base-" + radix + " number: \"" + text + "\"";
  ///   "Integer::parseInt: Number out of range: " + radix + " number: \"" +
  ///   text + "\"".
  /// The first offending character decides between the last two. In those
  /// messages the text is lower-cased when radix > 10, except when the value
  /// is exactly 2147483648 without a sign, which quotes the caller's text.
  static int parseInt(const CZqString& text, int radix = 10);
  /// As parseInt(const CZqString&, int), of the units of a view; a
  /// `u"..."` literal, a `const char16_t*` or a std::u16string comes here
  /// too, without a temporary string.
  static int parseInt(std::u16string_view text, int radix = 10);
  /// parseInt of a `u"..."` literal, a `const char16_t*` (NullPointerException
  /// when null) or a std::u16string.
  template <class Text, detail::IfText<Text> = 0>
  static int parseInt(const Text& text, int radix = 10) {
    return parseInt(CZqString::AsView(text), radix);
  }
  /// @}

  /// @name Number to text
  /// Digits above 9 are lower-case letters. None of these throws, except
  /// OutOfMemoryError.
  /// @{

  /// Signed text of \p value in \p radix; an invalid radix means 10.
  [[nodiscard]] static CZqString toString(int value, int radix);
  /// The 32 bits of \p value as an unsigned number in base 16, 8 or 2: no
  /// sign, no prefix, no leading zeros ("ffffffff" for -1, "0" for 0).
  [[nodiscard]] static CZqString toHexString(int value);
  [[nodiscard]] static CZqString toOctalString(int value);
  [[nodiscard]] static CZqString toBinaryString(int value);
  /// @}

  /// @name Parsing without exceptions, and 64 bits
  /// @{

  /// The value of \p text in \p radix by the rules of parseInt (a leading
  /// '-' only, letters of either case above 9), but with ASCII digits and
  /// letters only, whatever the C locale; or no value where parseInt
  /// would throw: a radix outside 2 to 36, an empty text, "-", a bad digit or
  /// a value outside the int range. Never throws and allocates nothing.
  static std::optional<int> tryParseInt(std::u16string_view text, int radix = 10) noexcept;
  /// The 64-bit value of \p text in \p radix, by the rules of parseInt but
  /// with ASCII digits and letters only (as tryParseInt), with its messages
  /// under the name "Integer::parseLong" (e.g.
  /// "Integer::parseLong: Number out of range: 10 number: \"9223372036854775808\"";
  /// the text quoted as parseInt quotes it, lower-cased above radix 10
  /// except for exactly 9223372036854775808 without a sign).
  static long long parseLong(const CZqString& text, int radix = 10);
  /// @}

 protected:
  /// The magnitude of the digits of \p text from \p start on, up to
  /// 2147483648 (returned as its 32-bit pattern). Throws the "Bad base" or
  /// "Number out of range" NumberFormatException.
  static int parseUnsignedPartOfSigned(const CZqString& text, int start, int radix);
  /// Appends the digits of \p value in \p radix to \p out; allocates
  /// nothing of its own. A radix outside 2 to 36 throws
  /// IllegalArgumentException ("Integer::unsignedToString: Unsupported
  /// radix: " + radix) and appends nothing.
  static void unsignedToString(CZqStringBuilder& out, unsigned int value, int radix);
  /// True when 2 <= radix <= 36.
  static bool isValidRadix(int radix);

  // Internals: not part of the interface.
 private:
  mutable int mRefCount;
  int mValue;
};

}  // namespace zqlang

#endif  // ZQ_LANG_CZQINTEGER_H
