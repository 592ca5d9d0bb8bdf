//===- lang/CZqString.h - immutable UTF-16 text with shared storage -------===//
/// \file
/// CZqString is a sequence of UTF-16 code units that never changes. Copies
/// share one reference-counted CZqStringBody: copying, assigning, passing and
/// returning a string cost one count increment and never copy a unit.
/// Indices and lengths count code units (a character outside the BMP takes
/// two). To build text piecewise use CZqStringBuilder: `s = s + piece` in a
/// loop copies everything on every pass.
///
/// \code
///   CZqString greeting(u"hello");          // one body, capacity 6
///   CZqString copy = greeting;             // same body, count 2
///   char16_t e = greeting.charAt(1);       // u'e'
///   CZqString ell = greeting.substring(1, 4);
/// \endcode
///
/// Null text pointers and negative counts are rejected with an exception
/// (NullPointerException, StringIndexOutOfBoundsException); a size that does
/// not fit in an int is reported as OutOfMemoryError. A failing operation
/// never changes the string it was called on.
///
/// Threads: the count of a body is not atomic, so a string and every string
/// or builder that shares its body are used from one thread at a time;
/// unless the library and the program are built with ZARQLANG_ATOMIC_COUNTS,
/// which lets copies of one string live on different threads.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_CZQSTRING_H
#define ZQ_LANG_CZQSTRING_H

#include <algorithm>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <iterator>
#include <new>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "lang/CZqStringBody.h"
#include "lang/CharSequence.h"
#include "lang/SPtr.h"
#include "lang/ZqCaseRules.h"
#include "lang/ZqExport.h"

namespace zqlang {

class CZqStringBuilder;
class CZqString;
class ZqCodePoints;
class ZqLines;
namespace detail {
struct StringAccess;

/// Enables the forwarding overloads that take any text a std::u16string_view
/// can be made of (a u"..." literal, a `const char16_t*`, a std::u16string)
/// except a string itself: they take such text without a conversion, so a
/// literal picks the view form instead of being ambiguous between it and a
/// temporary CZqString.
template <class Text>
using IfText = std::enable_if_t<std::is_convertible<const Text&, std::u16string_view>::value &&
                                    !std::is_base_of<CZqString, Text>::value,
                                int>;
}  // namespace detail

/// Immutable UTF-16 text whose units live in a shared, counted
/// CZqStringBody (see the file comment). Copies share; nothing copies units
/// except the operations that make a new string.
class ZQ_API CZqString : public CharSequence {
 public:
  /// @name Construction
  /// @{

  /// The empty string, in a body of capacity 64.
  CZqString();
  /// Shares \p other's body; allocates nothing.
  CZqString(const CZqString& other) = default;
  /// Copies the units of \p text up to its first 0 unit into a body of
  /// capacity length + 1. Throws NullPointerException when \p text is null.
  CZqString(const char16_t* text);
  /// Copies the first \p count units of \p text (0 units included).
  /// Throws NullPointerException for a null \p text and
  /// StringIndexOutOfBoundsException (built from \p count) when it is
  /// negative.
  CZqString(const char16_t* text, int count);
  /// Copies \p count units from \p text + \p start. A negative \p start or
  /// \p count raises StringIndexOutOfBoundsException built from that value.
  CZqString(const char16_t* text, int start, int count);
  /// The units of \p a followed by those of \p b, in a body of capacity
  /// a.length() + b.length() + 1.
  CZqString(const CZqString& a, const CZqString& b);

  /// "true" or "false".
  explicit CZqString(bool value);
  /// The one unit \p value (U+0000 included).
  explicit CZqString(char16_t value);
  /// The decimal number of the byte (65 gives "65", not "A").
  explicit CZqString(char value);
  /// Decimal text, exactly as a default std::ostringstream writes it under
  /// the global C++ locale.
  explicit CZqString(short value);
  /// Decimal text, as for short.
  explicit CZqString(int value);
  /// Decimal text, as for short; `std::int64_t` arguments pick this one.
  explicit CZqString(long value);
  /// Decimal text, as for short.
  explicit CZqString(long long value);
  /// General notation with 6 significant digits, as a default
  /// std::ostringstream writes it ("0.1", "100", "1.23457e+06", "-0").
  explicit CZqString(double value);

  /// Narrow text is refused: without these, a `const char*` would silently
  /// convert to bool and make "true".
  CZqString(const char*) = delete;
  /// Refused like CZqString(const char*).
  CZqString(const char*, int) = delete;
  /// Refused like CZqString(const char*).
  CZqString(const char*, int, int) = delete;

  /// Gives back this string's reference on its body; the last holder frees
  /// it.
  virtual ~CZqString() { mBody = nullptr; }

  /// Shares \p other's body. Self-assignment and assignment between strings
  /// that share a body change no count.
  CZqString& operator=(const CZqString& other);
  /// @}

