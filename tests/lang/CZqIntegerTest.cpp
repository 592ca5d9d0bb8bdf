//===- tests/lang/CZqIntegerTest.cpp - parsing, radix text, the box -------===//
#include "lang/CZqInteger.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "lang/CZqStringBuilder.h"
#include "lang/NumberFormatException.h"
#include "support/TestSupport.h"

namespace zqlang {
namespace {

using testing_support::Text;

// The message of the NumberFormatException that parsing text throws, or
// "ok=<value>" when it parses.
std::u16string Parse(const char16_t* text, int radix) {
  try {
    const std::string value = std::to_string(CZqInteger::parseInt(CZqString(text), radix));
    return u"ok=" + std::u16string(value.begin(), value.end());
  } catch (const NumberFormatException& e) {
    return Text(e.getMessage());
  }
}

constexpr char16_t kBad[] = u"Integer::parseInt: Bad base-";
constexpr char16_t kRange[] = u"Integer::parseInt: Number out of range: ";

TEST(CZqIntegerTest, ParsesExactlyTheNumbersOfTheRadix) {
  const std::u16string bad = kBad;
  const std::u16string range = kRange;
  const struct {
    const char16_t* text;
    int radix;
    std::u16string outcome;
  } rows[] = {
      {u"0", 10, u"ok=0"},
      {u"-0", 10, u"ok=0"},
      {u"000000000000000000001", 10, u"ok=1"},  // leading zeros never overflow
      {u"2147483647", 10, u"ok=2147483647"},
      {u"-2147483648", 10, u"ok=-2147483648"},
      {u"FF", 16, u"ok=255"},
      {u"-fF", 16, u"ok=-255"},
      {u"-80000000", 16, u"ok=-2147483648"},
      {u"Z", 36, u"ok=35"},
      {u"-10000000000000000000000000000000", 2, u"ok=-2147483648"},
      // The magnitude 2147483648 without a sign quotes the caller's text.
      {u"2147483648", 10, range + u"10 number: \"2147483648\""},
      {u"80000000", 16, range + u"16 number: \"80000000\""},
      // Past 2147483648 while scanning: the scanned text, lower-cased above 10.
      {u"-2147483649", 10, range + u"10 number: \"-2147483649\""},
      {u"FFFFFFFFF", 16, range + u"16 number: \"fffffffff\""},
      {u"11111111111111111111111111111111", 2,
       range + u"2 number: \"11111111111111111111111111111111\""},
      // The first offending character decides.
      {u"99999999999x", 10, range + u"10 number: \"99999999999x\""},
      {u"x99999999999", 10, bad + u"10 number: \"x99999999999\""},
      {u"G", 16, bad + u"16 number: \"g\""},
      {u"2", 2, bad + u"2 number: \"2\""},
      {u"12a", 10, bad + u"10 number: \"12a\""},
      {u"+5", 10, bad + u"10 number: \"+5\""},
      {u" 5", 10, bad + u"10 number: \" 5\""},
      {u"--5", 10, bad + u"10 number: \"--5\""},
      {u"{", 36, bad + u"36 number: \"{\""},
      {u"-", 10, u"Integer::parseInt: Bad string: \"-\""},
      {u"", 10, u"Integer::parseInt: Empty string"},
      // The radix is examined before anything else.
      {u"", 1, u"Integer::parseInt: Unsupported radix: 1"},
      {u"5", 37, u"Integer::parseInt: Unsupported radix: 37"},
      {u"5", -10, u"Integer::parseInt: Unsupported radix: -10"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << "radix " << row.radix << ", row of "
                                      << std::u16string(row.text).size() << " units");
    EXPECT_EQ(row.outcome, Parse(row.text, row.radix));
  }
}

// A subclass reaches the protected members.
struct Peek : CZqInteger {
  using CZqInteger::isValidRadix;
  using CZqInteger::parseUnsignedPartOfSigned;
  using CZqInteger::unsignedToString;
};

TEST(CZqIntegerTest, UnsignedPartScansExactlyTheTextGiven) {
  EXPECT_EQ(INT_MIN, Peek::parseUnsignedPartOfSigned(CZqString(u"-2147483648"), 1, 10));
  EXPECT_EQ(255, Peek::parseUnsignedPartOfSigned(CZqString(u"ff"), 0, 16));
  // It does not fold case itself: parseInt hands it lower-case text.
  EXPECT_THROW(Peek::parseUnsignedPartOfSigned(CZqString(u"FF"), 0, 16), NumberFormatException);
  EXPECT_FALSE(Peek::isValidRadix(1));
  EXPECT_TRUE(Peek::isValidRadix(36));
}

TEST(CZqIntegerTest, WritesEveryRadix) {
  const struct {
    CZqString text;
    const char16_t* expected;
  } rows[] = {
      {CZqInteger::toString(0, 1), u"0"},
      {CZqInteger::toString(255, 16), u"ff"},
      {CZqInteger::toString(-255, 16), u"-ff"},
      {CZqInteger::toString(71, 36), u"1z"},
      {CZqInteger::toString(10, 37), u"10"},
      {CZqInteger::toString(10, -16), u"10"},
      {CZqInteger::toString(INT_MIN, 10), u"-2147483648"},
      {CZqInteger::toString(INT_MIN, 16), u"-80000000"},
      {CZqInteger::toString(INT_MIN, 2), u"-10000000000000000000000000000000"},
      {CZqInteger::toHexString(-1), u"ffffffff"},
      {CZqInteger::toHexString(INT_MIN), u"80000000"},
      {CZqInteger::toOctalString(-1), u"37777777777"},
      {CZqInteger::toBinaryString(-1), u"11111111111111111111111111111111"},
      {CZqInteger::toBinaryString(5), u"101"},
      {CZqInteger::toHexString(0), u"0"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(row.expected, Text(row.text));
  CZqStringBuilder out(CZqString(u"x="));
  Peek::unsignedToString(out, 4294967295u, 36);
  EXPECT_EQ(u"x=1z141z3", Text(out.toString()));
}

TEST(CZqIntegerTest, RadixTextRoundTripsThroughParse) {
  for (int radix = 2; radix <= 36; ++radix) {
    for (int value :
         {INT_MIN, INT_MIN + 1, -radix, -1, 0, 1, radix - 1, radix, 123456789, INT_MAX}) {
      ASSERT_EQ(value, CZqInteger::parseInt(CZqInteger::toString(value, radix), radix))
          << value << " in radix " << radix;
    }
  }
}

//===-- The box and its counting ------------------------------------------===//

TEST(CZqIntegerTest, BoxedValueBehavesAsAValue) {
  const CZqInteger a(5);
  EXPECT_TRUE(a.equals(CZqInteger(5)));
  EXPECT_FALSE(a.equals(CZqInteger(6)));
  EXPECT_EQ(-1, CZqInteger(-1).hashCode());
  EXPECT_EQ(5, static_cast<int>(a));
  EXPECT_EQ(u"-2147483648", Text(CZqInteger(INT_MIN).toString()));
  EXPECT_EQ(12, CZqInteger(CZqString(u"12")).intValue());
  try {
    CZqInteger bad(CZqString(u"0x10"));
    ADD_FAILURE() << "no exception";
  } catch (const NumberFormatException& e) {
    EXPECT_EQ(u"Integer::parseInt: Bad base-10 number: \"0x10\"", Text(e.getMessage()));
  }
}

TEST(CZqIntegerTest, CopyKeepsTheSourceCountAssignmentKeepsItsOwn) {
  CZqInteger source(9);
  source.AddRef();
  source.AddRef();
  CZqInteger copy(source);
  EXPECT_EQ(3, copy.AddRef());  // the copy carries count 2
  CZqInteger target(1);
  target.AddRef();
  target = source;
  EXPECT_EQ(9, target.intValue());
  EXPECT_EQ(2, target.AddRef());  // still its own count
}

TEST(CZqIntegerTest, ValueOfHandsOutTheOnlyHolder) {
  const long long before = testing_support::LiveBlocks();
  {
    SPtr<CZqInteger> a = CZqInteger::valueOf(5);
    EXPECT_EQ(2, a->AddRef());  // count was 1
    a->Release();
    SPtr<CZqInteger> b = a;
    SPtr<CZqInteger> c = CZqInteger::valueOf(5);
    EXPECT_NE(a.Get(), c.Get());
    EXPECT_TRUE(a->equals(*c));
    EXPECT_EQ(std::hash<SPtr<CZqInteger>>()(a), std::hash<SPtr<CZqInteger>>()(b));
    b = a;  // same object: no count changes
    EXPECT_EQ(3, a->AddRef());
    a->Release();
    EXPECT_EQ(255, CZqInteger::valueOf(CZqString(u"ff"), 16)->intValue());
  }
  EXPECT_EQ(before, testing_support::LiveBlocks());
  EXPECT_THROW(CZqInteger::valueOf(CZqString(u""), 10), NumberFormatException);
  EXPECT_EQ(before, testing_support::LiveBlocks());
}

}  // namespace
}  // namespace zqlang
