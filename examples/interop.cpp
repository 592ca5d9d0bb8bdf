// ZarqLang next to the standard library: count the words of a UTF-8 text in a
// std::unordered_map keyed by CZqString, look them up through
// std::u16string_view, walk a string with range-for and <algorithm>, and
// print everything (exceptions included) as UTF-8; compare with literals
// without temporaries, walk code points, write numbers that ignore the
// global locale, and format strings with {fmt} where it is installed.
#include <ZarqLang.h>

// The formatters are an optional header; {fmt} is used header-only here, so
// that the program builds the same way with or without it.
#if __has_include(<fmt/format.h>)
#define FMT_HEADER_ONLY
#include <lang/ZqFormat.h>
#define ZQ_EXAMPLE_HAVE_FMT 1
#endif

#include <algorithm>
#include <iostream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

using zqlang::CZqString;

namespace {

// Splits on spaces; each word is a new string made from a view of the text.
std::vector<CZqString> Words(const CZqString& text) {
  std::vector<CZqString> words;
  const std::u16string_view rest = text;  // no copy: a view of the body
  std::size_t start = 0;
  while (start < rest.size()) {
    std::size_t end = rest.find(u' ', start);
    if (end == std::u16string_view::npos)
      end = rest.size();
    if (end > start)
      words.emplace_back(rest.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

}  // namespace

int main() {
  std::cout << "ZarqLang " << ZARQLANG_VERSION_MAJOR << '.' << ZARQLANG_VERSION_MINOR << '.'
            << ZARQLANG_VERSION_PATCH << '\n';

  // UTF-8 in (this file is UTF-8, as is the compiler's narrow execution
  // character set), ending in a stray byte that becomes U+FFFD.
  const std::string input = "Grüße aus Köln grüße Grüße 🌍 \xFF";
  const CZqString text = CZqString::fromUtf8(input);
  std::cout << "text:   " << text << " (" << text.length() << " UTF-16 units)\n";

  // Words counted in a hash map; std::hash<CZqString> agrees with equals().
  std::unordered_map<CZqString, int> counts;
  for (const CZqString& word : Words(text))
    ++counts[word];
  const CZqString greeting = CZqString::fromUtf8("Grüße");
  std::cout << "count:  " << greeting << " x" << counts[greeting] << '\n';

  // Sorted with the comparison operators (by UTF-16 units).
  std::vector<CZqString> sorted;
  sorted.reserve(counts.size());
  for (const auto& entry : counts)
    sorted.push_back(entry.first);
  std::sort(sorted.begin(), sorted.end());
  std::cout << "sorted:";
  for (const CZqString& word : sorted)
    std::cout << ' ' << word;
  std::cout << '\n';

  // Range-for and <algorithm> over the units; a view goes where one is taken.
  int upper = 0;
  for (char16_t unit : text)
    upper += unit >= u'A' && unit <= u'Z';
  const std::u16string_view view = text;
  std::cout << "units:  " << upper << " ASCII capitals, "
            << std::count(text.begin(), text.end(), u'\uFFFD') << " replacement, "
            << (view.find(u"aus") != std::u16string_view::npos ? "has" : "lacks") << " \"aus\"\n";

  // UTF-8 out, and from standard UTF-16 text.
  const CZqString city(std::u16string(u"K\u00F6ln"));
  const std::string utf8 = city.toUtf8();
  std::cout << "utf-8:  " << utf8 << " is " << utf8.size() << " bytes\n";

  // Comparisons and searches take literals and views without a temporary
  // string; a transparent hash map is searched with a view (C++20).
  const bool greets =
      text.startsWith(u"Gr") && text.contains(u"aus") && greeting == u"Gr\u00FC\u00DFe";
  std::cout << "views:  " << (greets ? "starts with Gr, contains aus" : "?") << '\n';

  // Code points: the emoji is one code point of two units.
  int astral = 0;
  for (char32_t cp : text.codePoints())
    astral += cp > 0xFFFF;
  std::cout << "points: " << text.codePointCount(0, text.length()) << " code points, " << astral
            << " outside the BMP\n";

  // Numbers for protocols: the same text whatever std::locale::global says.
  zqlang::CZqStringBuilder line;
  line.append(u"ratio=").appendNumber(0.1).append(u";n=").appendNumber(1234567);
  std::cout << "number: " << line << '\n';

#if defined(ZQ_EXAMPLE_HAVE_FMT)
  std::cout << fmt::format("format: [{:>8}] [{:.3}] [{}]\n", city, greeting, line);
#endif

  // Exceptions print their own text.
  try {
    const zqlang::CZqString tail = text.substring(5, 100);  // 100 is past the end: throws
  } catch (const zqlang::StringIndexOutOfBoundsException& e) {
    std::cout << "caught: " << e << '\n';
  }
  return counts[greeting] == 2 ? 0 : 1;
}