  /// @name Reading
  /// @{
  int length() const override { return mBody->Length(); }
  /// The unit at \p index; IndexOutOfBoundsException (no message) unless
  /// 0 <= index < length().
  ZQ_API char16_t charAt(int index) const final { return mBody->CharAt(index); }
  /// True when length() is 0.
  bool isEmpty() const { return length() == 0; }

  /// The units, not terminated by contract (begin() and view().data() are
  /// the same pointer; only c_str() promises the 0 unit). Valid while some
  /// string holds the body.
  const char16_t* Ptr() const { return mBody->Ptr(); }
  /// The units followed by a 0 unit. The 0 is written when the text is made,
  /// so this call only reads: copies of one string may call it on different
  /// threads (with ZARQLANG_ATOMIC_COUNTS). Valid as long as Ptr().
  const char16_t* c_str() const;

  /// Copies units [srcBegin, srcEnd) to dst + dstBegin. Throws, before
  /// copying anything, StringIndexOutOfBoundsException built from srcBegin
  /// (negative), from srcEnd - srcBegin (srcBegin > srcEnd) or from srcEnd
  /// (past the length), then ArrayIndexOutOfBoundsException built from a
  /// negative dstBegin. The room in \p dst is the caller's to provide.
  void getChars(int srcBegin, int srcEnd, char16_t* const dst, int dstBegin) const;
  /// @}

  /// @name Comparison and hashing
  /// Units compare as unsigned 16-bit values. Nothing here throws or
  /// allocates, and the argument may be *this. Each call reads the units
  /// anew (the hash is not cached).
  /// @{

  /// The difference of the first differing units; when one string is a
  /// prefix of the other, -1 or 1 (not the difference of the lengths).
  int compareTo(const CZqString& other) const;
  /// As compareTo, both units first mapped with towlower of the C locale.
  int compareToIgnoreCase(const CZqString& other) const;
  /// True when both strings have the same units (compareTo() is 0).
  ZQ_API bool equals(const CZqString& other) const {
    return mBody.Get() == other.mBody.Get() ||
           (mBody->Length() == other.mBody->Length() && EqualUnits(other));
  }
  /// True when compareToIgnoreCase() is 0.
  bool equalsIgnoreCase(const CZqString& other) const;
  /// h = 31 * h + unit over all units, with 32-bit wrap-around; 0 when empty.
  int hashCode() const;
  /// As compareTo() of foldCase(rules) and other.foldCase(rules), without
  /// making either: full Unicode case folding (ß matches "ss", ſ matches "s",
  /// surrogate pairs fold as code points), independent of the C locale.
  int compareToIgnoreCase(const CZqString& other, ZqCaseRules rules) const;
  /// True when compareToIgnoreCase(other, rules) is 0: "STRASSE" equals
  /// "straße" ignoring case.
  bool equalsIgnoreCase(const CZqString& other, ZqCaseRules rules) const;
  /// @}

  /// @name Search
  /// A search that finds nothing returns -1; none throws or allocates, and
  /// the needle may be *this. \p ch is a code point: one above 0xFFFF is
  /// found where its surrogate pair stands, and an invalid one (negative,
  /// above 0x10FFFF) is never found. Units are compared exactly (no case
  /// folding).
  ///
  /// indexOf gives the first index >= fromIndex (0 without one; a negative
  /// one searches from 0); an empty \p str is found at fromIndex when
  /// fromIndex <= length(). lastIndexOf gives the last index <= fromIndex
  /// (length() without one); a fromIndex past the last place the needle fits
  /// searches from there, a negative one finds nothing.
  /// @{

  /// First index of \p ch.
  int indexOf(int ch) const;
  /// First index >= \p fromIndex of \p ch.
  int indexOf(int ch, int fromIndex) const;
  /// First index of \p str.
  int indexOf(const CZqString& str) const;
  /// First index >= \p fromIndex of \p str.
  int indexOf(const CZqString& str, int fromIndex) const;
  /// Last index of \p ch.
  int lastIndexOf(int ch) const;
  /// Last index <= \p fromIndex of \p ch.
  int lastIndexOf(int ch, int fromIndex) const;
  /// Last index of \p str.
  int lastIndexOf(const CZqString& str) const;
  /// Last index <= \p fromIndex of \p str.
  int lastIndexOf(const CZqString& str, int fromIndex) const;
  /// True when the string starts with \p prefix.
  bool startsWith(const CZqString& prefix) const;
  /// True when \p prefix occurs at \p fromIndex (false when that is
  /// negative or the prefix would pass the end).
  bool startsWith(const CZqString& prefix, int fromIndex) const;
  /// True when the string ends with \p suffix (always for an empty one).
  bool endsWith(const CZqString& suffix) const;
  /// @}

  /// @name Derived strings
  /// The string itself never changes, also when one of these throws. Where a
  /// result has the source's units some operations hand back the source's
  /// body without copying; each says when. A new body that cannot be had
  /// raises OutOfMemoryError. Arguments may be *this.
  /// @{

