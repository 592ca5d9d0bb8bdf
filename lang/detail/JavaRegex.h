//===- lang/detail/JavaRegex.h - Java's pattern syntax in PCRE2's ---------===//
/// \file
/// Translates a regular expression written in Java's syntax into a PCRE2
/// pattern (16-bit, UTF mode) that matches the same texts, so that the
/// library's patterns mean what Java's mean while PCRE2 does the matching.
///
/// What differs between the two dialects is rewritten here: `.` excludes
/// exactly Java's line terminators; `^`, `$`, `\Z` and `\b` become the
/// lookarounds that give Java's answers; `(?i)` without `(?u)` folds ASCII
/// letters only; classes with nested classes, `&&` and Java's escapes are
/// rebuilt from their parts; `\Q...\E`, `\uXXXX`, octal escapes and Java's
/// property names are spelled in PCRE2's terms. Flags are tracked by group as
/// Java scopes them. A construct whose meaning cannot be kept is refused with
/// Java's message layout rather than given another meaning.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_DETAIL_JAVAREGEX_H
#define ZQ_LANG_DETAIL_JAVAREGEX_H

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zqlang {
namespace detail {

/// Java's flag bits, with Java's values.
enum JavaRegexFlag : int {
  kRegexUnixLines = 0x01,
  kRegexCaseInsensitive = 0x02,
  kRegexComments = 0x04,
  kRegexMultiline = 0x08,
  kRegexLiteral = 0x10,
  kRegexDotAll = 0x20,
  kRegexUnicodeCase = 0x40,
};

/// A translated pattern.
struct JavaRegex {
  std::u16string pcre;      ///< the PCRE2 pattern
  std::vector<int> origin;  ///< for each unit of pcre, the index in the source
  int groupCount = 0;       ///< capturing groups
  std::vector<std::pair<std::u16string, int>> names;  ///< named groups
  /// Set when the pattern is a plain text without any regex meaning (no
  /// flag that changes a literal match); literal then holds that text.
  bool isLiteral = false;
  std::u16string literal;
};

/// Translates \p pattern under \p flags. A syntax error throws
/// IllegalArgumentException with Java's layout: the reason, " near index N",
/// the pattern, and a caret under the index.
JavaRegex TranslateJavaRegex(std::u16string_view pattern, int flags);

/// Throws the IllegalArgumentException of a bad pattern, laid out as above.
[[noreturn]] void ThrowPatternSyntax(std::u16string_view description, int index,
                                     std::u16string_view pattern);

}  // namespace detail
}  // namespace zqlang

#endif  // ZQ_LANG_DETAIL_JAVAREGEX_H
