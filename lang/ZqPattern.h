//===- lang/ZqPattern.h - compiled regular expressions ---------------------===//
/// \file
/// ZqPattern is a regular expression written in Java's syntax, compiled
/// once and matched against UTF-16 text by PCRE2's 16-bit engine (with its
/// JIT), with Java's answers: Java's dot and line terminators, the anchors
/// and `\\b`, classes with `&&` and nested classes, `(?i)` folding ASCII letters
/// only unless `(?u)` is given, `\\Q...\\E`, `\\uXXXX`, `\\x{...}`, lazy and
/// possessive quantifiers, named groups, Java's split and replacement rules.
///
/// \code
///   ZqPattern words = ZqPattern::compile(u"\\s+");
///   std::vector<CZqString> parts = words.split(u"a  b\tc");     // a, b, c
///   CZqString dashed = words.replaceAll(u"a  b", u"-");          // "a-b"
///   ZqPattern date = ZqPattern::compile(u"(?<y>\\d{4})-(\\d\\d)");
///   ZqMatch m;
///   if (date.find(u"on 2026-12 it", 0, m))
///     int year = m.start(1);                                    // 3
/// \endcode
///
/// Where Java and the engine cannot be made to agree, the pattern is
/// refused with an IllegalArgumentException rather than given another
/// meaning: `(?U)`, `(?c)`, `\\G`, `\\b{g}`, `\\N{...}`, Unicode blocks
/// (`\\p{InGreek}`), the `java...` properties, back references under `(?i)`
/// without `(?u)`, and lone surrogates in the pattern. Two differences stay
/// in the subject: a lone surrogate there is matched by nothing (Java's `.`
/// and negated classes take it), and an empty match never falls between the
/// two units of a supplementary character (Java's can, for patterns without
/// supplementary characters).
///
/// A bad pattern throws IllegalArgumentException with Java's message: the
/// reason, " near index N", the pattern and a caret under the index.
///
/// Threads: a ZqPattern may be copied to and used from any number of threads
/// at once (its count is atomic and its compiled form is never written).
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_ZQPATTERN_H
#define ZQ_LANG_ZQPATTERN_H

#include <string_view>
#include <vector>

#include "lang/CZqString.h"
#include "lang/ZqExport.h"

namespace zqlang {

/// Where one match and its groups lie in the text it was found in. Reused
/// across calls of ZqPattern::find, it allocates only when a pattern with
/// more groups fills it.
class ZQ_API ZqMatch {
 public:
  /// The index of the first unit of \p group (0 is the whole match), or -1
  /// when the group took no part; IndexOutOfBoundsException "No group N" for
  /// a group the pattern does not have.
  int start(int group = 0) const;
  /// The index past the last unit of \p group, or -1 (as start()).
  int end(int group = 0) const;
  /// The capturing groups of the pattern that made the match.
  int groupCount() const noexcept {
    return mSpans.empty() ? 0 : static_cast<int>(mSpans.size() / 2) - 1;
  }

 private:
  friend class ZqPattern;
  std::vector<int> mSpans;  // start and end of group 0, 1, ...
};

/// A compiled regular expression in Java's syntax (see the file comment).
class ZQ_API ZqPattern {
 public:
  /// @name Flags, with Java's values
  /// @{
  static constexpr int UNIX_LINES = 0x01;        ///< only "\n" ends a line
  static constexpr int CASE_INSENSITIVE = 0x02;  ///< ASCII letters in either case
  static constexpr int COMMENTS = 0x04;          ///< white space and # comments ignored
  static constexpr int MULTILINE = 0x08;         ///< ^ and $ at every line
  static constexpr int LITERAL = 0x10;           ///< the pattern is plain text
  static constexpr int DOTALL = 0x20;            ///< . matches line terminators too
  static constexpr int UNICODE_CASE = 0x40;      ///< with CASE_INSENSITIVE: every letter
  /// @}

  /// Compiles \p regex under \p flags (a sum of the flags above):
  /// IllegalArgumentException for a bad pattern or an unknown flag,
  /// OutOfMemoryError when memory runs out.
  [[nodiscard]] static ZqPattern compile(std::u16string_view regex, int flags = 0);
  /// A pattern that matches \p text literally: "\Q<text>\E", with any "\E"
  /// in it written so that it stays literal.
  [[nodiscard]] static CZqString quote(std::u16string_view text);
  /// A replacement that inserts \p text literally: '\' and '$' escaped.
  [[nodiscard]] static CZqString quoteReplacement(std::u16string_view text);

  /// Shares the compiled pattern of \p other (an atomic count).
  ZqPattern(const ZqPattern& other) noexcept;
  /// Shares the compiled pattern of \p other.
  ZqPattern& operator=(const ZqPattern& other) noexcept;
  ~ZqPattern();

  /// The regular expression it was compiled from.
  [[nodiscard]] CZqString pattern() const;
  /// The flags it was compiled with.
  [[nodiscard]] int flags() const noexcept;
  /// Its number of capturing groups.
  [[nodiscard]] int groupCount() const noexcept;
  /// The number of the group named \p name, or -1 when it has none.
  [[nodiscard]] int groupIndex(std::u16string_view name) const noexcept;

  /// True when the whole of \p input matches.
  [[nodiscard]] bool matches(std::u16string_view input) const;
  /// Finds the first match in \p input that starts at \p from or later and
  /// stores it in \p match; false (and \p match empty) when there is none.
  /// \p from outside [0, length]: IndexOutOfBoundsException "Illegal start
  /// index". To walk the matches as Java's Matcher.find does, search again
  /// from match.end(), or from one character further after an empty match.
  bool find(std::u16string_view input, int from, ZqMatch& match) const;
  /// The parts of \p input around the matches, as Java's split: with
  /// \p limit > 0 at most limit parts (the last holds the rest); with 0 all,
  /// trailing empty parts removed; below 0 all. A match of nothing at the
  /// start makes no leading empty part; no match gives the input alone.
  [[nodiscard]] std::vector<CZqString> split(std::u16string_view input, int limit = 0) const;
  /// \p input with every match replaced by \p replacement, in which "$n" and
  /// "${name}" insert a group and '\' takes the next character literally.
  /// A group the pattern does not have: IndexOutOfBoundsException "No group
  /// n"; a trailing '\' or a bad '$': IllegalArgumentException. Either is
  /// thrown only when there is a match, as Java does.
  [[nodiscard]] CZqString replaceAll(std::u16string_view input,
                                     std::u16string_view replacement) const;
  /// As replaceAll(), for the first match only.
  [[nodiscard]] CZqString replaceFirst(std::u16string_view input,
                                       std::u16string_view replacement) const;

 private:
  friend class CZqString;
  struct Impl;
  explicit ZqPattern(Impl* impl) noexcept : mImpl(impl) {}

  // The string members: the pattern of a recently used regex from a small
  // cache, and forms that give back the input string itself when nothing
  // changes.
  static ZqPattern Cached(const CZqString& regex);
  std::vector<CZqString> Split(std::u16string_view input, const CZqString* whole, int limit) const;
  CZqString Replace(std::u16string_view input, const CZqString* whole,
                    std::u16string_view replacement, bool all) const;

  Impl* mImpl;
};

}  // namespace zqlang

#endif  // ZQ_LANG_ZQPATTERN_H
