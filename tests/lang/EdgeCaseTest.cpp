//===- tests/lang/EdgeCaseTest.cpp - arguments at the edges ---------------===//
//
// Legal calls that are easy to get wrong inside: arguments that point into
// the object they are given to, holders that live inside what they release,
// sizes at the limits of an int, and the inputs the fuzzers found.
//===----------------------------------------------------------------------===//
#include <cstdlib>

#include "support/TestSupport.h"

namespace zqlang {
namespace {

TEST(AliasingTest, BuilderTakesUnitsFromItsOwnArray) {
  const std::u16string hundred = std::u16string(50, u'x') + std::u16string(50, u'y');
  const std::u16string terminated(u"abcdef\0", 7);
  const struct {
    const char* what;
    std::u16string text;
    std::function<void(CZqStringBuilder&)> op;
    std::u16string expected;
  } rows[] = {
      {"append all", u"abc", [](auto& b) { b.append(b.begin(), 0, b.length()); }, u"abcabc"},
      {"append 100 units", hundred, [](auto& b) { b.append(b.begin(), 0, 100); },
       hundred + hundred},
      {"append terminated", terminated, [](auto& b) { b.append(b.view().data() + 4); },
       terminated + u"ef"},
      {"insert over the point", u"abc", [](auto& b) { b.insert(1, b.begin(), 0, 3); }, u"aabcbc"},
      {"insert from after the point", u"abcdef", [](auto& b) { b.insert(0, b.begin(), 3, 2); },
       u"deabcdef"},
      {"insert straddling the point", u"abcdef", [](auto& b) { b.insert(2, b.begin(), 0, 4); },
       u"ababcdcdef"},
      {"insert terminated", terminated, [](auto& b) { b.insert(0, b.begin() + 3); },
       u"def" + terminated},
  };
  // Once with no room, so that growth moves the array under the pointer,
  // once with room to spare, once with a string sharing the body (the units
  // are the string's, which must not change) and once after that string was
  // dropped (the builder marked shared with nobody sharing).
  for (const std::string mode : {"full", "roomy", "shared", "shared once"}) {
    for (const auto& row : rows) {
      SCOPED_TRACE(std::string(row.what) + ", " + mode);
      CZqStringBuilder b(static_cast<int>(row.text.size()) + (mode == "roomy" ? 200 : 0));
      b.append(row.text.data(), 0, static_cast<int>(row.text.size()));
      std::optional<CZqString> taken;
      if (mode == "shared" || mode == "shared once")
        taken = b.toString();
      if (mode == "shared once")
        taken.reset();
      row.op(b);
      EXPECT_EQ(row.expected, b.view());
      EXPECT_EQ(row.text, taken ? Text(*taken) : row.text);
    }
  }
}

// A list node that frees itself at count 0 and holds its successor.
struct Node {
  explicit Node(int* alive) : alive(alive) { ++*alive; }
  ~Node() { --*alive; }
  void AddRef() { ++count; }
  void Release() {
    if (--count == 0)
      Free(this);
  }
  // Never inlined, so that the compiler does not follow the release of the
  // successors back into this frame and see a use after free.
  [[gnu::noinline]] static void Free(Node* node) { delete node; }
  int count = 0;
  int* alive;
  SPtr<Node> next;
};

TEST(HolderTest, AssignmentFromAHolderInsideTheReleasedObject) {
  int alive = 0;
  {
    SPtr<Node> head(new Node(&alive));
    head->next = new Node(&alive);
    head->next->next = new Node(&alive);
    Node* const second = head->next.Get();
    Node* const third = second->next.Get();

    head = head->next;  // the first node, and the holder read, go away
    EXPECT_EQ(second, head.Get());
    EXPECT_EQ(1, second->count);
    EXPECT_EQ(2, alive);

    head = std::move(head->next);
    EXPECT_EQ(third, head.Get());
    EXPECT_EQ(1, third->count);
    EXPECT_EQ(1, alive);

    const SPtr<Node> same = head;
    head = same;  // an equal pointer: no count changes
    const SPtr<Node>& itself = head;
    head = itself;  // through a reference: clang refuses a plain self-assignment
    EXPECT_EQ(2, third->count);
  }
  EXPECT_EQ(0, alive);
}

// The string's and the builder's getChars are the body's.
TEST(BoundsTest, EmptyRangeToANullDestinationTouchesNothing) {
  const CZqString s(u"abc");
  EXPECT_NO_THROW(s.getChars(1, 1, nullptr, 0));
  EXPECT_NO_THROW(s.getChars(3, 3, nullptr, 0));
  EXPECT_THROW(s.getChars(0, 1, nullptr, 0), NullPointerException);
}

// Every loop over the units must count up to INT_MAX without overflow. Needs
// 8 GB and seconds of page faults, so it runs only where the test command
// asks for it (ZARQLANG_HUGE_TESTS) and the heap can give that much.
TEST(BoundsTest, HugeReverseOfIntMaxUnits) {
  if (std::getenv("ZARQLANG_HUGE_TESTS") == nullptr)
    GTEST_SKIP() << "set ZARQLANG_HUGE_TESTS=1 to run";
  CZqStringBuilder b(0);
  try {
    b.setLength(INT_MAX);
    b.setCharAt(0, u'a');
    b.setCharAt(INT_MAX - 2, 0xD800);
    b.setCharAt(INT_MAX - 1, 0xDC00);
    b.reverse();
  } catch (const OutOfMemoryError&) {
    GTEST_SKIP() << "not enough memory for INT_MAX units";
  }
  EXPECT_EQ(0xD800, b.charAt(0));
  EXPECT_EQ(0xDC00, b.charAt(1));
  EXPECT_EQ(u'a', b.charAt(INT_MAX - 1));
}

// A reversed range whose ends lie far apart: end - start overflowed an int
// (undefined behaviour) before the reported value was computed in 32 bits
// with wrap-around.
TEST(FuzzRegressionTest, FarApartReversedRangeReportsTheWrappedDifference) {
  const CZqString s(u"abcdef");
  CZqStringBuilder b(s);
  char16_t buffer[8] = {};
  const struct {
    const char* what;
    std::function<void()> op;
    int reported;
  } rows[] = {
      {"builder append(CharSequence, start, end)", [&] { b.append(s, 1, INT_MIN); }, INT_MAX},
      {"builder subSequence", [&] { static_cast<void>(b.subSequence(2, INT_MIN)); }, INT_MAX - 1},
      {"string substring", [&] { static_cast<void>(s.substring(2, INT_MIN)); }, INT_MAX - 1},
      {"string subSequence", [&] { static_cast<void>(s.subSequence(3, INT_MIN)); }, INT_MAX - 2},
      {"getChars (the body's)", [&] { s.getChars(1, INT_MIN, buffer, 0); }, INT_MAX},
  };
  for (const auto& row : rows)
    EXPECT_EQ(u"StringIndexOutOfBoundsException #" + Text(CZqString(row.reported)), Failure(row.op))
        << row.what;
  EXPECT_EQ(u"abcdef", Text(b.toString()));
}

}  // namespace
}  // namespace zqlang
