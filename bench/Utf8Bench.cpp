//===- bench/Utf8Bench.cpp - UTF-8 in and out against a byte copy and ICU -===//
//
// fromUtf8 and toUtf8 on ASCII text (the fast path) and on mixed text, side by
// side with what a plain byte copy of the same UTF-8 costs (memcpy into a
// buffer, and a std::string copy, which also allocates) and with ICU's
// icu::UnicodeString::fromUTF8 / toUTF8String when ICU is present. The
// _Kernel rows time the transcoder alone, into a buffer allocated once, next
// to the _Memcpy rows.
//
//   build/bench/bench/Utf8Bench --benchmark_min_time=0.5
//===----------------------------------------------------------------------===//
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "lang/CZqString.h"
#include "lang/detail/Utf8.h"

#if defined(ZQ_BENCH_HAVE_ICU)
#include <unicode/stringpiece.h>
#include <unicode/unistr.h>
#endif

namespace {

using zqlang::CZqString;

// Keeps a result alive where DoNotOptimize alone is not trusted.
volatile std::size_t gSink;

// Printable ASCII of n bytes, fixed seed.
std::string AsciiText(std::size_t n) {
  std::mt19937 random(42);
  std::string text(n, ' ');
  for (char& c : text)
    c = static_cast<char>(' ' + random() % 95);
  return text;
}

// About n bytes of words in Latin, Cyrillic and CJK script with an emoji now
// and then: every sequence length, short ASCII runs.
std::string MixedText(std::size_t n) {
  const char* const words[] = {"hello ",
                               "caf\xC3\xA9 ",
                               "\xD0\xBC\xD0\xB8\xD1\x80 ",
                               "\xE6\x97\xA5\xE6\x9C\xAC ",
                               "\xF0\x9F\x98\x80 ",
                               "data "};
  std::mt19937 random(42);
  std::string text;
  while (text.size() < n)
    text += words[random() % 6];
  return text;
}

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "Utf8Bench: wrong result in %s\n", what);
    std::abort();
  }
}

//===-- UTF-8 to UTF-16 ---------------------------------------------------===//

