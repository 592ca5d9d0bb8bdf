//===- bench/CZqStringBuilderBench.cpp - the builder against its peers ----===//
//
// The workloads, each measured for CZqStringBuilder, std::u16string and
// ICU's icu::UnicodeString (and Qt's QString when built with it) in one run:
//   Message            "Index: " + int + ", Length: " + int, taken out as a string
//                      (std::u16string twice: appends in place, and operator+)
//   MessageVaried      the same, cycling through 1,000 pairs of varied ints
//   InsertAtFront      1,000 single-unit inserts at index 0 of a 10,000-unit text
//   Reverse            reverse 1,000,000 units that hold surrogate pairs
//   AppendUnit         1,000,000 single-unit appends to an empty object
//   AppendUnit100k     100,000 single-unit appends to an empty object
//   AppendUnitTwo      the same into two objects in turn (their blocks interleave)
//   AppendUnitPinned   AppendUnit with the heap pinned: large blocks come from
//                      the heap and freed memory stays mapped, so no iteration
//                      takes fresh pages (the "faults" counter shows it). The
//                      malloc settings hold for the rest of the process, so
//                      these cases are registered last.
// Every result is checked once outside the timed loop, and kept alive through
// a volatile sink rather than benchmark::DoNotOptimize.
//===----------------------------------------------------------------------===//
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "BenchData.h"
#include "lang/CZqString.h"
#include "lang/CZqStringBuilder.h"

#if defined(ZQ_BENCH_HAVE_ICU)
#include <unicode/unistr.h>
#endif
#if defined(ZQ_BENCH_HAVE_QT)
#include <QString>
#endif

