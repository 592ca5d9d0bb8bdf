//===- tests/support/TestSupport.cpp - helpers shared by the test suites --===//
#include "support/TestSupport.h"

namespace zqlang {
namespace testing_support {

std::u16string Text(const CZqString& s) { return std::u16string(s.Ptr(), s.length()); }

long long LiveBlocks() { return detail::testing::LiveBlocks() - (ReservePeek::Held() ? 1 : 0); }

int SweepAllocationFailures(const std::function<void()>& op,
                            const std::function<void()>& unchanged) {
  for (int k = 1;; ++k) {
    const long long before = LiveBlocks();
    detail::testing::FailAllocation(k);
    bool failed = false;
    try {
      op();
    } catch (const OutOfMemoryError&) {
      failed = true;
    }
    detail::testing::FailAllocation(0);
    if (!failed)
      return k - 1;
    EXPECT_EQ(before, LiveBlocks()) << "blocks leaked when allocation " << k << " failed";
    unchanged();
    if (::testing::Test::HasFailure())
      return k;
  }
}

}  // namespace testing_support
}  // namespace zqlang
