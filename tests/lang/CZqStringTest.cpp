//===- tests/lang/CZqStringTest.cpp - the immutable string ----------------===//
//
// Storage, sharing and reading; comparison, hashing and search; derived
// strings and their sharing; case mapping under the C locale; the text forms
// of primitive values; out-of-memory paths.
//===----------------------------------------------------------------------===//
#include "lang/CZqString.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <cwctype>
#include <functional>
#include <locale>
#include <sstream>
#include <string>
#include <type_traits>

#include <locale.h>

#include "lang/ArrayIndexOutOfBoundsException.h"
#include "lang/IndexOutOfBoundsException.h"
#include "lang/NullPointerException.h"
#include "lang/OutOfMemoryError.h"
#include "lang/StringIndexOutOfBoundsException.h"
#include "support/TestSupport.h"

namespace zqlang {
namespace {

using testing_support::BodyOf;
using testing_support::CapacityOf;
using testing_support::CountOf;
using testing_support::SameBody;
using testing_support::SweepAllocationFailures;
using testing_support::Text;

static_assert(!std::is_constructible<CZqString, const char*>::value,
              "narrow text is refused, not turned into bool");
static_assert(!std::is_convertible<int, CZqString>::value, "one-value constructors are explicit");
static_assert(std::is_convertible<const char16_t*, CZqString>::value,
              "wide text converts where a string is expected");

// The value an index exception was built from, read through its own toString.
std::u16string IndexText(int value) {
  return Text(CZqString(u"CZqString index out of bounds: ") + CZqString(value));
}

TEST(CZqStringTest, DefaultStringIsEmptyWithRoomFor64) {
  const CZqString s;
  EXPECT_EQ(0, s.length());
  EXPECT_TRUE(s.isEmpty());
  EXPECT_EQ(64, CapacityOf(s));
  EXPECT_EQ(u'\0', s.c_str()[0]);
}

TEST(CZqStringTest, TextConstructorsSizeTheBodyToContentPlusOne) {
  const CZqString abc(u"abc");
  EXPECT_EQ(u"abc", Text(abc));
  EXPECT_EQ(4, CapacityOf(abc));
  EXPECT_EQ(1, CapacityOf(CZqString(u"")));
  EXPECT_EQ(0, CZqString(u"").length());

  const CZqString ell(u"hello", 1, 3);
  EXPECT_EQ(u"ell", Text(ell));
  EXPECT_EQ(4, CapacityOf(ell));
  const CZqString he(u"hello", 2);
  EXPECT_EQ(u"he", Text(he));
  EXPECT_EQ(3, CapacityOf(he));
}

TEST(CZqStringTest, CountedTextKeepsEmbeddedZeroUnits) {
  const char16_t units[] = {u'a', 0, u'b'};
  const CZqString s(units, 3);
  EXPECT_EQ(3, s.length());
  EXPECT_EQ(u'\0', s.charAt(1));
  EXPECT_EQ(u'b', s.charAt(2));
}

TEST(CZqStringTest, TwoStringConstructorJoinsIntoExactCapacity) {
  const CZqString abcd(CZqString(u"ab"), CZqString(u"cd"));
  EXPECT_EQ(u"abcd", Text(abcd));
  EXPECT_EQ(5, CapacityOf(abcd));
  const CZqString empty(CZqString(u""), CZqString(u""));
  EXPECT_EQ(0, empty.length());
  EXPECT_EQ(1, CapacityOf(empty));
  // A string joined with itself reads both halves from the same body.
  const CZqString twice(abcd, abcd);
  EXPECT_EQ(u"abcdabcd", Text(twice));
}

TEST(CZqStringTest, CopiesShareOneCountedBody) {
  CZqString* original = new CZqString(u"shared");
  CZqString copy(*original);
  EXPECT_TRUE(SameBody(*original, copy));
  EXPECT_EQ(2, CountOf(copy));
  delete original;  // the copy keeps the body alive
  EXPECT_EQ(1, CountOf(copy));
  EXPECT_EQ(u"shared", Text(copy));
}

TEST(CZqStringTest, AssignmentMovesOnlyTheBodyPointer) {
  CZqString a(u"a");
  CZqString b(u"b");
  CZqString alsoA(a);
  ASSERT_EQ(2, CountOf(a));

  const CZqString& self = a;
  a = self;  // self-assignment
  EXPECT_EQ(2, CountOf(a));
  alsoA = a;  // between two holders of one body
  EXPECT_EQ(2, CountOf(a));

  b = a;  // b lets go of its old body and joins a's
  EXPECT_TRUE(SameBody(a, b));
  EXPECT_EQ(3, CountOf(a));
  EXPECT_EQ(u"a", Text(b));
}

TEST(CZqStringTest, LastHolderFreesTheBody) {
  const long long before = testing_support::LiveBlocks();
  {
    CZqString a(u"gone soon");
    CZqString b = a;
    CZqString c;
    c = b;
    EXPECT_EQ(before + 2, testing_support::LiveBlocks());  // one body, one array
  }
  EXPECT_EQ(before, testing_support::LiveBlocks());
}

TEST(CZqStringTest, CharAtAcceptsOnlyIndicesInsideTheText) {
  const CZqString s(u"abc");
  EXPECT_EQ(u'a', s.charAt(0));
  EXPECT_EQ(u'c', s.charAt(2));
  for (int bad : {-1, 3, INT_MIN, INT_MAX}) {
    SCOPED_TRACE(bad);
    try {
      s.charAt(bad);
      ADD_FAILURE() << "no exception";
    } catch (const StringIndexOutOfBoundsException&) {
      ADD_FAILURE() << "charAt throws the plain index exception";
    } catch (const IndexOutOfBoundsException& e) {
      EXPECT_EQ(u"com.zarq.lang.Throwable", Text(e.getMessage()));  // no message
    }
  }
}

TEST(CZqStringTest, GetCharsChecksInOrderBeforeCopying) {
  struct Row {
    int srcBegin, srcEnd, dstBegin;
    bool arrayException;  // else a string index exception
    int value;            // what the exception was built from
  };
  // Each row breaks one rule, and every later rule too where possible, so
  // that the order of the checks shows.
  const Row rows[] = {
      {-1, 9, -1, false, -1},  // negative start first
      {3, 2, -1, false, -1},   // then start past end: built from end - start
      {0, 6, -1, false, 6},    // then end past the length (5)
      {0, 5, -1, true, -1},    // then a negative destination index
  };
  const CZqString hello(u"hello");
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message()
                 << row.srcBegin << ", " << row.srcEnd << ", " << row.dstBegin);
    char16_t dst[8] = {u'#', u'#', u'#', u'#', u'#', u'#', u'#', u'#'};
    try {
      hello.getChars(row.srcBegin, row.srcEnd, dst, row.dstBegin);
      ADD_FAILURE() << "no exception";
    } catch (const ArrayIndexOutOfBoundsException& e) {
      EXPECT_TRUE(row.arrayException);
      EXPECT_EQ(IndexText(row.value), Text(e.toString()));
    } catch (const StringIndexOutOfBoundsException& e) {
      EXPECT_FALSE(row.arrayException);
      EXPECT_EQ(IndexText(row.value), Text(e.toString()));
    }
    EXPECT_EQ(std::u16string(8, u'#'), std::u16string(dst, 8)) << "copied before failing";
  }
}

