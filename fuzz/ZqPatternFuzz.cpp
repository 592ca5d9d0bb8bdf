//===- fuzz/ZqPatternFuzz.cpp - patterns in Java's syntax -------------------===//
//
// A pattern and a subject from an alphabet of the characters that matter to
// the syntax. The translation must never misread the pattern (the sanitizers
// watch it), and a pattern that compiles must keep three properties: each
// match replaced by itself ("$0") gives the subject back; the engine's split
// equals the text search's when the pattern is plain text (quoted); and
// split by the engine of a pattern that cannot take the text search's short
// cut (a non-capturing group around it) equals split with the short cut.
//===----------------------------------------------------------------------===//
#include <string>
#include <vector>

#include "FuzzModel.h"
#include "lang/ZqPattern.h"

namespace zqfuzz {
namespace {

using zqlang::CZqString;
using zqlang::ZqPattern;

std::vector<std::u16string> Texts(const std::vector<CZqString>& parts) {
  std::vector<std::u16string> texts;
  for (const CZqString& part : parts)
    texts.emplace_back(part.view());
  return texts;
}

std::string ShowParts(const std::vector<std::u16string>& texts) {
  std::string out;
  for (const auto& text : texts)
    out += Show(text) + "|";
  return out;
}

void SameParts(const std::string& what, const std::vector<std::u16string>& got,
               const std::vector<std::u16string>& want) {
  if (got == want)
    return;
  std::fprintf(stderr, "mismatch in %s\n  library: %s\n  model:   %s\n", what.c_str(),
               ShowParts(got).c_str(), ShowParts(want).c_str());
  std::abort();
}

}  // namespace
}  // namespace zqfuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zqfuzz;
  if (size < 2)
    return 0;
  // Byte 0: the flags; byte 1: where the pattern ends; the rest: characters.
  static const char16_t kChars[] =
      u"ab.|()[]{}^$*+?\\&-,:=!<>dswbBpQEuxk012LI\n\r \u00e9\xD83D\xDE00";
  const int flags = data[0] & 0x7F;
  std::u16string pattern, subject;
  for (std::size_t i = 2; i < size; ++i)
    (i - 2 < data[1] % 16 ? pattern : subject) += kChars[data[i] % (sizeof kChars / 2 - 1)];
  const std::string what =
      "pattern " + Show(pattern) + " flags " + Show(flags) + " subject " + Show(subject);
  try {
    const ZqPattern p = ZqPattern::compile(pattern, flags);
    Same(what + ": replaceAll $0", std::u16string(p.replaceAll(subject, u"$0").view()), subject);
    if (!(flags & ZqPattern::LITERAL)) {
      const CZqString s(subject);
      SameParts(what + ": split, short cut", Texts(s.split(CZqString(u"(?:" + pattern + u")"), -1)),
                Texts(s.split(CZqString(pattern), -1)));
    }
    if (!pattern.empty()) {
      const CZqString quoted = ZqPattern::quote(pattern);
      const ZqPattern literal = ZqPattern::compile(quoted);
      const ZqPattern grouped = ZqPattern::compile(u"(?:" + std::u16string(quoted.view()) + u")");
      for (int limit : {-1, 0, 2})
        SameParts(what + ": split quoted, limit " + Show(limit),
                  Texts(grouped.split(subject, limit)), Texts(literal.split(subject, limit)));
    }
  } catch (const zqlang::IllegalArgumentException&) {
    return 0;  // a bad pattern
  }
  return 0;
}
