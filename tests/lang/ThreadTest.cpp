//===- tests/lang/ThreadTest.cpp - what may run on several threads at once ===//
#include <pthread.h>

#include <atomic>
#include <cwctype>
#include <thread>

#include "lang/ZqPattern.h"
#include "support/TestSupport.h"

namespace zqlang {
namespace {

constexpr int kThreads = 4;

// Runs body(thread index) on kThreads threads started together.
void OnThreads(const std::function<void(int)>& body) {
  std::atomic<int> ready{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      ++ready;
      while (ready.load() < kThreads) {
      }
      body(t);
    });
  }
  for (std::thread& thread : threads)
    thread.join();
}

TEST(ThreadTest, NumberTextAndParsing) {
  std::atomic<int> wrong{0};
  OnThreads([&](int t) {
    for (int i = 0; i < 3000; ++i) {
      const int value = (i * 7919 + t * 104729) * (i % 2 == 0 ? 1 : -1);
      const CZqString text(value);
      if (text.toUtf8() != std::to_string(value) || CZqInteger::parseInt(text, 10) != value ||
          CZqInteger::parseInt(CZqInteger::toString(value, 36), 36) != value)
        ++wrong;
      CZqStringBuilder b;
      b.append(static_cast<long long>(value) * 1000003).append(0.5 * value);
      if (b.length() == 0)
        ++wrong;
    }
  });
  EXPECT_EQ(0, wrong.load());
}

TEST(ThreadTest, CaseMappingFillsItsTablesOnce) {
  // Every thread maps every unit, so that they race to fill each page.
  std::u16string all(0xD800, u' ');
  for (std::size_t u = 0; u < all.size(); ++u)
    all[u] = static_cast<char16_t>(u);
  const CZqString source(all);
  std::atomic<int> wrong{0};
  OnThreads([&](int t) {
    const CZqString mapped = t % 2 == 0 ? source.toLowerCase() : source.toUpperCase();
    for (int u = 0; u < mapped.length(); ++u) {
      const std::wint_t expected = t % 2 == 0 ? std::towlower(static_cast<std::wint_t>(u))
                                              : std::towupper(static_cast<std::wint_t>(u));
      if (mapped.charAt(u) != static_cast<char16_t>(expected))
        ++wrong;
    }
  });
  EXPECT_EQ(0, wrong.load());
}

TEST(ThreadTest, OutOfMemoryErrorFromSeveralThreads) {
  std::atomic<int> caught{0};
  OnThreads([&](int) {
    for (int i = 0; i < 200; ++i) {
      try {
        OutOfMemoryError::ThrowInstance();
      } catch (const OutOfMemoryError& e) {
        if (Text(e.GetFullName()) == u"com.zarq.lang.OutOfMemoryError")
          ++caught;
      }
    }
  });
  EXPECT_EQ(kThreads * 200, caught.load());
}

TEST(ThreadTest, RegexesFromTheSharedCacheAndOneCompiledPattern) {
  // More regexes than the cache holds, so that threads evict what others
  // use; and one compiled pattern copied and matched on every thread.
  const ZqPattern words = ZqPattern::compile(u"\\w+");
  std::atomic<int> wrong{0};
  OnThreads([&](int t) {
    const ZqPattern mine = words;
    for (int i = 0; i < 300; ++i) {
      const CZqString text(u"a1,b2;c3");
      const CZqString regex = CZqString(u"[,;]") + CZqString((i + t) % 12 == 0 ? 0 : (i + t) % 12);
      if (text.split(u"[,;]").size() != 3 || !text.matches(u"\\w+([,;]\\w+)*") ||
          text.replaceAll(regex, u"").length() != 8 || mine.split(text).size() != 3)
        ++wrong;
    }
  });
  EXPECT_EQ(0, wrong.load());
  detail::testing::ClearPatternCache();
}

TEST(ThreadTest, DistinctStringsOnDistinctThreads) {
  std::atomic<int> wrong{0};
  OnThreads([&](int t) {
    CZqStringBuilder b;
    for (int i = 0; i < 2000; ++i) {
      b.append(static_cast<char16_t>(u'a' + (i + t) % 26));
      const CZqString empty;  // every thread's share one body, never counted
      if (CZqString(empty).length() != 0 || CZqStringBuilder(empty).capacity() != 64)
        ++wrong;
    }
    const CZqString s = b.toString();
    b.reverse().insert(0, t);
    const CZqString word = s.substring(10, 20).concat(CZqString(u" \u00e9"));
    if (word.length() != 12 || CZqString::fromUtf8(word.toUtf8()) != word ||
        s.indexOf(word.substring(0, 10)) != 10 || b.length() != 2001)
      ++wrong;
  });
  EXPECT_EQ(0, wrong.load());
}

