//===- lang/detail/NumberText.h - text forms of numbers -------------------===//
/// \file
/// The one place that turns numbers into text. The text is always exactly
/// what a default-constructed narrow std::ostringstream writes under the
/// process's global C++ locale, widened one character per UTF-16 unit. When
/// the global locale is the classic one the same text is produced without a
/// stream, many times faster: integers with std::to_chars widened to UTF-16,
/// finite doubles with std::to_chars (which writes what printf's %g does).
/// Any other global locale (digit grouping, another decimal point) and the
/// infinities and NaN go through a stream.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_DETAIL_NUMBERTEXT_H
#define ZQ_LANG_DETAIL_NUMBERTEXT_H

namespace zqlang {
namespace detail {

/// Units reserved before a number is written: the longest decimal text of a
/// 64-bit value in the classic locale (a sign and 19 digits). Every text in
/// the classic locale fits; a locale with digit grouping can need more.
constexpr int kNumberRoom = 20;

/// Writes the decimal text of \p value to \p out, which has room for \p room
/// units, and returns the length of the text. When the result is greater
/// than \p room nothing useful was written; call again with that much room.
int FormatInt64(long long value, char16_t* out, int room);

/// The same for a double in general notation with 6 significant digits.
int FormatDouble(double value, char16_t* out, int room);

//===-- The classic locale, whatever the global one -----------------------===//

/// Units that the longest text of FormatShortest can take
/// ("-2.2250738585072014e-308" is 24).
constexpr int kShortestRoom = 32;

/// The decimal text of \p value in the classic locale, as std::to_chars
/// writes it, whatever std::locale::global is; same contract as FormatInt64.
int FormatClassic(long long value, char16_t* out, int room);

/// The shortest text that reads back as \p value, as std::to_chars without a
/// format or precision writes it ("0.1", "1e+21", "inf", "-nan"); same
/// contract as FormatInt64.
int FormatShortest(double value, char16_t* out, int room);

}  // namespace detail
}  // namespace zqlang

#endif  // ZQ_LANG_DETAIL_NUMBERTEXT_H