TEST(CZqStringTest, GetCharsCopiesTheRangeOnly) {
  const CZqString hello(u"hello");
  char16_t dst[4] = {u'#', u'#', u'#', u'#'};
  hello.getChars(1, 3, dst, 1);
  EXPECT_EQ(u"#el#", std::u16string(dst, 4));
  hello.getChars(2, 2, dst, 0);  // empty range: nothing copied, nothing thrown
  EXPECT_EQ(u"#el#", std::u16string(dst, 4));
}

TEST(CZqStringTest, CStrWritesTerminatorPastWhatHoldersRead) {
  const CZqString full(u"abc");  // length 3, capacity 4
  CZqString sharer(full);
  const char16_t* p = full.c_str();
  EXPECT_EQ(p, full.Ptr());
  EXPECT_EQ(u"abc", std::u16string(p));
  EXPECT_EQ(u"abc", Text(sharer));
  EXPECT_EQ(3, sharer.length());
}

TEST(CZqStringTest, RefusesNullTextAndNegativeCounts) {
  const char16_t* null = nullptr;
  try {
    CZqString s(null);
    ADD_FAILURE() << "no exception";
  } catch (const NullPointerException& e) {
    EXPECT_EQ(u"CZqString(const char16_t*): null text", Text(e.getMessage()));
  }
  EXPECT_THROW(CZqString(null, 0), NullPointerException);
  EXPECT_THROW(CZqString(null, 0, 0), NullPointerException);
  try {
    CZqString s(u"abc", -2);
    ADD_FAILURE() << "no exception";
  } catch (const StringIndexOutOfBoundsException& e) {
    EXPECT_EQ(IndexText(-2), Text(e.toString()));
  }
  try {
    CZqString s(u"abc", -1, 2);
    ADD_FAILURE() << "no exception";
  } catch (const StringIndexOutOfBoundsException& e) {
    EXPECT_EQ(IndexText(-1), Text(e.toString()));
  }
}

TEST(CZqStringTest, ACountTooLargeForAnyBodyIsOutOfMemory) {
  // INT_MAX units need INT_MAX + 1 of capacity, which does not fit.
  EXPECT_THROW(CZqString(u"x", INT_MAX), OutOfMemoryError);
}

// Growth, observed on a body directly.
class CZqStringBodyTest : public ::testing::Test {
 protected:
  // A body of capacity 4 holding "abc", held for the test.
  SPtr<CZqStringBody> MakeAbc() {
    SPtr<CZqStringBody> body(CZqStringBody::Create(4));
    body->Append(u"abc", 3);
    return body;
  }
};

