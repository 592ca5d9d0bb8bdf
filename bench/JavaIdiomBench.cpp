//===- bench/JavaIdiomBench.cpp - join, repeat and strip against Qt -------===//
//
// The string members a Java programmer reaches for, next to what Qt's
// QString offers for the same job (when built with Qt) and, for repeat, a
// plain memcpy of the result's bytes into a buffer made once: the floor of
// any repeat. std::u16string has none of these operations. Names are
// BM_<Operation>_<Impl>, as in CZqStringBench.
//
// The program counts the calls to malloc (the definition below forwards to
// glibc's): join checks, before timing, that ours takes one block for the
// result, and every join row reports its blocks per call ("mallocs").
//===----------------------------------------------------------------------===//
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "lang/CZqString.h"

#if defined(ZQ_BENCH_HAVE_QT)
#include <QtCore/QString>
#include <QtCore/QStringList>
#endif

extern "C" void* __libc_malloc(std::size_t size);

namespace {
long gMallocs = 0;  // the benchmarks run on the main thread only
}  // namespace

extern "C" void* malloc(std::size_t size) noexcept {
  ++gMallocs;
  return __libc_malloc(size);
}

using zqlang::CZqString;

namespace {

volatile long long gSink;

template <class T>
void Keep(T value) {
  gSink = static_cast<long long>(value);
}

// Makes the compiler assume that *p is read and written here.
inline void Escape(const void* p) { asm volatile("" : : "r"(p) : "memory"); }

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "wrong result: %s\n", what);
    std::abort();
  }
}

// The calls to malloc that one run of f makes.
template <class F>
long Mallocs(F f) {
  const long before = gMallocs;
  f();
  return gMallocs - before;
}

//===-- Test data (fixed seeds) -------------------------------------------===//

constexpr int kParts = 1000;
const std::u16string kDelimiter = u", ";

// kParts words of 3 to 8 lower-case letters.
const std::vector<std::u16string>& Words() {
  static const std::vector<std::u16string> words = [] {
    std::mt19937 random(17);
    std::vector<std::u16string> w(kParts);
    for (std::u16string& word : w) {
      word.resize(3 + random() % 6);
      for (char16_t& u : word)
        u = static_cast<char16_t>(u'a' + random() % 26);
    }
    return w;
  }();
  return words;
}

const std::u16string& JoinedWords() {
  static const std::u16string joined = [] {
    std::u16string j;
    for (const std::u16string& word : Words())
      j += (j.empty() ? u"" : kDelimiter) + word;
    return j;
  }();
  return joined;
}

constexpr int kTimes = 1000;
const std::u16string kTen = u"0123456789";

const std::u16string& Repeated() {
  static const std::u16string text = [] {
    std::u16string r;
    for (int i = 0; i < kTimes; ++i)
      r += kTen;
    return r;
  }();
  return text;
}

// 94 letters, and the same between 3 spaces at each end.
const std::u16string kLetters =
    u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
    u"abcdefghijklmnopqrstuvwxyzABCDEFGH";
const std::u16string kPadded = u"   " + kLetters + u"   ";

std::u16string Text(const CZqString& s) { return std::u16string(s.view()); }

//===-- join of 1,000 words with ", " -------------------------------------===//

void BM_Join1000_CZqString(benchmark::State& state) {
  std::vector<CZqString> parts;
  for (const std::u16string& word : Words())
    parts.emplace_back(word);
  CZqString joined;
  const long blocks = Mallocs([&] { joined = CZqString::join(kDelimiter, parts); });
  Check(Text(joined) == JoinedWords(), "CZqString::join");
  Check(blocks == 1, "CZqString::join takes one block");
  state.counters["mallocs"] = static_cast<double>(blocks);
  for (auto _ : state) {
    const CZqString result = CZqString::join(kDelimiter, parts);
    Keep(result.Ptr()[0]);
  }
}
BENCHMARK(BM_Join1000_CZqString);