  /// Units beginIndex to length() - 1, always in a new body of capacity
  /// count + 1. Throws StringIndexOutOfBoundsException built from beginIndex
  /// when it is negative or past length().
  [[nodiscard]] CZqString substring(int beginIndex) const;
  /// Units [beginIndex, endIndex) in a new body. Throws
  /// StringIndexOutOfBoundsException built from beginIndex (negative), from
  /// endIndex (past length()), then from endIndex - beginIndex (reversed).
  [[nodiscard]] CZqString substring(int beginIndex, int endIndex) const;
  /// A new heap string equal to substring(beginIndex, endIndex), owned by the
  /// caller, who disposes of it with Release() through CharSequence. Throws
  /// as substring(beginIndex, endIndex) does.
  [[nodiscard]] CharSequence* subSequence(int beginIndex, int endIndex) const override;
  /// This string followed by \p str; shares this body when \p str is empty,
  /// else a new body of capacity length() + str.length() + 1 (also when this
  /// string is empty).
  [[nodiscard]] CZqString concat(const CZqString& str) const;
  /// Every \p oldChar replaced by \p newChar, in a clone of the body; shares
  /// this body when \p oldChar does not occur.
  [[nodiscard]] CZqString replace(char16_t oldChar, char16_t newChar) const;
  /// Every unit mapped by towlower / towupper of the C locale, always in a
  /// clone of the body (same capacity).
  [[nodiscard]] CZqString toLowerCase() const;
  /// Every unit mapped by towupper, in a clone of the body.
  [[nodiscard]] CZqString toUpperCase() const;
  /// Without leading and trailing units for which iswspace is true; shares
  /// this body when the string is empty or neither end is blank.
  [[nodiscard]] CZqString trim() const;
  /// This string: shares the body.
  CZqString toString() const;
  /// The text in lower case by the Unicode default case mapping (the
  /// Unicode version of the library's tables, see the README), independent
  /// of the C locale: one-to-many mappings (İ becomes i + U+0307), Σ as final
  /// ς at the end of a word (preceded by a cased letter, not followed by one,
  /// case-ignorable characters between them skipped), surrogate pairs mapped
  /// as the code points they encode, unpaired surrogates unchanged; plus the
  /// language rules \p rules. Shares this body when no unit changes, else a
  /// new body whose capacity is at least the new length.
  ///
  /// Final sigma reads "cased" and "case-ignorable" as the standard's rule
  /// does: a character that is both, such as ʰ (U+02B0) or U+0345, counts
  /// as the cased letter before Σ, so u"\u02B0\u03A3" lowers to
  /// u"\u02B0\u03C2", as in Java 17. (ICU skips such characters and gives
  /// σ; Java 17 does so after U+0345 alone.)
  [[nodiscard]] CZqString toLowerCase(ZqCaseRules rules) const;
  /// The text in upper case by the Unicode default case mapping, as
  /// toLowerCase(ZqCaseRules): "straße" becomes "STRASSE", ŉ becomes ʼN, and
  /// the text may get longer.
  [[nodiscard]] CZqString toUpperCase(ZqCaseRules rules) const;
  /// The full Unicode case folding of the text (CaseFolding statuses C and
  /// F; with ZqCaseRules::kTurkic status T too, so that I folds to ı and İ to
  /// i): the form in which texts that differ only in case are equal ("MASSE"
  /// and "Maße" both fold to "masse"). Shares this body when no unit changes.
  [[nodiscard]] CZqString foldCase(ZqCaseRules rules = ZqCaseRules::kUnicode) const;
  /// @}

  /// @name Standard library interop
  /// Views and iterators point into the body's unit array; they copy nothing.
  /// A view stays valid while some string holds the body (a string never
  /// changes its body's text, nor moves it), so do not keep one of a
  /// temporary string.
  /// @{

  /// Copies the units of \p text (0 units included) into a body of capacity
  /// text.size() + 1. Explicit because it allocates. Throws OutOfMemoryError
  /// when no memory can be had or the size does not fit in an int.
  explicit CZqString(std::u16string_view text);
  /// As CZqString(std::u16string_view).
  explicit CZqString(const std::u16string& text);

  /// The units as a view, without a copy.
  ZQ_API std::u16string_view view() const noexcept {
    return std::u16string_view(mBody->Ptr(), static_cast<std::size_t>(mBody->Length()));
  }
  /// The units as a view, without a copy, so a string goes wherever a
  /// std::u16string_view is taken.
  operator std::u16string_view() const noexcept { return view(); }

  /// The first unit, for range-for and the standard algorithms.
  ZQ_API const char16_t* begin() const noexcept { return mBody->Ptr(); }
  /// One past the last unit.
  ZQ_API const char16_t* end() const noexcept { return mBody->Ptr() + mBody->Length(); }