// Strings made and dropped where a thread ends: in the destructor of a
// thread-specific key, which runs after the thread's own thread_local
// destructors. Nothing may stay behind for any of the threads (the library
// keeps no state per thread).
TEST(ThreadTest, StringsInAThreadKeyDestructorLeaveNothingBehind) {
  const long long liveAtStart = detail::testing::LiveBlocks();
  pthread_key_t key;
  ASSERT_EQ(0, pthread_key_create(&key, [](void* value) {
              const CZqString made(*static_cast<int*>(value));
              CZqStringBuilder b(made);
              b.append(u" ended");
              *static_cast<int*>(value) = b.toString().length();
            }));
  std::vector<int> lengths(100, 0);
  for (int t = 0; t < 100; ++t) {
    std::thread([&, t] {
      lengths[static_cast<std::size_t>(t)] = t;
      pthread_setspecific(key, &lengths[static_cast<std::size_t>(t)]);
    }).join();
  }
  pthread_key_delete(key);
  EXPECT_EQ(8, lengths[42]);  // "42 ended"
  EXPECT_EQ(liveAtStart, detail::testing::LiveBlocks());
}

// With ZARQLANG_ATOMIC_COUNTS, copies of one string may live on different
// threads: each copies, reads and drops strings sharing one body.
TEST(SharedCopyThreadTest, CopiesOfOneBodyOnSeveralThreads) {
#if !defined(ZARQLANG_ATOMIC_COUNTS)
  GTEST_SKIP() << "plain counts: copies of one body stay on one thread";
#else
  CZqStringBuilder b;
  b.append(u"shared text \U0001F600");
  std::vector<CZqString> sources{b.toString(), CZqString(u"another body")};
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    // Each thread starts from its own copy, so the vector is only read.
    threads.emplace_back([&wrong, source = sources[t % 2]] {
      for (int i = 0; i < 20000; ++i) {
        CZqString copy = source;
        std::vector<CZqString> more(3, copy);
        more[i % 3] = CZqString(u"x");
        if (copy.length() != source.length() || more[(i + 1) % 3] != source)
          ++wrong;
      }
    });
  }
  sources.clear();  // the threads now hold the last references
  b.setLength(0);   // the builder copies or takes back its body meanwhile
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(0, wrong.load());
#endif
}

// Copies of strings call c_str() on their own threads while the builder that
// made one of them hands it out again: the terminator is written when a text
// is made or first handed over, so the calls only read.
TEST(SharedCopyThreadTest, CStrOfCopiesOnlyReads) {
#if !defined(ZARQLANG_ATOMIC_COUNTS)
  GTEST_SKIP() << "plain counts: copies of one body stay on one thread";
#else
  CZqStringBuilder b;
  b.append(u"built ").append(42);
  const std::vector<CZqString> sources{b.toString(), CZqString(u"text"), CZqString(7),
                                       CZqString(u"MiXed").toLowerCase()};
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&wrong, copies = sources] {
      for (int i = 0; i < 2000; ++i) {
        for (const CZqString& copy : copies) {
          if (copy.c_str()[copy.length()] != 0 ||
              CZqStringBuilder(copy).toString().c_str() != copy.c_str())
            ++wrong;
        }
      }
    });
  }
  for (int i = 0; i < 2000; ++i) {
    if (b.toString().c_str() != sources[0].c_str())
      ++wrong;
  }
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(0, wrong.load());
#endif
}

// Builders made from copies of one string, some trimming and some reading
// the capacity on their threads: in this build a builder trims only a body it
// holds alone, so a shared body's capacity stays as it is.
TEST(SharedCopyThreadTest, TrimToSizeLeavesASharedBodyAlone) {
#if !defined(ZARQLANG_ATOMIC_COUNTS)
  GTEST_SKIP() << "plain counts: trimToSize lowers a shared body's capacity";
#else
  CZqStringBuilder b;
  b.append(u"some text");
  const CZqString text = b.toString();
  std::atomic<int> wrong{0};
  OnThreads([&](int t) {
    const CZqString copy = text;
    for (int i = 0; i < 5000; ++i) {
      CZqStringBuilder builder(copy);
      if (t % 2 == 0)
        builder.trimToSize();
      else if (builder.capacity() != 16)
        ++wrong;
    }
  });
  EXPECT_EQ(0, wrong.load());
  EXPECT_EQ(16, b.capacity());
  CZqStringBuilder alone(CZqString(u"abc"));  // the string is gone: held alone
  alone.trimToSize();
  EXPECT_EQ(3, alone.capacity());
#endif
}

}  // namespace
}  // namespace zqlang
