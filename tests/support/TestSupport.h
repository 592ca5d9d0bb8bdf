//===- tests/support/TestSupport.h - helpers shared by the test suites ----===//
//
// Reading a string as std::u16string for comparisons, a peek at a string's
// body (its count and capacity are not part of the interface), and the
// allocation-failure helpers that every out-of-memory test uses.
//===----------------------------------------------------------------------===//
#ifndef ZQ_TESTS_SUPPORT_TESTSUPPORT_H
#define ZQ_TESTS_SUPPORT_TESTSUPPORT_H

#include <gtest/gtest.h>

#include <functional>
#include <locale>
#include <ostream>
#include <string>

#include "lang/CZqString.h"
#include "lang/OutOfMemoryError.h"
#include "lang/detail/Memory.h"

namespace zqlang {

namespace detail {
// Test-only view of a string's body.
struct StringAccess {
  static const CZqStringBody& Body(const CZqString& s) { return *s.mBody.Get(); }
};
}  // namespace detail

namespace testing_support {

// The units of s, for EXPECT_EQ against u"..." literals.
std::u16string Text(const CZqString& s);

inline const CZqStringBody& BodyOf(const CZqString& s) { return detail::StringAccess::Body(s); }
inline int CapacityOf(const CZqString& s) { return BodyOf(s).Capacity(); }
inline int CountOf(const CZqString& s) { return BodyOf(s).RefCount(); }
inline bool SameBody(const CZqString& a, const CZqString& b) { return &BodyOf(a) == &BodyOf(b); }

// Read access to the reserve of OutOfMemoryError.
struct ReservePeek : OutOfMemoryError {
  static bool Held() { return mMemorySaver.IsHeld(); }
};

// What op threw, in one comparable form: the class's short name, then
// "#<value>" for an index exception built from a value, else ": <message>"
// (nothing for an exception without message); "no exception" when none.
std::u16string Failure(const std::function<void()>& op);

// Blocks alive in the library's allocation layer, the reserve not counted
// (ThrowInstance gives it back once, which is not a change of the caller's).
long long LiveBlocks();

// Runs op with the k-th allocation failing, for k = 1, 2, ... until op
// completes. Each failing run must throw OutOfMemoryError, free every block
// it took and pass unchanged() (the caller's check that the objects are as
// before). Returns the number of failure points met; op is run once more,
// successfully, at the end.
int SweepAllocationFailures(
    const std::function<void()>& op, const std::function<void()>& unchanged = [] {});

// A global locale that groups every digit: number texts go through a stream
// and can be longer than the 20 units reserved for them.
class GroupingLocale {
 public:
  GroupingLocale()
      : mPrevious(std::locale::global(std::locale(std::locale::classic(), new Grouping))) {}
  ~GroupingLocale() { std::locale::global(mPrevious); }
  GroupingLocale(const GroupingLocale&) = delete;
  GroupingLocale& operator=(const GroupingLocale&) = delete;

 private:
  struct Grouping : std::numpunct<char> {
    char do_thousands_sep() const override { return ','; }
    std::string do_grouping() const override { return "\1"; }
  };
  std::locale mPrevious;
};

// While it lives, the standard library's operator new in this test program
// counts as an allocation of the library's layer, failing when the switch
// says so (std::bad_alloc): the sweep then reaches the library's paths
// through the standard library too (streams, std::string).
class RouteStdAllocations {
 public:
  RouteStdAllocations();
  ~RouteStdAllocations();
  RouteStdAllocations(const RouteStdAllocations&) = delete;
  RouteStdAllocations& operator=(const RouteStdAllocations&) = delete;
};

// Makes every allocation fail while it lives.
class NoMemory {
 public:
  NoMemory() { detail::testing::FailAllocation(1, true); }
  ~NoMemory() { detail::testing::FailAllocation(0); }
  NoMemory(const NoMemory&) = delete;
  NoMemory& operator=(const NoMemory&) = delete;
};

}  // namespace testing_support
}  // namespace zqlang

#endif  // ZQ_TESTS_SUPPORT_TESTSUPPORT_H
