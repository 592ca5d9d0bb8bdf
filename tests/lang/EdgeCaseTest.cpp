//===- tests/lang/EdgeCaseTest.cpp - arguments at the edges ---------------===//
//
// Legal calls that are easy to get wrong inside: arguments that point into
// the object they are given to, holders that live inside what they release,
// sizes at the limits of an int, and the inputs the fuzzers found.
//===----------------------------------------------------------------------===//
#include <algorithm>
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

// The body's own members on every body a factory returns, compact ones (a
// string's, made with room for its text alone) included: each writing member
// makes its room before it writes (ASan sees a unit past the block), and
// leaves a body whose block holds the capacity it reports, which the filling
// SetLength(Capacity()) at the end of each row then writes.
TEST(BodyEdgeTest, EveryWriterOnEveryFactorysBody) {
  // A string's compact body of the text, capacity 9, made into another body.
  const auto from = [](const char16_t* text, auto derive) {
    const CZqString s(text);
    const SPtr<CZqStringBody> source(CZqStringBody::CreateCopy(s.Ptr(), s.length(), 9));
    return derive(*source);
  };
  using Body = const CZqStringBody&;
  const struct {
    const char* what;
    std::function<CZqStringBody*()> make;
  } factories[] = {
      {"Create", [] { return CZqStringBody::Create(10); }},
      {"CreateWithRoom", [] { return CZqStringBody::CreateWithRoom(3, 40); }},
      {"CreateCopy", [] { return CZqStringBody::CreateCopy(u"abc", 3, 10); }},
      {"CreateCopy, exact", [] { return CZqStringBody::CreateCopy(u"abc", 3, 3); }},
      {"CreateNumber(long long)", [] { return CZqStringBody::CreateNumber(7LL); }},
      {"CreateNumber(double)", [] { return CZqStringBody::CreateNumber(0.5); }},
      {"Clone", [&] { return from(u"ab", [](Body b) { return CZqStringBody::Clone(b); }); }},
      {"Trimmed", [&] { return from(u" ab ", [](Body b) { return b.Trimmed(); }); }},
      {"LowerCased", [&] { return from(u"AB", [](Body b) { return b.LowerCased(); }); }},
      {"UpperCased(rules)",
       [&] { return from(u"\u00DF", [](Body b) { return b.UpperCased(ZqCaseRules::kUnicode); }); }},
  };
  using Model = std::function<void(std::u16string&)>;
  const auto appends = [](std::u16string text) -> Model {
    return [text](std::u16string& t) { t += text; };
  };
  const Model same = [](std::u16string&) {};
  const struct {
    const char* what;
    std::function<void(CZqStringBody&)> op;
    Model model;
  } writers[] = {
      {"Append(units)", [](CZqStringBody& b) { b.Append(u"0123456", 7); }, appends(u"0123456")},
      {"Append(values)",
       [](CZqStringBody& b) { b.Append(u'x').Append(false).Append(-12LL).Append(0.25); },
       appends(u"xfalse-120.25")},
      {"AppendClassic, AppendCodePoint",
       [](CZqStringBody& b) { b.AppendClassic(1e21).AppendCodePoint(0x1F600); },
       appends(u"1e+21\U0001F600")},
      {"TryAppend",
       [](CZqStringBody& b) {
         for (int i = 0; i < 10; ++i) {
           if (!b.TryAppend(u'y'))
             b.Append(u'y');
         }
       },
       appends(u"yyyyyyyyyy")},
      {"AppendUninitialized",
       [](CZqStringBody& b) { std::fill_n(b.AppendUninitialized(6), 6, u'u'); },
       appends(u"uuuuuu")},
      {"Insert", [](CZqStringBody& b) { b.Insert(0, u"0123456", 7).Insert(b.Length(), 42LL); },
       [](std::u16string& t) { t = u"0123456" + t + u"42"; }},
      {"ReplaceRange",
       [](CZqStringBody& b) {
         const SPtr<CZqStringBody> other(CZqStringBody::CreateCopy(u"WXYZ", 4, 5));
         b.ReplaceRange(0, 1, *other);
       },
       [](std::u16string& t) { t.replace(0, t.empty() ? 0 : 1, u"WXYZ"); }},
      {"SetLength", [](CZqStringBody& b) { b.SetLength(10); },
       [](std::u16string& t) { t.resize(10, 0); }},
      {"Reverse", [](CZqStringBody& b) { b.Reverse(); },
       [](std::u16string& t) { std::reverse(t.begin(), t.end()); }},
      {"Init, and below the length",
       [](CZqStringBody& b) {
         EXPECT_EQ(-1, b.Init(b.Length() - 1));
         EXPECT_EQ(0, b.Init(b.Length() + 5));
         EXPECT_EQ(b.Length() + 5, b.Capacity());
       },
       same},
      {"Expand, TrimToSize, CStr",
       [](CZqStringBody& b) {
         b.Expand();
         b.TrimToSize();
         EXPECT_EQ(0, b.CStr()[b.Length()]);
       },
       same},
  };
  for (const auto& factory : factories) {
    for (const auto& writer : writers) {
      SCOPED_TRACE(std::string(writer.what) + " on " + factory.what);
      const SPtr<CZqStringBody> body(factory.make());
      std::u16string model(body->Ptr(), static_cast<std::size_t>(body->Length()));
      writer.op(*body);
      writer.model(model);
      EXPECT_EQ(model, std::u16string_view(body->Ptr(), body->Length()));
      const int capacity = body->Capacity();
      ASSERT_LE(body->Length(), capacity);
      body->SetLength(capacity);
      EXPECT_EQ(capacity, body->Capacity());
      model.resize(static_cast<std::size_t>(capacity), 0);
      EXPECT_EQ(model, std::u16string_view(body->Ptr(), body->Length()));
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