namespace {

using zqlang::CZqString;
using zqlang::CZqStringBuilder;

volatile long gSink;

constexpr int kInsertText = 10000;
constexpr int kInserts = 1000;
constexpr int kReverseUnits = 1000000;
constexpr int kAppends = 1000000;

std::u16string TextOf(const CZqString& s) { return std::u16string(s.Ptr(), s.length()); }

// Appends the decimal text of value, as std::to_chars writes it.
void AppendDecimal(std::u16string& out, int value) {
  char text[12];
  const char* end = std::to_chars(text, text + sizeof text, value).ptr;
  out.append(static_cast<const char*>(text), end);
}

// Letters with a surrogate pair at about every spacing-th place, none when
// spacing is 0 (fixed seed).
std::u16string MakePairText(int count, int spacing) {
  std::mt19937 random(42);
  std::u16string text;
  text.reserve(static_cast<size_t>(count));
  while (static_cast<int>(text.size()) < count) {
    const bool pair = spacing > 0 && random() % static_cast<unsigned>(spacing) == 0;
    if (pair && static_cast<int>(text.size()) + 2 <= count) {
      text += static_cast<char16_t>(0xD800 + random() % 0x400);
      text += static_cast<char16_t>(0xDC00 + random() % 0x400);
    } else {
      text += static_cast<char16_t>(u'a' + random() % 26);
    }
  }
  return text;
}

// The reference reversal: pairs keep their order.
std::u16string ReversedKeepingPairs(const std::u16string& text) {
  std::u16string out(text.size(), u'\0');
  const int n = static_cast<int>(text.size());
  for (int i = 0; i < n;) {
    const bool pair = i + 1 < n && (text[i] & 0xFC00) == 0xD800 && (text[i + 1] & 0xFC00) == 0xDC00;
    if (pair) {
      out[n - i - 2] = text[i];
      out[n - i - 1] = text[i + 1];
      i += 2;
    } else {
      out[n - i - 1] = text[i];
      ++i;
    }
  }
  return out;
}

std::u16string Letters(int count) {
  std::u16string text(static_cast<size_t>(count), u'a');
  for (int i = 0; i < count; ++i)
    text[i] = static_cast<char16_t>(u'a' + i % 26);
  return text;
}

//===-- Message -----------------------------------------------------------===//

volatile int gIndex = 7;
volatile int gLength = 42;
const std::u16string kMessage = u"Index: 7, Length: 42";

CZqString MessageZq(int index, int length) {
  CZqStringBuilder b;
  b.append(u"Index: ").append(index).append(u", Length: ").append(length);
  return b.toString();
}

void BM_Message_CZqStringBuilder(benchmark::State& state) {
  if (TextOf(MessageZq(gIndex, gLength)) != kMessage)
    state.SkipWithError("wrong text");
  for (auto _ : state)
    gSink = MessageZq(gIndex, gLength).length();
}

std::u16string MessageStd(int index, int length) {
  std::u16string s(u"Index: ");
  AppendDecimal(s, index);
  s += u", Length: ";
  AppendDecimal(s, length);
  return s;
}

void BM_Message_U16String(benchmark::State& state) {
  if (MessageStd(gIndex, gLength) != kMessage)
    state.SkipWithError("wrong text");
  for (auto _ : state)
    gSink = static_cast<long>(MessageStd(gIndex, gLength).size());
}

// The same text written with operator+, as the expression reads.
std::u16string Decimal(int value) {
  std::u16string text;
  AppendDecimal(text, value);
  return text;
}

std::u16string MessageStdPlus(int index, int length) {
  return u"Index: " + Decimal(index) + u", Length: " + Decimal(length);
}

void BM_Message_U16StringPlus(benchmark::State& state) {
  if (MessageStdPlus(gIndex, gLength) != kMessage)
    state.SkipWithError("wrong text");
  for (auto _ : state)
    gSink = static_cast<long>(MessageStdPlus(gIndex, gLength).size());
}

#if defined(ZQ_BENCH_HAVE_ICU)
void AppendDecimal(icu::UnicodeString& out, int value) {
  char text[12];
  const char* end = std::to_chars(text, text + sizeof text, value).ptr;
  char16_t units[12];
  std::copy(static_cast<const char*>(text), end, units);
  out.append(units, 0, static_cast<int32_t>(end - text));
}

icu::UnicodeString MessageIcu(int index, int length) {
  icu::UnicodeString s(u"Index: ");
  AppendDecimal(s, index);
  s.append(u", Length: ");
  AppendDecimal(s, length);
  return s;
}

void BM_Message_ICU(benchmark::State& state) {
  if (MessageIcu(gIndex, gLength) != icu::UnicodeString(kMessage.c_str()))
    state.SkipWithError("wrong text");
  for (auto _ : state)
    gSink = MessageIcu(gIndex, gLength).length();
}
#endif

#if defined(ZQ_BENCH_HAVE_QT)
QString MessageQt(int index, int length) {
  QString s(QStringLiteral("Index: "));
  s.append(QString::number(index))
      .append(QStringLiteral(", Length: "))
      .append(QString::number(length));
  return s;
}

void BM_Message_QString(benchmark::State& state) {
  if (MessageQt(gIndex, gLength) != QStringLiteral("Index: 7, Length: 42"))
    state.SkipWithError("wrong text");
  for (auto _ : state)
    gSink = MessageQt(gIndex, gLength).size();
}
#endif

//===-- MessageVaried -----------------------------------------------------===//
// The message of Message, one per iteration, cycling through 1,000 pairs of
// ints of every size and both signs, so that the number writers see varied
// digit counts rather than one value the branch predictor learns.

constexpr int kVariedCount = 1000;

// kVariedCount ints of 1 to 10 digits, signs mixed (fixed seed).
const std::vector<int>& VariedInts() {
  static const std::vector<int> values = zqbench::MakeVariedInts(17, kVariedCount);
  return values;
}

// The pair of the i-th message: the i-th int and the i-th from the end.
inline int VariedIndex(int i) { return VariedInts()[static_cast<size_t>(i)]; }
inline int VariedLength(int i) { return VariedInts()[static_cast<size_t>(kVariedCount - 1 - i)]; }

std::u16string VariedExpectation(int i) {
  const std::string text =
      "Index: " + std::to_string(VariedIndex(i)) + ", Length: " + std::to_string(VariedLength(i));
  return std::u16string(text.begin(), text.end());
}

template <class Make, class Text>
bool VariedMessagesRight(Make make, Text text) {
  for (int i = 0; i < kVariedCount; ++i) {
    if (text(make(VariedIndex(i), VariedLength(i))) != VariedExpectation(i))
      return false;
  }
  return true;
}

template <class Make, class Size>
void MessageVariedLoop(benchmark::State& state, Make make, Size size) {
  int i = 0;
  for (auto _ : state) {
    gSink = static_cast<long>(size(make(VariedIndex(i), VariedLength(i))));
    i = i + 1 == kVariedCount ? 0 : i + 1;
  }
}

void BM_MessageVaried_CZqStringBuilder(benchmark::State& state) {
  if (!VariedMessagesRight(MessageZq, TextOf))
    state.SkipWithError("wrong text");
  MessageVariedLoop(state, MessageZq, [](const CZqString& s) { return s.length(); });
}

void BM_MessageVaried_U16String(benchmark::State& state) {
  const auto same = [](const std::u16string& s) { return s; };
  if (!VariedMessagesRight(MessageStd, same))
    state.SkipWithError("wrong text");
  MessageVariedLoop(state, MessageStd, [](const std::u16string& s) { return s.size(); });
}

void BM_MessageVaried_U16StringPlus(benchmark::State& state) {
  const auto same = [](const std::u16string& s) { return s; };
  if (!VariedMessagesRight(MessageStdPlus, same))
    state.SkipWithError("wrong text");
  MessageVariedLoop(state, MessageStdPlus, [](const std::u16string& s) { return s.size(); });
}

#if defined(ZQ_BENCH_HAVE_ICU)
void BM_MessageVaried_ICU(benchmark::State& state) {
  const auto text = [](const icu::UnicodeString& s) {
    return std::u16string(s.getBuffer(), static_cast<size_t>(s.length()));
  };
  if (!VariedMessagesRight(MessageIcu, text))
    state.SkipWithError("wrong text");
  MessageVariedLoop(state, MessageIcu, [](const icu::UnicodeString& s) { return s.length(); });
}
#endif

#if defined(ZQ_BENCH_HAVE_QT)
std::u16string TextOfQt(const QString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()),
                        static_cast<size_t>(s.size()));
}

