//===- bench/RegexBench.cpp - split and regular expressions against Qt -----===//
//
// CZqString::split and ZqPattern against QString::split and
// QRegularExpression (the same PCRE2 engine, JIT on) in the same run. Every
// result is checked once before its timed loop.
//===----------------------------------------------------------------------===//
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "lang/CZqString.h"
#include "lang/ZqPattern.h"

#if defined(ZQ_BENCH_HAVE_QT)
#include <QtCore/QRegularExpression>
#include <QtCore/QString>
#include <QtCore/QStringList>
#endif

using zqlang::CZqString;
using zqlang::ZqPattern;

namespace {

volatile long long gSink;

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "wrong result: %s\n", what);
    std::abort();
  }
}

// A line of 1,000 comma-separated fields of 1 to 8 letters.
std::u16string FieldLine() {
  std::u16string line;
  for (int i = 0; i < 1000; ++i) {
    if (i > 0)
      line += u',';
    line.append(static_cast<std::size_t>(1 + (i * 7) % 8), static_cast<char16_t>(u'a' + i % 26));
  }
  return line;
}

// 100,000 short lines of three fields.
std::vector<std::u16string> ShortLines() {
  std::vector<std::u16string> lines;
  for (int i = 0; i < 100000; ++i)
    lines.push_back(u"id" + std::u16string(1 + i % 5, u'7') + u",name,v");
  return lines;
}

// 2,000 words separated by runs of one to three blanks.
std::u16string Words() {
  std::u16string text;
  for (int i = 0; i < 2000; ++i)
    text += std::u16string(1 + i % 3, i % 4 == 0 ? u'\t' : u' ') + u"word" +
            static_cast<char16_t>(u'a' + i % 26);
  return text;
}

// About 1 MB (512 Ki units) of lower-case words and spaces.
std::u16string Megabyte() {
  std::u16string text;
  while (text.size() < 512 * 1024)
    text += u"lorem ipsum dolor sit amet consectetur adipiscing elit ";
  return text;
}

void BM_SplitFields_CZqString(benchmark::State& state) {
  const CZqString line(FieldLine());
  Check(line.split(u",").size() == 1000, "split fields");
  for (auto _ : state)
    gSink = static_cast<long long>(line.split(u",").size());
}
BENCHMARK(BM_SplitFields_CZqString);

void BM_SplitShortLines_CZqString(benchmark::State& state) {
  std::vector<CZqString> lines;
  for (const auto& l : ShortLines())
    lines.emplace_back(l);
  Check(lines[0].split(u",").size() == 3, "split lines");
  for (auto _ : state) {
    long long n = 0;
    for (const CZqString& l : lines)
      n += static_cast<long long>(l.split(u",").size());
    gSink = n;
  }
}
BENCHMARK(BM_SplitShortLines_CZqString)->Unit(benchmark::kMillisecond);

void BM_SplitRegex_CZqString(benchmark::State& state) {
  const CZqString text(Words());
  Check(text.split(u"\\s+").size() == 2001, "split regex");
  for (auto _ : state)
    gSink = static_cast<long long>(text.split(u"\\s+").size());
}
BENCHMARK(BM_SplitRegex_CZqString);

void BM_MatchesMegabyte_CZqString(benchmark::State& state) {
  const CZqString text(Megabyte());
  const ZqPattern pattern = ZqPattern::compile(u"[a-z ]+");
  Check(pattern.matches(text), "matches");
  for (auto _ : state)
    gSink = pattern.matches(text);
}
BENCHMARK(BM_MatchesMegabyte_CZqString)->Unit(benchmark::kMicrosecond);

void BM_ReplaceAllMegabyte_CZqString(benchmark::State& state) {
  const CZqString text(Megabyte());
  const ZqPattern pattern = ZqPattern::compile(u"[aeiou]+");
  Check(pattern.replaceAll(text, u"_").indexOf(u'a') < 0, "replaceAll");
  for (auto _ : state)
    gSink = pattern.replaceAll(text, u"_").length();
}
BENCHMARK(BM_ReplaceAllMegabyte_CZqString)->Unit(benchmark::kMicrosecond);

#if defined(ZQ_BENCH_HAVE_QT)
QString ToQt(const std::u16string& s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<int>(s.size()));
}

void BM_SplitFields_Qt(benchmark::State& state) {
  const QString line = ToQt(FieldLine());
  Check(line.split(QChar(u',')).size() == 1000, "Qt split fields");
  for (auto _ : state)
    gSink = line.split(QChar(u',')).size();
}
BENCHMARK(BM_SplitFields_Qt);

void BM_SplitShortLines_Qt(benchmark::State& state) {
  std::vector<QString> lines;
  for (const auto& l : ShortLines())
    lines.push_back(ToQt(l));
  for (auto _ : state) {
    long long n = 0;
    for (const QString& l : lines)
      n += l.split(QChar(u',')).size();
    gSink = n;
  }
}
BENCHMARK(BM_SplitShortLines_Qt)->Unit(benchmark::kMillisecond);

void BM_SplitRegex_Qt(benchmark::State& state) {
  const QString text = ToQt(Words());
  const QRegularExpression blanks(QStringLiteral("\\s+"));
  Check(text.split(blanks).size() == 2001, "Qt split regex");
  for (auto _ : state)
    gSink = text.split(blanks).size();
}
BENCHMARK(BM_SplitRegex_Qt);

void BM_MatchesMegabyte_Qt(benchmark::State& state) {
  const QString text = ToQt(Megabyte());
  const QRegularExpression pattern(QRegularExpression::anchoredPattern(QStringLiteral("[a-z ]+")));
  Check(pattern.match(text).hasMatch(), "Qt matches");
  for (auto _ : state)
    gSink = pattern.match(text).hasMatch();
}
BENCHMARK(BM_MatchesMegabyte_Qt)->Unit(benchmark::kMicrosecond);

void BM_ReplaceAllMegabyte_Qt(benchmark::State& state) {
  const QString text = ToQt(Megabyte());
  const QRegularExpression pattern(QStringLiteral("[aeiou]+"));
  for (auto _ : state) {
    QString copy = text;
    gSink = copy.replace(pattern, QStringLiteral("_")).size();
  }
}
BENCHMARK(BM_ReplaceAllMegabyte_Qt)->Unit(benchmark::kMicrosecond);
#endif

}  // namespace
BENCHMARK_MAIN();
