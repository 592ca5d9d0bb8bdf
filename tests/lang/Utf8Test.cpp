//===- tests/lang/Utf8Test.cpp - UTF-8 to UTF-16 and back -----------------===//
//
// Through the string and builder members that use the UTF-8 kernel: each
// maximal ill-formed subpart becomes one U+FFFD, lone surrogates too on the
// way out, and well-formed text round-trips.
//===----------------------------------------------------------------------===//
#include <random>
#include <sstream>

#include "support/TestSupport.h"

namespace zqlang {
namespace {

struct Utf8Row {
  std::string utf8;
  std::u16string utf16;
};

// Decoded into a body of exactly the units plus one; well-formed text (no
// replacement) encodes back to the same bytes.
TEST(Utf8Test, EachMaximalSubpartBecomesOneReplacement) {
  const Utf8Row rows[] = {
      {"", u""},
      {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
      {"x\xC3\xA9\xE2\x82\xAC\x31\xF0\x9F\x98\x80", u"x\u00E9\u20AC1\U0001F600"},
      // The examples of the Unicode standard, chapter 3, "U+FFFD Substitution
      // of Maximal Subparts".
      {"\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64",
       u"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd"},
      {"\xC0\xAF\xE0\x80\xBF\xF0\x81\x82\x41",  // non-shortest forms
       u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDA"},
      {"\xED\xA0\x80\xED\xBF\xBF\xED\xAF\x41",  // surrogates
       u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDA"},
      {"\xF4\x91\x92\x93\xFF\x41\x80\xBF\x42",  // other ill-formed
       u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDA\uFFFD\uFFFDB"},
      {"\xE1\x80\xE2\xF0\x91\x92\xF1\xBF\x41",  // truncated
       u"\uFFFD\uFFFD\uFFFD\uFFFDA"},
      // A lead byte of no sequence, and sequences cut short at the end.
      {"\xF8\x88\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"\xC3", u"\uFFFD"},  // truncated at the end: one per subpart
      {"\xE2\x82", u"\uFFFD"},
      {"\xF0\x9F\x98", u"\uFFFD"},
      {"\x61\xF0\x9F\x98\x61", u"a\uFFFDa"},
      {"\x80\xBF\xFE\xFF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
  };
  for (const Utf8Row& row : rows) {
    SCOPED_TRACE(::testing::PrintToString(row.utf8));
    const CZqString decoded = CZqString::fromUtf8(row.utf8);
    EXPECT_EQ(row.utf16, Text(decoded));
    EXPECT_EQ(decoded.length() + 1, CapacityOf(decoded));
    if (row.utf16.find(u'\uFFFD') == std::u16string::npos) {
      EXPECT_EQ(row.utf8, CZqString(row.utf16).toUtf8());
    }
  }
}
TEST(Utf8Test, LoneSurrogatesBecomeReplacements) {
  const std::string fffd = "\xEF\xBF\xBD";
  const Utf8Row rows[] = {
      {fffd, {0xD83D}},                                       // high at the end
      {fffd + "a", {0xD83D, u'a'}},                           // high before another unit
      {fffd + fffd, {0xDC00, 0xD800}},                        // reversed pair
      {fffd + "\xF0\x9F\x98\x80", {0xD83D, 0xD83D, 0xDE00}},  // high before a pair
      {"a" + fffd + "b", {u'a', 0xDFFF, u'b'}},               // low alone
  };
  for (const Utf8Row& row : rows) {
    SCOPED_TRACE(::testing::PrintToString(row.utf8));
    EXPECT_EQ(row.utf8, CZqString(row.utf16).toUtf8());
  }
}
TEST(Utf8Test, EveryCodePointRoundTrips) {
  std::u16string all;
  std::size_t expectedBytes = 0;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF)
      continue;
    AppendCodePoint(all, static_cast<int>(c));
    expectedBytes += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
  }
  const std::string utf8 = CZqString(all).toUtf8();
  EXPECT_EQ(expectedBytes, utf8.size());
  EXPECT_TRUE(all == Text(CZqString::fromUtf8(utf8)));  // no 2-million-unit dump
}
// Runs of ASCII go 16 at a time: a non-ASCII character at every place of a
// run must come out whole, in a body sized exactly.
TEST(Utf8Test, NonAsciiAnywhereInAnAsciiRun) {
  for (const char16_t* odd : {u"\u00E9", u"\u20AC", u"\U0001F600"}) {
    for (int at = 0; at <= 40; ++at) {
      SCOPED_TRACE(at);
      const std::u16string text = std::u16string(at, u'a') + odd + std::u16string(40 - at, u'z');
      const CZqString decoded = CZqString::fromUtf8(CZqString(text).toUtf8());
      EXPECT_EQ(text, Text(decoded));
      EXPECT_EQ(decoded.length() + 1, CapacityOf(decoded));
    }
  }
}
}  // namespace
}  // namespace zqlang