TEST_F(CZqStringBodyTest, CreateStartsEmptyAndUncounted) {
  CZqStringBody* body = CZqStringBody::Create(7);
  ASSERT_NE(nullptr, body);
  EXPECT_EQ(0, body->RefCount());
  EXPECT_EQ(0, body->Length());
  EXPECT_EQ(7, body->Capacity());
  SPtr<CZqStringBody> holder(body);
  EXPECT_EQ(1, body->RefCount());
}

TEST_F(CZqStringBodyTest, GrowsToNeedPlusSixteen) {
  SPtr<CZqStringBody> body = MakeAbc();
  body->MakeRoom(1);  // fits: no growth
  EXPECT_EQ(4, body->Capacity());
  body->MakeRoom(5);  // 3 + 5 + 16
  EXPECT_EQ(24, body->Capacity());
  EXPECT_EQ(u"abc", std::u16string(body->Ptr(), 3));
  body->MakeRoom(0);
  body->MakeRoom(-5);
  EXPECT_EQ(24, body->Capacity());
}

TEST_F(CZqStringBodyTest, EnsureCapacityIsExactAndNeverShrinks) {
  SPtr<CZqStringBody> body = MakeAbc();
  body->EnsureCapacity(3);
  EXPECT_EQ(4, body->Capacity());
  body->EnsureCapacity(100);
  EXPECT_EQ(100, body->Capacity());
}

TEST_F(CZqStringBodyTest, CloneKeepsCapacityNotLength) {
  SPtr<CZqStringBody> body = MakeAbc();
  body->EnsureCapacity(50);
  SPtr<CZqStringBody> copy(CZqStringBody::Clone(*body));
  EXPECT_EQ(50, copy->Capacity());
  EXPECT_EQ(3, copy->Length());
  EXPECT_NE(body->Ptr(), copy->Ptr());
  EXPECT_EQ(u"abc", std::u16string(copy->Ptr(), 3));
}

TEST_F(CZqStringBodyTest, ImpossibleSizesAreOutOfMemoryAndChangeNothing) {
  SPtr<CZqStringBody> body = MakeAbc();
  EXPECT_THROW(body->MakeRoom(INT_MAX), OutOfMemoryError);  // 3 + INT_MAX + 16
  EXPECT_EQ(4, body->Capacity());
  EXPECT_EQ(u"abc", std::u16string(body->Ptr(), 3));
  EXPECT_EQ(nullptr, CZqStringBody::Create(-1));
  EXPECT_EQ(nullptr, CZqStringBody::AllocUnits(-1));
}

TEST_F(CZqStringBodyTest, ManySmallAppendsKeepExactCapacities) {
  SPtr<CZqStringBody> body(CZqStringBody::Create(0));
  int expected = 0;
  for (int i = 0; i < 1000; ++i) {
    if (body->Length() == expected)
      expected = body->Length() + 1 + 16;
    body->Append(static_cast<char16_t>(u'a' + i % 26));
    ASSERT_EQ(expected, body->Capacity());
  }
  EXPECT_EQ(u'l', body->CharAt(999));
}

// Every allocation place of construction and growth: OutOfMemoryError,
// nothing leaked, nothing changed.
TEST(CZqStringOutOfMemoryTest, ConstructorsFailCleanly) {
  const CZqString a(u"ab");
  const CZqString b(u"cd");
  EXPECT_EQ(2, SweepAllocationFailures([] { CZqString s; }));
  EXPECT_EQ(2, SweepAllocationFailures([] { CZqString s(u"text"); }));
  EXPECT_EQ(2, SweepAllocationFailures([] { CZqString s(u"text", 2); }));
  EXPECT_EQ(2, SweepAllocationFailures([] { CZqString s(u"text", 1, 2); }));
  EXPECT_EQ(2, SweepAllocationFailures([&] { CZqString s(a, b); },
                                       [&] {
                                         EXPECT_EQ(u"ab", Text(a));
                                         EXPECT_EQ(1, CountOf(a));
                                       }));
}

TEST(CZqStringOutOfMemoryTest, GrowthFailureLeavesTheBodyAsItWas) {
  SPtr<CZqStringBody> body(CZqStringBody::Create(3));
  body->Append(u"abc", 3);
  const int points = SweepAllocationFailures([&] { body->MakeRoom(1); },
                                             [&] {
                                               EXPECT_EQ(3, body->Capacity());
                                               EXPECT_EQ(u"abc", std::u16string(body->Ptr(), 3));
                                             });
  EXPECT_EQ(1, points);
  EXPECT_EQ(20, body->Capacity());
}

TEST(CZqStringOutOfMemoryTest, CloneFailureLeavesTheSourceIntact) {
  SPtr<CZqStringBody> body(CZqStringBody::Create(8));
  body->Append(u"abc", 3);
  EXPECT_EQ(2, SweepAllocationFailures([&] { SPtr<CZqStringBody> c(CZqStringBody::Clone(*body)); },
                                       [&] { EXPECT_EQ(1, body->RefCount()); }));
}

