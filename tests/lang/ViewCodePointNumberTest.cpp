//===- tests/lang/ViewCodePointNumberTest.cpp - views, code points, numbers ===//
//
// View overloads against the string forms; code points at every index; the
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

int Sign(int v) { return (v > 0) - (v < 0); }

// Every view form against its string form, with the texts (standard strings
// pick the view forms too) built beforehand: nothing in the loop allocates.
TEST(ViewTest, AgreesWithTheStringFormsWithoutAllocating) {
  const std::u16string texts[] = {u"", u"a", u"ab", u"abcab", u"b\uFFFF", std::u16string(40, u'x')};
  const std::vector<CZqString> strings(std::begin(texts), std::end(texts));
  const CZqString s(u"abc");
  const long long before = AllocationCount();
  for (const CZqString& h : strings) {
    for (const std::u16string& text : texts) {
      const CZqString& k = strings[static_cast<std::size_t>(&text - texts)];
      const std::u16string_view n = text;
      EXPECT_EQ(h.equals(k), h.equals(n));
      EXPECT_EQ(h.equals(k), h == n && n == h && h == text && !(h != text));
      const int order = Sign(h.compareTo(k));
      EXPECT_EQ(order, Sign(h.compareTo(n)));
      EXPECT_EQ(order < 0, h < n && n > h && !(h >= text));
      EXPECT_EQ(order > 0, h > n && n < h && !(h <= text));
      EXPECT_EQ(h.endsWith(k), h.endsWith(text));
      EXPECT_EQ(h.indexOf(k) >= 0, h.contains(n));
      EXPECT_EQ(h.lastIndexOf(k), h.lastIndexOf(text));
      for (int from : {INT_MIN, -1, 0, 1, 3, 5, 40, INT_MAX}) {
        EXPECT_EQ(h.startsWith(k, from), h.startsWith(n, from));
        EXPECT_EQ(h.indexOf(k, from), h.indexOf(n, from));
        EXPECT_EQ(h.lastIndexOf(k, from), h.lastIndexOf(n, from));
      }
    }
  }
  // Literals pick the view forms (no temporary string); a string argument
  // keeps the string form.
  EXPECT_TRUE(s == u"abc" && u"abc" == s && s != u"ab" && u"ab" < s && s >= u"abc");
  EXPECT_TRUE(s.equals(u"abc") && s.startsWith(u"ab") && s.endsWith(u"bc") && s.contains(u"b"));
  EXPECT_EQ(1, s.indexOf(u"b"));
  EXPECT_EQ(2, s.lastIndexOf(u"c", 5));
  EXPECT_EQ(before, AllocationCount());
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

TEST(CodePointTest, PairsAndUnpairedSurrogatesAtEveryIndex) {
  // a, a pair, a lone low, a lone high, b.
  const std::u16string units = u"a\xD83D\xDE00\xDC00\xD800\x62";
  const CZqString s(units);
  const CZqStringBuilder b(s);  // the same body operations as the string's
  const int at[] = {0x61, 0x1F600, 0xDE00, 0xDC00, 0xD800, 0x62};
  const int before[] = {0x61, 0xD83D, 0x1F600, 0xDC00, 0xD800, 0x62};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(at[i], s.codePointAt(i)) << i;
    EXPECT_EQ(before[i], s.codePointBefore(i + 1)) << i;
  }
  struct Row {
    int begin, end, count;
  };
  for (const Row& r : {Row{0, 6, 5}, Row{0, 2, 2}, Row{1, 3, 1}, Row{2, 3, 1}, Row{3, 3, 0}})
    EXPECT_EQ(r.count, s.codePointCount(r.begin, r.end)) << r.begin << ".." << r.end;
  struct Offset {
    int index, offset, result;
  };
  for (const Offset& o : {Offset{0, 2, 3}, Offset{0, 5, 6}, Offset{6, -4, 1}, Offset{2, -1, 1},
                          Offset{2, 1, 3}, Offset{3, -1, 1}, Offset{6, 0, 6}})
    EXPECT_EQ(o.result, b.offsetByCodePoints(o.index, o.offset)) << o.index << " " << o.offset;

  std::u32string seen;
  for (char32_t cp : CZqString(units).codePoints())  // a temporary: the view holds it
    seen += cp;
  EXPECT_EQ(std::u32string(U"a\U0001F600") + char32_t{0xDC00} + char32_t{0xD800} + U"b", seen);

  const std::function<void()> outside[] = {
      [&] { s.codePointAt(-1); },          [&] { b.codePointAt(6); },
      [&] { s.codePointBefore(0); },       [&] { b.codePointBefore(7); },
      [&] { s.offsetByCodePoints(0, 6); }, [&] { s.offsetByCodePoints(2, -3); },
      [&] { b.offsetByCodePoints(7, 0); }};
  for (const auto& op : outside)
    EXPECT_EQ(u"IndexOutOfBoundsException", Failure(op)) << &op - outside;
  const std::u16string index = u"StringIndexOutOfBoundsException #";
  EXPECT_EQ(index + u"-1", Failure([&] { s.codePointCount(-1, 2); }));
  EXPECT_EQ(index + u"-1", Failure([&] { b.codePointCount(3, 2); }));
  EXPECT_EQ(index + u"7", Failure([&] { s.codePointCount(0, 7); }));
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
