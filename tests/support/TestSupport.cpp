//===- tests/support/TestSupport.cpp - helpers shared by the test suites --===//
#include "support/TestSupport.h"

#include <atomic>
#include <cstdlib>
#include <new>

#if __has_include(<valgrind/valgrind.h>)
#include <valgrind/valgrind.h>
#endif

namespace {
std::atomic<bool> gRouteStd{false};

// Under valgrind the patterns are matched by PCRE2's interpreter: the JIT's
// wide reads past the end of a subject read bytes that valgrind takes for
// undefined, though they never decide a match.
[[maybe_unused]] const bool gInterpreterUnderValgrind = [] {
#if defined(RUNNING_ON_VALGRIND)
  if (RUNNING_ON_VALGRIND)
    zqlang::detail::testing::UseRegexJit(false);
#endif
  return true;
}();
}  // namespace

// The program's operator new: plain malloc, unless a test routes it through
// the library's failure switch.
void* operator new(std::size_t bytes) {
  if (gRouteStd.load(std::memory_order_relaxed) && zqlang::detail::testing::TakeAllocation())
    throw std::bad_alloc();
  if (void* block = std::malloc(bytes == 0 ? 1 : bytes))
    return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace zqlang {
namespace testing_support {

RouteStdAllocations::RouteStdAllocations() { gRouteStd.store(true); }
RouteStdAllocations::~RouteStdAllocations() { gRouteStd.store(false); }

std::u16string Text(const CZqString& s) { return std::u16string(s.Ptr(), s.length()); }

std::u16string Failure(const std::function<void()>& op) {
  try {
    op();
  } catch (const Throwable& e) {
    const std::u16string fullName = Text(e.GetFullName());
    const std::u16string name = fullName.substr(fullName.rfind(u'.') + 1);
    std::u16string indexText;
    if (const auto* s = dynamic_cast<const StringIndexOutOfBoundsException*>(&e))
      indexText = Text(s->toString());
    if (const auto* a = dynamic_cast<const ArrayIndexOutOfBoundsException*>(&e))
      indexText = Text(a->toString());
    const std::u16string kIndexHead = u"CZqString index out of bounds: ";
    if (indexText.compare(0, kIndexHead.size(), kIndexHead) == 0)
      return name + u" #" + indexText.substr(kIndexHead.size());
    const std::u16string message = Text(e.getMessage());
    return message == u"com.zarq.lang.Throwable" ? name : name + u": " + message;
  }
  return u"no exception";
}

long long LiveBlocks() { return detail::testing::LiveBlocks() - (ReservePeek::Held() ? 1 : 0); }

int SweepAllocationFailures(const std::function<void()>& op, const std::function<void()>& unchanged,
                            bool fallsBack) {
  // A failure before this sweep must not cut it short: its count is checked.
  const bool failedBefore = ::testing::Test::HasFailure();
  for (int k = 1;; ++k) {
    const long long before = LiveBlocks();
    const long long start = detail::testing::AllocationCount();
    detail::testing::FailAllocation(k);
    bool threw = false;
    try {
      op();
    } catch (const OutOfMemoryError& e) {
      threw = true;
      if (fallsBack)
        ADD_FAILURE() << "threw " << e << " at allocation " << k;
    }
    detail::testing::FailAllocation(0);
    // A fallback returns normally: whether an allocation failed shows in the count.
    if (!(fallsBack ? detail::testing::AllocationCount() - start >= k : threw))
      return k - 1;
    EXPECT_EQ(before, LiveBlocks()) << "blocks leaked when allocation " << k << " failed";
    unchanged();
    if (!failedBefore && ::testing::Test::HasFailure())
      return fallsBack ? k - 1 : k;
  }
}

}  // namespace testing_support
}  // namespace zqlang
