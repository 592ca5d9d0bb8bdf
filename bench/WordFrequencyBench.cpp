//===- bench/WordFrequencyBench.cpp - a word count as a newcomer writes it ===//
//
// A whole small program rather than one operation: count the words of a
// 3.3 MB UTF-8 text the way someone coming from Java writes it. The text is
// decoded once, outside the timed region; each iteration then lower-cases
// the whole text, walks it unit by unit (charAt / operator[] / at), cuts each
// run of letters out as a new string (substring / substr / mid) and counts
// it in a hash map:
//   CZqString       toLowerCase(), charAt, substring, std::unordered_map<CZqString, int>
//   U16String       ASCII lowering in place, operator[], substr,
//                   std::unordered_map<std::u16string, int>
//   Qt              toLower(), at, mid, QHash<QString, int>
// The corpus is generated here (fixed seed): words of a Zipf-like
// vocabulary, some capitalised or in capitals (ASCII letters only), some with
// lower-case Latin-1, Latin Extended, Greek or Cyrillic letters, with ASCII
// and non-ASCII punctuation, digits, spaces and line breaks between them.
// Upper case is ASCII only, so every lowering used here gives the same text;
// all three counts are compared before timing.
//===----------------------------------------------------------------------===//
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "lang/CZqString.h"

#if defined(ZQ_BENCH_HAVE_QT)
#include <QtCore/QHash>
#include <QtCore/QString>
#endif

namespace {

using zqlang::CZqString;

constexpr std::size_t kCorpusBytes = 3300000;
constexpr int kVocabulary = 20000;

volatile long gSink;

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "wrong result: %s\n", what);
    std::abort();
  }
}

// The words' letters: a letter is an ASCII letter or one of the Latin,
// Greek and Cyrillic blocks (the corpus holds no other letters, and its
// punctuation lies outside these ranges). One inline test for all three
// implementations, so that only the string class differs.
inline bool IsLetter(char16_t u) {
  return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') ||
         (u >= 0xC0 && u <= 0x24F && u != 0xD7 && u != 0xF7) || (u >= 0x370 && u <= 0x4FF);
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// A word of 1 to 4 syllables; about one word in eight takes a lower-case
// non-ASCII letter, one in fifty is Greek or Cyrillic.
std::u32string MakeWord(std::mt19937& random) {
  static const char* const kOnsets[] = {"b",  "c",  "d",  "f",  "g",  "h",  "k",  "l",
                                        "m",  "n",  "p",  "r",  "s",  "t",  "v",  "w",
                                        "st", "tr", "ch", "sh", "th", "pl", "gr", ""};
  static const char* const kVowels[] = {"a", "e", "i", "o", "u", "ea", "ou", "ie", "y"};
  static const char32_t kAccented[] = {U'\u00E9', U'\u00E8', U'\u00FC', U'\u00F6', U'\u00E4',
                                       U'\u00DF', U'\u00F1', U'\u00E7', U'\u00F8', U'\u00E5',
                                       U'\u0142', U'\u0161', U'\u017E', U'\u0151'};
  static const char32_t kGreek[] = {U'\u03B1', U'\u03B2', U'\u03B3', U'\u03B4', U'\u03B5',
                                    U'\u03BB', U'\u03BC', U'\u03BF', U'\u03C1', U'\u03C4'};
  static const char32_t kCyrillic[] = {U'\u0430', U'\u0431', U'\u0432', U'\u0434', U'\u0435',
                                       U'\u043A', U'\u043B', U'\u043C', U'\u043E', U'\u0440'};
  const unsigned script = random() % 50;
  std::u32string word;
  const int length = 1 + static_cast<int>(random() % 4);
  if (script < 2) {
    const char32_t* letters = script == 0 ? kGreek : kCyrillic;
    for (int i = 0; i < 2 * length + 1; ++i)
      word += letters[random() % 10];
    return word;
  }
  for (int i = 0; i < length; ++i) {
    for (const char* c = kOnsets[random() % (sizeof kOnsets / sizeof kOnsets[0])]; *c != 0; ++c)
      word += static_cast<char32_t>(*c);
    for (const char* c = kVowels[random() % (sizeof kVowels / sizeof kVowels[0])]; *c != 0; ++c)
      word += static_cast<char32_t>(*c);
  }
  if (random() % 8 == 0)
    word[random() % word.size()] = kAccented[random() % (sizeof kAccented / sizeof kAccented[0])];
  return word;
}

// The corpus in UTF-8: words drawn with a log-uniform rank (a few very
// frequent words, a long tail), about 8 % capitalised and 1 % in capitals
// when they are ASCII, then a space, a punctuation mark, a number or a line
// break.
const std::string& Corpus() {
  static const std::string text = [] {
    std::mt19937 random(2024);
    std::vector<std::u32string> vocabulary;
    vocabulary.reserve(kVocabulary);
    for (int i = 0; i < kVocabulary; ++i)
      vocabulary.push_back(MakeWord(random));
    static const char32_t* const kAfter[] = {
        U", ",       U". ",      U"; ",      U": ",  U"! ", U"? ", U"\n",
        U" \u2014 ", U" \u00AB", U"\u00BB ", U"'s ", U" (", U") ", U" \u201Cok\u201D "};
    std::string out;
    out.reserve(kCorpusBytes + 64);
    while (out.size() < kCorpusBytes) {
      const double u = (random() + 0.5) / 4294967296.0;
      const auto rank = static_cast<std::size_t>(std::exp(u * std::log(kVocabulary + 1.0))) - 1;
      std::u32string word = vocabulary[std::min<std::size_t>(rank, kVocabulary - 1)];
      bool ascii = true;
      for (char32_t c : word)
        ascii = ascii && c < 0x80;
      const unsigned casing = random() % 100;
      if (ascii && casing < 8) {
        word[0] -= 0x20;
      } else if (ascii && casing < 9) {
        for (char32_t& c : word)
          c -= 0x20;
      }
      for (char32_t c : word)
        AppendUtf8(out, c);
      const unsigned after = random() % 100;
      if (after < 80) {
        out += ' ';
      } else if (after < 82) {
        out += ' ' + std::to_string(random() % 2000) + ' ';
      } else {
        for (const char32_t* c = kAfter[after % (sizeof kAfter / sizeof kAfter[0])]; *c != 0; ++c)
          AppendUtf8(out, *c);
      }
    }
    return out;
  }();
  return text;
}

const CZqString& Decoded() {
  static const CZqString text = CZqString::fromUtf8(Corpus());
  return text;
}

using Counts = std::map<std::u16string, int>;

//===-- The three loops ---------------------------------------------------===//

std::unordered_map<CZqString, int> CountZq(const CZqString& text) {
  const CZqString lower = text.toLowerCase();
  std::unordered_map<CZqString, int> counts;
  const int n = lower.length();
  int start = -1;
  for (int i = 0; i < n; ++i) {
    const char16_t c = lower.charAt(i);
    if (IsLetter(c)) {
      if (start < 0)
        start = i;
    } else if (start >= 0) {
      ++counts[lower.substring(start, i)];
      start = -1;
    }
  }
  if (start >= 0)
    ++counts[lower.substring(start, n)];
  return counts;
}

std::unordered_map<std::u16string, int> CountStd(const std::u16string& text) {
  std::u16string lower = text;
  for (char16_t& c : lower) {
    if (c >= u'A' && c <= u'Z')
      c = static_cast<char16_t>(c + 0x20);
  }
  std::unordered_map<std::u16string, int> counts;
  const std::size_t n = lower.size();
  std::size_t start = std::u16string::npos;
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t c = lower[i];
    if (IsLetter(c)) {
      if (start == std::u16string::npos)
        start = i;
    } else if (start != std::u16string::npos) {
      ++counts[lower.substr(start, i - start)];
      start = std::u16string::npos;
    }
  }
  if (start != std::u16string::npos)
    ++counts[lower.substr(start)];
  return counts;
}

