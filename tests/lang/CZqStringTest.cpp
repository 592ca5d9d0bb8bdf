//===- tests/lang/CZqStringTest.cpp - the immutable string ----------------===//
//
// Storage, sharing and reading; the comparison members; derived strings and
// their sharing; case mapping under the C locale; the text forms of
// primitive values; standard library interop. (The rules of comparison,
// search and UTF-8 have the tests of their kernels.)
//===----------------------------------------------------------------------===//
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cwctype>
#include <iomanip>
#include <random>
#include <sstream>
#include <type_traits>

#include <locale.h>

#include "lang/detail/Text.h"

#include "support/TestSupport.h"

namespace zqlang {
namespace {

static_assert(!std::is_constructible<CZqString, const char*>::value &&
                  !std::is_convertible<int, CZqString>::value,
              "narrow text is refused, not turned into bool; one-value constructors are explicit");
static_assert(std::is_convertible<const char16_t*, CZqString>::value,
              "wide text converts where a string is expected");
static_assert(std::is_constructible<CZqString, std::u16string_view>::value &&
                  !std::is_convertible<std::u16string_view, CZqString>::value &&
                  std::is_constructible<CZqString, const std::u16string&>::value &&
                  !std::is_convertible<std::u16string, CZqString>::value,
              "standard text converts only explicitly: it allocates");
static_assert(std::is_constructible<CZqString, const char16_t (&)[4]>::value &&
                  std::is_convertible<const char16_t (&)[4], CZqString>::value &&
                  std::is_constructible<CZqString, const char16_t*, int>::value,
              "CZqString(u\"abc\") and CZqString s = u\"abc\" stay unambiguous");
static_assert(std::is_convertible<const CZqString&, std::u16string_view>::value,
              "a string goes where a view is taken");
static_assert(
    std::is_same<decltype(std::declval<const CZqString&>().begin()), const char16_t*>::value,
    "iteration is read-only");

// Text and body capacity of every constructor: text constructors size the
// body to the content plus one (a string joined with itself reads both halves
// from one body; a view may have null data), number forms reserve 20.
TEST(CZqStringTest, EachConstructorGivesItsTextAndCapacity) {
  const char16_t zeroInside[] = {u'a', 0, u'b'};
  const std::u16string withZero(zeroInside, 3);
  const CZqString ab(u"ab");
  const struct {
    CZqString s;
    std::u16string text;
    int capacity;
  } rows[] = {
      {CZqString(), u"", 64},
      {CZqString(u"abc"), u"abc", 4},
      {CZqString(u""), u"", 1},
      {CZqString(u"hello", 1, 3), u"ell", 4},
      {CZqString(u"hello", 2), u"he", 3},
      {CZqString(zeroInside, 3), withZero, 4},
      {CZqString(ab, CZqString(u"cd")), u"abcd", 5},
      {CZqString(CZqString(u""), CZqString(u"")), u"", 1},
      {CZqString(ab, ab), u"abab", 5},
      {CZqString(std::u16string_view(withZero)), withZero, 4},
      {CZqString(std::u16string(u"hello")), u"hello", 6},
      {CZqString{std::u16string_view()}, u"", 1},
      {CZqString(true), u"true", 5},
      {CZqString(false), u"false", 5},
      {CZqString(u'\0'), std::u16string(1, u'\0'), 1},
      {CZqString('A'), u"65", 20},
      {CZqString(static_cast<char>(-1)), u"-1", 20},
      {CZqString(LLONG_MIN), u"-9223372036854775808", 20},
      {CZqString(-0.0), u"-0", 20},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::PrintToString(row.s));
    EXPECT_EQ(row.text, Text(row.s));
    EXPECT_EQ(row.capacity, CapacityOf(row.s));
    EXPECT_EQ(u'\0', row.s.c_str()[row.s.length()]);
  }
}

// Empty strings made by the default constructor share one body that is
// never counted or freed, and report what a body of their own would: a
// builder of one has capacity 64, and its trimToSize reaches no other.
TEST(CZqStringTest, DefaultStringsShareOneUncountedBody) {
  const long long before = LiveBlocks();
  std::vector<CZqString> many(1000);
  EXPECT_EQ(before, LiveBlocks());
  EXPECT_TRUE(SameBody(many.front(), many.back()));
  EXPECT_EQ(u'\0', many[7].c_str()[0]);
  CZqStringBuilder trimmed(many[1]);
  EXPECT_EQ(64, trimmed.capacity());
  trimmed.trimToSize();
  EXPECT_EQ(0, trimmed.capacity());
  EXPECT_EQ(64, CZqStringBuilder(many[2]).capacity());
  EXPECT_EQ(64, CapacityOf(many[3]));
  many[4] = CZqString(u"x");
  many.clear();
  EXPECT_EQ(u"", Text(CZqString()));
}

// Each failing call and what it throws. getChars rows break one rule, and
// every later rule too where possible, so that the order of the checks
// shows; a start past the end is reported as end - start.
TEST(CZqStringTest, FailuresThrowTheirClassAndValueInTheOrderChecked) {
  const char16_t* null = nullptr;
  const CZqString hello(u"hello");
  char16_t dst[8] = {u'#', u'#', u'#', u'#', u'#', u'#', u'#', u'#'};
  const std::u16string index = u"StringIndexOutOfBoundsException #";
  const struct {
    const char* what;
    std::function<void()> op;
    std::u16string thrown;
  } rows[] = {
      {"getChars(-1, 9, -1)", [&] { hello.getChars(-1, 9, dst, -1); }, index + u"-1"},
      {"getChars(3, 2, -1)", [&] { hello.getChars(3, 2, dst, -1); }, index + u"-1"},
      {"getChars(0, 6, -1)", [&] { hello.getChars(0, 6, dst, -1); }, index + u"6"},
      {"getChars(0, 5, -1)", [&] { hello.getChars(0, 5, dst, -1); },
       u"ArrayIndexOutOfBoundsException #-1"},
      {"substring(3, 1)", [&] { static_cast<void>(hello.substring(3, 1)); }, index + u"-2"},
      {"subSequence(3, 1)", [&] { static_cast<void>(hello.subSequence(3, 1)); }, index + u"-2"},
      {"null text", [&] { CZqString s(null); },
       u"NullPointerException: CZqString(const char16_t*): null text"},
      {"null text, count", [&] { CZqString s(null, 0); },
       u"NullPointerException: CZqString(const char16_t*, int): null text"},
      {"null text, range", [&] { CZqString s(null, 0, 0); },
       u"NullPointerException: CZqString(const char16_t*, int, int): null text"},
      {"negative count", [] { CZqString s(u"abc", -2); }, index + u"-2"},
      {"negative offset", [] { CZqString s(u"abc", -1, 2); }, index + u"-1"},
      // INT_MAX units need INT_MAX + 1 of capacity, which does not fit.
      {"INT_MAX units", [] { CZqString s(u"x", INT_MAX); }, u"OutOfMemoryError"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(row.thrown, Failure(row.op)) << row.what;
  for (int i : {-1, 5, INT_MIN, INT_MAX})
    EXPECT_EQ(u"IndexOutOfBoundsException", Failure([&] { hello.charAt(i); })) << "charAt " << i;
  EXPECT_EQ(std::u16string(8, u'#'), std::u16string(dst, 8)) << "copied before failing";
}

// The comparison members and operators forward to the text kernels (their
// own test has the rules): here that each picks the right one, and the
// operators follow compareTo's sign.
TEST(CZqStringCompareTest, MembersAndOperatorsFollowTheKernels) {
  const struct {
    std::u16string a, b;
  } rows[] = {{u"abc", u"abd"}, {u"abc", u"ab"}, {u"", u""}, {u"ABC", u"abc"}, {u"A", u"_"}};
  for (const auto& row : rows) {
    const CZqString a(row.a);
    const CZqString b(row.b);
    SCOPED_TRACE(::testing::PrintToString(a) + " vs " + ::testing::PrintToString(b));
    const int e = detail::Compare(row.a, row.b);
    EXPECT_EQ(e, a.compareTo(b));
    EXPECT_EQ(e == 0, a.equals(b));
    EXPECT_EQ(detail::CompareIgnoreCase(row.a, row.b), a.compareToIgnoreCase(b));
    EXPECT_EQ(detail::CompareIgnoreCase(row.a, row.b) == 0, a.equalsIgnoreCase(b));
    EXPECT_EQ(detail::Hash(row.a), a.hashCode());
    EXPECT_EQ((std::vector<bool>{e == 0, e != 0, (e < 0), e <= 0, (e > 0), e >= 0}),
              (std::vector<bool>{a == b, a != b, (a < b), a <= b, (a > b), a >= b}));
  }
  EXPECT_EQ(std::hash<std::u16string_view>()(u"key"), std::hash<CZqString>()(CZqString(u"key")));
}

TEST(CZqStringDerivedTest, SharesTheSourceBodyExactlyWhereTheRulesSay) {
  const CZqString hello(u"hello");
  const CZqString empty(u"");
  const CZqString ab(u"ab");
  const CZqString twelve(12);  // capacity 20: clones show the source's capacity
  const CZqString spaced(u"a b");
  const CZqString control(u"\u0001a\u0001");
  const struct {
    const char* name;
    CZqString result;
    const CZqString* source;  // the body the result shares, or null
    std::u16string text;
    int capacity;  // of a new body
  } rows[] = {
      {"concat empty", hello.concat(empty), &hello, u"hello", 0},
      {"concat", hello.concat(ab), nullptr, u"helloab", 8},
      {"empty concat", empty.concat(ab), nullptr, u"ab", 3},
      {"operator+ empty", hello + empty, nullptr, u"hello", 6},
      {"replace absent", hello.replace(u'x', u'y'), &hello, u"hello", 0},
      {"replace", hello.replace(u'l', u'L'), nullptr, u"heLLo", 6},
      {"replace same", hello.replace(u'h', u'h'), nullptr, u"hello", 6},
      {"replace clone", twelve.replace(u'2', u'3'), nullptr, u"13", 20},
      {"toUpperCase", CZqString(u"ABC").toUpperCase(), nullptr, u"ABC", 4},
      {"toLowerCase clone", twelve.toLowerCase(), nullptr, u"12", 20},
      {"trim inner", spaced.trim(), &spaced, u"a b", 0},
      {"trim both", CZqString(u"  ab\t").trim(), nullptr, u"ab", 6},
      {"trim line ends", CZqString(u"\n\r\v\fa b\r\n").trim(), nullptr, u"a b", 10},
      {"trim all", CZqString(u"   ").trim(), nullptr, u"", 4},
      {"trim empty", empty.trim(), &empty, u"", 0},
      {"trim control", control.trim(), &control, u"\u0001a\u0001", 0},
      {"toString", hello.toString(), &hello, u"hello", 0},
      {"substring(1)", hello.substring(1), nullptr, u"ello", 5},
      {"substring(0) copies", hello.substring(0), nullptr, u"hello", 6},
      {"substring(5)", hello.substring(5), nullptr, u"", 1},
      {"substring(1, 3)", hello.substring(1, 3), nullptr, u"el", 3},
      {"substring(2, 2)", hello.substring(2, 2), nullptr, u"", 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.text, Text(row.result));
    if (row.source != nullptr) {
      EXPECT_TRUE(SameBody(*row.source, row.result));
    } else {
      EXPECT_FALSE(SameBody(hello, row.result));
      EXPECT_EQ(row.capacity, CapacityOf(row.result));
    }
    EXPECT_EQ(u'\0', row.result.c_str()[row.result.length()]);
  }
  EXPECT_FALSE(SameBody(ab, empty.concat(ab)));
}

// Every string has its 0 unit past the text from the moment it is made (the
// allocators of the test builds fill new blocks with other values), so that
// c_str() only reads: the strings the other classes make as well.
TEST(CZqStringDerivedTest, EveryStringIsTerminatedWhenMade) {
  CZqStringBuilder b(40);
  b.append(u"built text");
  const CZqString strings[] = {
      b.toString(),
      b.substring(1, 3),
      CZqString::fromUtf8("utf8"),
      CZqString::fromNumber(2.5),
      CZqString::fromNumber(7),
      CZqInteger::toString(255, 16),
      CZqString(u"stra\u00DFe").toUpperCase(ZqCaseRules::kUnicode),
      CZqString(u"\u0130").toLowerCase(ZqCaseRules::kUnicode),
      CZqString(u"ABC").foldCase(ZqCaseRules::kUnicode),
  };
  for (const CZqString& s : strings)
    EXPECT_EQ(u'\0', s.c_str()[s.length()]) << ::testing::PrintToString(s);
}

// Case mapping is towlower / towupper of the C locale in force at the call.
class CZqStringCaseTest : public ::testing::Test {
 protected:
  void SetUp() override { mSaved = std::setlocale(LC_CTYPE, nullptr); }
  void TearDown() override { std::setlocale(LC_CTYPE, mSaved.c_str()); }

  // Every unit 16 times (a text long enough for the tables to learn whether
  // the locale changes any unit from 0x80 on), then runs where ASCII and
  // other units share a block.
  static void ExpectEveryUnitMappedAsTheLocaleSays() {
    std::u16string units(16 * 65536, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
      units[i] = static_cast<char16_t>(i);
    for (int i = 0; i < 300; ++i)
      units += static_cast<char16_t>(i % 3 == 0 ? 0xC0 + i % 31 : u'A' + i % 58);
    const std::u16string lower = Text(CZqString(units).toLowerCase());
    const std::u16string upper = Text(CZqString(units).toUpperCase());
    for (std::size_t i = 0; i < units.size(); ++i) {
      ASSERT_EQ(static_cast<char16_t>(std::towlower(units[i])), lower[i]) << i;
      ASSERT_EQ(static_cast<char16_t>(std::towupper(units[i])), upper[i]) << i;
    }
  }

  std::string mSaved;
};

TEST_F(CZqStringCaseTest, FollowsTheLocaleInForceAtEachCall) {
  ASSERT_NE(nullptr, std::setlocale(LC_CTYPE, "C"));
  ExpectEveryUnitMappedAsTheLocaleSays();
  EXPECT_EQ(u"\u00C0", Text(CZqString(u"\u00C0").toLowerCase()));
  if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr)
    GTEST_SKIP() << "no C.UTF-8 locale on this machine";
  ExpectEveryUnitMappedAsTheLocaleSays();
  EXPECT_EQ(u"\u00E0", Text(CZqString(u"\u00C0").toLowerCase()));
  EXPECT_EQ(0, CZqString(u"\u00C0b").compareToIgnoreCase(CZqString(u"\u00E0B")));
  // parseInt reads digits above radix 10 lower-cased by the locale: KELVIN
  // SIGN is k there. The other parsers take ASCII digits only.
  EXPECT_EQ(20, CZqInteger::parseInt(CZqString(u"\u212A"), 36));
  EXPECT_FALSE(CZqInteger::tryParseInt(u"\u212A", 36).has_value());
  EXPECT_THROW(CZqInteger::parseLong(CZqString(u"\u212A"), 36), NumberFormatException);
  std::setlocale(LC_CTYPE, "C");  // the change is seen at the next call
  EXPECT_EQ(u"\u00C0", Text(CZqString(u"\u00C0").toLowerCase()));
  EXPECT_NE(0, CZqString(u"\u00C0").compareToIgnoreCase(CZqString(u"\u00E0")));
#if defined(LC_GLOBAL_LOCALE)
  // A locale of this thread's own wins over the global one.
  const locale_t own = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  ASSERT_NE(static_cast<locale_t>(nullptr), own);
  uselocale(own);
  EXPECT_EQ(u"\u00E0", Text(CZqString(u"\u00C0").toLowerCase()));
  uselocale(LC_GLOBAL_LOCALE);
  freelocale(own);
#endif
}

template <class T>
std::u16string StreamText(T value) {
  std::ostringstream stream;
  stream << value;
  const std::string text = stream.str();
  return std::u16string(text.begin(), text.end());
}

TEST(CZqStringNumberTest, TextIsWhatADefaultStreamWrites) {
  long long power = 1;
  for (int digits = 1; digits <= 19; ++digits, power = digits < 19 ? power * 10 : power)
    for (long long v : {power - 1, power, power + 1, -power, 1 - power, -power - 1})
      ASSERT_EQ(StreamText(v), Text(CZqString(v))) << v;
  EXPECT_EQ(StreamText(LLONG_MAX), Text(CZqString(LLONG_MAX)));
  for (int v : {0, INT_MIN, INT_MAX})
    EXPECT_EQ(StreamText(v), Text(CZqString(v))) << v;
  const double doubles[] = {HUGE_VAL, -HUGE_VAL, std::nan(""), 5e-324,  1.7976931348623157e308,
                            999999.5, 9999995.0, 0.000099999,  123.456, -7.0,
                            1.0 / 3,  100.0,     123456.0,     0.0001,  0.00001,
                            -1.5e-300};
  for (double v : doubles)
    EXPECT_EQ(StreamText(v), Text(CZqString(v))) << v;
}

// Under a global locale that groups digits and writes a decimal comma the
// numbers are still exactly what a default stream writes, also past 20 units.
TEST(CZqStringNumberTest, FollowsTheGlobalLocaleOfTheStream) {
  const GroupingLocale grouping;
  EXPECT_EQ(u"-9,2,2,3,3,7,2,0,3,6,8,5,4,7,7,5,8,0,8", Text(CZqString(LLONG_MIN)));
  EXPECT_EQ(u"0,25", Text(CZqString(0.25)));
  for (int v : {0, -999, 1000, INT_MIN})
    EXPECT_EQ(StreamText(v), Text(CZqString(v))) << v;
  EXPECT_EQ(StreamText(static_cast<short>(-12345)), Text(CZqString(static_cast<short>(-12345))));
  for (double v : {1234.5, 1234567.0, -98765.4})
    EXPECT_EQ(StreamText(v), Text(CZqString(v))) << v;
}

// An adapter holds the string's body and counts its own holders; hashing and
// equality are the string's.
TEST(ZqStringAdapterTest, CountsItsHoldersAndFreesAtZero) {
  const CZqString hello(u"hello");
  const long long before = LiveBlocks();
  ZqStringAdapter* adapter = new ZqStringAdapter(hello);
  EXPECT_TRUE(SameBody(hello, adapter->GetValue()));
  EXPECT_EQ(2, CountOf(hello));
  EXPECT_EQ(1, adapter->AddRef());
  {
    SPtr<ZqStringAdapter> held(adapter);
    EXPECT_EQ(3, adapter->AddRef());
    adapter->Release();
    const ZqStringAdapter copy(*adapter);  // carries the count
    EXPECT_EQ(3, copy.AddRef());
    EXPECT_TRUE(copy.equals(*adapter));
  }
  EXPECT_EQ(0, adapter->Release());  // freed
  EXPECT_EQ(before, LiveBlocks());
  EXPECT_EQ(1, CountOf(hello));
}

TEST(CZqStringInteropTest, PrintsAsUtf8AndForGoogleTestAsALiteral) {
  const CZqString s(u"a\"b\\\n\u00E9\U0001D11E");
  EXPECT_EQ("u\"a\\\"b\\\\\\n\\u00E9\\uD834\\uDD1E\"", ::testing::PrintToString(s));
  std::ostringstream out;
  out << s << '|' << std::setw(4) << CZqString(u"x") << '|';
  EXPECT_EQ("a\"b\\\n\xC3\xA9\xF0\x9D\x84\x9E|   x|", out.str());
  // A long text is written piece by piece; a pair across a piece boundary
  // stays whole.
  for (int prefix : {254, 255, 256}) {
    const CZqString longer(std::u16string(prefix, u'a') + u"\U0001D11E" +
                           std::u16string(300, u'b'));
    std::ostringstream piecewise;
    piecewise << longer;
    EXPECT_EQ(longer.toUtf8(), piecewise.str()) << prefix;
  }
}

}  // namespace
}  // namespace zqlang