// Read while the test program starts, before any test can have failed an
// allocation.
const bool gReserveHeldAtLoad = testing_support::ReservePeek::Held();

TEST(CZqStringOutOfMemoryTest, FirstFailureGivesBackTheReserveOnce) {
  EXPECT_TRUE(gReserveHeldAtLoad);
  // Some earlier test may already have used the reserve.
  const bool heldAtStart = testing_support::ReservePeek::Held();
  const long long raw = detail::testing::LiveBlocks();
  testing_support::NoMemory noMemory;
  EXPECT_THROW(CZqString(u"x"), OutOfMemoryError);
  EXPECT_FALSE(testing_support::ReservePeek::Held());
  EXPECT_EQ(raw - (heldAtStart ? 1 : 0), detail::testing::LiveBlocks());
  EXPECT_THROW(CZqString(u"y"), OutOfMemoryError);  // nothing more to give
  EXPECT_EQ(raw - (heldAtStart ? 1 : 0), detail::testing::LiveBlocks());
}

//===-- Comparison, hashing and search ------------------------------------===//

CZqString Str(const std::u16string& units) {
  return CZqString(units.data(), static_cast<int>(units.size()));
}

TEST(CZqStringCompareTest, UnitDifferenceThenMinusOneOrOne) {
  struct Row {
    std::u16string a, b;
    int expected;
  };
  const Row rows[] = {
      {u"abc", u"abd", -1}, {u"a", u"z", -25}, {u"abc", u"ab", 1},       {u"ab", u"abc", -1},
      {u"a", u"abc", -1},   {u"", u"", 0},     {u"\xFFFF", u"A", 65470}, {u"same", u"same", 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::PrintToString(Str(row.a)) + " vs " +
                 ::testing::PrintToString(Str(row.b)));
    EXPECT_EQ(row.expected, Str(row.a).compareTo(Str(row.b)));
    EXPECT_EQ(row.expected == 0, Str(row.a).equals(Str(row.b)));
  }
}

TEST(CZqStringCompareTest, FindsTheFirstDifferenceAtAnyPosition) {
  // Lengths around the widths the scans work in; the difference is a high
  // unit against a low one, so a signed compare would get the sign wrong.
  for (int n : {1, 7, 8, 9, 31, 32, 33, 64, 100}) {
    const std::u16string base(n, u'q');
    EXPECT_EQ(0, Str(base).compareTo(Str(base)));
    EXPECT_EQ(1, Str(base + u'x').compareTo(Str(base)));
    for (int at = 0; at < n; ++at) {
      std::u16string high = base, low = base;
      high[at] = 0x8000;
      low[at] = 0x0001;
      ASSERT_EQ(0x7FFF, Str(high).compareTo(Str(low))) << n << " " << at;
      ASSERT_EQ(-0x7FFF, Str(low + u"zz").compareTo(Str(high))) << n << " " << at;
    }
  }
}

TEST(CZqStringCompareTest, IgnoringCaseFoldsToLowerCaseOnly) {
  EXPECT_EQ(0, CZqString(u"ABC").compareToIgnoreCase(CZqString(u"abc")));
  EXPECT_TRUE(CZqString(u"mIxEd CaSe").equalsIgnoreCase(CZqString(u"MiXeD cAsE")));
  EXPECT_EQ(-1, CZqString(u"A").compareToIgnoreCase(CZqString(u"b")));
  // 'A' folds to 'a' (0x61), which is above '_' (0x5F); folding to upper
  // case would give 'A' (0x41) and the other sign.
  EXPECT_EQ(2, CZqString(u"A").compareToIgnoreCase(CZqString(u"_")));
  EXPECT_EQ(1, CZqString(u"ABc").compareToIgnoreCase(CZqString(u"ab")));
  EXPECT_FALSE(CZqString(u"ab").equalsIgnoreCase(CZqString(u"abc")));
}

TEST(CZqStringCompareTest, HashIsTheWrappingPolynomialOf31) {
  EXPECT_EQ(0, CZqString(u"").hashCode());
  EXPECT_EQ(97, CZqString(u"a").hashCode());
  EXPECT_EQ(3105, CZqString(u"ab").hashCode());
  std::u16string units;
  unsigned expected = 0;
  for (int n = 0; n <= 200; ++n) {
    ASSERT_EQ(static_cast<int>(expected), Str(units).hashCode()) << "length " << n;
    const char16_t next = static_cast<char16_t>(0xFFFF - n * 331);  // high units, unsigned
    units += next;
    expected = expected * 31u + next;
  }
}