void BM_WordFrequency_CZqString(benchmark::State& state) {
  const CZqString& text = Decoded();
  for (auto _ : state)
    gSink = static_cast<long>(CountZq(text).size());
  state.SetBytesProcessed(state.iterations() * static_cast<long>(Corpus().size()));
}

void BM_WordFrequency_U16String(benchmark::State& state) {
  const std::u16string text(Decoded().view());
  for (auto _ : state)
    gSink = static_cast<long>(CountStd(text).size());
  state.SetBytesProcessed(state.iterations() * static_cast<long>(Corpus().size()));
}

BENCHMARK(BM_WordFrequency_CZqString)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WordFrequency_U16String)->Unit(benchmark::kMillisecond);

#if defined(ZQ_BENCH_HAVE_QT)
QHash<QString, int> CountQt(const QString& text) {
  const QString lower = text.toLower();
  QHash<QString, int> counts;
  const int n = lower.size();
  int start = -1;
  for (int i = 0; i < n; ++i) {
    const char16_t c = lower.at(i).unicode();
    if (IsLetter(c)) {
      if (start < 0)
        start = i;
    } else if (start >= 0) {
      ++counts[lower.mid(start, i - start)];
      start = -1;
    }
  }
  if (start >= 0)
    ++counts[lower.mid(start)];
  return counts;
}

void BM_WordFrequency_Qt(benchmark::State& state) {
  const QString text = QString::fromUtf8(Corpus().data(), static_cast<int>(Corpus().size()));
  for (auto _ : state)
    gSink = static_cast<long>(CountQt(text).size());
  state.SetBytesProcessed(state.iterations() * static_cast<long>(Corpus().size()));
}

BENCHMARK(BM_WordFrequency_Qt)->Unit(benchmark::kMillisecond);
#endif

// Decodes the corpus for every implementation and compares the decoded
// texts and the three counts: a mismatch stops the program before any
// timing.
void CheckCounts() {
  const CZqString& text = Decoded();
  const std::u16string wide(text.view());
  Counts zq;
  for (const auto& [word, count] : CountZq(text))
    zq.emplace(std::u16string(word.view()), count);
  const std::unordered_map<std::u16string, int> standard = CountStd(wide);
  Check(zq == Counts(standard.begin(), standard.end()), "CZqString and std::u16string counts");
  int total = 0;
  for (const auto& entry : zq)
    total += entry.second;
#if defined(ZQ_BENCH_HAVE_QT)
  const QString qt = QString::fromUtf8(Corpus().data(), static_cast<int>(Corpus().size()));
  Check(std::u16string(reinterpret_cast<const char16_t*>(qt.utf16()),
                       static_cast<std::size_t>(qt.size())) == wide,
        "QString::fromUtf8 and CZqString::fromUtf8");
  const QHash<QString, int> qtCounts = CountQt(qt);
  Counts qtSorted;
  for (auto it = qtCounts.begin(); it != qtCounts.end(); ++it)
    qtSorted.emplace(std::u16string(reinterpret_cast<const char16_t*>(it.key().utf16()),
                                    static_cast<std::size_t>(it.key().size())),
                     it.value());
  Check(zq == qtSorted, "CZqString and QString counts");
#endif
  benchmark::AddCustomContext("corpus", std::to_string(Corpus().size()) + " bytes of UTF-8, " +
                                            std::to_string(text.length()) + " units, " +
                                            std::to_string(total) + " words, " +
                                            std::to_string(zq.size()) + " distinct");
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  CheckCounts();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