void BM_FromUtf8Ascii_Memcpy(benchmark::State& state) {
  const std::string text = AsciiText(state.range(0));
  std::vector<char> out(text.size());
  for (auto _ : state) {
    std::memcpy(out.data(), text.data(), text.size());
    benchmark::ClobberMemory();
  }
  Check(std::memcmp(out.data(), text.data(), text.size()) == 0, "memcpy");
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_FromUtf8Ascii_StdString(benchmark::State& state) {
  const std::string text = AsciiText(state.range(0));
  for (auto _ : state) {
    std::string copy(text);
    gSink = copy.size();
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_FromUtf8Ascii_Kernel(benchmark::State& state) {
  const std::string text = AsciiText(state.range(0));
  std::vector<char16_t> out(text.size());
  for (auto _ : state) {
    const std::size_t length = zqlang::detail::Utf16LengthOfUtf8(text.data(), text.size());
    const char* next = text.data();
    gSink = zqlang::detail::DecodeUtf8(next, text.data() + text.size(), out.data(), length);
    benchmark::ClobberMemory();
  }
  Check(gSink == text.size() && out.back() == static_cast<char16_t>(text.back()), "kernel");
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_FromUtf8Ascii_CZqString(benchmark::State& state) {
  const std::string text = AsciiText(state.range(0));
  for (auto _ : state) {
    const CZqString s = CZqString::fromUtf8(text);
    gSink = static_cast<std::size_t>(s.length());
  }
  Check(CZqString::fromUtf8(text).toUtf8() == text, "fromUtf8");
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

#if defined(ZQ_BENCH_HAVE_ICU)
void BM_FromUtf8Ascii_Icu(benchmark::State& state) {
  const std::string text = AsciiText(state.range(0));
  for (auto _ : state) {
    const icu::UnicodeString s = icu::UnicodeString::fromUTF8(icu::StringPiece(text));
    gSink = static_cast<std::size_t>(s.length());
  }
  Check(gSink == text.size(), "ICU fromUTF8");
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
#endif

void BM_FromUtf8Mixed_CZqString(benchmark::State& state) {
  const std::string text = MixedText(state.range(0));
  for (auto _ : state) {
    const CZqString s = CZqString::fromUtf8(text);
    gSink = static_cast<std::size_t>(s.length());
  }
  Check(CZqString::fromUtf8(text).toUtf8() == text, "fromUtf8 mixed");
  state.SetBytesProcessed(state.iterations() * static_cast<long long>(text.size()));
}

#if defined(ZQ_BENCH_HAVE_ICU)
void BM_FromUtf8Mixed_Icu(benchmark::State& state) {
  const std::string text = MixedText(state.range(0));
  for (auto _ : state) {
    const icu::UnicodeString s = icu::UnicodeString::fromUTF8(icu::StringPiece(text));
    gSink = static_cast<std::size_t>(s.length());
  }
  Check(gSink == static_cast<std::size_t>(CZqString::fromUtf8(text).length()), "ICU mixed");
  state.SetBytesProcessed(state.iterations() * static_cast<long long>(text.size()));
}
#endif

//===-- UTF-16 to UTF-8 ---------------------------------------------------===//

void BM_ToUtf8Ascii_Memcpy(benchmark::State& state) {
  const std::string text = AsciiText(state.range(0));
  std::vector<char> out(text.size());
  for (auto _ : state) {
    std::memcpy(out.data(), text.data(), text.size());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_ToUtf8Ascii_StdString(benchmark::State& state) {
  const std::string text = AsciiText(state.range(0));
  for (auto _ : state) {
    std::string copy(text);
    gSink = copy.size();
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_ToUtf8Ascii_Kernel(benchmark::State& state) {
  const CZqString s = CZqString::fromUtf8(AsciiText(state.range(0)));
  std::vector<char> out(static_cast<std::size_t>(s.length()));
  for (auto _ : state) {
    const std::size_t count = static_cast<std::size_t>(s.length());
    gSink = zqlang::detail::Utf8LengthOfUtf16(s.Ptr(), count);
    gSink = static_cast<std::size_t>(zqlang::detail::EncodeUtf8(s.Ptr(), count, out.data()) -
                                     out.data());
    benchmark::ClobberMemory();
  }
  Check(std::string(out.data(), out.size()) == s.toUtf8(), "kernel");
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_ToUtf8Ascii_CZqString(benchmark::State& state) {
  const CZqString s = CZqString::fromUtf8(AsciiText(state.range(0)));
  for (auto _ : state) {
    const std::string utf8 = s.toUtf8();
    gSink = utf8.size();
    benchmark::DoNotOptimize(utf8.data());
  }
  Check(s.toUtf8() == AsciiText(state.range(0)), "toUtf8");
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

#if defined(ZQ_BENCH_HAVE_ICU)
void BM_ToUtf8Ascii_Icu(benchmark::State& state) {
  const std::string text = AsciiText(state.range(0));
  const icu::UnicodeString s = icu::UnicodeString::fromUTF8(icu::StringPiece(text));
  for (auto _ : state) {
    std::string utf8;
    s.toUTF8String(utf8);
    gSink = utf8.size();
    benchmark::DoNotOptimize(utf8.data());
  }
  std::string check;
  Check(s.toUTF8String(check) == text, "ICU toUTF8String");
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
#endif

void BM_ToUtf8Mixed_CZqString(benchmark::State& state) {
  const std::string text = MixedText(state.range(0));
  const CZqString s = CZqString::fromUtf8(text);
  for (auto _ : state) {
    const std::string utf8 = s.toUtf8();
    gSink = utf8.size();
    benchmark::DoNotOptimize(utf8.data());
  }
  Check(s.toUtf8() == text, "toUtf8 mixed");
  state.SetBytesProcessed(state.iterations() * static_cast<long long>(text.size()));
}

#if defined(ZQ_BENCH_HAVE_ICU)
void BM_ToUtf8Mixed_Icu(benchmark::State& state) {
  const std::string text = MixedText(state.range(0));
  const icu::UnicodeString s = icu::UnicodeString::fromUTF8(icu::StringPiece(text));
  for (auto _ : state) {
    std::string utf8;
    s.toUTF8String(utf8);
    gSink = utf8.size();
    benchmark::DoNotOptimize(utf8.data());
  }
  Check(gSink == text.size(), "ICU mixed");
  state.SetBytesProcessed(state.iterations() * static_cast<long long>(text.size()));
}
#endif

#define ZQ_SIZES RangeMultiplier(16)->Range(16, 1 << 20)

BENCHMARK(BM_FromUtf8Ascii_Memcpy)->ZQ_SIZES;
BENCHMARK(BM_FromUtf8Ascii_StdString)->ZQ_SIZES;
BENCHMARK(BM_FromUtf8Ascii_Kernel)->ZQ_SIZES;
BENCHMARK(BM_FromUtf8Ascii_CZqString)->ZQ_SIZES;
#if defined(ZQ_BENCH_HAVE_ICU)
BENCHMARK(BM_FromUtf8Ascii_Icu)->ZQ_SIZES;
#endif
BENCHMARK(BM_FromUtf8Mixed_CZqString)->ZQ_SIZES;
#if defined(ZQ_BENCH_HAVE_ICU)
BENCHMARK(BM_FromUtf8Mixed_Icu)->ZQ_SIZES;
#endif
BENCHMARK(BM_ToUtf8Ascii_Memcpy)->ZQ_SIZES;
BENCHMARK(BM_ToUtf8Ascii_StdString)->ZQ_SIZES;
BENCHMARK(BM_ToUtf8Ascii_Kernel)->ZQ_SIZES;
BENCHMARK(BM_ToUtf8Ascii_CZqString)->ZQ_SIZES;
#if defined(ZQ_BENCH_HAVE_ICU)
BENCHMARK(BM_ToUtf8Ascii_Icu)->ZQ_SIZES;
#endif
BENCHMARK(BM_ToUtf8Mixed_CZqString)->ZQ_SIZES;
#if defined(ZQ_BENCH_HAVE_ICU)
BENCHMARK(BM_ToUtf8Mixed_Icu)->ZQ_SIZES;
#endif

}  // namespace

BENCHMARK_MAIN();