void BM_MessageVaried_QString(benchmark::State& state) {
  if (!VariedMessagesRight(MessageQt, TextOfQt))
    state.SkipWithError("wrong text");
  MessageVariedLoop(state, MessageQt, [](const QString& s) { return s.size(); });
}

// The same text by QString::arg, as Qt code often writes a message.
QString MessageQtArg(int index, int length) {
  return QStringLiteral("Index: %1, Length: %2").arg(index).arg(length);
}

void BM_MessageVaried_QStringArg(benchmark::State& state) {
  if (!VariedMessagesRight(MessageQtArg, TextOfQt))
    state.SkipWithError("wrong text");
  MessageVariedLoop(state, MessageQtArg, [](const QString& s) { return s.size(); });
}
#endif

//===-- InsertAtFront -----------------------------------------------------===//

const std::u16string& InsertText() {
  static const std::u16string text = Letters(kInsertText);
  return text;
}

std::u16string InsertedExpectation() { return std::u16string(kInserts, u'#') + InsertText(); }

void BM_InsertAtFront_CZqStringBuilder(benchmark::State& state) {
  const CZqString text(InsertText().data(), kInsertText);
  auto run = [&] {
    CZqStringBuilder b(text);  // shares; the first insert copies
    for (int i = 0; i < kInserts; ++i)
      b.insert(0, u'#');
    return b.toString();
  };
  if (TextOf(run()) != InsertedExpectation())
    state.SkipWithError("wrong text");
  for (auto _ : state)
    gSink = run().length();
}

