//===- tests/lang/ViewCodePointNumberTest.cpp - views, code points, numbers ===//
//
// The view overloads that literals pick; the code point members; the
// locale-free numbers; tryParseInt and parseLong against parseInt.
//===----------------------------------------------------------------------===//
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>

#include "support/TestSupport.h"

namespace zqlang {
namespace {

using detail::testing::AllocationCount;

// Views, literals and standard strings pick the view overloads, which make
// no temporary string: nothing here allocates. A string argument keeps the
// string form. (The search and comparison rules are the kernels' own test.)
TEST(ViewTest, LiteralsAndStandardTextPickTheViewFormsWithoutAllocating) {
  const CZqString s(u"abcab");
  const std::u16string text(u"ab");
  const std::u16string_view view = text;
  const long long before = AllocationCount();
  EXPECT_TRUE(s == u"abcab" && u"abcab" == s && s != u"ab" && u"ab" < s && s >= u"abc");
  EXPECT_TRUE(s != text && text < s && s > view && view <= s);
  EXPECT_TRUE(s.equals(u"abcab") && s.startsWith(u"ab") && s.startsWith(view, 3) &&
              s.endsWith(text) && s.contains(u"ca"));
  EXPECT_EQ(1, s.compareTo(view));
  EXPECT_EQ(3, s.indexOf(view, 1));
  EXPECT_EQ(3, s.lastIndexOf(text));
  EXPECT_EQ(0, s.lastIndexOf(u"ab", 2));
  EXPECT_EQ(before, AllocationCount());
  EXPECT_EQ(3, s.indexOf(CZqString(u"ab"), 1));  // the string form: a string was made
  EXPECT_LT(before, AllocationCount());
  const char16_t* null = nullptr;
  EXPECT_EQ(u"NullPointerException: CZqString: null text", Failure([&] { (void)(s == null); }));
}

TEST(ViewTest, BuilderAppendsAndInsertsViewsInPlace) {
  CZqStringBuilder b;
  b.append(u"abc");
  const std::u16string tail(u"xyz");
  const long long before = AllocationCount();
  b.append(std::u16string_view(tail)).insert(1, tail).append(std::u16string_view());
  EXPECT_EQ(before, AllocationCount());
  EXPECT_EQ(u"axyzbcxyz", std::u16string(b.view()));
  b.append(b.view().substr(0, 4)).insert(0, b.view().substr(7));  // grows: the units move
  EXPECT_EQ(u"yzaxyzaxyzbcxyzaxyz", std::u16string(b.view()));
  const CZqString shared = b.toString();
  b.append(shared.view());  // copies the shared body, reads the string's
  EXPECT_EQ(shared.view().size() * 2, b.view().size());
  EXPECT_EQ(u"StringIndexOutOfBoundsException: Index: 99, Length: 38",
            Failure([&] { b.insert(99, std::u16string_view(u"q")); }));
}

// The string's and the builder's members forward to the code point kernels
// (their own test has the rules at every index); the range of code points.
TEST(CodePointTest, MembersForwardAndTheRangeDecodesPairs) {
  // a, a pair, a lone low, a lone high, b.
  const std::u16string units = u"a\xD83D\xDE00\xDC00\xD800\x62";
  const CZqString s(units);
  const CZqStringBuilder b(s);
  EXPECT_EQ(0x1F600, s.codePointAt(1));
  EXPECT_EQ(0x1F600, b.codePointBefore(3));
  EXPECT_EQ(5, s.codePointCount(0, 6));
  EXPECT_EQ(3, b.offsetByCodePoints(0, 2));
  EXPECT_EQ(u"IndexOutOfBoundsException", Failure([&] { b.codePointAt(6); }));
  std::u32string seen;
  for (char32_t cp : CZqString(units).codePoints())  // a temporary: the range holds it
    seen += cp;
  EXPECT_EQ(std::u32string(U"a\U0001F600") + char32_t{0xDC00} + char32_t{0xD800} + U"b", seen);
}

TEST(CodePointTest, AppendCodePoint) {
  CZqStringBuilder b;
  b.appendCodePoint(0x41).appendCodePoint(0x1F600).appendCodePoint(0x10FFFF).appendCodePoint(0);
  EXPECT_EQ(std::u16string(u"A\U0001F600\U0010FFFF\0", 6), std::u16string(b.view()));
  const std::u16string head =
      u"IllegalArgumentException: appendCodePoint: Not a valid Unicode code point: 0x";
  EXPECT_EQ(head + u"110000", Failure([&] { b.appendCodePoint(0x110000); }));
  EXPECT_EQ(head + u"FFFFFFFF", Failure([&] { b.appendCodePoint(-1); }));
  EXPECT_EQ(6, b.length());
}

TEST(ClassicNumberTest, IgnoresTheGlobalLocaleAndReadsBack) {
  const GroupingLocale grouping;  // CZqString(int) would group
  EXPECT_EQ(u"1,2,3,4", Text(CZqString(1234)));
  EXPECT_EQ(u"1234", Text(CZqString::fromNumber(1234)));
  EXPECT_EQ(u"-9223372036854775808", Text(CZqString::fromNumber(LLONG_MIN)));
  const double inf = std::numeric_limits<double>::infinity();
  const std::pair<double, std::u16string> doubles[] = {
      {0.1, u"0.1"},         {100.0, u"100"},
      {1e21, u"1e+21"},      {-0.0, u"-0"},
      {5e-324, u"5e-324"},   {1.0 / 3, u"0.3333333333333333"},
      {inf, u"inf"},         {-1.7976931348623157e308, u"-1.7976931348623157e+308"},
      {std::nan(""), u"nan"}};
  for (const auto& d : doubles)
    EXPECT_EQ(d.second, Text(CZqString::fromNumber(d.first)));
  CZqStringBuilder b;  // the same writer, into the builder's body
  b.appendNumber(-12).append(u' ').appendNumber(INT64_MAX).appendNumber(0.5);
  EXPECT_EQ(u"-12 92233720368547758070.5", std::u16string(b.view()));
  std::mt19937_64 random(14);
  for (int i = 0; i < 2000; ++i) {
    double value;
    const unsigned long long bits = random();
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value))
      continue;
    const std::string text = CZqString::fromNumber(value).toUtf8();
    ASSERT_EQ(value, std::strtod(text.c_str(), nullptr)) << text;
  }
}