  /// Decodes \p utf8 into a new string whose body has capacity decoded
  /// length + 1. Each maximal subpart of an ill-formed sequence (overlong
  /// forms, encoded surrogates, values above U+10FFFF, stray or missing
  /// continuation bytes) becomes one U+FFFD, as the Unicode standard
  /// recommends; well-formed text round-trips exactly through toUtf8().
  /// Throws OutOfMemoryError when no memory can be had or the decoded length
  /// does not fit in an int.
  [[nodiscard]] static CZqString fromUtf8(std::string_view utf8);
  /// The text in UTF-8: a surrogate pair becomes one 4-byte sequence, a lone
  /// surrogate becomes U+FFFD (EF BF BD). Throws OutOfMemoryError when the
  /// result cannot be allocated.
  [[nodiscard]] std::string toUtf8() const;
  /// @}

  /// @name Comparison and search with views
  /// The same results as the members above for a string with the units of
  /// the view, but no string is made: none of these allocates or throws. A
  /// `u"..."` literal, a `const char16_t*` (up to its 0 unit) and a
  /// std::u16string come here through the forwarding overloads below; a null
  /// pointer there is a NullPointerException ("CZqString: null text").
  /// @{

  /// True when the units are exactly those of \p text.
  bool equals(std::u16string_view text) const noexcept;
  /// As compareTo(const CZqString&) against the units of \p text.
  int compareTo(std::u16string_view text) const noexcept;
  /// True when \p prefix occurs at \p fromIndex (false when that is negative
  /// or the prefix would pass the end).
  bool startsWith(std::u16string_view prefix, int fromIndex = 0) const noexcept;
  /// True when the string ends with \p suffix (always for an empty one).
  bool endsWith(std::u16string_view suffix) const noexcept;
  /// First index >= \p fromIndex (negative: 0) of \p str, or -1; an empty
  /// \p str is found at fromIndex when fromIndex <= length().
  int indexOf(std::u16string_view str, int fromIndex = 0) const noexcept;
  /// Last index of \p str, or -1.
  int lastIndexOf(std::u16string_view str) const noexcept;
  /// Last index <= \p fromIndex of \p str, or -1 (rules as for
  /// lastIndexOf(const CZqString&, int)).
  int lastIndexOf(std::u16string_view str, int fromIndex) const noexcept;
  /// True when \p str occurs anywhere (indexOf(str) >= 0); an empty one
  /// always does.
  bool contains(std::u16string_view str) const noexcept;

  /// @name Literals, pointers and std::u16string
  /// equals, compareTo, startsWith, endsWith, indexOf, lastIndexOf and
  /// contains of a `u"..."` literal, a `const char16_t*` or a
  /// std::u16string: their std::u16string_view forms above, reached through
  /// one forwarding template each (a template, so that such an argument
  /// picks the view form over a conversion to CZqString).
  /// @{
#define ZQ_FORWARD_TEXT_TO_VIEW(Result, name)                    \
  template <class Text, class... More, detail::IfText<Text> = 0> \
  Result name(const Text& text, More... more) const {            \
    return name(AsView(text), more...);                          \
  }
  ZQ_FORWARD_TEXT_TO_VIEW(bool, equals)
  ZQ_FORWARD_TEXT_TO_VIEW(int, compareTo)
  ZQ_FORWARD_TEXT_TO_VIEW(bool, startsWith)
  ZQ_FORWARD_TEXT_TO_VIEW(bool, endsWith)
  ZQ_FORWARD_TEXT_TO_VIEW(int, indexOf)
  ZQ_FORWARD_TEXT_TO_VIEW(int, lastIndexOf)
  ZQ_FORWARD_TEXT_TO_VIEW(bool, contains)
#undef ZQ_FORWARD_TEXT_TO_VIEW
  /// @}
  /// True when \p str occurs anywhere; allocates nothing.
  bool contains(const CZqString& str) const noexcept;

  /// The view of \p text: the text itself, or for a pointer its units up to
  /// the first 0 unit, after NullPointerException for a null one.
  template <class Text>
  static std::u16string_view AsView(const Text& text) {
    if constexpr (std::is_pointer<Text>::value)
      return ViewOfText(text);
    else
      return std::u16string_view(text);
  }
  /// @}

  /// @name Code points
  /// A high surrogate followed by a low one is one code point; every other
  /// unit, an unpaired surrogate included, is a code point of its own.
  /// Indices still count units. None of these allocates.
  /// @{

  /// The code point at \p index: the pair when a high surrogate there is
  /// followed by a low one, else the unit. IndexOutOfBoundsException (no
  /// message), as charAt, unless 0 <= index < length().
  int codePointAt(int index) const;
  /// The code point that ends just before \p index: the pair when the unit
  /// before it is a low surrogate preceded by a high one, else that unit.
  /// IndexOutOfBoundsException (no message) unless 1 <= index <= length().
  int codePointBefore(int index) const;
  /// Number of code points in units [begin, end); a pair split by either end
  /// counts as two unpaired surrogates. Throws as getChars does:
  /// StringIndexOutOfBoundsException built from begin (negative), from
  /// end - begin (begin > end), then from end (past length()).
  int codePointCount(int begin, int end) const;
  /// The index \p offset code points after \p index (before it when
  /// negative). IndexOutOfBoundsException (no message) when \p index is
  /// outside 0..length() or fewer code points lie on that side.
  int offsetByCodePoints(int index, int offset) const;
  /// The code points, for range-for: `for (char32_t cp : s.codePoints())`.
  /// The view shares the body (one count), so it may be taken of a
  /// temporary string.
  ZqCodePoints codePoints() const noexcept;
  /// @}