// The floor: the same bytes moved with memmove in a block that never grows.
void BM_InsertAtFront_Memmove(benchmark::State& state) {
  std::vector<char16_t> buffer(kInsertText + kInserts + 1);
  auto run = [&] {
    char16_t* units = buffer.data();
    std::memcpy(units, InsertText().data(), kInsertText * sizeof(char16_t));
    for (int i = 0; i < kInserts; ++i) {
      std::memmove(units + 1, units, static_cast<size_t>(kInsertText + i) * sizeof(char16_t));
      units[0] = u'#';
    }
    benchmark::ClobberMemory();
  };
  run();
  if (std::u16string(buffer.data(), kInsertText + kInserts) != InsertedExpectation())
    state.SkipWithError("wrong text");
  for (auto _ : state) {
    run();
    gSink = buffer[static_cast<size_t>(kInserts)];
  }
}

void BM_InsertAtFront_U16String(benchmark::State& state) {
  auto run = [&] {
    std::u16string s(InsertText());
    for (int i = 0; i < kInserts; ++i)
      s.insert(s.begin(), u'#');
    return s;
  };
  if (run() != InsertedExpectation())
    state.SkipWithError("wrong text");
  for (auto _ : state)
    gSink = static_cast<long>(run().size());
}

#if defined(ZQ_BENCH_HAVE_ICU)
void BM_InsertAtFront_ICU(benchmark::State& state) {
  const icu::UnicodeString text(InsertText().data(), kInsertText);
  auto run = [&] {
    icu::UnicodeString s(text);
    for (int i = 0; i < kInserts; ++i)
      s.insert(0, u'#');
    return s;
  };
  if (run() != icu::UnicodeString(InsertedExpectation().c_str()))
    state.SkipWithError("wrong text");
  for (auto _ : state)
    gSink = run().length();
}
#endif

#if defined(ZQ_BENCH_HAVE_QT)
void BM_InsertAtFront_QString(benchmark::State& state) {
  const QString text = QString::fromUtf16(InsertText().data(), kInsertText);
  auto run = [&] {
    QString s(text);
    for (int i = 0; i < kInserts; ++i)
      s.insert(0, QChar(u'#'));
    return s;
  };
  if (run() != QString::fromUtf16(InsertedExpectation().data(), kInsertText + kInserts))
    state.SkipWithError("wrong text");
  for (auto _ : state)
    gSink = run().size();
}
#endif

//===-- Reverse -----------------------------------------------------------===//

// The argument is the spacing of the surrogate pairs in the text: about one
// pair in every 16 units (text dense with pairs), one in 1000, or none.
std::u16string PairText(const benchmark::State& state) {
  return MakePairText(kReverseUnits, static_cast<int>(state.range(0)));
}

// Each iteration reverses the previous result, so the text alternates
// between its two forms; both are checked before timing.
void BM_Reverse_CZqStringBuilder(benchmark::State& state) {
  const std::u16string text = PairText(state);
  CZqStringBuilder b;
  b.append(text.data(), 0, kReverseUnits);
  if (TextOf(b.reverse().toString()) != ReversedKeepingPairs(text) ||
      TextOf(b.reverse().toString()) != text)
    state.SkipWithError("wrong text");
  for (auto _ : state)
    gSink = b.reverse().charAt(0);
  state.SetItemsProcessed(state.iterations() * kReverseUnits);
}

// std::reverse moves every unit, pairs included (it breaks them): the speed
// of a plain reversal in place, the yardstick of the target.
void BM_Reverse_U16String(benchmark::State& state) {
  std::u16string s = PairText(state);
  for (auto _ : state) {
    std::reverse(s.begin(), s.end());
    gSink = s[0];
  }
  state.SetItemsProcessed(state.iterations() * kReverseUnits);
}

