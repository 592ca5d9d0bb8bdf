//===- tests/lang/CZqStringTest.cpp - storage, sharing and reading --------===//
#include "lang/CZqString.h"

#include <gtest/gtest.h>

#include <climits>
#include <type_traits>

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
    SCOPED_TRACE(::testing::Message() << row.srcBegin << ", " << row.srcEnd << ", " << row.dstBegin);
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
  EXPECT_EQ(2, SweepAllocationFailures([&] { CZqString s(a, b); }, [&] {
    EXPECT_EQ(u"ab", Text(a));
    EXPECT_EQ(1, CountOf(a));
  }));
}

TEST(CZqStringOutOfMemoryTest, GrowthFailureLeavesTheBodyAsItWas) {
  SPtr<CZqStringBody> body(CZqStringBody::Create(3));
  body->Append(u"abc", 3);
  const int points = SweepAllocationFailures([&] { body->MakeRoom(1); }, [&] {
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
