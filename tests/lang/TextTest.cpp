//===- tests/lang/TextTest.cpp - the text kernels over views --------------===//
//
// Comparison, hashing, search, prefixes and code points as the kernels give
// them; the string, the builder and the view overloads forward to these.
//===----------------------------------------------------------------------===//
#include <algorithm>

#include "lang/detail/Text.h"
#include "support/TestSupport.h"

namespace zqlang {
namespace {

using std::u16string;
using std::u16string_view;

// The first unit difference, else -1 or 1 for a proper prefix; ignoring case
// maps both sides to lower case (C locale here): 'A' becomes 'a' (0x61),
// above '_' (0x5F), where upper case would give the other sign.
TEST(TextTest, CompareGivesTheUnitDifferenceThenMinusOneOrOne) {
  const struct {
    u16string a, b;
    int exact, ignoringCase;
  } rows[] = {
      {u"abc", u"abd", -1, -1}, {u"a", u"z", -25, -25},   {u"abc", u"ab", 1, 1},
      {u"ab", u"abc", -1, -1},  {u"a", u"abc", -1, -1},   {u"b", u"abc", 1, 1},
      {u"", u"", 0, 0},         {u"", u"a", -1, -1},      {u"\xFFFF", u"A", 65470, 65438},
      {u"same", u"same", 0, 0}, {u"ABC", u"abc", -32, 0}, {u"mIxEd CaSe", u"MiXeD cAsE", 32, 0},
      {u"A", u"b", -33, -1},    {u"A", u"_", -30, 2},     {u"ABc", u"ab", -32, 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::PrintToString(CZqString(row.a)) + " vs " +
                 ::testing::PrintToString(CZqString(row.b)));
    EXPECT_EQ(row.exact, detail::Compare(row.a, row.b));
    EXPECT_EQ(row.exact == 0, detail::Equal(row.a, row.b));
    EXPECT_EQ(row.ignoringCase, detail::CompareIgnoreCase(row.a, row.b));
  }
}

TEST(TextTest, CompareFindsTheFirstDifferenceAtAnyPosition) {
  // Lengths around the widths the scans work in; the difference is a high
  // unit against a low one, so a signed compare would get the sign wrong.
  for (int n : {1, 7, 8, 9, 31, 32, 33, 64, 100}) {
    const u16string base(static_cast<std::size_t>(n), u'q');
    EXPECT_EQ(0, detail::Compare(base, base));
    EXPECT_EQ(1, detail::Compare(base + u'x', base));
    for (int at = 0; at < n; ++at) {
      u16string high = base, low = base;
      high[static_cast<std::size_t>(at)] = 0x8000;
      low[static_cast<std::size_t>(at)] = 0x0001;
      ASSERT_EQ(0x7FFF, detail::Compare(high, low)) << n << " " << at;
      ASSERT_EQ(-0x7FFF, detail::Compare(low + u"zz", high)) << n << " " << at;
      ASSERT_FALSE(detail::Equal(high, low));
    }
  }
}

// The wrapping polynomial of 31 over unsigned units.
TEST(TextTest, HashIsTheWrappingPolynomialOf31) {
  u16string units;
  unsigned expected = 0;
  for (int n = 0; n <= 200; ++n) {
    ASSERT_EQ(static_cast<int>(expected), detail::Hash(units)) << "length " << n;
    const char16_t next = static_cast<char16_t>(0xFFFF - n * 331);  // high units, unsigned
    units += next;
    expected = expected * 31u + next;
  }
}

// Where a search starts: a negative start searches from 0 forwards and finds
// nothing backwards; a start past the last place the needle fits finds
// nothing forwards and searches from there backwards.
TEST(TextTest, SearchClampsItsStart) {
  const struct {
    bool backward;
    int from;
    int expected;
  } rows[] = {{false, 0, 1},   {false, 2, 3},        {false, -5, 1},     {false, 4, -1},
              {false, 10, -1}, {false, INT_MAX, -1}, {true, 3, 3},       {true, 2, 1},
              {true, 100, 3},  {true, -1, -1},       {true, INT_MAX, 3}, {true, INT_MIN, -1}};
  const u16string_view s = u"abcb";
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << (row.backward ? "last " : "first ") << row.from);
    EXPECT_EQ(row.expected, row.backward ? detail::LastIndexOfCodePoint(s, u'b', row.from)
                                         : detail::IndexOfCodePoint(s, u'b', row.from));
    EXPECT_EQ(row.expected, row.backward ? detail::LastIndexOf(s, u"b", row.from)
                                         : detail::IndexOf(s, u"b", row.from));
  }
  EXPECT_EQ(3, detail::LastIndexOf(u"abc", u"", 3));
  EXPECT_EQ(-1, detail::IndexOf(u"ab", u"abc", -1)) << "a needle longer than the text";
}

