//===- tests/lang/SharedCopyThreadTest.cpp - one body, several threads ----===//
//
// With ZARQLANG_ATOMIC_COUNTS, copies of one string may live on different
// threads: each copies, reads and drops strings sharing one body (also under
// ThreadSanitizer).
//===----------------------------------------------------------------------===//
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "ZarqLang.h"
#include "support/TestSupport.h"

namespace zqlang {
namespace {

TEST(SharedCopyThreadTest, CopiesOfOneBodyOnSeveralThreads) {
#if !defined(ZARQLANG_ATOMIC_COUNTS)
  GTEST_SKIP() << "plain counts: copies of one body stay on one thread";
#else
  constexpr int kThreads = 4;
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

}  // namespace
}  // namespace zqlang
