//===- tests/lang/CZqDynamicArrayTest.cpp - base of growable arrays -------===//
#include "support/TestSupport.h"

namespace zqlang {
namespace {

// What a check throws without the class every one must have, or "" when it
// passes.
std::u16string Message(const std::function<void()>& check) {
  const std::u16string thrown = Failure(check), head = u"ArrayIndexOutOfBoundsException: ";
  return thrown == u"no exception" ? u"" : thrown.substr(thrown.find(head) == 0 ? head.size() : 0);
}

TEST(CZqDynamicArrayTest, GrowsExactlyWithAFloorOf16) {
  Ints a;
  a.Construct(10);
  a.EnsureCapacity(10);
  EXPECT_EQ(10, a.Capacity());
  a.EnsureCapacity(11);
  EXPECT_EQ(16, a.Capacity());
  a.EnsureCapacity(40);
  EXPECT_EQ(40, a.Capacity());

  Ints full;
  full.Construct(10);
  full.Fill(10);
  full.EnsureAtLeastFree(1);  // 10 + 1 + 16
  EXPECT_EQ(27, full.Capacity());
  EXPECT_EQ(99, full.Data()[9]) << "elements survive growth";

  Ints partly;
  partly.Construct(10);
  partly.Fill(8);
  partly.EnsureAtLeastFree(2);
  EXPECT_EQ(10, partly.Capacity());
  partly.EnsureAtLeastFree(3);
  EXPECT_EQ(27, partly.Capacity());
}

TEST(CZqDynamicArrayTest, ChecksIndicesWithTheirMessagesInOrder) {
  Ints a;
  a.Fill(3);
  EXPECT_EQ(u"", Message([&] { a.VerifyIndexForGetting(2); }));
  EXPECT_EQ(u"Index: 3, Length: 3", Message([&] { a.VerifyIndexForGetting(3); }));
  EXPECT_EQ(u"", Message([&] { a.VerifyIndexForAdding(3); }));
  EXPECT_EQ(u"Index: 4, Length: 3", Message([&] { a.VerifyIndexForAdding(4); }));
  EXPECT_EQ(u"Index: -1, Length: 3", Message([&] { a.VerifyIndexForAdding(-1); }));

  Ints four;
  four.Fill(4);
  EXPECT_EQ(u"", Message([&] { four.VerifyRange(1, 4); }));
  EXPECT_EQ(u"", Message([&] { four.VerifyRange(2, 2); }));
  EXPECT_EQ(u"Index: 4, Length: 4", Message([&] { four.VerifyRange(4, 4); }));
  EXPECT_EQ(u"toIndex: 5, Length: 4", Message([&] { four.VerifyRange(2, 5); }));
  EXPECT_EQ(u"fromIndex: 3 is greater than toIndex: 2", Message([&] { four.VerifyRange(3, 2); }));

  Ints empty;
  EXPECT_EQ(u"Index: 0, Length: 0", Message([&] { empty.VerifyRange(0, 0); }));
}

TEST(CZqDynamicArrayTest, TrimKeepsTheElements) {
  Ints a;
  a.Fill(5);
  a.EnsureCapacity(16);
  a.trimToSize();
  a.trimToSize();
  EXPECT_EQ(5, a.Capacity());
  EXPECT_EQ(44, a.Data()[4]);
  Ints empty;
  empty.Construct(8);
  empty.trimToSize();
  EXPECT_EQ(0, empty.Capacity());
  EXPECT_TRUE(empty.isEmpty() && !a.isEmpty());
}

// Byte counts that overflow are no memory, without an allocation tried (the
// failure points of each member are in the allocation sweep).
TEST(CZqDynamicArrayTest, OverflowingSizesAreNoMemory) {
  Ints a;
  a.Fill(3);
  Ints huge(1 << 20);
  EXPECT_FALSE(huge.EnsureCapacityNoThrow(INT_MAX));
  EXPECT_THROW(a.EnsureAtLeastFree(INT_MAX), OutOfMemoryError);
  EXPECT_FALSE(a.Construct(-1));
  EXPECT_EQ(22, a.Data()[2]);
}

}  // namespace
}  // namespace zqlang