TEST(TextTest, CodePointsAreSearchedAsTheirUnits) {
  const u16string_view s = u"ab\U0001F600c\U0001F600\U0010FFFF";  // pairs at 2, 5 and 7
  EXPECT_EQ(2, detail::IndexOfCodePoint(s, 0x1F600, 0));
  EXPECT_EQ(5, detail::LastIndexOfCodePoint(s, 0x1F600, 9));
  EXPECT_EQ(5, detail::IndexOfCodePoint(s, 0x1F600, 3));
  EXPECT_EQ(2, detail::LastIndexOfCodePoint(s, 0x1F600, 4));
  EXPECT_EQ(7, detail::IndexOfCodePoint(s, 0x10FFFF, 0));
  EXPECT_EQ(3, detail::IndexOfCodePoint(s, 0xDE00, 0));  // a lone surrogate is one unit
  EXPECT_EQ(-1, detail::IndexOfCodePoint(s, 0x1F601, 0));
  for (int bad : {0x110000, -1, INT_MIN, INT_MAX}) {
    EXPECT_EQ(-1, detail::IndexOfCodePoint(s, bad, 0)) << bad;
    EXPECT_EQ(-1, detail::LastIndexOfCodePoint(s, bad, 9)) << bad;
  }
}

// Every needle length the scans treat differently (the empty one too),
// planted at every place in texts around the scan widths, against
// std::u16string's find/rfind with the start clamped as the kernels do.
TEST(TextTest, SearchAgreesWithAPlainScanEverywhere) {
  const u16string needles[] = {u"",         u"\xD800",   u"xy",
                               u"x\xD800y", u"xyxyxyxz", u"xxxxxxxxxxxxxxxxxxy"};
  for (const u16string& needle : needles) {
    for (int n = 0; n <= 72; ++n) {
      for (int at = -1; at + static_cast<int>(needle.size()) <= n; ++at) {
        // Near misses of the needle everywhere, the needle itself at `at`.
        u16string text(static_cast<std::size_t>(n), u'x');
        for (std::size_t i = 0; i < text.size() && !needle.empty(); ++i)
          text[i] = needle[i % needle.size()] == u'y' ? u'z' : needle[i % needle.size()];
        if (at >= 0)
          text.replace(static_cast<std::size_t>(at), needle.size(), needle);
        for (int from : {-1, 0, 1, 9, n / 2, n, n + 1}) {
          const auto f = text.find(needle, static_cast<std::size_t>(std::max(from, 0)));
          const auto b = from < 0 ? u16string::npos : text.rfind(needle, from);
          ASSERT_EQ(f == u16string::npos ? -1 : static_cast<int>(f),
                    detail::IndexOf(text, needle, from))
              << n << " " << at << " " << from;
          ASSERT_EQ(b == u16string::npos ? -1 : static_cast<int>(b),
                    detail::LastIndexOf(text, needle, from))
              << n << " " << at << " " << from;
        }
      }
    }
  }
}

