//===- tests/support/TestSupport.cpp - helpers shared by the test suites --===//
#include "support/TestSupport.h"

#include "lang/ArrayIndexOutOfBoundsException.h"
#include "lang/StringIndexOutOfBoundsException.h"
#include "lang/Throwable.h"

namespace zqlang {
namespace testing_support {

std::u16string Text(const CZqString& s) { return std::u16string(s.Ptr(), s.length()); }

// What op threw, in one comparable form: the class's short name, then
// "#<value>" for an index exception built from a value, else ": <message>"
// (nothing for an exception without message).
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