// The forms that take an index, with the other forms checked where they pass
// the index the spec'd way.
TEST(CZqStringSearchTest, UnitSearchClampsItsStart) {
  struct Row {
    bool backward;
    int from;
    int expected;
  };
  const Row rows[] = {{false, 0, 1},  {false, 2, 3},      {false, -5, 1},
                      {false, 4, -1}, {false, 10, -1},    {false, INT_MAX, -1},
                      {true, 3, 3},   {true, 2, 1},       {true, 100, 3},
                      {true, -1, -1}, {true, INT_MAX, 3}, {true, INT_MIN, -1}};
  const CZqString s(u"abcb");
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << (row.backward ? "lastIndexOf " : "indexOf ") << row.from);
    EXPECT_EQ(row.expected,
              row.backward ? s.lastIndexOf(u'b', row.from) : s.indexOf(u'b', row.from));
    const CZqString b(u"b");
    EXPECT_EQ(row.expected, row.backward ? s.lastIndexOf(b, row.from) : s.indexOf(b, row.from));
  }
  EXPECT_EQ(1, s.indexOf(u'b'));
  EXPECT_EQ(3, s.lastIndexOf(u'b'));
  EXPECT_EQ(-1, s.indexOf(u'z'));
}

TEST(CZqStringSearchTest, CodePointsAreSearchedAsTheirUnits) {
  const CZqString s(u"ab\U0001F600c\U0001F600");  // pairs at 2 and 5
  EXPECT_EQ(2, s.indexOf(0x1F600));
  EXPECT_EQ(5, s.lastIndexOf(0x1F600));
  EXPECT_EQ(5, s.indexOf(0x1F600, 3));
  EXPECT_EQ(2, s.lastIndexOf(0x1F600, 4));
  EXPECT_EQ(3, s.indexOf(0xDE00));  // a lone surrogate is one unit like any other
  EXPECT_EQ(-1, s.indexOf(0x1F601));
  for (int bad : {0x110000, -1, INT_MIN, INT_MAX}) {
    EXPECT_EQ(-1, s.indexOf(bad)) << bad;
    EXPECT_EQ(-1, s.lastIndexOf(bad)) << bad;
  }
  char16_t units[2];
  EXPECT_EQ(1, CZqStringBody::EncodeCodePoint(0x10FFFF, units));
  EXPECT_EQ(u"\xDBFF\xDFFF", std::u16string(units, 2));
  EXPECT_EQ(0, CZqStringBody::EncodeCodePoint(0xFFFF, units));
  EXPECT_EQ(-1, CZqStringBody::EncodeCodePoint(0x110000, units));
}

TEST(CZqStringSearchTest, EmptyNeedleIsFoundWhereTheStartFits) {
  const CZqString abc(u"abc");
  const CZqString empty(u"");
  EXPECT_EQ(0, abc.indexOf(empty));
  EXPECT_EQ(3, abc.indexOf(empty, 3));
  EXPECT_EQ(-1, abc.indexOf(empty, 4));
  EXPECT_EQ(0, abc.indexOf(empty, -2));
  EXPECT_EQ(3, abc.lastIndexOf(empty));
  EXPECT_EQ(3, abc.lastIndexOf(empty, 10));
  EXPECT_EQ(-1, abc.lastIndexOf(empty, -1));
  EXPECT_EQ(-1, abc.indexOf(CZqString(u"abcd")));
  EXPECT_EQ(-1, abc.lastIndexOf(CZqString(u"abcd")));
}

// Every needle length the scans treat differently, planted at every place
// in texts around the scan widths, against std::u16string's find/rfind.
TEST(CZqStringSearchTest, AgreesWithAPlainScanEverywhere) {
  const std::u16string needles[] = {u"\xD800", u"xy", u"x\xD800y", u"xyxyxyxz",
                                    u"xxxxxxxxxxxxxxxxxxy"};
  for (const std::u16string& needle : needles) {
    for (int n = 0; n <= 72; ++n) {
      for (int at = -1; at + static_cast<int>(needle.size()) <= n; ++at) {
        // Near misses of the needle everywhere, the needle itself at `at`.
        std::u16string text(n, u'x');
        for (int i = 0; i < n; ++i)
          text[i] = needle[i % needle.size()] == u'y' ? u'z' : needle[i % needle.size()];
        if (at >= 0)
          text.replace(at, needle.size(), needle);
        const CZqString s = Str(text);
        const CZqString k = Str(needle);
        for (int from : {0, 1, 9, n / 2, n}) {
          const auto f = text.find(needle, from);
          const auto b = text.rfind(needle, from);
          ASSERT_EQ(f == std::u16string::npos ? -1 : static_cast<int>(f), s.indexOf(k, from))
              << n << " " << at << " " << from;
          ASSERT_EQ(b == std::u16string::npos ? -1 : static_cast<int>(b), s.lastIndexOf(k, from))
              << n << " " << at << " " << from;
        }
      }
    }
  }
}

