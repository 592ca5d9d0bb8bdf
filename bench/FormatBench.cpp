//===- bench/FormatBench.cpp - zqlang::format against its peers -----------===//
//
// FormatMessage: one message of five arguments (an int, a string, a double,
// a string, an int) per iteration, cycling through 1,000 sets of values:
//   CZqString        zqlang::format(u"{} {} of {} in {} ({})", ...) -> CZqString
//   U16String        fmt::format(u"...", ...) with std::u16string arguments
//                    -> std::u16string ({fmt}'s own UTF-16 output)
//   Qt               QStringLiteral("%1 %2 of %3 in %4 (%5)").arg(...) x 5
//   FmtUtf8          fmt::format("...", ...) with the CZqString arguments
//                    (each converted to UTF-8 by ZqFormat.h's formatter),
//                    then CZqString::fromUtf8: the way before zqlang::format
//   FormatToBuilder  zqlang::formatTo into one builder, emptied each time
//                    (no string made)
// Every implementation's 1,000 texts are checked against snprintf's before
// timing, and results are kept alive through a volatile sink.
//===----------------------------------------------------------------------===//
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchData.h"
#include "lang/CZqString.h"
#include "lang/CZqStringBuilder.h"
#include "lang/ZqFormat.h"

#if defined(ZQ_BENCH_HAVE_QT)
#include <QString>
#endif

namespace {

using zqlang::CZqString;
using zqlang::CZqStringBuilder;

volatile long gSink;

constexpr int kCount = 1000;
constexpr int kWords = 4;
const char16_t* const kWordTexts[kWords] = {u"files", u"r\u00E9sum\u00E9s", u"K\u00F6ln",
                                            u"/tmp/\u00FCber"};

// The values of the i-th message: two ints of 1 to 10 digits, a double with
// at most 6 significant digits (so that every implementation writes it
// alike: {fmt}'s shortest text and Qt's 'g' with 6 digits agree), and two
// of the words.
struct Values {
  int count;
  int word;
  double amount;
  int place;
  int code;
};

const std::vector<Values>& AllValues() {
  static const std::vector<Values> values = [] {
    const std::vector<int> ints = zqbench::MakeVariedInts(23, kCount);
    std::vector<Values> v;
    for (int i = 0; i < kCount; ++i) {
      const int n = ints[static_cast<std::size_t>(i)];
      v.push_back({n, i % kWords, (n % 10000) / 4.0, (i / 3) % kWords,
                   ints[static_cast<std::size_t>(kCount - 1 - i)]});
    }
    return v;
  }();
  return values;
}

const std::vector<CZqString>& Words() {
  static const std::vector<CZqString> words(std::begin(kWordTexts), std::end(kWordTexts));
  return words;
}

std::u16string TextOf(std::u16string_view s) { return std::u16string(s); }

// The expected texts, from snprintf.
const std::vector<std::u16string>& Expected() {
  static const std::vector<std::u16string> texts = [] {
    std::vector<std::u16string> t;
    for (const Values& v : AllValues()) {
      char line[200];
      std::snprintf(line, sizeof line, "%d %s of %g in %s (%d)", v.count,
                    Words()[static_cast<std::size_t>(v.word)].toUtf8().c_str(), v.amount,
                    Words()[static_cast<std::size_t>(v.place)].toUtf8().c_str(), v.code);
      t.push_back(TextOf(CZqString::fromUtf8(line)));
    }
    return t;
  }();
  return texts;
}

// Checks make(values) against the expectation for every set, then times it.
template <class Make, class Text, class Size>
void FormatLoop(benchmark::State& state, Make make, Text text, Size size) {
  const std::vector<Values>& values = AllValues();
  for (int i = 0; i < kCount; ++i) {
    if (text(make(values[static_cast<std::size_t>(i)])) !=
        Expected()[static_cast<std::size_t>(i)]) {
      state.SkipWithError("wrong text");
      return;
    }
  }
  int i = 0;
  for (auto _ : state) {
    gSink = static_cast<long>(size(make(values[static_cast<std::size_t>(i)])));
    i = i + 1 == kCount ? 0 : i + 1;
  }
}

void BM_FormatMessage_CZqString(benchmark::State& state) {
  const std::vector<CZqString>& words = Words();
  FormatLoop(
      state,
      [&](const Values& v) {
        return zqlang::format(u"{} {} of {} in {} ({})", v.count,
                              words[static_cast<std::size_t>(v.word)], v.amount,
                              words[static_cast<std::size_t>(v.place)], v.code);
      },
      [](const CZqString& s) { return TextOf(s.view()); },
      [](const CZqString& s) { return s.length(); });
}

void BM_FormatMessage_U16String(benchmark::State& state) {
  const std::vector<std::u16string> words(std::begin(kWordTexts), std::end(kWordTexts));
  FormatLoop(
      state,
      [&](const Values& v) {
        return fmt::format(u"{} {} of {} in {} ({})", v.count,
                           words[static_cast<std::size_t>(v.word)], v.amount,
                           words[static_cast<std::size_t>(v.place)], v.code);
      },
      [](const std::u16string& s) { return s; }, [](const std::u16string& s) { return s.size(); });
}

#if defined(ZQ_BENCH_HAVE_QT)
void BM_FormatMessage_Qt(benchmark::State& state) {
  std::vector<QString> words;
  for (const char16_t* w : kWordTexts)
    words.push_back(QString::fromUtf16(w));
  FormatLoop(
      state,
      [&](const Values& v) {
        return QStringLiteral("%1 %2 of %3 in %4 (%5)")
            .arg(v.count)
            .arg(words[static_cast<std::size_t>(v.word)])
            .arg(v.amount)
            .arg(words[static_cast<std::size_t>(v.place)])
            .arg(v.code);
      },
      [](const QString& s) {
        return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()),
                              static_cast<std::size_t>(s.size()));
      },
      [](const QString& s) { return s.size(); });
}
#endif

void BM_FormatMessage_FmtUtf8(benchmark::State& state) {
  const std::vector<CZqString>& words = Words();
  FormatLoop(
      state,
      [&](const Values& v) {
        return CZqString::fromUtf8(fmt::format("{} {} of {} in {} ({})", v.count,
                                               words[static_cast<std::size_t>(v.word)], v.amount,
                                               words[static_cast<std::size_t>(v.place)], v.code));
      },
      [](const CZqString& s) { return TextOf(s.view()); },
      [](const CZqString& s) { return s.length(); });
}

void BM_FormatMessage_FormatToBuilder(benchmark::State& state) {
  const std::vector<CZqString>& words = Words();
  CZqStringBuilder b;
  FormatLoop(
      state,
      [&](const Values& v) -> const CZqStringBuilder& {
        b.setLength(0);
        return zqlang::formatTo(b, u"{} {} of {} in {} ({})", v.count,
                                words[static_cast<std::size_t>(v.word)], v.amount,
                                words[static_cast<std::size_t>(v.place)], v.code);
      },
      [](const CZqStringBuilder& s) { return TextOf(s.view()); },
      [](const CZqStringBuilder& s) { return s.length(); });
}

}  // namespace

BENCHMARK(BM_FormatMessage_CZqString);
BENCHMARK(BM_FormatMessage_U16String);
#if defined(ZQ_BENCH_HAVE_QT)
BENCHMARK(BM_FormatMessage_Qt);
#endif
BENCHMARK(BM_FormatMessage_FmtUtf8);
BENCHMARK(BM_FormatMessage_FormatToBuilder);

BENCHMARK_MAIN();