TEST(TextTest, StartsWithAndEndsWith) {
  const u16string_view hello = u"hello";
  for (int from = -1; from <= 6; ++from)
    EXPECT_EQ(from >= 0 && from <= 5, detail::StartsWith(hello, u"", from)) << from;
  EXPECT_FALSE(detail::StartsWith(hello, u"lo", INT_MAX));
  EXPECT_TRUE(detail::StartsWith(hello, u"he", 0) && detail::StartsWith(hello, u"llo", 2));
  EXPECT_FALSE(detail::StartsWith(hello, u"llo!", 2));
  EXPECT_TRUE(detail::EndsWith(hello, u"") && detail::EndsWith(hello, u"llo"));
  EXPECT_FALSE(detail::EndsWith(hello, u"hhello") || detail::EndsWith(hello, u"hell"));
}

TEST(TextTest, CodePointsOfPairsAndUnpairedSurrogatesAtEveryIndex) {
  // a, a pair, a lone low, a lone high, b.
  const u16string_view s = u"a\xD83D\xDE00\xDC00\xD800\x62";
  const int at[] = {0x61, 0x1F600, 0xDE00, 0xDC00, 0xD800, 0x62};
  const int before[] = {0x61, 0xD83D, 0x1F600, 0xDC00, 0xD800, 0x62};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(at[i], detail::CodePointAt(s, i)) << i;
    EXPECT_EQ(before[i], detail::CodePointBefore(s, i + 1)) << i;
  }
  struct Row {
    int begin, end, count;
  };
  for (const Row& r : {Row{0, 6, 5}, Row{0, 2, 2}, Row{1, 3, 1}, Row{2, 3, 1}, Row{3, 3, 0}})
    EXPECT_EQ(r.count, detail::CodePointCount(s, r.begin, r.end)) << r.begin << ".." << r.end;
  struct Offset {
    int index, offset, result;
  };
  for (const Offset& o : {Offset{0, 2, 3}, Offset{0, 5, 6}, Offset{6, -4, 1}, Offset{2, -1, 1},
                          Offset{2, 1, 3}, Offset{3, -1, 1}, Offset{6, 0, 6}})
    EXPECT_EQ(o.result, detail::OffsetByCodePoints(s, o.index, o.offset))
        << o.index << " " << o.offset;

  const std::function<void()> outside[] = {
      [&] { detail::CodePointAt(s, -1); },          [&] { detail::CodePointAt(s, 6); },
      [&] { detail::CodePointBefore(s, 0); },       [&] { detail::CodePointBefore(s, 7); },
      [&] { detail::OffsetByCodePoints(s, 0, 6); }, [&] { detail::OffsetByCodePoints(s, 2, -3); },
      [&] { detail::OffsetByCodePoints(s, 7, 0); }};
  for (const auto& op : outside)
    EXPECT_EQ(u"IndexOutOfBoundsException", Failure(op)) << &op - outside;
  const u16string index = u"StringIndexOutOfBoundsException #";
  EXPECT_EQ(index + u"-1", Failure([&] { detail::CodePointCount(s, -1, 2); }));
  EXPECT_EQ(index + u"-1", Failure([&] { detail::CodePointCount(s, 3, 2); }));
  EXPECT_EQ(index + u"7", Failure([&] { detail::CodePointCount(s, 0, 7); }));
}

// The six ASCII blanks of every locale, and no other ASCII unit.
TEST(TextTest, BlanksAreWhiteSpaceOfTheLocale) {
  for (char16_t unit = 0; unit < 0x80; ++unit) {
    const bool blank = unit == u' ' || (unit >= u'\t' && unit <= u'\r');
    EXPECT_EQ(blank, detail::IsBlank(unit)) << static_cast<int>(unit);
  }
  EXPECT_EQ(2, detail::FirstNonBlank(u" \tab\n"));
  EXPECT_EQ(3, detail::LastNonBlank(u" \tab\n"));
  EXPECT_EQ(-1, detail::FirstNonBlank(u" \r\n"));
  EXPECT_EQ(-1, detail::LastNonBlank(u""));
}

}  // namespace
}  // namespace zqlang
