//===- lang/detail/Text.h - the text kernels over views -------------------===//
/// \file
/// Every rule the library applies to a text it reads lives here once, as a
/// function over std::u16string_view: comparison (exact and ignoring case by
/// the C locale), equality, hashing, search by unit, code point and text in
/// both directions, prefix and suffix tests, code points and blanks. Strings,
/// builders, bodies and the view overloads all forward to these; the loops
/// underneath are the vector scans of UnitScan.h. Case mapping and folding
/// are the kernels of CaseMap.h (the C locale) and UnicodeCase.h (Unicode).
///
/// Units compare as unsigned 16-bit values; a search that finds nothing
/// gives -1. Indices are ints: a text searched or indexed is a string's or
/// a builder's, which never holds more than INT_MAX units, while a needle,
/// prefix or other side of a comparison may be any view. Only the code point
/// members throw (through Throw.h); nothing here allocates.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_DETAIL_TEXT_H
#define ZQ_LANG_DETAIL_TEXT_H

#include <cstddef>
#include <cstring>
#include <string_view>

namespace zqlang {
namespace detail {

/// @name Comparison and hashing
/// @{

/// The difference of the first differing units, else -1, 0 or 1 as \p a is
/// shorter than, as long as or longer than \p b.
int Compare(std::u16string_view a, std::u16string_view b) noexcept;
/// As Compare, each differing unit first mapped with towlower of the C
/// locale and cut to 16 bits.
int CompareIgnoreCase(std::u16string_view a, std::u16string_view b) noexcept;
/// True when \p a and \p b hold the same units.
inline bool Equal(std::u16string_view a, std::u16string_view b) noexcept {
  return a.size() == b.size() &&
         (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0);
}
/// h = 31 * h + unit over the units, in 32-bit wrap-around arithmetic.
int Hash(std::u16string_view text) noexcept;
/// @}

/// @name Search
/// @{

/// First index >= \p fromIndex (a negative one counts as 0) at which
/// \p needle stands; an empty needle stands at every index up to the length.
int IndexOf(std::u16string_view text, std::u16string_view needle, int fromIndex) noexcept;
/// Last index <= \p fromIndex (clamped to the last place the needle fits) at
/// which \p needle stands; -1 when fromIndex is negative.
int LastIndexOf(std::u16string_view text, std::u16string_view needle, int fromIndex) noexcept;
/// IndexOf of the units of \p codePoint (a surrogate pair above 0xFFFF);
/// -1 for an invalid code point.
int IndexOfCodePoint(std::u16string_view text, int codePoint, int fromIndex) noexcept;
/// LastIndexOf of the units of \p codePoint; -1 for an invalid one.
int LastIndexOfCodePoint(std::u16string_view text, int codePoint, int fromIndex) noexcept;
/// True when \p prefix stands at \p fromIndex (false when that is negative
/// or the prefix would pass the end).
bool StartsWith(std::u16string_view text, std::u16string_view prefix, int fromIndex) noexcept;
/// True when the text ends with \p suffix.
bool EndsWith(std::u16string_view text, std::u16string_view suffix) noexcept;
/// @}

/// @name Code points
/// A high surrogate followed by a low one is one code point; every other
/// unit, an unpaired surrogate included, is a code point of its own.
/// @{

/// The code point at \p index (a pair read whole when its low half is
/// there). IndexOutOfBoundsException (no message) unless 0 <= index <
/// length.
int CodePointAt(std::u16string_view text, int index);
/// The code point that ends just before \p index (a pair read whole when
/// its high half is there). IndexOutOfBoundsException (no message) unless
/// 1 <= index <= length.
int CodePointBefore(std::u16string_view text, int index);
/// Number of code points in units [begin, end); a pair counts once only
/// when both halves are in the range. The range is checked as a source range
/// (Throw.h, CheckSourceRange).
int CodePointCount(std::u16string_view text, int begin, int end);
/// The index \p offset code points away from \p index (backwards when
/// negative). IndexOutOfBoundsException (no message) when \p index is
/// outside 0..length or there are fewer code points on that side.
int OffsetByCodePoints(std::u16string_view text, int index, int offset);
/// @}

/// @name Blanks
/// A unit is blank when iswspace of the current C locale says so.
/// @{

/// True when \p unit is blank.
bool IsBlank(char16_t unit) noexcept;
/// Index of the first unit that is not blank, -1 if none.
int FirstNonBlank(std::u16string_view text) noexcept;
/// Index of the last unit that is not blank, -1 if none.
int LastNonBlank(std::u16string_view text) noexcept;
/// @}

/// @name Java's white space and regions
/// Independent of the C locale.
/// @{

/// Java's Character.isWhitespace: the space, line and paragraph separators
/// of Unicode except the no-break spaces (U+00A0, U+2007, U+202F), and the
/// controls U+0009 to U+000D and U+001C to U+001F. Inline, as are the two
/// scans below: strip() and isBlank() test a few units, fewer than a call
/// costs.
inline bool IsWhitespace(char32_t c) noexcept {
  if (c <= 0x20)
    return c == 0x20 || (c >= 0x09 && c <= 0x0D) || (c >= 0x1C && c <= 0x1F);
  if (c < 0x1680)
    return false;
  return c == 0x1680 || (c >= 0x2000 && c <= 0x200A && c != 0x2007) || c == 0x2028 || c == 0x2029 ||
         c == 0x205F || c == 0x3000;
}
/// Index of the first unit that is not white space (Java's), or the length.
/// Every white space code point is a single unit and no surrogate is one, so
/// the units are tested one by one.
inline int FirstNonWhitespace(std::u16string_view text) noexcept {
  const int length = static_cast<int>(text.size());
  int i = 0;
  while (i < length && IsWhitespace(text[i]))
    ++i;
  return i;
}
/// Index just past the last unit that is not white space, or 0.
inline int EndOfNonWhitespace(std::u16string_view text) noexcept {
  int end = static_cast<int>(text.size());
  while (end > 0 && IsWhitespace(text[end - 1]))
    --end;
  return end;
}

/// Fills \p out, whose first \p n units hold a text, with copies of that
/// text up to \p total units (a whole number of copies): repeat's copying.
void FillWithCopies(char16_t* out, std::size_t n, std::size_t total) noexcept;

/// Java's regionMatches: whether \p len units of \p text from \p toffset
/// equal those of \p other from \p ooffset; false when either offset is
/// negative or either region passes its text, true for a len of 0 or less
/// otherwise. With \p ignoreCase, units (code points where both regions
/// hold a surrogate pair) also match when their simple upper-case mappings
/// match, or the lower-case mappings of those.
bool RegionMatches(std::u16string_view text, int toffset, std::u16string_view other, int ooffset,
                   int len, bool ignoreCase) noexcept;
/// @}

}  // namespace detail
}  // namespace zqlang

#endif  // ZQ_LANG_DETAIL_TEXT_H
