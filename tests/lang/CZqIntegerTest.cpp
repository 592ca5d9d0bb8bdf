//===- tests/lang/CZqIntegerTest.cpp - parsing, radix text, the box -------===//
#include "support/TestSupport.h"

namespace zqlang {
namespace {

// A subclass reaches the protected members.
struct Peek : CZqInteger {
  using CZqInteger::parseUnsignedPartOfSigned;
  using CZqInteger::unsignedToString;
};

TEST(CZqIntegerTest, UnsignedPartScansExactlyTheTextGiven) {
  EXPECT_EQ(INT_MIN, Peek::parseUnsignedPartOfSigned(CZqString(u"-2147483648"), 1, 10));
  EXPECT_EQ(255, Peek::parseUnsignedPartOfSigned(CZqString(u"ff"), 0, 16));
  // It does not fold case itself: parseInt hands it lower-case text.
  EXPECT_THROW(Peek::parseUnsignedPartOfSigned(CZqString(u"FF"), 0, 16), NumberFormatException);
  CZqStringBuilder out(CZqString(u"x="));
  Peek::unsignedToString(out, 4294967295u, 36);
  EXPECT_EQ(u"x=1z141z3", Text(out.toString()));
  // A derived class may hand any radix to the digit writer: one outside 2 to
  // 36 is refused and writes nothing.
  for (int radix : {-1, 0, 1, 37}) {
    EXPECT_EQ(u"IllegalArgumentException: Integer::unsignedToString: Unsupported radix: " +
                  Text(CZqString(radix)),
              Failure([&] { Peek::unsignedToString(out, 255u, radix); }));
    EXPECT_EQ(u"x=1z141z3", out.view());
  }
}

// Parsing and the radix texts are checked against the fuzz target's model
// (replayed over its corpus with the tests); these two inputs its seeds
// cannot spell: the unit after 'z', and radix 37.
TEST(CZqIntegerTest, TheUnitAfterZAndRadix37AreRefused) {
  EXPECT_EQ(u"NumberFormatException: Integer::parseInt: Bad base-36 number: \"{\"",
            Failure([] { CZqInteger::parseInt(CZqString(u"{"), 36); }));
  EXPECT_EQ(u"NumberFormatException: Integer::parseInt: Unsupported radix: 37",
            Failure([] { CZqInteger::parseInt(CZqString(u"5"), 37); }));
  EXPECT_EQ(u"10", Text(CZqInteger::toString(10, 37)));
}

TEST(CZqIntegerTest, ValueOfHandsOutTheOnlyHolder) {
  const long long before = LiveBlocks();
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
  EXPECT_EQ(before, LiveBlocks());
  EXPECT_THROW(CZqInteger::valueOf(CZqString(u""), 10), NumberFormatException);
  EXPECT_EQ(before, LiveBlocks());
}

}  // namespace
}  // namespace zqlang
