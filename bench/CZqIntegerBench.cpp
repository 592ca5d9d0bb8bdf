//===- bench/CZqIntegerBench.cpp - integer parsing, radix text, boxing ----===//
//
// Each operation next to the standard library's nearest equivalent, in one
// run so that the ratio is meaningful:
//   parseInt              vs std::from_chars on the same digits
//   toString(v, 36), toHexString  vs std::to_chars with a base
//   valueOf + release     vs std::make_shared<int>
//===----------------------------------------------------------------------===//
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "lang/CZqInteger.h"

namespace {

using zqlang::CZqInteger;
using zqlang::CZqString;
using zqlang::SPtr;

// Keeps a result alive without trusting DoNotOptimize.
volatile int gSink;

const char16_t* const kDigits16[] = {u"123456789", u"-2147483648"};
const char* const kDigits8[] = {"123456789", "-2147483648"};

void BM_ParseInt_CZqInteger(benchmark::State& state) {
  const CZqString text(kDigits16[state.range(0)]);
  for (auto _ : state)
    gSink = CZqInteger::parseInt(text, 10);
  if (gSink != (state.range(0) == 0 ? 123456789 : -2147483647 - 1))
    state.SkipWithError("wrong value");
}
BENCHMARK(BM_ParseInt_CZqInteger)->Arg(0)->Arg(1);

void BM_ParseInt_FromChars(benchmark::State& state) {
  const std::string text = kDigits8[state.range(0)];
  for (auto _ : state) {
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    gSink = value;
  }
}
BENCHMARK(BM_ParseInt_FromChars)->Arg(0)->Arg(1);

// Values spread over the whole range, the same for every implementation.
const int* Values() {
  static int values[1024];
  unsigned x = 12345;
  for (int& v : values) {
    x = x * 1103515245u + 12345u;
    v = static_cast<int>(x);
  }
  return values;
}

void BM_ToStringRadix36_CZqInteger(benchmark::State& state) {
  const int* values = Values();
  int i = 0;
  for (auto _ : state) {
    const CZqString text = CZqInteger::toString(values[i++ & 1023], 36);
    gSink = text.length();
  }
}
BENCHMARK(BM_ToStringRadix36_CZqInteger);

void BM_ToStringRadix36_ToChars(benchmark::State& state) {
  const int* values = Values();
  int i = 0;
  for (auto _ : state) {
    char text[40];
    const auto end = std::to_chars(text, text + sizeof text, values[i++ & 1023], 36).ptr;
    const std::u16string wide(text, end);  // a new UTF-16 string, as ours is
    gSink = static_cast<int>(wide.size());
  }
}
BENCHMARK(BM_ToStringRadix36_ToChars);

void BM_ToHexString_CZqInteger(benchmark::State& state) {
  const int* values = Values();
  int i = 0;
  for (auto _ : state) {
    const CZqString text = CZqInteger::toHexString(values[i++ & 1023]);
    gSink = text.length();
  }
}
BENCHMARK(BM_ToHexString_CZqInteger);

void BM_ToHexString_ToChars(benchmark::State& state) {
  const int* values = Values();
  int i = 0;
  for (auto _ : state) {
    char text[40];
    const auto end =
        std::to_chars(text, text + sizeof text, static_cast<unsigned>(values[i++ & 1023]), 16).ptr;
    const std::u16string wide(text, end);
    gSink = static_cast<int>(wide.size());
  }
}
BENCHMARK(BM_ToHexString_ToChars);

void BM_ValueOfRelease_CZqInteger(benchmark::State& state) {
  int i = 0;
  for (auto _ : state) {
    SPtr<CZqInteger> boxed = CZqInteger::valueOf(i++);
    gSink = boxed->intValue();
  }
}
BENCHMARK(BM_ValueOfRelease_CZqInteger);

void BM_ValueOfRelease_MakeShared(benchmark::State& state) {
  int i = 0;
  for (auto _ : state) {
    std::shared_ptr<int> boxed = std::make_shared<int>(i++);
    gSink = *boxed;
  }
}
BENCHMARK(BM_ValueOfRelease_MakeShared);

}  // namespace

//===-- tryParseInt and parseLong ------------------------------------------===//
// Next to std::from_chars on the same digits (BM_ParseInt_FromChars for the
// int ones).

void BM_TryParseInt_CZqInteger(benchmark::State& state) {
  const std::u16string_view text = kDigits16[state.range(0)];
  for (auto _ : state)
    gSink = CZqInteger::tryParseInt(text).value_or(0);
  if (gSink != (state.range(0) == 0 ? 123456789 : -2147483647 - 1))
    state.SkipWithError("wrong value");
}
BENCHMARK(BM_TryParseInt_CZqInteger)->Arg(0)->Arg(1);

const char16_t* const kLongDigits16[] = {u"1234567890123", u"-9223372036854775808"};
const char* const kLongDigits8[] = {"1234567890123", "-9223372036854775808"};

void BM_ParseLong_CZqInteger(benchmark::State& state) {
  const CZqString text(kLongDigits16[state.range(0)]);
  long long value = 0;
  for (auto _ : state) {
    value = CZqInteger::parseLong(text);
    gSink = static_cast<int>(value);
  }
  if (value != std::strtoll(kLongDigits8[state.range(0)], nullptr, 10))
    state.SkipWithError("wrong value");
}
BENCHMARK(BM_ParseLong_CZqInteger)->Arg(0)->Arg(1);

void BM_ParseLong_FromChars(benchmark::State& state) {
  const std::string text = kLongDigits8[state.range(0)];
  for (auto _ : state) {
    long long value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    gSink = static_cast<int>(value);
  }
}
BENCHMARK(BM_ParseLong_FromChars)->Arg(0)->Arg(1);

BENCHMARK_MAIN();