#if defined(ZQ_BENCH_HAVE_ICU)
void BM_Reverse_ICU(benchmark::State& state) {
  const std::u16string text = PairText(state);
  icu::UnicodeString s(text.data(), kReverseUnits);
  icu::UnicodeString once(s);
  if (once.reverse() != icu::UnicodeString(ReversedKeepingPairs(text).data(), kReverseUnits))
    state.SkipWithError("wrong text");
  for (auto _ : state)
    gSink = s.reverse().charAt(0);
  state.SetItemsProcessed(state.iterations() * kReverseUnits);
}
#endif

#if defined(ZQ_BENCH_HAVE_QT)
// QString has no reversal; std::reverse on its units, as Qt code does it.
void BM_Reverse_QString(benchmark::State& state) {
  const std::u16string text = PairText(state);
  QString s = QString::fromUtf16(text.data(), kReverseUnits);
  for (auto _ : state) {
    std::reverse(s.begin(), s.end());
    gSink = s.at(0).unicode();
  }
  state.SetItemsProcessed(state.iterations() * kReverseUnits);
}
#endif

//===-- AppendUnit --------------------------------------------------------===//

inline char16_t UnitAt(int i) { return static_cast<char16_t>(u'a' + i % 26); }

const std::u16string& AppendedText() {
  static const std::u16string text = Letters(kAppends);
  return text;
}

void BM_AppendUnit_CZqStringBuilder(benchmark::State& state) {
  auto run = [] {
    CZqStringBuilder b;
    for (int i = 0; i < kAppends; ++i)
      b.append(UnitAt(i));
    return b.toString();
  };
  if (TextOf(run()) != AppendedText())
    state.SkipWithError("wrong text");
  for (auto _ : state)
    gSink = run().length();
  state.SetItemsProcessed(state.iterations() * kAppends);
}

void BM_AppendUnit_U16String(benchmark::State& state) {
  auto run = [] {
    std::u16string s;
    for (int i = 0; i < kAppends; ++i)
      s.push_back(UnitAt(i));
    return s;
  };
  if (run() != AppendedText())
    state.SkipWithError("wrong text");
  for (auto _ : state)
    gSink = static_cast<long>(run().size());
  state.SetItemsProcessed(state.iterations() * kAppends);
}

#if defined(ZQ_BENCH_HAVE_ICU)
void BM_AppendUnit_ICU(benchmark::State& state) {
  auto run = [] {
    icu::UnicodeString s;
    for (int i = 0; i < kAppends; ++i)
      s.append(UnitAt(i));
    return s;
  };
  if (run() != icu::UnicodeString(AppendedText().data(), kAppends))
    state.SkipWithError("wrong text");
  for (auto _ : state)
    gSink = run().length();
  state.SetItemsProcessed(state.iterations() * kAppends);
}
#endif

#if defined(ZQ_BENCH_HAVE_QT)
void BM_AppendUnit_QString(benchmark::State& state) {
  auto run = [] {
    QString s;
    for (int i = 0; i < kAppends; ++i)
      s.append(QChar(UnitAt(i)));
    return s;
  };
  if (run() != QString::fromUtf16(AppendedText().data(), kAppends))
    state.SkipWithError("wrong text");
  for (auto _ : state)
    gSink = run().size();
  state.SetItemsProcessed(state.iterations() * kAppends);
}
#endif

// Two objects grown in turn: neither block can simply extend into the free
// space after it.
void BM_AppendUnitTwo_CZqStringBuilder(benchmark::State& state) {
  auto run = [] {
    CZqStringBuilder a;
    CZqStringBuilder b;
    for (int i = 0; i < kAppends; ++i) {
      a.append(UnitAt(i));
      b.append(UnitAt(i));
    }
    return CZqString(a.toString(), b.toString());
  };
  if (TextOf(run()) != AppendedText() + AppendedText())
    state.SkipWithError("wrong text");
  for (auto _ : state) {
    CZqStringBuilder a;
    CZqStringBuilder b;
    for (int i = 0; i < kAppends; ++i) {
      a.append(UnitAt(i));
      b.append(UnitAt(i));
    }
    gSink = a.length() + b.charAt(kAppends - 1);
  }
  state.SetItemsProcessed(state.iterations() * 2 * kAppends);
}

