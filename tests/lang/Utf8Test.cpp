//===- tests/lang/Utf8Test.cpp - CZqString::fromUtf8 and toUtf8 -----------===//
#include "lang/CZqString.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace zqlang {
namespace {

using testing_support::CapacityOf;
using testing_support::Text;

std::string Bytes(std::initializer_list<int> bytes) {
  std::string out;
  for (int b : bytes)
    out += static_cast<char>(b);
  return out;
}

std::u16string Units(std::initializer_list<int> units) {
  std::u16string out;
  for (int u : units)
    out += static_cast<char16_t>(u);
  return out;
}

// Shows bytes in failure messages, where raw UTF-8 would be unreadable.
std::string Hex(const std::string& bytes) {
  std::string out;
  for (unsigned char b : bytes) {
    out += "0123456789ABCDEF"[b >> 4];
    out += "0123456789ABCDEF"[b & 15];
    out += ' ';
  }
  return out;
}

struct Row {
  std::string utf8;
  std::u16string utf16;
};

TEST(Utf8Test, WellFormedTextRoundTripsExactly) {
  const Row rows[] = {
      {"", u""},
      {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
      {Bytes({0xC2, 0x80}), u"\u0080"},
      {Bytes({0xDF, 0xBF}), u"\u07FF"},
      {Bytes({0xE0, 0xA0, 0x80}), u"\u0800"},
      {Bytes({0xED, 0x9F, 0xBF}), u"\uD7FF"},  // last unit before the surrogates
      {Bytes({0xEE, 0x80, 0x80}), u"\uE000"},  // first one after them
      {Bytes({0xEF, 0xBF, 0xBF}), u"\uFFFF"},
      {Bytes({0xF0, 0x90, 0x80, 0x80}), Units({0xD800, 0xDC00})},
      {Bytes({0xF4, 0x8F, 0xBF, 0xBF}), Units({0xDBFF, 0xDFFF})},
      {"x\xE2\x82\xAC\x31\xF0\x9F\x98\x80", u"x\u20AC1\U0001F600"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(Hex(row.utf8));
    const CZqString decoded = CZqString::fromUtf8(row.utf8);
    EXPECT_EQ(row.utf16, Text(decoded));
    EXPECT_EQ(decoded.length() + 1, CapacityOf(decoded));
    EXPECT_EQ(row.utf8, CZqString(row.utf16).toUtf8());
  }
}

TEST(Utf8Test, EachMaximalSubpartBecomesOneReplacement) {
  const Row rows[] = {
      // The examples of the Unicode standard, chapter 3, "U+FFFD Substitution
      // of Maximal Subparts".
      {Bytes({0x61, 0xF1, 0x80, 0x80, 0xE1, 0x80, 0xC2, 0x62, 0x80, 0x63, 0x80, 0xBF, 0x64}),
       u"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd"},
      {Bytes({0xC0, 0xAF, 0xE0, 0x80, 0xBF, 0xF0, 0x81, 0x82, 0x41}),  // non-shortest forms
       u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDA"},
      {Bytes({0xED, 0xA0, 0x80, 0xED, 0xBF, 0xBF, 0xED, 0xAF, 0x41}),  // surrogates
       u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDA"},
      {Bytes({0xF4, 0x91, 0x92, 0x93, 0xFF, 0x41, 0x80, 0xBF, 0x42}),  // other ill-formed
       u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDA\uFFFD\uFFFDB"},
      {Bytes({0xE1, 0x80, 0xE2, 0xF0, 0x91, 0x92, 0xF1, 0xBF, 0x41}),  // truncated
       u"\uFFFD\uFFFD\uFFFD\uFFFDA"},
      // A lead byte of no sequence, and sequences cut short at the end.
      {Bytes({0xF8, 0x88, 0x80, 0x80, 0x80}), u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
      {Bytes({0xC3}), u"\uFFFD"},  // truncated at the end: one per subpart
      {Bytes({0xE2, 0x82}), u"\uFFFD"},
      {Bytes({0xF0, 0x9F, 0x98}), u"\uFFFD"},
      {Bytes({0x61, 0xF0, 0x9F, 0x98, 0x61}), u"a\uFFFDa"},
      {Bytes({0x80, 0xBF, 0xFE, 0xFF}), u"\uFFFD\uFFFD\uFFFD\uFFFD"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(Hex(row.utf8));
    const CZqString decoded = CZqString::fromUtf8(row.utf8);
    EXPECT_EQ(row.utf16, Text(decoded));
    EXPECT_EQ(decoded.length() + 1, CapacityOf(decoded));
  }
}

TEST(Utf8Test, LoneSurrogatesBecomeReplacements) {
  const std::string fffd = "\xEF\xBF\xBD";
  const Row rows[] = {
      {fffd, Units({0xD83D})},                 // high at the end
      {fffd + "a", Units({0xD83D, 'a'})},      // high before a non-surrogate
      {fffd + fffd, Units({0xDC00, 0xD800})},  // reversed pair
      {fffd + "\xF0\x9F\x98\x80", Units({0xD83D, 0xD83D, 0xDE00})},
      {"a" + fffd + "b", Units({'a', 0xDFFF, 'b'})},  // low alone
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(Hex(row.utf8));
    EXPECT_EQ(row.utf8, CZqString(row.utf16).toUtf8());
  }
}

TEST(Utf8Test, EveryCodePointRoundTrips) {
  std::u16string all;
  std::size_t expectedBytes = 0;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF)
      continue;
    if (c > 0xFFFF) {
      all += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      all += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      all += static_cast<char16_t>(c);
    }
    expectedBytes += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
  }
  const std::string utf8 = CZqString(all).toUtf8();
  EXPECT_EQ(expectedBytes, utf8.size());
  EXPECT_TRUE(all == Text(CZqString::fromUtf8(utf8)));  // no 2-million-unit dump
}

// Runs of ASCII go 16 at a time: a non-ASCII character at every place of a
// run, and a 4-byte sequence at every place around the end of the 1024-unit
// pieces fromUtf8 decodes in, must come out whole.
TEST(Utf8Test, NonAsciiAnywhereInAnAsciiRun) {
  for (const char16_t* odd : {u"\u00E9", u"\u20AC", u"\U0001F600"}) {
    for (int at = 0; at <= 40; ++at) {
      SCOPED_TRACE(at);
      const std::u16string text = std::u16string(at, u'a') + odd + std::u16string(40 - at, u'z');
      const std::string utf8 = CZqString(text).toUtf8();
      EXPECT_EQ(text, Text(CZqString::fromUtf8(utf8)));
    }
  }
  for (int at = 1018; at <= 1026; ++at) {
    SCOPED_TRACE(at);
    const std::u16string text = std::u16string(at, u'a') + u"\U0001F600" + u"z";
    const CZqString decoded = CZqString::fromUtf8(CZqString(text).toUtf8());
    EXPECT_EQ(text, Text(decoded));
    EXPECT_EQ(at + 4, CapacityOf(decoded));
  }
}

}  // namespace
}  // namespace zqlang