  /// @name Java's everyday members
  /// As java.lang.String's, independent of the C locale. A result with the
  /// units of this string shares its body; a new one has capacity
  /// length + 1, as a string made from its text.
  /// @{

  /// The text \p count times over (empty for 0). Throws
  /// IllegalArgumentException "count is negative: <count>" for a negative
  /// count, OutOfMemoryError when the length does not fit an int.
  [[nodiscard]] CZqString repeat(int count) const;
  /// Without leading and trailing white space by Java's
  /// Character.isWhitespace (U+0020, tab, line feed, U+2028, U+3000, ...;
  /// not the no-break spaces).
  [[nodiscard]] CZqString strip() const;
  /// Without leading white space (as strip()).
  [[nodiscard]] CZqString stripLeading() const;
  /// Without trailing white space (as strip()).
  [[nodiscard]] CZqString stripTrailing() const;
  /// True when the string is empty or holds only white space (as strip()).
  bool isBlank() const noexcept;
  /// The lines of the text, lazily: split at "\n", "\r" and "\r\n", without
  /// the terminators; a last terminator ends the last line (no empty line
  /// after it), and an empty text has none. Each line is a
  /// std::u16string_view into this body, which the range holds;
  /// `CZqString(line)` makes a string of one.
  ZqLines lines() const noexcept;
  /// Every occurrence of \p target, from the start and not overlapping,
  /// replaced by \p replacement; an empty target stands before every unit
  /// and at the end ("abc" with "" and "-" gives "-a-b-c-"). Shares this
  /// body when the target does not occur.
  [[nodiscard]] CZqString replace(const CharSequence& target,
                                  const CharSequence& replacement) const;
  /// As replace(const CharSequence&, const CharSequence&) with views; a
  /// `u"..."` literal or a std::u16string comes here too.
  [[nodiscard]] CZqString replace(std::u16string_view target,
                                  std::u16string_view replacement) const;
  /// replace of two `u"..."` literals, `const char16_t*` or std::u16string.
  template <class Target, class Replacement, detail::IfText<Target> = 0,
            detail::IfText<Replacement> = 0>
  [[nodiscard]] CZqString replace(const Target& target, const Replacement& replacement) const {
    return replace(AsView(target), AsView(replacement));
  }

  /// Whether \p len units of this string from \p toffset equal those of
  /// \p other from \p ooffset: false when an offset is negative or a region
  /// passes its string, else true for a len of 0 or less.
  bool regionMatches(int toffset, const CZqString& other, int ooffset, int len) const noexcept;
  /// As regionMatches, with \p ignoreCase by Java's rule: units (or the code
  /// points of surrogate pairs) also match when their simple upper-case
  /// mappings, or the lower-case mappings of those, are equal.
  bool regionMatches(bool ignoreCase, int toffset, const CZqString& other, int ooffset,
                     int len) const noexcept;
  /// The texts of \p parts (any range of strings, views, literals or
  /// std::u16string, or a braced list of them) with \p delimiter (a string
  /// or any such text) between each two, in one new body of capacity
  /// length + 1; empty for no parts. OutOfMemoryError when the length does
  /// not fit an int; NullPointerException for a null `const char16_t*`.
  template <class Delimiter, class Range>
  [[nodiscard]] static CZqString join(const Delimiter& delimiter, const Range& parts) {
    const std::u16string_view between = AsView(delimiter);
    std::size_t length = 0;
    std::size_t count = 0;
    for (const auto& part : parts) {
      length += AsView(part).size();
      ++count;
    }
    if (count > 1)
      length += (count - 1) * between.size();
    auto write = [&](char16_t* out) {
      bool first = true;
      for (const auto& part : parts) {
        if (!first)
          out = std::copy(between.begin(), between.end(), out);
        first = false;
        const std::u16string_view text = AsView(part);
        out = std::copy(text.begin(), text.end(), out);
      }
    };
    return OfLength(
        length,
        [](char16_t* out, void* context) { (*static_cast<decltype(write)*>(context))(out); },
        &write);
  }
  /// join of a braced list: `CZqString::join(u", ", {a, b, u"c"})`.
  template <class Delimiter>
  [[nodiscard]] static CZqString join(const Delimiter& delimiter,
                                      std::initializer_list<std::u16string_view> parts) {
    return join<Delimiter, std::initializer_list<std::u16string_view>>(delimiter, parts);
  }
  /// True when \p cs holds exactly these units (read with its charAt).
  bool contentEquals(const CharSequence& cs) const;
  /// As compareToIgnoreCase(const CZqString&) against the units of \p text.
  int compareToIgnoreCase(std::u16string_view text) const noexcept;
  /// True when compareToIgnoreCase(text) is 0.
  bool equalsIgnoreCase(std::u16string_view text) const noexcept;
  /// compareToIgnoreCase and equalsIgnoreCase of a `u"..."` literal, a
  /// `const char16_t*` or a std::u16string.
  template <class Text, detail::IfText<Text> = 0>
  int compareToIgnoreCase(const Text& text) const {
    return compareToIgnoreCase(AsView(text));
  }
  template <class Text, detail::IfText<Text> = 0>
  bool equalsIgnoreCase(const Text& text) const {
    return equalsIgnoreCase(AsView(text));
  }
  /// @}