void BM_AppendUnitTwo_U16String(benchmark::State& state) {
  for (auto _ : state) {
    std::u16string a;
    std::u16string b;
    for (int i = 0; i < kAppends; ++i) {
      a.push_back(UnitAt(i));
      b.push_back(UnitAt(i));
    }
    gSink = static_cast<long>(a.size()) + b[kAppends - 1];
  }
  state.SetItemsProcessed(state.iterations() * 2 * kAppends);
}

#if defined(ZQ_BENCH_HAVE_ICU)
void BM_AppendUnitTwo_ICU(benchmark::State& state) {
  for (auto _ : state) {
    icu::UnicodeString a;
    icu::UnicodeString b;
    for (int i = 0; i < kAppends; ++i) {
      a.append(UnitAt(i));
      b.append(UnitAt(i));
    }
    gSink = a.length() + b.charAt(kAppends - 1);
  }
  state.SetItemsProcessed(state.iterations() * 2 * kAppends);
}
#endif

#if defined(ZQ_BENCH_HAVE_QT)
void BM_AppendUnitTwo_QString(benchmark::State& state) {
  for (auto _ : state) {
    QString a;
    QString b;
    for (int i = 0; i < kAppends; ++i) {
      a.append(QChar(UnitAt(i)));
      b.append(QChar(UnitAt(i)));
    }
    gSink = a.size() + b.at(kAppends - 1).unicode();
  }
  state.SetItemsProcessed(state.iterations() * 2 * kAppends);
}
#endif

//===-- AppendUnit100k ----------------------------------------------------===//
// 100,000 single-unit appends to a new object, taken out as a string. With
// glibc's default (dynamic) thresholds a 200 KB block may be mapped fresh or
// the heap top given back on every iteration, depending on what ran before;
// the "faults" counter (minor page faults per iteration) shows when a column
// paid for fresh pages, which cost several microseconds each on some
// machines.

long MinorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

// Minor page faults per iteration from the count taken before the loop.
void CountFaults(benchmark::State& state, long before) {
  state.counters["faults"] = benchmark::Counter(static_cast<double>(MinorFaults() - before),
                                                benchmark::Counter::kAvgIterations);
}

constexpr int kShortAppends = 100000;

// Times append(), which makes a text of kShortAppends units and returns its
// length, after the check of that text; reports the page faults per
// iteration.
template <class Append>
void TimeShortAppends(benchmark::State& state, bool rightText, Append append) {
  if (!rightText)
    state.SkipWithError("wrong text");
  const long faults = MinorFaults();
  for (auto _ : state)
    gSink = static_cast<long>(append());
  CountFaults(state, faults);
  state.SetItemsProcessed(state.iterations() * kShortAppends);
}

CZqString AppendedZq(int count) {
  CZqStringBuilder b;
  for (int i = 0; i < count; ++i)
    b.append(UnitAt(i));
  return b.toString();
}

std::u16string AppendedStd(int count) {
  std::u16string s;
  for (int i = 0; i < count; ++i)
    s.push_back(UnitAt(i));
  return s;
}

void BM_AppendUnit100k_CZqStringBuilder(benchmark::State& state) {
  TimeShortAppends(state, TextOf(AppendedZq(kShortAppends)) == Letters(kShortAppends),
                   [] { return AppendedZq(kShortAppends).length(); });
}

void BM_AppendUnit100k_U16String(benchmark::State& state) {
  TimeShortAppends(state, AppendedStd(kShortAppends) == Letters(kShortAppends),
                   [] { return AppendedStd(kShortAppends).size(); });
}

#if defined(ZQ_BENCH_HAVE_ICU)
icu::UnicodeString AppendedIcu(int count) {
  icu::UnicodeString s;
  for (int i = 0; i < count; ++i)
    s.append(UnitAt(i));
  return s;
}