//===-- repeat(1000) of a 10-unit text ------------------------------------===//

void BM_Repeat1000_CZqString(benchmark::State& state) {
  const CZqString text(kTen);
  Check(Text(text.repeat(kTimes)) == Repeated(), "CZqString::repeat");
  for (auto _ : state) {
    const CZqString result = text.repeat(kTimes);
    Keep(result.Ptr()[0]);
  }
}

// The bytes of the result copied into a buffer made before the loop.
void BM_Repeat1000_Memcpy(benchmark::State& state) {
  const std::u16string& source = Repeated();
  std::u16string buffer(source.size(), u'\0');
  for (auto _ : state) {
    std::memcpy(&buffer[0], source.data(), source.size() * sizeof(char16_t));
    Escape(buffer.data());
    Keep(buffer[0]);
  }
}
BENCHMARK(BM_Repeat1000_CZqString);
BENCHMARK(BM_Repeat1000_Memcpy);

//===-- strip of 100 units with 3 spaces at each end, and of 94 without ----===//

void BM_StripPadded_CZqString(benchmark::State& state) {
  const CZqString text(kPadded);
  Check(Text(text.strip()) == kLetters, "CZqString::strip");
  for (auto _ : state) {
    const CZqString result = text.strip();
    Keep(result.Ptr()[0]);
  }
}

void BM_StripUnpadded_CZqString(benchmark::State& state) {
  const CZqString text(kLetters);
  Check(text.strip().Ptr() == text.Ptr(), "CZqString::strip shares");
  for (auto _ : state) {
    const CZqString result = text.strip();
    Keep(result.Ptr()[0]);
  }
}
BENCHMARK(BM_StripPadded_CZqString);
BENCHMARK(BM_StripUnpadded_CZqString);

//===-- Qt ----------------------------------------------------------------===//
#if defined(ZQ_BENCH_HAVE_QT)

QString Qt(const std::u16string& s) {
  return QString::fromUtf16(s.data(), static_cast<int>(s.size()));
}
std::u16string Text(const QString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()),
                        static_cast<std::size_t>(s.size()));
}

void BM_Join1000_Qt(benchmark::State& state) {
  QStringList parts;
  for (const std::u16string& word : Words())
    parts.append(Qt(word));
  const QString delimiter = Qt(kDelimiter);
  QString joined;
  state.counters["mallocs"] = static_cast<double>(Mallocs([&] { joined = parts.join(delimiter); }));
  Check(Text(joined) == JoinedWords(), "QStringList::join");
  for (auto _ : state) {
    const QString result = parts.join(delimiter);
    Keep(result.at(0).unicode());
  }
}

void BM_Repeat1000_Qt(benchmark::State& state) {
  const QString text = Qt(kTen);
  Check(Text(text.repeated(kTimes)) == Repeated(), "QString::repeated");
  for (auto _ : state) {
    const QString result = text.repeated(kTimes);
    Keep(result.at(0).unicode());
  }
}

void BM_StripPadded_Qt(benchmark::State& state) {
  const QString text = Qt(kPadded);
  Check(Text(text.trimmed()) == kLetters, "QString::trimmed");
  for (auto _ : state) {
    const QString result = text.trimmed();
    Keep(result.at(0).unicode());
  }
}

void BM_StripUnpadded_Qt(benchmark::State& state) {
  const QString text = Qt(kLetters);
  Check(text.trimmed().constData() == text.constData(), "QString::trimmed shares");
  for (auto _ : state) {
    const QString result = text.trimmed();
    Keep(result.at(0).unicode());
  }
}

BENCHMARK(BM_Join1000_Qt);
BENCHMARK(BM_Repeat1000_Qt);
BENCHMARK(BM_StripPadded_Qt);
BENCHMARK(BM_StripUnpadded_Qt);

#endif  // ZQ_BENCH_HAVE_QT

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
