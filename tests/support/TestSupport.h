//===- tests/support/TestSupport.h - what the test suites share -----------===//
//
// The one include of a test file: the library, GoogleTest and the standard
// headers most suites use; a string's units and body (count, capacity), the
// protected array members, the allocation-failure helpers and the locales.
//===----------------------------------------------------------------------===//
#ifndef ZQ_TESTS_SUPPORT_TESTSUPPORT_H
#define ZQ_TESTS_SUPPORT_TESTSUPPORT_H

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <locale>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ZarqLang.h"
#include "lang/detail/Memory.h"
#include "lang/detail/StringAccess.h"

namespace zqlang {

namespace testing_support {

// The units of s, for EXPECT_EQ against u"..." literals.
std::u16string Text(const CZqString& s);

inline const CZqStringBody& BodyOf(const CZqString& s) { return detail::StringAccess::Body(s); }
inline int CapacityOf(const CZqString& s) { return BodyOf(s).Capacity(); }
inline int CountOf(const CZqString& s) { return BodyOf(s).RefCount(); }
inline bool SameBody(const CZqString& a, const CZqString& b) { return &BodyOf(a) == &BodyOf(b); }

// Appends a code point's units (one, or a surrogate pair).
inline void AppendCodePoint(std::u16string& text, int codePoint) {
  if (codePoint > 0xFFFF)
    text += static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
  text += static_cast<char16_t>(codePoint > 0xFFFF ? 0xDC00 + (codePoint & 0x3FF) : codePoint);
}

// An array of ints that opens the protected members to the tests.
class Ints : public CZqDynamicArray {
 public:
  explicit Ints(int elementSize = sizeof(int)) : CZqDynamicArray(elementSize) {}
  using CZqDynamicArray::Construct;
  using CZqDynamicArray::EnsureAtLeastFree;
  using CZqDynamicArray::EnsureCapacity;
  using CZqDynamicArray::EnsureCapacityNoThrow;
  using CZqDynamicArray::VerifyIndexForAdding;
  using CZqDynamicArray::VerifyIndexForGetting;
  using CZqDynamicArray::VerifyRange;
  int Capacity() const { return mCapacity; }
  int* Data() const { return static_cast<int*>(mData); }
  void Push(int v) {
    EnsureAtLeastFree(1);
    Data()[mSize++] = v;
  }
  void Fill(int count) {  // 0, 11, 22, ... at exactly the capacity asked
    EnsureCapacity(count);
    for (mSize = 0; mSize < count; ++mSize)
      Data()[mSize] = mSize * 11;
  }
};

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
// successfully, at the end. With fallsBack op must instead return normally
// each time (a usable result in place of the exception).
int SweepAllocationFailures(
    const std::function<void()>& op, const std::function<void()>& unchanged = [] {},
    bool fallsBack = false);

// A global locale that groups every digit and writes a decimal comma: number
// texts go through a stream and can be longer than the 20 units reserved.
class GroupingLocale {
 public:
  GroupingLocale()
      : mPrevious(std::locale::global(std::locale(std::locale::classic(), new Grouping))) {}
  ~GroupingLocale() { std::locale::global(mPrevious); }
  GroupingLocale(const GroupingLocale&) = delete;
  GroupingLocale& operator=(const GroupingLocale&) = delete;

 private:
  struct Grouping : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
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

using namespace testing_support;  // NOLINT: the tests' own vocabulary

}  // namespace zqlang

#endif  // ZQ_TESTS_SUPPORT_TESTSUPPORT_H