void BM_AppendUnit100k_ICU(benchmark::State& state) {
  const std::u16string expected = Letters(kShortAppends);
  TimeShortAppends(state,
                   AppendedIcu(kShortAppends) == icu::UnicodeString(expected.data(), kShortAppends),
                   [] { return AppendedIcu(kShortAppends).length(); });
}
#endif

#if defined(ZQ_BENCH_HAVE_QT)
QString AppendedQt(int count) {
  QString s;
  for (int i = 0; i < count; ++i)
    s.append(QChar(UnitAt(i)));
  return s;
}

void BM_AppendUnit100k_QString(benchmark::State& state) {
  TimeShortAppends(state, TextOfQt(AppendedQt(kShortAppends)) == Letters(kShortAppends),
                   [] { return AppendedQt(kShortAppends).size(); });
}
#endif

//===-- AppendUnitPinned --------------------------------------------------===//
// AppendUnit with the heap pinned: every block below 32 MiB comes from the
// heap (no fresh mapping per large block) and the heap top is never given
// back, so after the check run no iteration touches a fresh page. mallopt
// fixes both thresholds for the rest of the process (glibc then stops
// adjusting the mmap threshold), which is why these cases run last. The
// "faults" counter is the minor page faults per iteration: about 0 when
// pinned.

void PinHeap(benchmark::State& state) {
  static const bool pinned =
      mallopt(M_MMAP_THRESHOLD, 32 << 20) == 1 && mallopt(M_TRIM_THRESHOLD, 256 << 20) == 1;
  if (!pinned)
    state.SkipWithError("mallopt refused the thresholds");
}

// Times run() after one checked run; right(result) says whether it is right.
template <class Run, class Right, class Size>
void PinnedLoop(benchmark::State& state, Run run, Right right, Size size) {
  PinHeap(state);
  if (!right(run()))
    state.SkipWithError("wrong text");
  const long faults = MinorFaults();
  for (auto _ : state)
    gSink = static_cast<long>(size(run()));
  state.counters["faults"] = benchmark::Counter(static_cast<double>(MinorFaults() - faults),
                                                benchmark::Counter::kAvgIterations);
  state.SetItemsProcessed(state.iterations() * kAppends);
}

void BM_AppendUnitPinned_CZqStringBuilder(benchmark::State& state) {
  PinnedLoop(
      state, [] { return AppendedZq(kAppends); },
      [](const CZqString& s) { return TextOf(s) == AppendedText(); },
      [](const CZqString& s) { return s.length(); });
}

void BM_AppendUnitPinned_U16String(benchmark::State& state) {
  PinnedLoop(
      state, [] { return AppendedStd(kAppends); },
      [](const std::u16string& s) { return s == AppendedText(); },
      [](const std::u16string& s) { return s.size(); });
}

#if defined(ZQ_BENCH_HAVE_ICU)
void BM_AppendUnitPinned_ICU(benchmark::State& state) {
  PinnedLoop(
      state, [] { return AppendedIcu(kAppends); },
      [](const icu::UnicodeString& s) {
        return s == icu::UnicodeString(AppendedText().data(), kAppends);
      },
      [](const icu::UnicodeString& s) { return s.length(); });
}
#endif

#if defined(ZQ_BENCH_HAVE_QT)
void BM_AppendUnitPinned_QString(benchmark::State& state) {
  PinnedLoop(
      state, [] { return AppendedQt(kAppends); },
      [](const QString& s) { return TextOfQt(s) == AppendedText(); },
      [](const QString& s) { return s.size(); });
}
#endif

}  // namespace

BENCHMARK(BM_Message_CZqStringBuilder);
BENCHMARK(BM_Message_U16String);
BENCHMARK(BM_Message_U16StringPlus);
#if defined(ZQ_BENCH_HAVE_ICU)
BENCHMARK(BM_Message_ICU);
#endif
#if defined(ZQ_BENCH_HAVE_QT)
BENCHMARK(BM_Message_QString);
#endif

