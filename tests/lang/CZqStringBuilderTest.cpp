//===- tests/lang/CZqStringBuilderTest.cpp - builder and copy-on-write ----===//
#include <cstdint>
#include <random>
#include <sstream>
#include <type_traits>
#include <utility>

#include "lang/detail/UnitReverse.h"
#include "support/TestSupport.h"

namespace zqlang {
namespace {

template <class T, class = void>
struct CanAppend : std::false_type {};
template <class T>
struct CanAppend<T,
                 std::void_t<decltype(std::declval<CZqStringBuilder&>().append(std::declval<T>()))>>
    : std::true_type {};
static_assert(!CanAppend<const char*>::value, "narrow text is refused, not turned into bool");
static_assert(CanAppend<const char16_t*>::value && CanAppend<std::int64_t>::value,
              "wide text and int64_t (a long here) are taken");
static_assert(!std::is_convertible<CZqString, CZqStringBuilder>::value, "no silent conversion");

const CZqString kHello(u"hello");
const char16_t* const kNull = nullptr;

TEST(CZqStringBuilderTest, ChainsThroughBothInterfaces) {
  CZqStringBuilder b;
  EXPECT_EQ(&b, &b.append(u'a').append(1).append(u"b"));
  Appendable& sink = b;
  Appendable& again = sink.append(u'c').append(kHello).append(kHello, 0, 1);
  EXPECT_EQ(&sink, &again);
  EXPECT_EQ(u"a1bchelloh", Text(b.toString()));
}

// Reading and trimming keep the body shared with a string taken. The
// needle's body is searched with the string's own search: only the defaults
// the builder supplies are at stake here.
TEST(CZqStringBuilderTest, ReadingNeverCopiesTheBody) {
  CZqStringBuilder b(CZqString(u"hello"));
  const CZqString taken = b.toString();
  char16_t dst[4] = {u'#', u'#', u'#', u'#'};
  b.getChars(1, 3, dst, 1);
  EXPECT_EQ(u"#el#", std::u16string(dst, 4));
  EXPECT_EQ(u'o', b.charAt(4));
  EXPECT_EQ(2, b.indexOf(u"l"));
  EXPECT_EQ(3, b.lastIndexOf(u"l"));
  EXPECT_EQ(5, b.lastIndexOf(u"", 100));
  EXPECT_EQ(-1, b.lastIndexOf(u"l", -1));
  EXPECT_EQ(u"el", Text(b.substring(1, 3)));
  EXPECT_EQ(u"", Text(b.substring(5)));
  b.subSequence(1, 3)->Release();
  const char16_t* const units = taken.Ptr();
  b.trimToSize();  // on the shared body itself: the string reads the same units
  EXPECT_EQ(units, taken.Ptr());
  EXPECT_TRUE(SameBody(b.toString(), taken));
  EXPECT_EQ(5, CapacityOf(taken));
}

// The failures the fuzz model does not reach: null text, the destination of
// getChars, and room past INT_MAX (the need plus 16 does not fit an int; no
// unit is read before). The model checks every other message, in its order.
// Each runs on a full builder, owned and shared with a string taken.
TEST(CZqStringBuilderTest, FailuresThrowTheirMessageAndKeepTheText) {
  char16_t sink[9];
  const struct {
    const char* what;
    std::function<void(CZqStringBuilder&)> op;
    std::u16string thrown;
    bool unshares;  // the sharing ends before the failure
  } rows[] = {
      {"append(null)", [](auto& b) { b.append(kNull); },
       u"NullPointerException: CZqStringBuilder::append(const char16_t*): null text", false},
      {"insert(0, null, 0, 1)", [](auto& b) { b.insert(0, kNull, 0, 1); },
       u"NullPointerException: CZqStringBuilder::insert(int, const char16_t*, int, int): null text",
       false},
      {"getChars", [&](auto& b) { b.getChars(0, 7, sink, -1); },
       u"StringIndexOutOfBoundsException #7", false},
      {"getChars", [&](auto& b) { b.getChars(0, 1, sink, -1); },
       u"ArrayIndexOutOfBoundsException #-1", false},
      {"append(units, INT_MAX)", [](auto& b) { b.append(u"xy", 0, INT_MAX); }, u"OutOfMemoryError",
       true},
  };
  for (const bool shared : {false, true}) {
    for (const auto& row : rows) {
      SCOPED_TRACE(std::string(row.what) + (shared ? ", shared" : ", owned"));
      CZqStringBuilder b(6);
      b.append(u"abcdef");
      const CZqString taken = shared ? b.toString() : CZqString(u"abcdef");
      EXPECT_EQ(row.thrown, Failure([&] { row.op(b); }));
      EXPECT_EQ(u"abcdef", b.view());
      EXPECT_EQ(6, b.capacity());
      EXPECT_EQ(u"abcdef", Text(taken));
      EXPECT_EQ(shared && !row.unshares, SameBody(b.toString(), taken));
    }
  }
}

// A builder made from a string keeps the string's capacity (the fuzz model,
// which checks every growth rule, has no such constructor).
TEST(CZqStringBuilderGrowthTest, MadeFromAStringKeepsItsCapacity) {
  CZqStringBuilder b(CZqString(u"abc"));  // capacity 4
  b.append(u'd');
  EXPECT_EQ(4, b.capacity());
  b.insert(0, u"xy");
  EXPECT_EQ(22, b.capacity());  // the need plus 16

  // A string's body holds its text alone: the builder that takes it over
  // gives it room for its capacity first, in one allocation that may fail,
  // and reads its own units from where they were.
  const int points = SweepAllocationFailures([] {
    CZqStringBuilder n(CZqString(-123456789));  // capacity 20; the string is gone at once
    n.append(n.begin(), 0, n.length());
    EXPECT_EQ(u"-123456789-123456789", n.view());
    EXPECT_EQ(20, n.capacity());
  });
  EXPECT_EQ(2, points);  // the string's body, then the room the builder gives it
}

// Builder copies hold bodies of their own (the fuzz model checks their texts
// and capacities after assignment): trimming one of them can neither move the
// units under a view of the other nor change its capacity.
TEST(CZqStringBuilderSharingTest, CopiesHoldTheirOwnText) {
  CZqStringBuilder k;
  k.append(u"kept");
  const CZqStringBuilder& self = k;
  k = self;
  const CZqStringBuilder l = k;
  EXPECT_FALSE(SameBody(k.toString(), l.toString()));
  const std::u16string_view view = l.view();
  k.trimToSize();
  EXPECT_EQ(4, k.capacity());
  EXPECT_EQ(16, l.capacity());
  EXPECT_EQ(u"kept", view);  // still l's units, not freed memory
}

// A builder made from a string shares that string's body, and so with the
// builder the string came from: trimToSize on one lowers the capacity both
// report (the units stay where they are). With atomic counts a shared body
// is left alone, since its other holders may be on other threads.
TEST(CZqStringBuilderSharingTest, BuildersOfOneStringShareItsBody) {
  CZqStringBuilder b1;
  b1.append(u"abc");
  CZqStringBuilder b2(b1.toString());
  const std::u16string_view view = b1.view();
  b2.trimToSize();
#if defined(ZARQLANG_ATOMIC_COUNTS)
  EXPECT_EQ(16, b1.capacity());
#else
  EXPECT_EQ(3, b1.capacity());
#endif
  EXPECT_EQ(b1.capacity(), b2.capacity());
  EXPECT_EQ(view.data(), b2.view().data());
  EXPECT_EQ(u"abc", view);
}

// A sequence taken from a builder or a string is a string on the heap that
// the caller releases: from a builder with exactly the units taken.
TEST(CZqStringBuilderSharingTest, HeapBuildersAndSequencesAreReleased) {
  const long long before = LiveBlocks();
  CharSequence* builder = new CZqStringBuilder(CZqString(u"hello"));
  const std::pair<CharSequence*, int> parts[] = {{builder->subSequence(1, 3), 2},
                                                 {CZqString(u"hello").subSequence(1, 3), 3}};
  for (const auto& [part, capacity] : parts) {
    EXPECT_EQ(u"el", Text(*static_cast<CZqString*>(part)));
    EXPECT_EQ(capacity, CapacityOf(*static_cast<CZqString*>(part)));
    part->Release();
  }
  builder->Release();
  EXPECT_EQ(before, LiveBlocks());
}

TEST(CZqStringBuilderEditTest, FastReverseMatchesTheScalarWalk) {
  // The library's reverse, which takes the fast path where the build has one
  // (this file is compiled without it), against the scalar walk. Texts of
  // every length around the 8- and 32-unit steps, dense in surrogates (one
  // unit in 1.5) or sparse (one in 40, so that whole blocks have none), with
  // surrogates at the ends of steps and blocks too.
  std::mt19937 random(7);
  const char16_t surrogates[] = {0xD800, 0xDBFF, 0xDC00, 0xDFFF};
  for (unsigned spacing : {3u, 80u}) {
    for (int length = 0; length < 300; ++length) {
      std::u16string text(static_cast<size_t>(length), u'a');
      for (char16_t& unit : text)
        if (random() % spacing < 2)
          unit = surrogates[random() % std::size(surrogates)];
      std::u16string scalar(text.size(), u'#');
      detail::ReverseUnitsScalar(text.data(), length, scalar.data());
      const long long before = LiveBlocks();
      {
        CZqStringBuilder b;
        b.append(text.data(), 0, length);
        const long long built = LiveBlocks();
        ASSERT_EQ(scalar, b.reverse().view()) << "length " << length << ", spacing " << spacing;
        if (length == 0) {
          ASSERT_EQ(built, LiveBlocks()) << "an empty reverse allocated";
        }
      }
      ASSERT_EQ(before, LiveBlocks()) << "a block left behind";
    }
  }
}

// Numbers are written as a default stream writes them under the global
// locale, also when that text is longer than the 20 units reserved: room for
// 20 is made first, then for the need plus 16.
TEST(CZqStringBuilderLocaleTest, GroupedNumbersFitWhateverTheirLength) {
  const std::u16string grouped = u"-9,2,2,3,3,7,2,0,3,6,8,5,4,7,7,5,8,0,8";
  const GroupingLocale grouping;
  CZqStringBuilder b(16);
  b.append(u"0123456789").append(LLONG_MIN);
  EXPECT_EQ(64, b.capacity());  // 46 for the 20 units reserved, then 10 + 38 + 16
  b.insert(1, LLONG_MIN);
  EXPECT_EQ(u"0" + grouped + u"123456789" + grouped, b.view());
}

TEST(CZqStringBuilderInteropTest, ViewsIteratesPrintsAndSpeaksUtf8) {
  CZqStringBuilder b;
  b.append(u"caf").appendUtf8("\xC3\xA9 \xF0\x9F\x98\x80\xFF");  // é, U+1F600, a bad byte
  EXPECT_EQ(u"caf\u00E9 \U0001F600\uFFFD", b.view());
  EXPECT_EQ(std::u16string(b.begin(), b.end()), std::u16string(b.view()));
  EXPECT_EQ("caf\xC3\xA9 \xF0\x9F\x98\x80\xEF\xBF\xBD", b.toUtf8());
  std::ostringstream os;
  os << b;
  EXPECT_EQ(b.toUtf8(), os.str());
}

}  // namespace
}  // namespace zqlang