TEST(CZqStringSearchTest, StartsWithAndEndsWith) {
  const CZqString hello(u"hello");
  const CZqString empty(u"");
  for (int from = 0; from <= 5; ++from)
    EXPECT_TRUE(hello.startsWith(empty, from)) << from;
  EXPECT_FALSE(hello.startsWith(empty, -1));
  EXPECT_FALSE(hello.startsWith(empty, 6));
  EXPECT_FALSE(hello.startsWith(CZqString(u"lo"), INT_MAX));
  EXPECT_TRUE(hello.startsWith(CZqString(u"he")));
  EXPECT_TRUE(hello.startsWith(CZqString(u"llo"), 2));
  EXPECT_FALSE(hello.startsWith(CZqString(u"llo!"), 2));
  EXPECT_TRUE(hello.endsWith(empty));
  EXPECT_TRUE(hello.endsWith(CZqString(u"llo")));
  EXPECT_TRUE(hello.endsWith(hello));
  EXPECT_FALSE(hello.endsWith(CZqString(u"hhello")));
  EXPECT_FALSE(hello.endsWith(CZqString(u"hell")));
}

//===-- Derived strings ---------------------------------------------------===//

TEST(CZqStringDerivedTest, SubstringChecksInOrderAndAlwaysCopies) {
  struct Row {
    int begin, end;        // end kNoEnd: the one-argument form
    const char16_t* text;  // null: an exception built from `value`
    int value;
  };
  constexpr int kNoEnd = INT_MIN;
  const Row rows[] = {
      {1, kNoEnd, u"ello", 0}, {5, kNoEnd, u"", 0},       {0, kNoEnd, u"hello", 0},
      {6, kNoEnd, nullptr, 6}, {-1, kNoEnd, nullptr, -1}, {1, 3, u"el", 0},
      {3, 1, nullptr, -2},     {0, 6, nullptr, 6},        {-1, 9, nullptr, -1},
      {2, 2, u"", 0},
  };
  const CZqString hello(u"hello");
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.begin << ", " << row.end);
    try {
      const CZqString part =
          row.end == kNoEnd ? hello.substring(row.begin) : hello.substring(row.begin, row.end);
      ASSERT_NE(nullptr, row.text) << "no exception";
      EXPECT_EQ(row.text, Text(part));
      EXPECT_EQ(part.length() + 1, CapacityOf(part));
      EXPECT_FALSE(SameBody(part, hello));
    } catch (const StringIndexOutOfBoundsException& e) {
      EXPECT_EQ(nullptr, row.text);
      EXPECT_EQ(IndexText(row.value), Text(e.toString()));
    }
  }
}

TEST(CZqStringDerivedTest, SubSequenceIsAHeapStringTheCallerReleases) {
  const CZqString hello(u"hello");
  const long long before = testing_support::LiveBlocks();
  CharSequence* part = hello.subSequence(1, 3);
  EXPECT_EQ(2, part->length());
  EXPECT_EQ(u'e', part->charAt(0));
  part->Release();
  EXPECT_THROW(hello.subSequence(3, 1), StringIndexOutOfBoundsException);
  EXPECT_EQ(before, testing_support::LiveBlocks());
  EXPECT_EQ(u"hello", Text(hello));
}

TEST(CZqStringDerivedTest, SharesTheSourceBodyExactlyWhereTheRulesSay) {
  const CZqString hello(u"hello");
  const CZqString empty(u"");
  const CZqString ab(u"ab");
  const CZqString twelve(12);  // capacity 20: clones show the source's capacity
  const CZqString spaced(u"a b");
  const CZqString control(
      u"\x01"
      u"a\x01");
  struct Row {
    const char* name;
    CZqString result;
    const CZqString* source;  // the body the result shares, or null
    std::u16string text;
    int capacity;  // of a new body
  };
  const Row rows[] = {
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
      {"trim all", CZqString(u"   ").trim(), nullptr, u"", 4},
      {"trim empty", empty.trim(), &empty, u"", 0},
      {"trim control", control.trim(), &control,
       u"\x01"
       u"a\x01",
       0},
      {"toString", hello.toString(), &hello, u"hello", 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.text, Text(row.result));
    if (row.source != nullptr) {
      EXPECT_TRUE(SameBody(*row.source, row.result));
    } else {
      EXPECT_EQ(row.capacity, CapacityOf(row.result));
    }
  }
  EXPECT_FALSE(SameBody(ab, empty.concat(ab)));
  const int count = CountOf(hello);
  const CZqString same = hello.toString();
  EXPECT_EQ(count + 1, CountOf(hello));
}

// Case mapping is towlower / towupper of the C locale in force at the call.
class CZqStringCaseTest : public ::testing::Test {
 protected:
  void SetUp() override { mSaved = std::setlocale(LC_CTYPE, nullptr); }
  void TearDown() override { std::setlocale(LC_CTYPE, mSaved.c_str()); }