TEST(ClassicNumberTest, TryParseIntAndParseLongAgreeWithParseInt) {
  // The texts between the bars: signs alone, empty, a leading space, an Arabic
  // digit, the ends of the range in decimal and hex, and far too long.
  const std::u16string all =
      u"0|-0|2147483647|2147483648|-2147483648|-2147483649|7fffffff|-80000000|ff|FF|zZ|-||+1| 1|"
      u"1a|1\u0661|99999999999999999999|0000000000000000000000000000042";
  std::vector<std::u16string> texts(1);
  for (const char16_t unit : all)
    unit == u'|' ? texts.emplace_back().clear() : texts.back().push_back(unit);
  for (const int radix : {1, 2, 10, 16, 36, 37}) {
    for (const std::u16string& text : texts) {
      const CZqString s(text);
      const std::u16string failure = Failure([&] { CZqInteger::parseInt(s, radix); });
      const long long before = AllocationCount();
      const std::optional<int> parsed = CZqInteger::tryParseInt(text, radix);
      EXPECT_EQ(before, AllocationCount());
      if (failure != u"no exception") {
        EXPECT_FALSE(parsed.has_value()) << radix;
        std::u16string longFailure = failure;
        longFailure.replace(longFailure.find(u"parseInt"), 8, u"parseLong");
        if (failure.find(u"range") == std::u16string::npos) {
          EXPECT_EQ(longFailure, Failure([&] { CZqInteger::parseLong(s, radix); }));
        }
      } else {
        ASSERT_TRUE(parsed.has_value()) << radix;
        EXPECT_EQ(CZqInteger::parseInt(s, radix), *parsed);
        EXPECT_EQ(*parsed, CZqInteger::parseLong(s, radix));
      }
    }
  }
  EXPECT_EQ(LLONG_MAX, CZqInteger::parseLong(CZqString(u"7FFFFFFFFFFFFFFF"), 16));
  EXPECT_EQ(LLONG_MIN, CZqInteger::parseLong(CZqString(u"-9223372036854775808")));
  EXPECT_EQ(4294967296LL, CZqInteger::parseLong(CZqString(u"4294967296")));
  const std::u16string range = u"NumberFormatException: Integer::parseLong: Number out of range: ";
  EXPECT_EQ(range + u"10 number: \"9223372036854775808\"",
            Failure([] { CZqInteger::parseLong(CZqString(u"9223372036854775808")); }));
  EXPECT_EQ(range + u"16 number: \"8000000000000000\"",
            Failure([] { CZqInteger::parseLong(CZqString(u"8000000000000000"), 16); }));
  EXPECT_EQ(range + u"36 number: \"-zzzzzzzzzzzzzz\"",
            Failure([] { CZqInteger::parseLong(CZqString(u"-ZZZZZZZZZZZZZZ"), 36); }));
}

}  // namespace
}  // namespace zqlang