BENCHMARK(BM_MessageVaried_CZqStringBuilder);
BENCHMARK(BM_MessageVaried_U16String);
BENCHMARK(BM_MessageVaried_U16StringPlus);
#if defined(ZQ_BENCH_HAVE_ICU)
BENCHMARK(BM_MessageVaried_ICU);
#endif
#if defined(ZQ_BENCH_HAVE_QT)
BENCHMARK(BM_MessageVaried_QString);
BENCHMARK(BM_MessageVaried_QStringArg);
#endif

BENCHMARK(BM_InsertAtFront_CZqStringBuilder)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InsertAtFront_Memmove)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InsertAtFront_U16String)->Unit(benchmark::kMicrosecond);
#if defined(ZQ_BENCH_HAVE_ICU)
BENCHMARK(BM_InsertAtFront_ICU)->Unit(benchmark::kMicrosecond);
#endif
#if defined(ZQ_BENCH_HAVE_QT)
BENCHMARK(BM_InsertAtFront_QString)->Unit(benchmark::kMicrosecond);
#endif

BENCHMARK(BM_Reverse_CZqStringBuilder)->Arg(16)->Arg(1000)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Reverse_U16String)->Arg(16)->Arg(1000)->Arg(0)->Unit(benchmark::kMicrosecond);
#if defined(ZQ_BENCH_HAVE_ICU)
BENCHMARK(BM_Reverse_ICU)->Arg(16)->Arg(1000)->Arg(0)->Unit(benchmark::kMicrosecond);
#endif
#if defined(ZQ_BENCH_HAVE_QT)
BENCHMARK(BM_Reverse_QString)->Arg(16)->Arg(1000)->Arg(0)->Unit(benchmark::kMicrosecond);
#endif

BENCHMARK(BM_AppendUnit_CZqStringBuilder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AppendUnit_U16String)->Unit(benchmark::kMillisecond);
#if defined(ZQ_BENCH_HAVE_ICU)
BENCHMARK(BM_AppendUnit_ICU)->Unit(benchmark::kMillisecond);
#endif
#if defined(ZQ_BENCH_HAVE_QT)
BENCHMARK(BM_AppendUnit_QString)->Unit(benchmark::kMillisecond);
#endif

BENCHMARK(BM_AppendUnitTwo_CZqStringBuilder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AppendUnitTwo_U16String)->Unit(benchmark::kMillisecond);
#if defined(ZQ_BENCH_HAVE_ICU)
BENCHMARK(BM_AppendUnitTwo_ICU)->Unit(benchmark::kMillisecond);
#endif
#if defined(ZQ_BENCH_HAVE_QT)
BENCHMARK(BM_AppendUnitTwo_QString)->Unit(benchmark::kMillisecond);
#endif

BENCHMARK(BM_AppendUnit100k_CZqStringBuilder)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AppendUnit100k_U16String)->Unit(benchmark::kMicrosecond);
#if defined(ZQ_BENCH_HAVE_ICU)
BENCHMARK(BM_AppendUnit100k_ICU)->Unit(benchmark::kMicrosecond);
#endif
#if defined(ZQ_BENCH_HAVE_QT)
BENCHMARK(BM_AppendUnit100k_QString)->Unit(benchmark::kMicrosecond);
#endif

// Last: they pin the heap for the rest of the process.
BENCHMARK(BM_AppendUnitPinned_CZqStringBuilder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AppendUnitPinned_U16String)->Unit(benchmark::kMillisecond);
#if defined(ZQ_BENCH_HAVE_ICU)
BENCHMARK(BM_AppendUnitPinned_ICU)->Unit(benchmark::kMillisecond);
#endif
#if defined(ZQ_BENCH_HAVE_QT)
BENCHMARK(BM_AppendUnitPinned_QString)->Unit(benchmark::kMillisecond);
#endif

BENCHMARK_MAIN();