  // Every unit once, then runs where ASCII and other units share a block.
  static void ExpectEveryUnitMappedAsTheLocaleSays() {
    std::u16string units(65536, u'\0');
    for (int u = 0; u < 65536; ++u)
      units[u] = static_cast<char16_t>(u);
    for (int i = 0; i < 300; ++i)
      units += static_cast<char16_t>(i % 3 == 0 ? 0xC0 + i % 31 : u'A' + i % 58);
    const std::u16string lower = Text(Str(units).toLowerCase());
    const std::u16string upper = Text(Str(units).toUpperCase());
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

//===-- Text forms of primitive values ------------------------------------===//

template <class T>
std::u16string StreamText(T value) {
  std::ostringstream stream;
  stream << value;
  const std::string text = stream.str();
  return std::u16string(text.begin(), text.end());
}

TEST(CZqStringNumberTest, EachTypeHasItsTextAndCapacity) {
  struct Row {
    CZqString s;
    std::u16string text;
    int capacity;
  };
  const Row rows[] = {
      {CZqString(true), u"true", 5},
      {CZqString(false), u"false", 5},
      {CZqString(u'A'), u"A", 1},
      {CZqString(u'\0'), std::u16string(1, u'\0'), 1},
      {CZqString('A'), u"65", 20},
      {CZqString(static_cast<char>(-1)), u"-1", 20},
      {CZqString(static_cast<short>(-32768)), u"-32768", 20},
      {CZqString(INT_MIN), u"-2147483648", 20},
      {CZqString(0), u"0", 20},
      {CZqString(LONG_MAX), u"9223372036854775807", 20},
      {CZqString(LLONG_MIN), u"-9223372036854775808", 20},
      {CZqString(0.1), u"0.1", 20},
      {CZqString(1.0 / 3.0), u"0.333333", 20},
      {CZqString(2.5), u"2.5", 20},
      {CZqString(100.0), u"100", 20},
      {CZqString(123456.0), u"123456", 20},
      {CZqString(1234567.0), u"1.23457e+06", 20},
      {CZqString(0.0001), u"0.0001", 20},
      {CZqString(0.00001), u"1e-05", 20},
      {CZqString(-0.0), u"-0", 20},
      {CZqString(-1.5e-300), u"-1.5e-300", 20},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::PrintToString(row.s));
    EXPECT_EQ(row.text, Text(row.s));
    EXPECT_EQ(row.capacity, CapacityOf(row.s));
  }
}

TEST(CZqStringNumberTest, TextIsWhatADefaultStreamWrites) {
  long long power = 1;
  for (int digits = 1; digits <= 19; ++digits, power = digits < 19 ? power * 10 : power) {
    for (long long v : {power - 1, power, power + 1, -power, 1 - power, -power - 1})
      ASSERT_EQ(StreamText(v), Text(CZqString(v))) << v;
  }
  EXPECT_EQ(StreamText(LLONG_MAX), Text(CZqString(LLONG_MAX)));
  const double doubles[] = {HUGE_VAL, -HUGE_VAL, std::nan(""), 5e-324,  1.7976931348623157e308,
                            999999.5, 9999995.0, 0.000099999,  123.456, -7.0};
  for (double v : doubles)
    EXPECT_EQ(StreamText(v), Text(CZqString(v))) << v;
}

// A global C++ locale with digit grouping and a decimal comma: the numbers
// must still be exactly what a default stream writes, also past 20 units.
struct GroupingPunct : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
  char do_thousands_sep() const override { return ','; }
  std::string do_grouping() const override { return "\3"; }
};

TEST(CZqStringNumberTest, FollowsTheGlobalLocaleOfTheStream) {
  const std::locale saved =
      std::locale::global(std::locale(std::locale::classic(), new GroupingPunct));
  struct Restore {
    std::locale locale;
    ~Restore() { std::locale::global(locale); }
  } restore{saved};

  EXPECT_EQ(u"1,234,567", Text(CZqString(1234567)));
  const CZqString longest(LLONG_MIN);
  EXPECT_EQ(u"-9,223,372,036,854,775,808", Text(longest));
  EXPECT_LE(longest.length(), CapacityOf(longest));
  for (int v : {0, -999, 1000, INT_MIN})
    EXPECT_EQ(StreamText(v), Text(CZqString(v))) << v;
  EXPECT_EQ(StreamText(static_cast<short>(-12345)), Text(CZqString(static_cast<short>(-12345))));
  EXPECT_EQ(StreamText(9876543210L), Text(CZqString(9876543210L)));
  for (double v : {1234.5, 0.25, 1234567.0, -98765.4})
    EXPECT_EQ(StreamText(v), Text(CZqString(v))) << v;
}

//===-- Out of memory while deriving --------------------------------------===//

TEST(CZqStringOutOfMemoryTest, DerivingLeavesTheSourceIntact) {
  const CZqString source(u"  Hello World  ");
  const CZqString bang(u"!");
  const CZqString empty(u"");
  const auto intact = [&] {
    EXPECT_EQ(u"  Hello World  ", Text(source));
    EXPECT_EQ(1, CountOf(source));
  };
  const std::function<void()> twoAllocations[] = {
      [&] { source.toLowerCase(); },
      [&] { source.toUpperCase(); },
      [&] { source.replace(u'o', u'0'); },
      [&] { source.trim(); },
      [&] { source.substring(2); },
      [&] { source.substring(2, 7); },
      [&] { source.concat(bang); },
      [&] { empty + source; },
      [] { CZqString(42); },
      [] { CZqString(1.5); },
      [] { CZqString(true); },
      [] { CZqString(u'x'); },
  };
  for (const auto& op : twoAllocations)
    EXPECT_EQ(2, SweepAllocationFailures(op, intact));
  // The heap object first, then the body and its array.
  EXPECT_EQ(3, SweepAllocationFailures([&] { source.subSequence(1, 3)->Release(); }, intact));
}
}  // namespace
}  // namespace zqlang

