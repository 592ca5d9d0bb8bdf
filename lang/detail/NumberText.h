//===- lang/detail/NumberText.h - text forms of numbers -------------------===//
/// \file
/// The one place that turns numbers into text. The text is always exactly
/// what a default-constructed narrow std::ostringstream writes under the
/// process's global C++ locale, widened one character per UTF-16 unit. When
/// the global locale is the classic one the same text is produced without a
/// stream, many times faster: integers digit by digit straight into UTF-16,
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

}  // namespace detail
}  // namespace zqlang

#endif  // ZQ_LANG_DETAIL_NUMBERTEXT_H