  /// @name Regular expressions
  /// Java's regular expressions (the syntax and rules of ZqPattern). These
  /// members keep the last eight regexes they were given compiled, in a
  /// cache that a mutex guards and whose patterns are shared by atomic
  /// counts and never written, so they may be called from any thread; a
  /// ZqPattern compiled once is still the fastest in a loop.
  /// @{

  /// True when the whole string matches \p regex.
  [[nodiscard]] bool matches(const CZqString& regex) const;
  /// Every match of \p regex replaced by \p replacement ("$1", "${name}"
  /// and '\' escapes as ZqPattern::replaceAll); this string itself when
  /// nothing matches.
  [[nodiscard]] CZqString replaceAll(const CZqString& regex, const CZqString& replacement) const;
  /// As replaceAll(), for the first match only.
  [[nodiscard]] CZqString replaceFirst(const CZqString& regex, const CZqString& replacement) const;
  /// The parts around the matches of \p regex, as Java's split (see
  /// ZqPattern::split for \p limit). A regex that is plain text, such as
  /// "," or "\\\\.", is searched for as text, without the engine.
  [[nodiscard]] std::vector<CZqString> split(const CZqString& regex, int limit = 0) const;
  /// @}

  /// @name Numbers in the classic locale
  /// Text for protocols and files: the same whatever std::locale::global is
  /// (the constructors from numbers follow it), as std::to_chars writes it.
  /// OutOfMemoryError when the string cannot be had.
  /// @{

  /// Decimal text ("-1234", never "-1.234"), capacity 20.
  [[nodiscard]] static CZqString fromNumber(int value);
  /// Decimal text; `std::int64_t` arguments pick this one.
  [[nodiscard]] static CZqString fromNumber(long value);
  /// Decimal text, capacity 20.
  [[nodiscard]] static CZqString fromNumber(long long value);
  /// The shortest text that reads back as \p value ("0.1", "1e+21",
  /// "5e-324", "-0", "inf", "nan"), capacity 32.
  [[nodiscard]] static CZqString fromNumber(double value);
  /// @}

  // Internals: not part of the interface.
 private:
  // A string of \p length units in one new body of capacity length + 1, which
  // write(units, context) fills; OutOfMemoryError when it cannot be had.
  static CZqString OfLength(std::size_t length, void (*write)(char16_t*, void*), void* context);
  // The units of text up to its first 0 unit; NullPointerException when it
  // is null.
  static std::u16string_view ViewOfText(const char16_t* text);
  // equals() of two texts of one length in different bodies.
  bool EqualUnits(const CZqString& other) const noexcept;
  friend class CZqStringBuilder;
  friend struct detail::StringAccess;

  /// Shares \p body (its count rises by one).
  explicit CZqString(const CZqStringBody& body);

  void Copy(const CZqString& other);
  /// Gives this string a new empty body; OutOfMemoryError when none.
  void CreateBody(int capacity);
  /// Deletes this heap string (sequences from subSequence).
  void Release() override;

  // Shared by substring() and subSequence(): the three range checks.
  static void CheckRange(int beginIndex, int endIndex, int length);
  // A string that shares a clone of this body, changed by \p change.
  template <class Change>
  CZqString WithClone(Change change) const;