//===-- Standard library interop ------------------------------------------===//

#include <algorithm>
#include <iomanip>
#include <sstream>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "lang/IllegalStateException.h"

namespace zqlang {
namespace {

using testing_support::CapacityOf;
using testing_support::SweepAllocationFailures;
using testing_support::Text;

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

TEST(CZqStringInteropTest, ConstructsFromStandardTextWithRoomForOneMore) {
  const std::u16string_view withZero(u"a\0b", 3);
  const CZqString fromView(withZero);
  EXPECT_EQ(withZero, Text(fromView));
  EXPECT_EQ(4, CapacityOf(fromView));
  const CZqString fromString(std::u16string(u"hello"));
  EXPECT_EQ(u"hello", Text(fromString));
  EXPECT_EQ(6, CapacityOf(fromString));
  const CZqString fromNothing{std::u16string_view()};  // null data, size 0
  EXPECT_EQ(0, fromNothing.length());
  EXPECT_EQ(1, CapacityOf(fromNothing));
  EXPECT_EQ(2, SweepAllocationFailures([&] { CZqString s(withZero); }));
}

TEST(CZqStringInteropTest, ViewsAndIteratesOverTheBodyWithoutCopying) {
  const CZqString s(u"banana");
  const std::u16string_view view = s;
  EXPECT_EQ(s.Ptr(), view.data());
  EXPECT_EQ(6u, view.size());
  EXPECT_EQ(s.Ptr(), s.begin());
  EXPECT_EQ(s.Ptr() + 6, s.end());
  EXPECT_EQ(3, std::count(s.begin(), s.end(), u'a'));
  EXPECT_EQ(u"anana", view.substr(1));
  std::u16string seen;
  for (char16_t unit : s)
    seen += unit;
  EXPECT_EQ(u"banana", seen);
  const CZqString empty(u"");
  EXPECT_EQ(empty.begin(), empty.end());
}

TEST(CZqStringInteropTest, ComparisonOperatorsFollowCompareTo) {
  struct Row {
    const char16_t* a;
    const char16_t* b;
    int sign;
  };
  const Row rows[] = {
      {u"abc", u"abc", 0}, {u"abc", u"abd", -1}, {u"ab", u"abc", -1},
      {u"", u"a", -1},     {u"\uFFFF", u"a", 1}, {u"b", u"abc", 1},
  };
  for (const Row& row : rows) {
    const CZqString a(row.a);
    const CZqString b(row.b);
    SCOPED_TRACE(::testing::PrintToString(a) + " vs " + ::testing::PrintToString(b));
    EXPECT_EQ(row.sign == 0, a == b);
    EXPECT_EQ(row.sign != 0, a != b);
    EXPECT_EQ(row.sign < 0, a < b);
    EXPECT_EQ(row.sign <= 0, a <= b);
    EXPECT_EQ(row.sign > 0, a > b);
    EXPECT_EQ(row.sign >= 0, a >= b);
  }
  std::vector<CZqString> words = {CZqString(u"pear"), CZqString(u"apple"), CZqString(u"fig")};
  std::sort(words.begin(), words.end());
  EXPECT_EQ(u"apple", Text(words[0]));
  EXPECT_EQ(u"pear", Text(words[2]));
}

TEST(CZqStringInteropTest, HashAgreesWithEqualsAndWithTheView) {
  const CZqString a(u"key");
  const CZqString b = CZqString(u"k") + CZqString(u"ey");  // another body
  EXPECT_EQ(std::hash<CZqString>()(a), std::hash<CZqString>()(b));
  EXPECT_EQ(std::hash<std::u16string_view>()(u"key"), std::hash<CZqString>()(a));
  std::unordered_map<CZqString, int> counts;
  ++counts[a];
  ++counts[b];
  ++counts[CZqString(u"other")];
  EXPECT_EQ(2u, counts.size());
  EXPECT_EQ(2, counts.at(CZqString(u"key")));
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

TEST(CZqStringInteropTest, ExceptionsPrintTheirOwnText) {
  std::ostringstream out;
  out << IllegalStateException(CZqString(u"closed"));
  EXPECT_EQ("com.zarq.lang.IllegalStateException:\nclosed\n", out.str());
  const StringIndexOutOfBoundsException stringIndex(5);
  const ArrayIndexOutOfBoundsException arrayIndex(-1);
  const Throwable& asThrowable = stringIndex;
  out.str("");
  out << stringIndex << '|' << arrayIndex << '|' << asThrowable;
  EXPECT_EQ(
      "CZqString index out of bounds: 5|CZqString index out of bounds: -1|"
      "com.zarq.lang.StringIndexOutOfBoundsException:\n",
      out.str());
}

}  // namespace
}  // namespace zqlang
