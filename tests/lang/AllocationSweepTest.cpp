//===- tests/lang/AllocationSweepTest.cpp - every allocating operation ----===//
//
// Every public operation that allocates, run with the k-th allocation failing
// for k = 1, 2, ... until it succeeds: each failure throws OutOfMemoryError,
// leaks no block and leaves text, length, capacity and sharing as they were.
// Each row states its failure points, so a row that stops (or starts)
// allocating fails. "std" rows are swept again with the standard library's
// allocations failing too; builder rows run owned and shared (a string taken
// with toString()). The last table's operations fall back instead of throwing.
//===----------------------------------------------------------------------===//
#include <iostream>
#include <limits>

#include "support/TestSupport.h"

namespace zqlang {
namespace {

// Sweeps each row with sweep(row), which returns the failure points met,
// checks them against the row's count and prints the table's total.
template <class R, class SweepRow>
void SweepTable(const std::string& table, const std::vector<R>& rows, int R::*expected,
                SweepRow sweep) {
  int points = 0;
  for (const R& row : rows) {
    SCOPED_TRACE(table + ": " + row.what);
    const int got = sweep(row);
    EXPECT_EQ(row.*expected, got) << "failure points of " << row.what;
    points += got;
  }
  std::cout << "[  sweep   ] " << table << ": " << rows.size() << " operations, " << points
            << " failure points checked\n";
}

struct Row {
  const char* what;
  int points;                           // failure points the row has
  std::function<void()> op;             // a fallback's checks the result it got
  bool std = false;                     // the standard library's allocations fail too
  bool grouped = false;                 // under a global locale that groups digits
  std::function<void()> check = [] {};  // a fallback's, after each failure point
};

// Sweeps op, under the grouping locale when grouped, and returns its failure
// points in the library's own layer. With routeStd op is swept again from the
// state fresh() makes, with the standard library's allocations failing too;
// their number depends on the standard library, so it only has to be larger.
int Sweep(const std::function<void()>& op, bool routeStd, bool grouped,
          const std::function<void()>& fresh, const std::function<void()>& unchanged) {
  std::optional<GroupingLocale> locale;
  if (grouped)
    locale.emplace();
  const int points = SweepAllocationFailures(op, unchanged);
  if (routeStd) {
    fresh();  // the first sweep ended with a successful run
    const int routed = SweepAllocationFailures(
        [&] {
          const RouteStdAllocations route;
          op();
        },
        unchanged);
    EXPECT_GT(routed, points) << "no allocation of the standard library failed";
  }
  return points;
}

TEST(AllocationSweepTest, StringOperations) {
  const CZqString source(u"  Mixed Case Text, \u00c9t\u00e9  ");
  const std::u16string sourceText = Text(source);
  const CZqString sharer = source;                    // shares the body; must never change
  const CZqStringBuilder whole(CZqString(u"Mixed"));  // sequences that are not strings
  const CZqStringBuilder tail(CZqString(u"-tail"));
  const CZqString other(u"-tail");
  const CZqString empty(u"");
  // Upper-casing and folding grow it (sharp s); it is already lower case.
  const CZqString sharps(u"stra\u00DFe \u00DF\u00DF\u00DF\u00DF");
  const CZqString upper(u"STRASSE SSSSSSSS");
  const char16_t units[] = u"abcdef";
  const std::vector<Row> rows = {
      {"CZqString()", 0, [] { CZqString s; }},
      {"CZqString(text)", 1, [&] { CZqString s(units); }},
      {"CZqString(text, count)", 1, [&] { CZqString s(units, 3); }},
      {"CZqString(text, start, count)", 1, [&] { CZqString s(units, 1, 3); }},
      {"CZqString(a, b)", 1, [&] { CZqString s(source, other); }},
      {"CZqString(bool)", 1, [] { CZqString s(true); }},
      {"CZqString(char16_t)", 1, [] { CZqString s(u'x'); }},
      {"CZqString(char)", 1, [] { CZqString s('x'); }},
      {"CZqString(short)", 1, [] { CZqString s(static_cast<short>(-12)); }},
      {"CZqString(int)", 1, [] { CZqString s(-123456); }},
      {"CZqString(long)", 1, [] { CZqString s(-1234567L); }},
      {"CZqString(long long)", 1, [] { CZqString s(-123456789012LL); }},
      {"CZqString(double)", 1, [] { CZqString s(2.5); }},
      {"CZqString(u16string_view)", 1, [] { CZqString s(std::u16string_view(u"view")); }},
      {"CZqString(u16string)", 1, [] { CZqString s(std::u16string(u"string")); }},
      {"fromUtf8", 1, [] { (void)CZqString::fromUtf8("caf\xc3\xa9 \xf0\x9f\x98\x80"); }},
      {"substring(begin)", 1, [&] { (void)source.substring(2); }},
      {"substring(begin, end)", 1, [&] { (void)source.substring(2, 7); }},
      {"subSequence", 2, [&] { source.subSequence(2, 7)->Release(); }},
      {"concat", 1, [&] { (void)source.concat(other); }},
      {"operator+", 1, [&] { CZqString s = source + other; }},
      {"empty + operator+", 1, [&] { CZqString s = empty + source; }},
      {"replace(unit, unit)", 1, [&] { (void)source.replace(u'e', u'E'); }},
      {"toLowerCase", 1, [&] { (void)source.toLowerCase(); }},
      {"toUpperCase", 1, [&] { (void)source.toUpperCase(); }},
      {"trim", 1, [&] { (void)source.trim(); }},
      {"toUtf8 (std)", 0, [&] { (void)source.toUtf8(); }, true},
      {"CZqString(long long), grouped (std)", 2, [] { CZqString s(1234567890123456789LL); }, true,
       true},
      {"CZqString(double), infinity", 1,
       [] { CZqString s(std::numeric_limits<double>::infinity()); }},
      // Unicode rules: the body, its array, then the growth; nothing when the
      // text maps to itself, and nothing to compare ignoring case.
      {"toUpperCase(kUnicode), growing", 2,
       [&] { (void)sharps.toUpperCase(ZqCaseRules::kUnicode); }},
      {"foldCase, growing", 2, [&] { (void)sharps.foldCase(); }},
      {"toUpperCase(kTurkic), growing", 2, [&] { (void)sharps.toUpperCase(ZqCaseRules::kTurkic); }},
      {"toLowerCase(kTurkic), unchanged", 0,
       [&] { (void)sharps.toLowerCase(ZqCaseRules::kTurkic); }},
      {"toUpperCase(kUnicode), unchanged", 0,
       [&] { (void)upper.toUpperCase(ZqCaseRules::kUnicode); }},
      {"equalsIgnoreCase", 0,
       [&] { EXPECT_TRUE(sharps.equalsIgnoreCase(upper, ZqCaseRules::kUnicode)); }},
      {"compareToIgnoreCase", 0,
       [&] { EXPECT_EQ(0, sharps.compareToIgnoreCase(upper, ZqCaseRules::kLithuanian)); }},
      // Java's members: one body for a result; a sequence is read first.
      {"repeat", 1, [&] { (void)other.repeat(3); }},
      {"strip", 1, [&] { (void)source.strip(); }},
      {"replace(view, view)", 1, [&] { (void)source.replace(u"e", u"EE"); }},
      {"replace(string, string)", 1, [&] { (void)source.replace(source, other); }},
      {"replace(sequence, sequence)", 3, [&] { (void)source.replace(whole, tail); }},
      {"replace, not found", 0, [&] { (void)source.replace(u"#", u"-"); }},
      {"join", 1,
       [&] {
         (void)CZqString::join(u", ", {other, source, empty});
       }},
  };
  SweepTable("strings", rows, &Row::points, [&](const Row& row) {
    return Sweep(
        row.op, row.std, row.grouped, [] {},
        [&] {
          EXPECT_EQ(sourceText, Text(source));
          EXPECT_EQ(sourceText, Text(sharer));
          EXPECT_TRUE(SameBody(source, sharer));
          EXPECT_EQ(2, CountOf(source));  // no failed result holds it
          EXPECT_EQ(u"-tail", Text(other));
          EXPECT_EQ(u"stra\u00DFe \u00DF\u00DF\u00DF\u00DF", Text(sharps));
        });
  });
}

struct BuilderRow {
  const char* what;
  int owned;   // failure points with the body owned
  int shared;  // with the body shared: the copy adds its own
  std::function<void(CZqStringBuilder&)> op;
  bool std = false;
  bool grouped = false;
};

TEST(AllocationSweepTest, BuilderOperations) {
  // Full to capacity and longer than a new builder's room: every append and
  // insert grows into a larger array.
  const std::u16string start = u"0123456789abcdefghij" + std::u16string(60, u'.');
  const CZqString piece(u"PIECE");
  const CharSequence& seq = piece;
  const char16_t units[] = u"units";
  const std::vector<BuilderRow> rows = {
      {"append(bool)", 1, 2, [](auto& b) { b.append(false); }},
      {"append(char16_t)", 1, 2, [](auto& b) { b.append(u'!'); }},
      {"append(str, begin, count)", 1, 2, [&](auto& b) { b.append(units, 1, 3); }},
      {"append(text)", 1, 2, [&](auto& b) { b.append(units); }},
      {"repeat(text, count)", 1, 2, [&](auto& b) { b.repeat(units, 3); }},
      {"append(CZqString)", 1, 2, [&](auto& b) { b.append(piece); }},
      {"append(CharSequence)", 2, 3, [&](auto& b) { b.append(seq); }},
      {"append(itself)", 2, 3, [](auto& b) { b.append(static_cast<const CharSequence&>(b)); }},
      {"append(CharSequence, start, end)", 2, 3, [&](auto& b) { b.append(seq, 1, 4); }},
      {"append(int)", 1, 2, [](auto& b) { b.append(-42); }},
      {"append(long)", 1, 2, [](auto& b) { b.append(-42L); }},
      {"append(long long)", 1, 2, [](auto& b) { b.append(-4200000000LL); }},
      {"append(double)", 1, 2, [](auto& b) { b.append(0.125); }},
      {"insert(bool)", 1, 2, [](auto& b) { b.insert(3, true); }},
      {"insert(char16_t)", 1, 2, [](auto& b) { b.insert(3, u'!'); }},
      {"insert(str, begin, count)", 1, 2, [&](auto& b) { b.insert(3, units, 1, 3); }},
      {"insert(text)", 1, 2, [&](auto& b) { b.insert(3, units); }},
      {"insert(CZqString)", 1, 2, [&](auto& b) { b.insert(3, piece); }},
      {"insert(CharSequence)", 2, 3, [&](auto& b) { b.insert(3, seq); }},
      {"insert(itself)", 2, 3, [](auto& b) { b.insert(0, static_cast<const CharSequence&>(b)); }},
      {"insert(CharSequence, start, end)", 2, 3, [&](auto& b) { b.insert(3, seq, 1, 4); }},
      {"insert(int)", 1, 2, [](auto& b) { b.insert(3, -42); }},
      {"insert(long)", 1, 2, [](auto& b) { b.insert(3, -42L); }},
      {"insert(long long)", 1, 2, [](auto& b) { b.insert(3, -4200000000LL); }},
      {"insert(double)", 1, 2, [](auto& b) { b.insert(3, 1e300); }},
      {"replace (grows)", 1, 2, [&](auto& b) { b.replace(2, 4, piece); }},
      {"replace (shrinks)", 0, 1, [&](auto& b) { b.replace(2, 12, piece); }},
      {"replace (its own string)", 2, 2, [](auto& b) { b.replace(0, 1, b.toString()); }},
      {"deleteRange", 0, 1, [](auto& b) { b.deleteRange(2, 5); }},
      {"deleteCharAt", 0, 1, [](auto& b) { b.deleteCharAt(2); }},
      {"reverse", 1, 2, [](auto& b) { b.reverse(); }},
      {"setCharAt", 0, 1, [](auto& b) { b.setCharAt(0, u'#'); }},
      {"setLength (grows)", 1, 2, [](auto& b) { b.setLength(100); }},
      {"setLength (shrinks)", 0, 1, [](auto& b) { b.setLength(5); }},
      {"ensureCapacity", 1, 2, [](auto& b) { b.ensureCapacity(100); }},
      {"substring(start)", 1, 1, [](auto& b) { (void)b.substring(3); }},
      {"substring(start, end)", 1, 1, [](auto& b) { (void)b.substring(3, 9); }},
      {"subSequence", 2, 2, [](auto& b) { b.subSequence(3, 9)->Release(); }},
      {"toString then change", 1, 1, [](auto& b) { b.setCharAt(0, b.toString().charAt(1)); }},
      {"CZqStringBuilder()", 1, 1, [](auto&) { CZqStringBuilder b; }},
      {"CZqStringBuilder(int)", 1, 1, [](auto&) { CZqStringBuilder b(5); }},
      {"toString", 0, 0, [](auto& b) { b.toString(); }},
      {"appendUtf8", 1, 2, [](auto& b) { b.appendUtf8("x\xC3\xA9"); }},
      {"copy then change", 2, 2, [](auto& b) { CZqStringBuilder(b).append(u'x'); }},
      {"append(long long), grouped (std)", 2, 3, [](auto& b) { b.append(LLONG_MIN); }, true, true},
      {"insert(long long), grouped (std)", 2, 3, [](auto& b) { b.insert(3, LLONG_MIN); }, true,
       true},
      {"append(double), infinity", 1, 2,
       [](auto& b) { b.append(-std::numeric_limits<double>::infinity()); }},
      {"toUtf8 (std)", 0, 0, [](auto& b) { (void)b.toUtf8(); }, true},
  };
  for (const bool shared : {false, true}) {
    const auto sweep = [&](const BuilderRow& row) {
      std::optional<CZqStringBuilder> holder;
      CZqString taken;
      const auto fresh = [&] {
        holder.emplace(static_cast<int>(start.size()));
        holder->append(start.c_str());
        taken = shared ? holder->toString() : CZqString();
      };
      fresh();
      CZqStringBuilder& b = *holder;
      const int capacity = b.capacity();
      const auto op = [&] {
        try {
          row.op(b);
        } catch (const OutOfMemoryError&) {
          EXPECT_EQ(start, b.view());
          EXPECT_EQ(capacity, b.capacity());
          // A failure after the copy was made leaves the builder with its own
          // unchanged copy; share again so that every point starts alike.
          if (shared)
            holder.emplace(taken);
          throw;
        }
      };
      return Sweep(op, row.std, row.grouped, fresh, [&] {
        EXPECT_EQ(start, b.view());
        EXPECT_EQ(capacity, b.capacity());
        if (shared) {
          EXPECT_EQ(start, Text(taken));
          EXPECT_EQ(capacity, CapacityOf(taken));
        }
      });
    };
    SweepTable(shared ? "builder, shared" : "builder, owned", rows,
               shared ? &BuilderRow::shared : &BuilderRow::owned, sweep);
  }
}

TEST(AllocationSweepTest, IntegerOperations) {
  const CZqString hex(u"-7FfF");
  const CZqString bad(u"12X");
  // Without memory to keep it the exception has no message.
  const auto expectMessage = [](const CZqString& text, int radix, const std::u16string& message) {
    try {
      CZqInteger::parseInt(text, radix);
      ADD_FAILURE() << "no NumberFormatException";
    } catch (const NumberFormatException& e) {
      const std::u16string got = Text(e.getMessage());
      EXPECT_TRUE(got == u"com.zarq.lang.Throwable" || got == u"Integer::parseInt: " + message);
    }
  };
  const std::vector<Row> rows = {
      {"valueOf(int)", 1, [] { CZqInteger::valueOf(7); }},
      {"valueOf(text, radix)", 1, [&] { CZqInteger::valueOf(hex, 16); }},
      {"CZqInteger(text)", 1, [] { CZqInteger i(CZqString(u"-12")); }},
      {"toString()", 1, [] { CZqInteger(-99).toString(); }},
      {"toString(value, radix)", 1, [] { (void)CZqInteger::toString(-123456, 36); }},
      {"toHexString", 1, [] { (void)CZqInteger::toHexString(-1); }},
      {"toOctalString", 1, [] { (void)CZqInteger::toOctalString(-1); }},
      {"toBinaryString", 1, [] { (void)CZqInteger::toBinaryString(-1); }},
      {"parseInt (radix 16)", 0, [&] { CZqInteger::parseInt(hex, 16); }},
      {"parseInt message: bad digit", 1,
       [&] { expectMessage(bad, 10, u"Bad base-10 number: \"12x\""); }},
      {"parseInt message: radix", 1, [&] { expectMessage(bad, 99, u"Unsupported radix: 99"); }},
      {"parseInt message: range", 2,
       [&] {
         expectMessage(CZqString(u"80000000"), 16, u"Number out of range: 16 number: \"80000000\"");
       }},
  };
  SweepTable("integers", rows, &Row::points, [&](const Row& row) {
    return SweepAllocationFailures(row.op, [&] {
      EXPECT_EQ(u"-7FfF", Text(hex));
      EXPECT_EQ(u"12X", Text(bad));
    });
  });
}

TEST(AllocationSweepTest, DynamicArrayGrowth) {
  Ints a;
  ASSERT_TRUE(a.Construct(4));
  a.Fill(4);
  const auto unchanged = [&] {
    EXPECT_EQ(4, a.size());
    EXPECT_EQ(4, a.Capacity());
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(i * 11, a.Data()[i]);
  };
  // The NoThrow members report failure with false; turned into the error so
  // the same sweep checks them.
  const auto orThrow = [](bool ok) {
    if (!ok)
      OutOfMemoryError::ThrowInstance();
  };
  const std::vector<Row> rows = {
      {"Construct", 1,
       [&] {
         Ints fresh;
         const bool built = fresh.Construct(8);
         EXPECT_EQ(built ? 8 : 0, fresh.Capacity());
         orThrow(built);
       }},
      {"EnsureCapacity", 1, [&] { a.EnsureCapacity(40); }},
      {"EnsureAtLeastFree", 1, [&] { a.EnsureAtLeastFree(1); }},
      {"EnsureCapacityNoThrow", 1, [&] { orThrow(a.EnsureCapacityNoThrow(40)); }},
  };
  SweepTable("dynamic array", rows, &Row::points, [&](const Row& row) {
    const int got = SweepAllocationFailures(row.op, unchanged);
    a.trimToSize();  // the next row starts from four elements again
    unchanged();
    return got;
  });
}

TEST(AllocationSweepTest, FallbacksInsteadOfExceptions) {
  const CZqString message(u"disk full");
  const CZqString inner(u"inner");
  const std::u16string full = u"com.zarq.lang.IllegalStateException:\nmessage\n";
  const IllegalStateException withMessage(CZqString(u"message"));
  CZqStringBuilder builder;
  builder.append(u"abc");
  Ints ints;
  ints.Construct(8);
  ints.Push(5);
  const std::vector<Row> rows = {
      // The message is kept, or there is none.
      {"message", 1,
       [&] {
         const IllegalStateException e(message);
         const std::u16string got = Text(e.getMessage());
         EXPECT_TRUE(got == u"disk full" || got == u"com.zarq.lang.Throwable") << "message";
       },
       false, false, [&] { EXPECT_EQ(u"disk full", Text(message)); }},
      // The whole text once it can be built, the full name alone until then.
      {"toString", 3,
       [&] {
         const std::u16string got = Text(withMessage.toString());
         if (got != full) {
           EXPECT_EQ(u"com.zarq.lang.IllegalStateException", got) << "fallback";
         }
       }},
      // A cause's text becomes the message; without memory there is none.
      {"cause as message", 8,
       [&] {
         const RuntimeException outer(new IllegalArgumentException(inner));
         EXPECT_EQ(0u, Text(outer.toString()).find(u"com.zarq.lang.RuntimeException"));
       }},
      // Trimming only lowers the capacity: it never allocates.
      {"builder trimToSize", 0, [&] { builder.trimToSize(); }},
      {"dynamic array trimToSize", 1, [&] { ints.trimToSize(); }, false, false,
       [&] {
         EXPECT_EQ(8, ints.Capacity());
         EXPECT_EQ(5, ints.Data()[0]);
       }},
  };
  SweepTable("fallbacks", rows, &Row::points,
             [](const Row& row) { return SweepAllocationFailures(row.op, row.check, true); });
  EXPECT_EQ(full, Text(withMessage.toString()));
  EXPECT_EQ(3, builder.capacity());
  EXPECT_EQ(1, ints.Capacity());
}

}  // namespace
}  // namespace zqlang