  SPtr<CZqStringBody> mBody;
};

/// \p a followed by \p b, always in a new body.
ZQ_API CZqString operator+(const CZqString& a, const CZqString& b);

/// @name Comparison operators
/// == and != by equals(), the others by compareTo(): units compare as
/// unsigned 16-bit values and a prefix sorts first, so < is a strict weak
/// order for std::sort and std::map. A `u"..."` operand, a std::u16string
/// or a view takes the view forms below, without a temporary string. None
/// throws.
/// @{

/// The comparison of two strings named by the operator (see the group).
inline bool operator==(const CZqString& a, const CZqString& b) { return a.equals(b); }
inline bool operator!=(const CZqString& a, const CZqString& b) { return !a.equals(b); }
inline bool operator<(const CZqString& a, const CZqString& b) { return a.compareTo(b) < 0; }
inline bool operator<=(const CZqString& a, const CZqString& b) { return a.compareTo(b) <= 0; }
inline bool operator>(const CZqString& a, const CZqString& b) { return a.compareTo(b) > 0; }
inline bool operator>=(const CZqString& a, const CZqString& b) { return a.compareTo(b) >= 0; }
/// @}

/// Writes the text in UTF-8, as toUtf8() does (lone surrogates as U+FFFD).
/// Honours the stream's width and fill like a std::string.
ZQ_API std::ostream& operator<<(std::ostream& os, const CZqString& s);

/// Prints \p s for GoogleTest failure messages as a u"..." literal:
/// printable ASCII as is; quote, backslash, line feed, carriage return and
/// tab as C escapes; every other unit as a \\u escape of four hex digits,
/// so lone surrogates and U+0000 stay visible.
ZQ_API void PrintTo(const CZqString& s, std::ostream* os);

//===-- Views, hashing and code points ----------------------------------===//
/// @name Comparison operators with views
/// Equality and order of a string against the units of a
/// std::u16string_view, a `u"..."` literal, a `const char16_t*` or a
/// std::u16string, on either side: `==` and `!=` as equals(), the others
/// by the sign of compareTo(), as for two strings, without a temporary
/// string: nothing is allocated. (A null pointer is a NullPointerException.)
/// @{

/// The comparison of a string and a text named by the operator (see the group).
template <class Text, detail::IfText<Text> = 0>
bool operator==(const CZqString& a, const Text& b) {
  return a.equals(b);
}
template <class Text, detail::IfText<Text> = 0>
bool operator==(const Text& a, const CZqString& b) {
  return b.equals(a);
}
template <class Text, detail::IfText<Text> = 0>
bool operator!=(const CZqString& a, const Text& b) {
  return !a.equals(b);
}
template <class Text, detail::IfText<Text> = 0>
bool operator!=(const Text& a, const CZqString& b) {
  return !b.equals(a);
}
template <class Text, detail::IfText<Text> = 0>
bool operator<(const CZqString& a, const Text& b) {
  return a.compareTo(b) < 0;
}
template <class Text, detail::IfText<Text> = 0>
bool operator<(const Text& a, const CZqString& b) {
  return b.compareTo(a) > 0;
}
template <class Text, detail::IfText<Text> = 0>
bool operator<=(const CZqString& a, const Text& b) {
  return a.compareTo(b) <= 0;
}
template <class Text, detail::IfText<Text> = 0>
bool operator<=(const Text& a, const CZqString& b) {
  return b.compareTo(a) >= 0;
}
template <class Text, detail::IfText<Text> = 0>
bool operator>(const CZqString& a, const Text& b) {
  return a.compareTo(b) > 0;
}
template <class Text, detail::IfText<Text> = 0>
bool operator>(const Text& a, const CZqString& b) {
  return b.compareTo(a) < 0;
}
template <class Text, detail::IfText<Text> = 0>
bool operator>=(const CZqString& a, const Text& b) {
  return a.compareTo(b) >= 0;
}
template <class Text, detail::IfText<Text> = 0>
bool operator>=(const Text& a, const CZqString& b) {
  return b.compareTo(a) <= 0;
}
/// @}

/// A transparent hasher for unordered containers of strings: the hash of the
/// units as std::hash<std::u16string_view> (and so std::hash<CZqString>)
/// computes it, for a string, a view, a literal or a std::u16string alike.
/// With ZqEqual, `std::unordered_map<CZqString, V, ZqHash, ZqEqual>` finds
/// a std::u16string_view key without making a string (C++20).
struct ZqHash {
  /// Marks the hasher transparent for heterogeneous lookup.
  using is_transparent = void;
  /// The hash of the units of \p text.
  std::size_t operator()(std::u16string_view text) const noexcept {
    return std::hash<std::u16string_view>()(text);
  }
};

/// The transparent equality that goes with ZqHash: the same units.
struct ZqEqual {
  /// Marks the equality transparent for heterogeneous lookup.
  using is_transparent = void;
  /// True when \p a and \p b hold the same units.
  bool operator()(std::u16string_view a, std::u16string_view b) const noexcept { return a == b; }
};

namespace detail {

/// What the iterators of the text ranges below share: a position in a
/// string's units and their end; stepping on by ++ (the derived class
/// says how far), and equality at the same position.
template <class Derived>
class TextIterator {
 public:
  /// A forward iterator: it reads, and may pass over the text again.
  using iterator_category = std::forward_iterator_tag;
  /// A distance in elements.
  using difference_type = std::ptrdiff_t;

  /// Steps over one element; returns where it was.
  Derived operator++(int) noexcept {
    Derived before = static_cast<Derived&>(*this);
    ++static_cast<Derived&>(*this);
    return before;
  }
  /// True at the same position.
  friend bool operator==(const Derived& a, const Derived& b) noexcept {
    return static_cast<const TextIterator&>(a).mAt == static_cast<const TextIterator&>(b).mAt;
  }
  /// False at the same position.
  friend bool operator!=(const Derived& a, const Derived& b) noexcept { return !(a == b); }

