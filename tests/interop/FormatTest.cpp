//===- tests/interop/FormatTest.cpp - {fmt} formatters and zqlang::format -===//
//
// zqlang::format and formatTo write UTF-16 directly: width and precision
// count code units, string arguments keep their units (a lone surrogate
// included), a bad format string is IllegalArgumentException. The UTF-8
// formatters print with the options of a string argument, width counted by
// display width and precision in code points (as {fmt} counts UTF-8 text).
//===----------------------------------------------------------------------===//
#include <string>

#include "lang/ZqFormat.h"
#include "support/TestSupport.h"

namespace zqlang {
namespace {

TEST(FormatTest, StringAndBuilderAsUtf8StringArguments) {
  const CZqString city(u"K\u00F6ln\U0001F600");
  CZqStringBuilder b;
  b.append(u"ab");
  const struct {
    std::string got, expected;
  } rows[] = {
      {fmt::format("{}", city), "K\xC3\xB6ln\xF0\x9F\x98\x80"},
      {fmt::format("[{:>7}]", CZqString(u"K\u00F6ln")), "[   K\xC3\xB6ln]"},
      {fmt::format("[{:*^6}]", b), "[**ab**]"},
      {fmt::format("[{:.2}]", city), "[K\xC3\xB6]"},
      {fmt::format("[{:<3.1}|{}]", city, CZqString(u"\xD800")), "[K  |\xEF\xBF\xBD]"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(row.expected, row.got);
#if defined(__cpp_lib_format)
  EXPECT_EQ("[   K\xC3\xB6ln]", std::format("[{:>7}]", CZqString(u"K\u00F6ln")));
  EXPECT_EQ("[ab]", std::format("[{}]", b));
#endif
}

TEST(FormatTest, FormatWritesUtf16) {
  const CZqString city(u"K\u00F6ln");
  const CZqString emoji(u"\U0001F600x");  // 3 units, 2 code points
  CZqStringBuilder b;
  b.append(u"b\u00E9");
  const char16_t* pointer = u"ptr";
  const std::u16string_view view = u"view";
  const std::u16string text = u"str";
  const struct {
    CZqString got;
    std::u16string expected;
  } rows[] = {
      // Numbers with options.
      {format(u"{} {:5d}|{:<4}|{:+.3f}|{:#x}|{:.2e}|{:b}|{:g}", 42, 7, -3, 3.14159, 255, 12345.678,
              5, 0.0001),
       u"42     7|-3  |+3.142|0xff|1.23e+04|101|0.0001"},
      {format(u"{} {} {} {:08.3f} {}", -0.0, 1e21, 0.1, -2.5, 9223372036854775807LL),
       u"-0 1e+21 0.1 -002.500 9223372036854775807"},
      // The other arguments: bool, char16_t, pointer, view, std::u16string.
      {format(u"{} {} {} {} {} {:d}", true, u'\u00E9', pointer, view, text, false),
       u"true \u00E9 ptr view str 0"},
      // Width, alignment and fill count code units: a BMP character counts
      // 1 (a CJK ideograph too), a character outside it 2.
      {format(u"[{:>6}]", city), u"[  K\u00F6ln]"},
      {format(u"[{:\u00B7^9}]", emoji), u"[\u00B7\u00B7\u00B7\U0001F600x\u00B7\u00B7\u00B7]"},
      {format(u"[{:<4}|{:>3}]", CZqString(u"\U0001F600"), u"\u4E2D"), u"[\U0001F600  |  \u4E2D]"},
      {format(u"[{:.2}|{:.1}]", city, emoji), u"[K\u00F6|\xD83D]"},  // cuts the pair
      {format(u"[{:\u00E9>5}]", 42), u"[\u00E9\u00E9\u00E942]"},
      // Strings and builders; positional arguments.
      {format(u"{}+{}={:>4}", city, b, b), u"K\u00F6ln+b\u00E9=  b\u00E9"},
      {format(u"{1} {0} {1}", city, 7), u"7 K\u00F6ln 7"},
      {format(u"{2}{1}{0}", u'a', u'b', u'c'), u"cba"},
      {format(u"no arguments {{}}"), u"no arguments {}"},
      {format(u""), u""},
      // Checked at compile time in C++17 too; and a format string read at
      // run time.
      {format(FMT_STRING(u"{:>3}"), 5), u"  5"},
      {format(runtimeFormat(CZqString(u"{}!")), city), u"K\u00F6ln!"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.expected, Text(row.got));
    EXPECT_EQ(row.got.length() + 1, CapacityOf(row.got));  // exactly the text
  }
}

TEST(FormatTest, StringArgumentsKeepTheirUnits) {
  // toUtf8 turns a lone surrogate into U+FFFD; the UTF-16 path copies it.
  const CZqString lone(u"a\xD800z");
  ASSERT_EQ("a\xEF\xBF\xBDz", lone.toUtf8());
  CZqStringBuilder b;
  b.append(u'\xDC00');
  EXPECT_EQ(u"<a\xD800z|\xDC00|\xDBFF>",
            Text(format(u"<{}|{}|{}>", lone, b, std::u16string_view(u"\xDBFF", 1))));
  // {fmt}'s own UTF-16 output goes through fmt::formatter<CZqString, char16_t>.
  EXPECT_EQ(u"[a\xD800z |\xDC00]", fmt::format(u"[{:<4}|{}]", lone, b));
  EXPECT_EQ(u"[a\xD800]", fmt::format(u"[{:.2}]", lone));
}

TEST(FormatTest, FormatToAppends) {
  CZqStringBuilder b;
  b.append(u"log: ");
  CZqStringBuilder& same = formatTo(b, u"{}={:.1f} {:>3}", u"x", 2.26, CZqString(u"\u00E9"));
  EXPECT_EQ(&b, &same);
  EXPECT_EQ(u"log: x=2.3   \u00E9", b.view());
  // The builder as its own argument: its text is read before the append.
  b.setLength(0);
  b.append(u"ab");
  formatTo(b, u"[{}]", b);
  EXPECT_EQ(u"ab[ab]", b.view());
  // A builder that shares its body with a string copies before appending.
  const CZqString before = b.toString();
  formatTo(b, u"{}", 1);
  EXPECT_EQ(u"ab[ab]", before.view());
  EXPECT_EQ(u"ab[ab]1", b.view());
}

TEST(FormatTest, LongTextGoesThroughTheHeap) {
  // More than the 500 units on the stack: the buffer grows on the heap.
  const CZqString word(u"\u00E9t\u00E9");
  const CZqString got = format(u"{:->700}|{}", word, 1);
  EXPECT_EQ(std::u16string(697, u'-') + u"\u00E9t\u00E9|1", Text(got));
  EXPECT_EQ(703, CapacityOf(got));  // 702 units and the terminator
}

TEST(FormatTest, OneBlockPerString) {
  const CZqString city(u"K\u00F6ln");
  const long long before = detail::testing::AllocationCount();
  const CZqString got = format(u"{} of {:>8} at {:.2f}", 3, city, 0.5);
  EXPECT_EQ(before + 1, detail::testing::AllocationCount());
  EXPECT_EQ(u"3 of     K\u00F6ln at 0.50", Text(got));
  CZqStringBuilder b(64);
  const long long start = detail::testing::AllocationCount();
  formatTo(b, u"{} of {:>8}", 3, city);
  EXPECT_EQ(start, detail::testing::AllocationCount());  // the room was there
}

TEST(FormatTest, BadFormatStringIsIllegalArgument) {
  const struct {
    std::u16string got, expected;
  } rows[] = {
      {Failure([] { (void)format(runtimeFormat(u"{:d}"), CZqString(u"x")); }),
       u"IllegalArgumentException: format: invalid type specifier"},
      {Failure([] { (void)format(runtimeFormat(u"{} {}"), 1); }),
       u"IllegalArgumentException: format: argument not found"},
      {Failure([] { (void)format(runtimeFormat(u"{"), 1); }),
       u"IllegalArgumentException: format: invalid format string"},
      {Failure([] { (void)format(runtimeFormat(u"{:\U0001F600>4}"), 1); }),  // fill: one unit
       u"IllegalArgumentException: format: invalid type specifier"},
      {Failure([] { (void)format(u"{}", 1); }), u"no exception"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(row.expected, row.got);
  // formatTo leaves the builder as it was.
  CZqStringBuilder b;
  b.append(u"kept");
  EXPECT_EQ(u"IllegalArgumentException: format: argument not found",
            Failure([&] { formatTo(b, runtimeFormat(u"{1}"), 1); }));
  EXPECT_EQ(u"kept", b.view());
}

TEST(FormatTest, ExhaustedMemoryIsOutOfMemoryError) {
  // Each block failing in turn, the heap buffer of a long text included:
  // OutOfMemoryError, nothing leaked, the builder unchanged.
  const CZqString word(u"w\u00F6rd");
  CZqStringBuilder b;
  b.append(u"kept");
  const int stringPoints = SweepAllocationFailures([&] {
    const RouteStdAllocations route;
    (void)format(u"{:>600}{}", word, 1);
  });
  EXPECT_EQ(2, stringPoints);  // the heap buffer, the string's body
  const int builderPoints = SweepAllocationFailures(
      [&] {
        const RouteStdAllocations route;
        formatTo(b, u"{:>600}", word);
        b.setLength(4);
      },
      [&] { EXPECT_EQ(u"kept", b.view()); });
  EXPECT_EQ(2, builderPoints);  // the heap buffer, the builder's growth
}

}  // namespace
}  // namespace zqlang
