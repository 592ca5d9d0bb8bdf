//===- tests/lang/ThrowableTest.cpp - the exception family ----------------===//
#include <sstream>
#include <thread>
#include <type_traits>

#include "support/TestSupport.h"

namespace zqlang {
namespace {

static_assert(!std::is_copy_assignable<Throwable>::value, "assignment would share owned fields");
static_assert(!std::is_default_constructible<OutOfMemoryError>::value &&
                  !std::is_constructible<OutOfMemoryError, const CZqString&>::value,
              "only ThrowInstance makes an OutOfMemoryError");

// The text of an object without message or cause.
std::u16string Bare(const char16_t* fullName) { return std::u16string(fullName) + u":\n"; }

// Without a message, with one, and copied (which transfers everything but
// the name); with withCause, the cause constructors too.
template <class T, bool withCause = false>
void ExpectClass(const char16_t* name) {
  SCOPED_TRACE(::testing::PrintToString(CZqString(name)));
  const T bare;
  EXPECT_EQ(name, Text(bare.GetFullName()));
  EXPECT_EQ(name, Text(static_cast<const Throwable&>(bare).GetFullName()));
  EXPECT_EQ(u"com.zarq.lang.Throwable", Text(bare.getMessage()));
  EXPECT_EQ(nullptr, bare.getCause());
  EXPECT_EQ(Bare(name), Text(bare.toString()));
  const T source(CZqString(u"boom"));
  EXPECT_EQ(u"boom", Text(source.getMessage()));
  // Through the root the same text: toString is not virtual, but the general
  // form reads the object's own full name.
  EXPECT_EQ(Text(source.toString()), Text(static_cast<const Throwable&>(source).toString()));
  const T copy(source);  // the cache filled above moves too
  EXPECT_EQ(u"boom", Text(copy.getMessage()));
  EXPECT_EQ(Bare(name) + u"boom\n", Text(copy.toString()));
  EXPECT_EQ(u"com.zarq.lang.Throwable", Text(source.getMessage()));
  EXPECT_EQ(Bare(name), Text(source.toString()));
  EXPECT_EQ(name, Text(source.GetFullName()));
  if constexpr (withCause) {
    const std::u16string inner = Bare(u"com.zarq.lang.Exception") + u"inner\n";
    const T outer(CZqString(u"outer"), new Exception(CZqString(u"inner")));
    EXPECT_EQ(Bare(name) + u"outer\n" + inner, Text(outer.toString()));
    ASSERT_NE(nullptr, outer.getCause());
    EXPECT_EQ(u"inner", Text(outer.getCause()->getMessage()));
    const T caused(new Exception(CZqString(u"inner")));  // the cause's text is the message
    EXPECT_EQ(inner, Text(caused.getMessage()));
    EXPECT_EQ(Bare(name) + inner + u"\n" + inner, Text(caused.toString()));
    const T none(static_cast<Throwable*>(nullptr));
    EXPECT_EQ(u"com.zarq.lang.Throwable", Text(none.getMessage()));
    EXPECT_EQ(nullptr, none.getCause());
  }
}

TEST(ThrowableTest, EveryClassRendersItsNameMessageAndCause) {
  ExpectClass<Throwable, true>(u"com.zarq.lang.Throwable");
  ExpectClass<Error, true>(u"com.zarq.lang.Error");
  ExpectClass<Exception, true>(u"com.zarq.lang.Exception");
  ExpectClass<RuntimeException, true>(u"com.zarq.lang.RuntimeException");
  ExpectClass<InterruptedException, true>(u"com.zarq.lang.InterruptedException");
  ExpectClass<IllegalArgumentException>(u"com.zarq.lang.IllegalArgumentException");
  ExpectClass<NumberFormatException>(u"com.zarq.lang.NumberFormatException");
  ExpectClass<IllegalStateException>(u"com.zarq.lang.IllegalStateException");
  ExpectClass<IndexOutOfBoundsException>(u"com.zarq.lang.IndexOutOfBoundsException");
  ExpectClass<ArrayIndexOutOfBoundsException>(u"com.zarq.lang.ArrayIndexOutOfBoundsException");
  ExpectClass<StringIndexOutOfBoundsException>(u"com.zarq.lang.StringIndexOutOfBoundsException");
  ExpectClass<NegativeArraySizeException>(u"com.zarq.lang.NegativeArraySizeException");
  ExpectClass<NoSuchElementException>(u"com.zarq.lang.NoSuchElementException");
  ExpectClass<NullPointerException>(u"com.zarq.lang.NullPointerException");
  ExpectClass<SecurityException>(u"com.zarq.lang.SecurityException");
  ExpectClass<VirtualMachineError>(u"com.zarq.lang.VirtualMachineError");
  ExpectClass<zqio::IOException>(u"com.zarq.io.IOException");
  ExpectClass<zqio::EOFException>(u"com.zarq.io.EOFException");
  ExpectClass<zqio::FileNotFoundException>(u"com.zarq.io.FileNotFoundException");
}

TEST(ThrowableTest, EnclosingTextTakesOverTheCausesCache) {
  Exception* inner = new Exception(CZqString(u"inner"));
  const RuntimeException outer(CZqString(u"outer"), inner);
  const CZqString first = outer.toString();
  {
    // Without memory a cached text would still be served; the cause has none.
    NoMemory noMemory;
    EXPECT_EQ(u"com.zarq.lang.Exception", Text(inner->toString()));
  }
  const CZqString second = outer.toString();
  EXPECT_TRUE(SameBody(first, second)) << "second call comes from the cache";
}

TEST(ThrowableTest, IndexExceptionsRenderAndPrintTheirIndexOnlyAsThemselves) {
  const StringIndexOutOfBoundsException s(7);
  EXPECT_EQ(u"CZqString index out of bounds: 7", Text(s.toString()));
  EXPECT_EQ(u"CZqString index out of bounds: 7",
            Text(StringIndexOutOfBoundsException(s).toString()));  // a copy keeps the index
  EXPECT_EQ(u"com.zarq.lang.Throwable", Text(s.getMessage()));
  EXPECT_EQ(nullptr, s.getCause());
  // Through a base reference, the general form.
  EXPECT_EQ(Bare(u"com.zarq.lang.StringIndexOutOfBoundsException"),
            Text(static_cast<const IndexOutOfBoundsException&>(s).toString()));
  // Built from a message, the general form with that message.
  EXPECT_EQ(Bare(u"com.zarq.lang.ArrayIndexOutOfBoundsException") + u"bad\n",
            Text(ArrayIndexOutOfBoundsException(CZqString(u"bad")).toString()));
  // As a cause, the general form too.
  const RuntimeException outer(CZqString(u"outer"), new StringIndexOutOfBoundsException(3));
  EXPECT_EQ(Bare(u"com.zarq.lang.RuntimeException") + u"outer\n" +
                Bare(u"com.zarq.lang.StringIndexOutOfBoundsException"),
            Text(outer.toString()));
  std::ostringstream out;  // each prints its own text, index exceptions too
  out << IllegalStateException(CZqString(u"closed")) << s << '|'
      << ArrayIndexOutOfBoundsException(-1) << '|' << static_cast<const Throwable&>(s);
  EXPECT_EQ(
      "com.zarq.lang.IllegalStateException:\nclosed\nCZqString index out of bounds: 7|"
      "CZqString index out of bounds: -1|com.zarq.lang.StringIndexOutOfBoundsException:\n",
      out.str());
}

// An empty message has no line; the full name follows the static type, the
// text the object's own.
TEST(ThrowableTest, EmptyMessageAndStaticNames) {
  EXPECT_EQ(Bare(u"com.zarq.lang.Exception"), Text(Exception(CZqString(u"")).toString()));
  const NumberFormatException e(CZqString(u"x"));
  EXPECT_EQ(u"com.zarq.lang.RuntimeException",
            Text(static_cast<const RuntimeException&>(e).GetFullName()));
  EXPECT_EQ(u"com.zarq.lang.IllegalArgumentException",
            Text(static_cast<const IllegalArgumentException&>(e).GetFullName()));
  EXPECT_EQ(Bare(u"com.zarq.lang.NumberFormatException") + u"x\n",
            Text(static_cast<const RuntimeException&>(e).toString()));
}

TEST(ThrowableTest, InitCauseTakesOnlyTheFirstCauseRefusesLoopsAndKeepsTheText) {
  Exception e;
  Exception* first = new Exception(CZqString(u"first"));
  EXPECT_EQ(&e, &e.initCause(nullptr));  // null: still no cause
  e.initCause(&e);                       // a loop: refused
  EXPECT_EQ(nullptr, e.getCause());
  e.initCause(first);
  EXPECT_EQ(first, e.getCause());
  EXPECT_EQ(Bare(u"com.zarq.lang.Exception") + u"first\n", Text(e.getMessage()));
  Exception second(CZqString(u"second"));  // stays with its owner
  e.initCause(&second);
  EXPECT_EQ(first, e.getCause());
  first->initCause(&e);  // e -> first; first -> e would close a loop
  EXPECT_EQ(nullptr, first->getCause());

  // A message, and a text already rendered, are not replaced.
  Exception m(CZqString(u"msg"));
  const CZqString before = m.toString();
  m.initCause(new Exception(CZqString(u"late")));
  EXPECT_NE(nullptr, m.getCause());
  EXPECT_EQ(Text(before), Text(m.toString()));
  EXPECT_EQ(u"msg", Text(m.getMessage()));
}

// Whether the library's own throw (from inside the shared object) is caught
// by a handler of each of Bases; what is not must still be a Throwable.
template <class... Bases, class Thrower>
std::vector<bool> CaughtAs(Thrower thrower) {
  const auto one = [&](auto* base) {
    try {
      thrower();
    } catch (const std::remove_pointer_t<decltype(base)>&) {
      return true;
    } catch (const Throwable&) {
    }
    return false;
  };
  return {one(static_cast<Bases*>(nullptr))...};
}

TEST(ThrowableTest, LibraryThrowsAreCaughtByEveryBaseOnly) {
  const auto index = [] { CZqString(u"a").charAt(5); };
  const auto stringIndex = [] { CZqString(u"a").getChars(-1, 0, nullptr, 0); };
  const auto oom = [] { OutOfMemoryError::ThrowInstance(); };
  const auto number = [] { CZqInteger::parseInt(CZqString(u"4x"), 10); };
  const auto eof = [] { throw zqio::EOFException(CZqString(u"short read")); };
  using V = std::vector<bool>;
  EXPECT_EQ((V{true, true, true, false, false}),
            (CaughtAs<IndexOutOfBoundsException, RuntimeException, Exception, Error,
                      StringIndexOutOfBoundsException>(index)));
  EXPECT_EQ(
      (V{true, false, false}),
      (CaughtAs<IndexOutOfBoundsException, Error, ArrayIndexOutOfBoundsException>(stringIndex)));
  EXPECT_EQ((V{true, true, false}), (CaughtAs<VirtualMachineError, Error, Exception>(oom)));
  EXPECT_EQ((V{true, false}),
            (CaughtAs<IllegalArgumentException, IndexOutOfBoundsException>(number)));
  EXPECT_EQ((V{true, true, false}),
            (CaughtAs<zqio::IOException, Exception, RuntimeException>(eof)));
}

TEST(OutOfMemoryErrorTest, ThrownInstanceHasNoMessageAndNoCause) {
  try {
    OutOfMemoryError::ThrowInstance();
  } catch (const OutOfMemoryError& e) {
    EXPECT_EQ(Bare(u"com.zarq.lang.OutOfMemoryError"), Text(e.toString()));
    EXPECT_EQ(nullptr, e.getCause());
    EXPECT_EQ(u"com.zarq.lang.OutOfMemoryError", Text(OutOfMemoryError(e).GetFullName()));
  }
}

// Read once the program has started (every static object built, in any
// order), before any test can have failed an allocation.
bool gReserveHeldAtLoad = false;
struct ReserveAtStart : ::testing::Environment {
  void SetUp() override { gReserveHeldAtLoad = ReservePeek::Held(); }
};
::testing::Environment* const gReserveAtStart =
    ::testing::AddGlobalTestEnvironment(new ReserveAtStart);

TEST(OutOfMemoryErrorTest, FirstFailureGivesBackTheReserveOnce) {
  EXPECT_TRUE(gReserveHeldAtLoad);
  // Some earlier test may already have used the reserve.
  const bool heldAtStart = ReservePeek::Held();
  const long long raw = detail::testing::LiveBlocks();
  NoMemory noMemory;
  EXPECT_THROW(CZqString(u"x"), OutOfMemoryError);
  EXPECT_FALSE(ReservePeek::Held());
  EXPECT_EQ(raw - (heldAtStart ? 1 : 0), detail::testing::LiveBlocks());
  EXPECT_THROW(CZqString(u"y"), OutOfMemoryError);  // nothing more to give
  EXPECT_EQ(raw - (heldAtStart ? 1 : 0), detail::testing::LiveBlocks());
}

// A two-level chain whose cause has not been rendered yet, with each of its
// allocations failing in turn: the text is whole or the full name alone,
// never cut short, nothing wrong is cached, and the chain leaks nothing.
TEST(OutOfMemoryErrorTest, EveryFailurePointOfAChainGivesTheWholeTextOrTheName) {
  const std::u16string whole =
      u"com.zarq.lang.RuntimeException:\nouter\n"
      u"com.zarq.lang.IllegalStateException:\ncause with a message long enough to notice\n";
  int points = 0;
  for (int k = 1;; ++k) {
    const long long before = LiveBlocks();
    bool failed = false;
    {
      const RuntimeException e(
          CZqString(u"outer"),
          new IllegalStateException(CZqString(u"cause with a message long enough to notice")));
      const long long start = detail::testing::AllocationCount();
      detail::testing::FailAllocation(k);
      const std::u16string text = Text(e.toString());
      detail::testing::FailAllocation(0);
      failed = detail::testing::AllocationCount() - start >= k;
      if (text != whole) {
        EXPECT_EQ(u"com.zarq.lang.RuntimeException", text) << "failure point " << k;
      }
      EXPECT_EQ(whole, Text(e.toString())) << "failure point " << k << " cached a wrong text";
    }
    EXPECT_EQ(before, LiveBlocks()) << "failure point " << k;
    if (!failed)
      break;
    ++points;
    ASSERT_LT(k, 20) << "toString never succeeded";
  }
  EXPECT_EQ(6, points);
}

TEST(ThrowableTest, DeepCauseChainIsReleasedWithoutRecursion) {
  const long long before = LiveBlocks();
  {
    const CZqString link(u"link");
    Exception* chain = new Exception();
    for (int i = 0; i < 1000000; ++i)
      chain = new Exception(link, chain);
    const Throwable outer(CZqString(u"top"), chain);
  }
  EXPECT_EQ(before, LiveBlocks());
}

// An exception that leaves a thread ends the program; with the handler
// installed it first says what it was.
TEST(ThrowableDeathTest, UncaughtExceptionSaysWhatItWas) {
  ::testing::FLAGS_gtest_death_test_style = "threadsafe";
  EXPECT_DEATH(
      {
        installTerminateHandler();
        installTerminateHandler();  // once is enough; again changes nothing
        std::thread([] { CZqInteger::parseInt(CZqString(u"x"), 10); }).join();
      },
      "uncaught com.zarq.lang.NumberFormatException:.Integer::parseInt: Bad base-10 number: .x.");
}

}  // namespace
}  // namespace zqlang