 protected:
  /// At \p at, in units that end at \p end (both null: nowhere).
  TextIterator(const char16_t* at, const char16_t* end) noexcept : mAt(at), mEnd(end) {}
  /// The position in the units.
  const char16_t* mAt;
  /// The end of the units.
  const char16_t* mEnd;
};

/// A range over a string that it holds (sharing its body), so it stays
/// valid on its own; nothing is allocated.
template <class Iterator>
class TextRange {
 public:
  /// The range of \p text.
  explicit TextRange(const CZqString& text) noexcept : mText(text) {}
  /// The first element.
  Iterator begin() const noexcept { return Iterator(mText.begin(), mText.end()); }
  /// Past the last element.
  Iterator end() const noexcept { return Iterator(mText.end(), mText.end()); }

 private:
  CZqString mText;
};

}  // namespace detail

/// A forward iterator over the code points of a string: a surrogate pair
/// yields the code point it encodes, an unpaired surrogate itself.
class ZqCodePointIterator : public detail::TextIterator<ZqCodePointIterator> {
 public:
  /// A code point.
  using value_type = char32_t;
  /// Not used: the code points are computed, not stored.
  using pointer = const char32_t*;
  /// The code point itself, by value.
  using reference = char32_t;

  /// An iterator that points nowhere, equal to other such iterators.
  ZqCodePointIterator() noexcept : TextIterator(nullptr, nullptr) {}
  /// At the code point that starts at \p at, in units that end at \p end.
  ZqCodePointIterator(const char16_t* at, const char16_t* end) noexcept : TextIterator(at, end) {}
  /// The code point that starts here.
  ZQ_API char32_t operator*() const noexcept;
  /// Steps over one code point (two units for a pair).
  ZqCodePointIterator& operator++() noexcept {
    mAt += **this > 0xFFFF ? 2 : 1;
    return *this;
  }
};

/// The code points of a string (see CZqString::codePoints()), for range-for
/// and the standard algorithms: a forward range of char32_t.
class ZqCodePoints : public detail::TextRange<ZqCodePointIterator> {
 public:
  /// The iterator of the range.
  using Iterator = ZqCodePointIterator;
  using TextRange::TextRange;
};

inline ZqCodePoints CZqString::codePoints() const noexcept { return ZqCodePoints(*this); }

/// A forward iterator over the lines of a string, each a std::u16string_view
/// without its terminator ("\n", "\r" or "\r\n").
class ZqLineIterator : public detail::TextIterator<ZqLineIterator> {
 public:
  /// A line, without its terminator.
  using value_type = std::u16string_view;
  /// Not used: the lines are computed, not stored.
  using pointer = const std::u16string_view*;
  /// The line itself, by value.
  using reference = std::u16string_view;

  /// An iterator that points nowhere, equal to other such iterators.
  ZqLineIterator() noexcept : TextIterator(nullptr, nullptr), mLineEnd(nullptr) {}
  /// At the line that starts at \p at, in units that end at \p end.
  ZqLineIterator(const char16_t* at, const char16_t* end) noexcept
      : TextIterator(at, end), mLineEnd(EndOfLine(at, end)) {}
  /// The line that starts here.
  std::u16string_view operator*() const noexcept {
    return std::u16string_view(mAt, static_cast<std::size_t>(mLineEnd - mAt));
  }
  /// Steps past the line and its terminator.
  ZqLineIterator& operator++() noexcept {
    const char16_t* next = mLineEnd;
    if (next < mEnd)
      next += (*next == u'\r' && next + 1 < mEnd && next[1] == u'\n') ? 2 : 1;
    mAt = next;
    mLineEnd = EndOfLine(next, mEnd);
    return *this;
  }

 private:
  // The first line terminator at or after \p at, or \p end.
  static const char16_t* EndOfLine(const char16_t* at, const char16_t* end) noexcept {
    while (at < end && *at != u'\n' && *at != u'\r')
      ++at;
    return at;
  }
  const char16_t* mLineEnd;
};

/// The lines of a string (see CZqString::lines()), for range-for and the
/// standard algorithms: a forward range of std::u16string_view, whose views
/// stay valid while the range lives.
class ZqLines : public detail::TextRange<ZqLineIterator> {
 public:
  /// The iterator of the range.
  using Iterator = ZqLineIterator;
  using TextRange::TextRange;
};

inline ZqLines CZqString::lines() const noexcept { return ZqLines(*this); }

}  // namespace zqlang

namespace std {
/// Hashes a string as std::hash<std::u16string_view> hashes its units, so it
/// agrees with equals() and with the hash of a view of the same units.
template <>
struct hash<zqlang::CZqString> {
  /// The hash of s.view().
  size_t operator()(const zqlang::CZqString& s) const noexcept {
    return hash<u16string_view>()(s.view());
  }
};

#if defined(__GLIBCXX__)
/// Hashing a string reads all its units: libstdc++'s unordered containers
/// then keep each element's hash code, so that a lookup compares only the
/// elements whose code matches and a rehash hashes nothing again (as they
/// do for std::basic_string).
template <>
struct __is_fast_hash<hash<zqlang::CZqString>> : false_type {};
#endif
}  // namespace std

#endif  // ZQ_LANG_CZQSTRING_H
