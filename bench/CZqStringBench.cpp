//===- bench/CZqStringBench.cpp - CZqString against its peers -------------===//
//
// Each operation is measured for CZqString and, in the same run, for
// std::u16string, ICU's icu::UnicodeString (when found) and Qt's QString
// (when found), plus a plain reference loop where one makes sense (an SSE2
// scan, memcmp, the scalar hash loop). Names are BM_<Operation>_<Impl>, so
// the rows of one operation sort together.
//
// Every result is checked once before the timed loop (a wrong answer aborts
// the run), and results are kept alive through Keep(), a volatile store:
// Debian's Google Benchmark 1.7.1 DoNotOptimize is not reliable with g++ 12
// at -O2.
//===----------------------------------------------------------------------===//
#include <benchmark/benchmark.h>

#include <emmintrin.h>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "BenchData.h"
#include "lang/CZqInteger.h"
#include "lang/CZqString.h"

#if defined(ZQ_BENCH_HAVE_ICU)
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>
#endif
#if defined(ZQ_BENCH_HAVE_QT)
#include <QtCore/QHash>
#include <QtCore/QLocale>
#include <QtCore/QString>
#endif

using zqlang::CZqString;

namespace {

constexpr int kLong = 1000000;

volatile long long gSink;

template <class T>
void Keep(T value) {
  gSink = static_cast<long long>(value);
}

// One convert(value) per iteration, cycling through values; what it returns
// is kept, so that the conversion cannot be left out.
template <class Value, class Convert>
void EachValue(benchmark::State& state, const std::vector<Value>& values, Convert convert) {
  std::size_t i = 0;
  for (auto _ : state) {
    Keep(convert(values[i]));
    i = i + 1 == values.size() ? 0 : i + 1;
  }
}

// Makes the compiler assume that *p is read and written here: what was
// stored to it must be in memory (a copy's count increment, say) and is
// loaded again afterwards.
inline void Escape(const void* p) { asm volatile("" : : "r"(p) : "memory"); }

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "wrong result: %s\n", what);
    std::abort();
  }
}

//===-- Test data (fixed seeds) -------------------------------------------===//

// kLong units of lower-case letters whose last unit is '#'.
const std::u16string& UnitAtEnd() {
  static const std::u16string text = [] {
    std::u16string t(kLong, u'a');
    for (int i = 0; i < kLong; ++i)
      t[i] = static_cast<char16_t>(u'a' + i % 26);
    t[kLong - 1] = u'#';
    return t;
  }();
  return text;
}

const std::u16string kNeedle = u"dcbaabcd";

// kLong random letters a..d that hold kNeedle only at the very end.
const std::u16string& NeedleAtEnd() {
  static const std::u16string text = [] {
    std::mt19937 random(42);
    std::u16string t(kLong - kNeedle.size(), u'a');
    for (char16_t& u : t)
      u = static_cast<char16_t>(u'a' + random() % 4);
    for (std::size_t at = t.find(kNeedle); at != std::u16string::npos; at = t.find(kNeedle))
      t[at] = u'a';  // 'd' becomes 'a': that occurrence is gone
    return t + kNeedle;
  }();
  return text;
}

// kLong units of every kind, high ones included (the hash takes them unsigned).
const std::u16string& Mixed() {
  static const std::u16string text = [] {
    std::mt19937 random(7);
    std::u16string t(kLong, u' ');
    for (char16_t& u : t)
      u = static_cast<char16_t>(random());
    return t;
  }();
  return text;
}

// kLong ASCII letters of both cases.
const std::u16string& Letters() {
  static const std::u16string text = [] {
    std::mt19937 random(3);
    std::u16string t(kLong, u' ');
    for (char16_t& u : t) {
      const unsigned r = random() % 52;
      u = static_cast<char16_t>(r < 26 ? u'A' + r : u'a' + (r - 26));
    }
    return t;
  }();
  return text;
}

// 1000 units for the copy and substring cases.
const std::u16string& Thousand() {
  static const std::u16string text = UnitAtEnd().substr(0, 1000);
  return text;
}

// 1000 int values of every size, signs mixed.
const std::vector<int>& Ints() {
  static const std::vector<int> values = zqbench::MakeVariedInts(11, 1000);
  return values;
}

// 1000 doubles over many magnitudes, signs mixed.
const std::vector<double>& Doubles() {
  static const std::vector<double> values = [] {
    std::mt19937 random(13);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::vector<double> v(1000);
    for (double& x : v)
      x = mantissa(random) * std::pow(10.0, static_cast<int>(random() % 21) - 10) *
          (random() % 2 ? -1 : 1);
    return v;
  }();
  return values;
}

std::u16string Widen(const std::string& s) { return std::u16string(s.begin(), s.end()); }

std::string TextOf(double value) {
  std::ostringstream stream;
  stream << value;
  return stream.str();
}

//===-- Reference loops ---------------------------------------------------===//

inline __m128i Load(const char16_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

__attribute__((noinline)) int Sse2IndexOfUnit(const char16_t* p, int n, char16_t unit) {
  const __m128i key = _mm_set1_epi16(static_cast<short>(unit));
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(Load(p + i), key));
    if (mask != 0)
      return i + (__builtin_ctz(mask) >> 1);
  }
  for (; i < n; ++i) {
    if (p[i] == unit)
      return i;
  }
  return -1;
}

__attribute__((noinline)) int Sse2IndexOfNeedle(const char16_t* p, int n, const char16_t* needle,
                                                int count) {
  const __m128i first = _mm_set1_epi16(static_cast<short>(needle[0]));
  const __m128i last = _mm_set1_epi16(static_cast<short>(needle[count - 1]));
  int i = 0;
  for (; i + 8 + count - 1 <= n; i += 8) {
    int mask = _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi16(Load(p + i), first),
                                               _mm_cmpeq_epi16(Load(p + i + count - 1), last)));
    while (mask != 0) {
      const int at = i + (__builtin_ctz(mask) >> 1);
      if (std::memcmp(p + at, needle, count * sizeof(char16_t)) == 0)
        return at;
      mask &= mask - 1;
      mask &= mask - 1;
    }
  }
  for (; i + count <= n; ++i) {
    if (std::memcmp(p + i, needle, count * sizeof(char16_t)) == 0)
      return i;
  }
  return -1;
}

__attribute__((noinline)) bool Sse2Equal(const char16_t* a, const char16_t* b, int n) {
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(Load(a + i), Load(b + i))) != 0xFFFF)
      return false;
  }
  for (; i < n; ++i) {
    if (a[i] != b[i])
      return false;
  }
  return true;
}

__attribute__((noinline)) int ScalarHash(const char16_t* p, int n) {
  unsigned h = 0;
  for (int i = 0; i < n; ++i)
    h = 31 * h + p[i];
  return static_cast<int>(h);
}

//===-- indexOf of a unit at the end of 1,000,000 units -------------------===//

void BM_IndexOfUnit_CZqString(benchmark::State& state) {
  const CZqString text(UnitAtEnd().data(), kLong);
  Check(text.indexOf(u'#') == kLong - 1, "CZqString::indexOf(unit)");
  for (auto _ : state)
    Keep(text.indexOf(u'#'));
}

void BM_IndexOfUnit_U16String(benchmark::State& state) {
  const std::u16string text = UnitAtEnd();
  Check(text.find(u'#') == kLong - 1, "u16string::find(unit)");
  for (auto _ : state)
    Keep(text.find(u'#'));
}

void BM_IndexOfUnit_Sse2Loop(benchmark::State& state) {
  const std::u16string text = UnitAtEnd();
  Check(Sse2IndexOfUnit(text.data(), kLong, u'#') == kLong - 1, "SSE2 unit loop");
  for (auto _ : state)
    Keep(Sse2IndexOfUnit(text.data(), kLong, u'#'));
}

BENCHMARK(BM_IndexOfUnit_CZqString)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IndexOfUnit_U16String)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IndexOfUnit_Sse2Loop)->Unit(benchmark::kMicrosecond);

//===-- indexOf of an 8-unit needle at the end of 1,000,000 letters a..d --===//

void BM_IndexOfNeedle_CZqString(benchmark::State& state) {
  const CZqString text(NeedleAtEnd().data(), kLong);
  const CZqString needle(kNeedle.data(), 8);
  Check(text.indexOf(needle) == kLong - 8, "CZqString::indexOf(needle)");
  for (auto _ : state)
    Keep(text.indexOf(needle));
}

void BM_IndexOfNeedle_U16String(benchmark::State& state) {
  const std::u16string text = NeedleAtEnd();
  Check(text.find(kNeedle) == kLong - 8, "u16string::find(needle)");
  for (auto _ : state)
    Keep(text.find(kNeedle));
}

void BM_IndexOfNeedle_Sse2Loop(benchmark::State& state) {
  const std::u16string text = NeedleAtEnd();
  Check(Sse2IndexOfNeedle(text.data(), kLong, kNeedle.data(), 8) == kLong - 8, "SSE2 filter");
  for (auto _ : state)
    Keep(Sse2IndexOfNeedle(text.data(), kLong, kNeedle.data(), 8));
}

BENCHMARK(BM_IndexOfNeedle_CZqString)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IndexOfNeedle_U16String)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IndexOfNeedle_Sse2Loop)->Unit(benchmark::kMicrosecond);

//===-- hashCode of 1,000,000 units ---------------------------------------===//

void BM_HashCode_CZqString(benchmark::State& state) {
  const CZqString text(Mixed().data(), kLong);
  Check(text.hashCode() == ScalarHash(Mixed().data(), kLong), "CZqString::hashCode");
  for (auto _ : state)
    Keep(text.hashCode());
}

void BM_HashCode_ScalarLoop(benchmark::State& state) {
  const std::u16string text = Mixed();
  for (auto _ : state)
    Keep(ScalarHash(text.data(), kLong));
}

void BM_HashCode_U16String(benchmark::State& state) {
  const std::u16string text = Mixed();
  const std::hash<std::u16string> hash;
  for (auto _ : state)
    Keep(hash(text));
}

BENCHMARK(BM_HashCode_CZqString)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HashCode_ScalarLoop)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HashCode_U16String)->Unit(benchmark::kMicrosecond);

//===-- equals / compareTo of two equal 1,000,000-unit texts --------------===//

void BM_Equals_CZqString(benchmark::State& state) {
  const CZqString a(Mixed().data(), kLong);
  const CZqString b(Mixed().data(), kLong);
  Check(a.equals(b), "CZqString::equals");
  for (auto _ : state)
    Keep(a.equals(b));
}

void BM_Equals_U16String(benchmark::State& state) {
  const std::u16string a = Mixed();
  const std::u16string b = Mixed();
  Check(a == b, "u16string ==");
  for (auto _ : state)
    Keep(a == b);
}

void BM_Equals_Memcmp(benchmark::State& state) {
  const std::u16string a = Mixed();
  const std::u16string b = Mixed();
  for (auto _ : state)
    Keep(std::memcmp(a.data(), b.data(), kLong * sizeof(char16_t)));
}

void BM_Equals_Sse2Loop(benchmark::State& state) {
  const std::u16string a = Mixed();
  const std::u16string b = Mixed();
  Check(Sse2Equal(a.data(), b.data(), kLong), "SSE2 equal loop");
  for (auto _ : state)
    Keep(Sse2Equal(a.data(), b.data(), kLong));
}

void BM_CompareTo_CZqString(benchmark::State& state) {
  const CZqString a(Mixed().data(), kLong);
  const CZqString b(Mixed().data(), kLong);
  Check(a.compareTo(b) == 0, "CZqString::compareTo");
  for (auto _ : state)
    Keep(a.compareTo(b));
}

void BM_CompareTo_U16String(benchmark::State& state) {
  const std::u16string a = Mixed();
  const std::u16string b = Mixed();
  Check(a.compare(b) == 0, "u16string::compare");
  for (auto _ : state)
    Keep(a.compare(b));
}

BENCHMARK(BM_Equals_CZqString)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Equals_U16String)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Equals_Memcmp)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Equals_Sse2Loop)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CompareTo_CZqString)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CompareTo_U16String)->Unit(benchmark::kMicrosecond);

//===-- substring of 100 units; copy of a 1,000-unit string ---------------===//

void BM_Substring100_CZqString(benchmark::State& state) {
  const CZqString text(Thousand().data(), 1000);
  Check(text.substring(450, 550).length() == 100 && text.substring(450, 550).charAt(0) == u'i',
        "CZqString::substring");
  for (auto _ : state) {
    const CZqString part = text.substring(450, 550);
    Keep(part.Ptr()[0]);
  }
}

void BM_Substring100_U16String(benchmark::State& state) {
  const std::u16string text = Thousand();
  for (auto _ : state) {
    const std::u16string part = text.substr(450, 100);
    Keep(part[0]);
  }
}

void BM_Copy1000_CZqString(benchmark::State& state) {
  const CZqString text(Thousand().data(), 1000);
  for (auto _ : state) {
    const CZqString copy(text);
    Escape(&copy);
    Keep(copy.Ptr()[999]);
  }
}

void BM_Copy1000_U16String(benchmark::State& state) {
  const std::u16string text = Thousand();
  for (auto _ : state) {
    const std::u16string copy(text);
    Escape(&copy);
    Keep(copy[999]);
  }
}

BENCHMARK(BM_Substring100_CZqString);
BENCHMARK(BM_Substring100_U16String);
BENCHMARK(BM_Copy1000_CZqString);
BENCHMARK(BM_Copy1000_U16String);

//===-- toLowerCase of 1,000,000 ASCII letters ----------------------------===//

std::u16string LowerReference() {
  std::u16string lower = Letters();
  for (char16_t& u : lower)
    u = static_cast<char16_t>(std::towlower(u));
  return lower;
}

void BM_ToLowerCase_CZqString(benchmark::State& state) {
  const CZqString text(Letters().data(), kLong);
  const CZqString lower = text.toLowerCase();
  Check(std::u16string(lower.Ptr(), kLong) == LowerReference(), "CZqString::toLowerCase");
  for (auto _ : state) {
    const CZqString result = text.toLowerCase();
    Keep(result.Ptr()[kLong - 1]);
  }
}

// The same under a UTF-8 C locale, whose tables map far more than ASCII.
void BM_ToLowerCase_CZqStringInCUtf8(benchmark::State& state) {
  const std::string saved = std::setlocale(LC_CTYPE, nullptr);
  if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr) {
    state.SkipWithError("no C.UTF-8 locale");
    return;
  }
  const CZqString text(Letters().data(), kLong);
  const CZqString lower = text.toLowerCase();
  Check(std::u16string(lower.Ptr(), kLong) == LowerReference(), "toLowerCase in C.UTF-8");
  for (auto _ : state) {
    const CZqString result = text.toLowerCase();
    Keep(result.Ptr()[kLong - 1]);
  }
  std::setlocale(LC_CTYPE, saved.c_str());
}

void BM_ToLowerCase_U16String(benchmark::State& state) {
  const std::u16string text = Letters();
  for (auto _ : state) {
    std::u16string result = text;
    for (char16_t& u : result)
      u = static_cast<char16_t>(std::towlower(u));
    Keep(result[kLong - 1]);
  }
}

BENCHMARK(BM_ToLowerCase_CZqString)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ToLowerCase_CZqStringInCUtf8)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ToLowerCase_U16String)->Unit(benchmark::kMicrosecond);

//===-- CZqString(int) and CZqString(double) over 1,000 values ------------===//
// One conversion per iteration, cycling through the values.

void BM_IntToText_CZqString(benchmark::State& state) {
  const std::vector<int>& values = Ints();
  for (int v : values) {
    const CZqString s(v);
    Check(std::u16string(s.Ptr(), s.length()) == Widen(std::to_string(v)), "CZqString(int)");
  }
  EachValue(state, values, [](auto v) {
    const CZqString s(v);
    return s.Ptr()[0];
  });
}

// The same text in a new std::u16string: std::to_chars into a stack buffer,
// widened (texts of more than 7 units outgrow the string's inline buffer and
// take a block, as ours always does).
std::u16string U16Decimal(int value) {
  char text[12];
  const std::to_chars_result r = std::to_chars(text, text + sizeof text, value);
  return std::u16string(text, r.ptr);
}

void BM_IntToText_U16String(benchmark::State& state) {
  const std::vector<int>& values = Ints();
  for (int v : values)
    Check(U16Decimal(v) == Widen(std::to_string(v)), "std::u16string of to_chars");
  EachValue(state, values, [](auto v) {
    const std::u16string s = U16Decimal(v);
    return s[0];
  });
}

void BM_IntToText_ToString(benchmark::State& state) {
  const std::vector<int>& values = Ints();
  EachValue(state, values, [](auto v) {
    const std::string s = std::to_string(v);
    return s[0];
  });
}

void BM_IntToText_Ostringstream(benchmark::State& state) {
  const std::vector<int>& values = Ints();
  EachValue(state, values, [](auto v) {
    std::ostringstream stream;
    stream << v;
    return stream.str()[0];
  });
}

void BM_IntToText_ToChars(benchmark::State& state) {
  const std::vector<int>& values = Ints();
  EachValue(state, values, [](auto v) {
    char text[20];
    const std::to_chars_result r = std::to_chars(text, text + sizeof text, v);
    return r.ptr - text;
  });
}

void BM_DoubleToText_CZqString(benchmark::State& state) {
  const std::vector<double>& values = Doubles();
  for (double v : values) {
    const CZqString s(v);
    Check(std::u16string(s.Ptr(), s.length()) == Widen(TextOf(v)), "CZqString(double)");
  }
  EachValue(state, values, [](auto v) {
    const CZqString s(v);
    return s.Ptr()[0];
  });
}

void BM_DoubleToText_Ostringstream(benchmark::State& state) {
  const std::vector<double>& values = Doubles();
  EachValue(state, values, [](auto v) {
    std::ostringstream stream;
    stream << v;
    return stream.str()[0];
  });
}

void BM_DoubleToText_ToChars(benchmark::State& state) {
  const std::vector<double>& values = Doubles();
  for (double v : values) {
    char text[32];
    const std::to_chars_result r =
        std::to_chars(text, text + sizeof text, v, std::chars_format::general, 6);
    Check(std::string(text, r.ptr) == TextOf(v), "to_chars(double)");
  }
  EachValue(state, values, [](auto v) {
    char text[32];
    const std::to_chars_result r =
        std::to_chars(text, text + sizeof text, v, std::chars_format::general, 6);
    return r.ptr - text;
  });
}

BENCHMARK(BM_IntToText_CZqString);
BENCHMARK(BM_IntToText_U16String);
BENCHMARK(BM_IntToText_ToString);
BENCHMARK(BM_IntToText_Ostringstream);
BENCHMARK(BM_IntToText_ToChars);
BENCHMARK(BM_DoubleToText_CZqString);
BENCHMARK(BM_DoubleToText_Ostringstream);
BENCHMARK(BM_DoubleToText_ToChars);

//===-- Hex and radix-36 texts over the same 1,000 ints -------------------===//
// CZqInteger::toHexString and CZqInteger::toString(v, 36), one conversion
// per iteration as IntToText, next to QString::number with the same base
// (the hex text of the bits, as toHexString writes it, is
// QString::number(unsigned(v), 16)) and std::to_chars into a stack buffer.

std::string ToCharsText(unsigned value, int base) {
  char text[40];
  return std::string(text, std::to_chars(text, text + sizeof text, value, base).ptr);
}

std::string ToCharsText(int value, int base) {
  char text[40];
  return std::string(text, std::to_chars(text, text + sizeof text, value, base).ptr);
}

void BM_IntToHex_CZqString(benchmark::State& state) {
  const std::vector<int>& values = Ints();
  for (int v : values) {
    const CZqString s = zqlang::CZqInteger::toHexString(v);
    Check(std::u16string(s.Ptr(), s.length()) == Widen(ToCharsText(static_cast<unsigned>(v), 16)),
          "CZqInteger::toHexString");
  }
  EachValue(state, values, [](auto v) {
    const CZqString s = zqlang::CZqInteger::toHexString(v);
    return s.Ptr()[0];
  });
}

void BM_IntToHex_ToChars(benchmark::State& state) {
  const std::vector<int>& values = Ints();
  EachValue(state, values, [](auto v) {
    char text[40];
    const std::to_chars_result r =
        std::to_chars(text, text + sizeof text, static_cast<unsigned>(v), 16);
    return r.ptr - text;
  });
}

void BM_IntToRadix36_CZqString(benchmark::State& state) {
  const std::vector<int>& values = Ints();
  for (int v : values) {
    const CZqString s = zqlang::CZqInteger::toString(v, 36);
    Check(std::u16string(s.Ptr(), s.length()) == Widen(ToCharsText(v, 36)),
          "CZqInteger::toString(v, 36)");
  }
  EachValue(state, values, [](auto v) {
    const CZqString s = zqlang::CZqInteger::toString(v, 36);
    return s.Ptr()[0];
  });
}

void BM_IntToRadix36_ToChars(benchmark::State& state) {
  const std::vector<int>& values = Ints();
  EachValue(state, values, [](auto v) {
    char text[40];
    const std::to_chars_result r = std::to_chars(text, text + sizeof text, v, 36);
    return r.ptr - text;
  });
}

#if defined(ZQ_BENCH_HAVE_QT)
void BM_IntToHex_Qt(benchmark::State& state) {
  const std::vector<int>& values = Ints();
  for (int v : values) {
    const QString s = QString::number(static_cast<unsigned>(v), 16);
    Check(s.toStdString() == ToCharsText(static_cast<unsigned>(v), 16), "QString::number(v, 16)");
  }
  EachValue(state, values, [](auto v) {
    const QString s = QString::number(static_cast<unsigned>(v), 16);
    return s.at(0).unicode();
  });
}

// Qt 5 writes a negative number in a base other than 10 as its 64-bit two's
// complement ("3w5e11264sgrh" for -35 in base 36), so the text with a sign
// that toString(v, 36) writes takes the magnitude and a prepended '-'.
QString Radix36Qt(int v) {
  if (v >= 0)
    return QString::number(v, 36);
  QString s = QString::number(-static_cast<qlonglong>(v), 36);
  s.prepend(QLatin1Char('-'));
  return s;
}

void BM_IntToRadix36_Qt(benchmark::State& state) {
  const std::vector<int>& values = Ints();
  for (int v : values)
    Check(Radix36Qt(v).toStdString() == ToCharsText(v, 36), "QString::number(v, 36) with a sign");
  EachValue(state, values, [](auto v) {
    const QString s = Radix36Qt(v);
    return s.at(0).unicode();
  });
}

// QString::number(v, 36) as it stands: for the negative half a 13-digit
// two's complement text, not the same text as the others (shown for
// reference only).
void BM_IntToRadix36_QtPlain(benchmark::State& state) {
  const std::vector<int>& values = Ints();
  EachValue(state, values, [](auto v) {
    const QString s = QString::number(v, 36);
    return s.at(0).unicode();
  });
}

BENCHMARK(BM_IntToHex_Qt);
BENCHMARK(BM_IntToRadix36_Qt);
BENCHMARK(BM_IntToRadix36_QtPlain);
#endif

BENCHMARK(BM_IntToHex_CZqString);
BENCHMARK(BM_IntToHex_ToChars);
BENCHMARK(BM_IntToRadix36_CZqString);
BENCHMARK(BM_IntToRadix36_ToChars);

//===-- trim of 10 blanks + 980 letters + 10 blanks -----------------------===//
// Each implementation makes a new 980-unit string. std::u16string has no
// trim: the usual find_first_not_of / find_last_not_of and substr.

const std::u16string kBlanks = u" \t\n\v\f\r";

const std::u16string& Padded() {
  static const std::u16string text =
      std::u16string(10, u' ') + Thousand().substr(0, 980) + std::u16string(10, u' ');
  return text;
}

void BM_Trim_CZqString(benchmark::State& state) {
  const CZqString text(Padded().data(), 1000);
  const CZqString trimmed = text.trim();
  Check(std::u16string(trimmed.Ptr(), trimmed.length()) == Thousand().substr(0, 980),
        "CZqString::trim");
  for (auto _ : state) {
    const CZqString result = text.trim();
    Keep(result.Ptr()[0]);
  }
}

std::u16string TrimStd(const std::u16string& s) {
  const std::size_t begin = s.find_first_not_of(kBlanks);
  if (begin == std::u16string::npos)
    return std::u16string();
  return s.substr(begin, s.find_last_not_of(kBlanks) + 1 - begin);
}

void BM_Trim_U16String(benchmark::State& state) {
  const std::u16string text = Padded();
  Check(TrimStd(text) == Thousand().substr(0, 980), "u16string trim");
  for (auto _ : state) {
    const std::u16string result = TrimStd(text);
    Keep(result[0]);
  }
}

#if defined(ZQ_BENCH_HAVE_ICU)
void BM_Trim_ICU(benchmark::State& state) {
  const icu::UnicodeString text(Padded().data(), 1000);
  icu::UnicodeString once(text);
  once.trim();
  Check(once == icu::UnicodeString(Thousand().data(), 980), "UnicodeString::trim");
  for (auto _ : state) {
    icu::UnicodeString result(text);
    result.trim();
    Keep(result.charAt(0));
  }
}
BENCHMARK(BM_Trim_ICU);
#endif

#if defined(ZQ_BENCH_HAVE_QT)
void BM_Trim_Qt(benchmark::State& state) {
  const QString text = QString::fromUtf16(Padded().data(), 1000);
  Check(text.trimmed() == QString::fromUtf16(Thousand().data(), 980), "QString::trimmed");
  for (auto _ : state) {
    const QString result = text.trimmed();
    Keep(result.at(0).unicode());
  }
}
BENCHMARK(BM_Trim_Qt);
#endif

BENCHMARK(BM_Trim_CZqString);
BENCHMARK(BM_Trim_U16String);

//===-- Unicode case mapping over 1,000,000 units -------------------------===//
// toLowerCase(ZqCaseRules) and friends, by the library's Unicode tables; the
// ICU rows (u_strToLower, u_strToUpper, u_strFoldCase into a buffer made once)
// are in the ICU section. UnicodeLowerAscii is the case of ToLowerCase
// (1,000,000 ASCII letters); the others map words of Latin, Greek and
// Cyrillic text in mixed case (ß, final sigma and all).

// kLong units of words in three scripts, every case, separated by spaces.
const std::u16string& Scripts() {
  static const std::u16string text = [] {
    const std::u16string words[] = {
        u"Gr\u00F6\u00DFe",
        u"\u00C4RGER",
        u"\u0152uvre",
        u"d\u00E9j\u00E0",
        u"\u00C9T\u00C9",
        u"Stra\u00DFe",
        u"Z\u00FCrich",
        u"\u0141\u00F3d\u017A",
        u"\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1",
        u"\u039F\u0394\u039F\u03A3",
        u"\u0391\u03B8\u03AE\u03BD\u03B1",
        u"\u03A3\u039F\u03A6\u0399\u0391",
        u"\u041C\u043E\u0441\u043A\u0432\u0430",
        u"\u041F\u0420\u0418\u0412\u0415\u0422",
        u"\u0401\u043B\u043A\u0430",
        u"\u043C\u0438\u0440",
    };
    std::mt19937 random(5);
    std::u16string t;
    while (t.size() < static_cast<std::size_t>(kLong)) {
      t += words[random() % (sizeof words / sizeof words[0])];
      t += u' ';
    }
    t.resize(kLong);
    t[kLong - 1] = u'.';
    return t;
  }();
  return text;
}

template <class Map>
void MapCaseBench(benchmark::State& state, const std::u16string& source, Map map) {
  const CZqString text(source.data(), static_cast<int>(source.size()));
  for (auto _ : state) {
    const CZqString result = map(text);
    Keep(result.Ptr()[result.length() - 1]);
  }
}

void BM_UnicodeLowerAscii_CZqString(benchmark::State& state) {
  const CZqString lower =
      CZqString(Letters().data(), kLong).toLowerCase(zqlang::ZqCaseRules::kUnicode);
  Check(std::u16string(lower.Ptr(), kLong) == LowerReference(), "toLowerCase(kUnicode)");
  MapCaseBench(state, Letters(),
               [](const CZqString& s) { return s.toLowerCase(zqlang::ZqCaseRules::kUnicode); });
}

void BM_UnicodeLower_CZqString(benchmark::State& state) {
  MapCaseBench(state, Scripts(),
               [](const CZqString& s) { return s.toLowerCase(zqlang::ZqCaseRules::kUnicode); });
}

void BM_UnicodeUpper_CZqString(benchmark::State& state) {
  MapCaseBench(state, Scripts(),
               [](const CZqString& s) { return s.toUpperCase(zqlang::ZqCaseRules::kUnicode); });
}

void BM_FoldCase_CZqString(benchmark::State& state) {
  MapCaseBench(state, Scripts(), [](const CZqString& s) { return s.foldCase(); });
}

void BM_EqualsIgnoreCase_CZqString(benchmark::State& state) {
  const CZqString text(Scripts().data(), kLong);
  const CZqString upper = text.toUpperCase(zqlang::ZqCaseRules::kUnicode);
  Check(text.equalsIgnoreCase(upper, zqlang::ZqCaseRules::kUnicode), "equalsIgnoreCase");
  for (auto _ : state)
    Keep(text.equalsIgnoreCase(upper, zqlang::ZqCaseRules::kUnicode));
}

BENCHMARK(BM_UnicodeLowerAscii_CZqString)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UnicodeLower_CZqString)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UnicodeUpper_CZqString)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FoldCase_CZqString)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EqualsIgnoreCase_CZqString)->Unit(benchmark::kMicrosecond);

//===-- ICU ---------------------------------------------------------------===//
#if defined(ZQ_BENCH_HAVE_ICU)

icu::UnicodeString Icu(const std::u16string& s) {
  return icu::UnicodeString(s.data(), static_cast<int32_t>(s.size()));
}

void BM_IndexOfUnit_ICU(benchmark::State& state) {
  const icu::UnicodeString text = Icu(UnitAtEnd());
  Check(text.indexOf(u'#') == kLong - 1, "UnicodeString::indexOf(unit)");
  for (auto _ : state)
    Keep(text.indexOf(u'#'));
}

void BM_IndexOfNeedle_ICU(benchmark::State& state) {
  const icu::UnicodeString text = Icu(NeedleAtEnd());
  const icu::UnicodeString needle = Icu(kNeedle);
  Check(text.indexOf(needle) == kLong - 8, "UnicodeString::indexOf(needle)");
  for (auto _ : state)
    Keep(text.indexOf(needle));
}

void BM_HashCode_ICU(benchmark::State& state) {
  const icu::UnicodeString text = Icu(Mixed());
  for (auto _ : state)
    Keep(text.hashCode());
}

void BM_Equals_ICU(benchmark::State& state) {
  const icu::UnicodeString a = Icu(Mixed());
  const icu::UnicodeString b = Icu(Mixed());
  Check(a == b, "UnicodeString ==");
  for (auto _ : state)
    Keep(a == b);
}

void BM_CompareTo_ICU(benchmark::State& state) {
  const icu::UnicodeString a = Icu(Mixed());
  const icu::UnicodeString b = Icu(Mixed());
  Check(a.compare(b) == 0, "UnicodeString::compare");
  for (auto _ : state)
    Keep(a.compare(b));
}

void BM_Substring100_ICU(benchmark::State& state) {
  const icu::UnicodeString text = Icu(Thousand());
  for (auto _ : state) {
    const icu::UnicodeString part(text, 450, 100);
    Keep(part.charAt(0));
  }
}

void BM_Copy1000_ICU(benchmark::State& state) {
  const icu::UnicodeString text = Icu(Thousand());
  for (auto _ : state) {
    const icu::UnicodeString copy(text);
    Escape(&copy);
    Keep(copy.charAt(999));
  }
}

void BM_ToLowerCase_ICU(benchmark::State& state) {
  const icu::UnicodeString text = Icu(Letters());
  for (auto _ : state) {
    icu::UnicodeString result(text);
    result.toLower();
    Keep(result.charAt(kLong - 1));
  }
}

BENCHMARK(BM_IndexOfUnit_ICU)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IndexOfNeedle_ICU)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HashCode_ICU)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Equals_ICU)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CompareTo_ICU)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Substring100_ICU);
BENCHMARK(BM_Copy1000_ICU);
BENCHMARK(BM_ToLowerCase_ICU)->Unit(benchmark::kMicrosecond);

// ICU's C functions into an output buffer made once, so that each iteration
// is the mapping alone; the result is compared with ours before timing.
template <class Map>
void IcuCaseBench(benchmark::State& state, const std::u16string& text, const CZqString& expected,
                  Map map) {
  std::u16string out(text.size() * 3, u'\0');
  UErrorCode error = U_ZERO_ERROR;
  const int32_t n = map(&out[0], static_cast<int32_t>(out.size()), text.data(),
                        static_cast<int32_t>(text.size()), &error);
  Check(U_SUCCESS(error) && out.substr(0, static_cast<std::size_t>(n)) ==
                                std::u16string(expected.Ptr(), expected.length()),
        "ICU and CZqString map alike");
  for (auto _ : state) {
    error = U_ZERO_ERROR;
    Keep(map(&out[0], static_cast<int32_t>(out.size()), text.data(),
             static_cast<int32_t>(text.size()), &error));
  }
}

CZqString ScriptsString() { return CZqString(Scripts().data(), kLong); }

void BM_UnicodeLowerAscii_ICU(benchmark::State& state) {
  IcuCaseBench(state, Letters(),
               CZqString(Letters().data(), kLong).toLowerCase(zqlang::ZqCaseRules::kUnicode),
               [](UChar* out, int32_t room, const UChar* in, int32_t n, UErrorCode* error) {
                 return u_strToLower(out, room, in, n, "", error);
               });
}

void BM_UnicodeLower_ICU(benchmark::State& state) {
  IcuCaseBench(state, Scripts(), ScriptsString().toLowerCase(zqlang::ZqCaseRules::kUnicode),
               [](UChar* out, int32_t room, const UChar* in, int32_t n, UErrorCode* error) {
                 return u_strToLower(out, room, in, n, "", error);
               });
}

void BM_UnicodeUpper_ICU(benchmark::State& state) {
  IcuCaseBench(state, Scripts(), ScriptsString().toUpperCase(zqlang::ZqCaseRules::kUnicode),
               [](UChar* out, int32_t room, const UChar* in, int32_t n, UErrorCode* error) {
                 return u_strToUpper(out, room, in, n, "", error);
               });
}

void BM_FoldCase_ICU(benchmark::State& state) {
  IcuCaseBench(state, Scripts(), ScriptsString().foldCase(),
               [](UChar* out, int32_t room, const UChar* in, int32_t n, UErrorCode* error) {
                 return u_strFoldCase(out, room, in, n, U_FOLD_CASE_DEFAULT, error);
               });
}

void BM_EqualsIgnoreCase_ICU(benchmark::State& state) {
  const std::u16string& text = Scripts();
  const CZqString upperString = ScriptsString().toUpperCase(zqlang::ZqCaseRules::kUnicode);
  const std::u16string upper(upperString.Ptr(), upperString.length());
  UErrorCode error = U_ZERO_ERROR;
  const auto compare = [&] {
    return u_strCaseCompare(text.data(), static_cast<int32_t>(text.size()), upper.data(),
                            static_cast<int32_t>(upper.size()), U_FOLD_CASE_DEFAULT, &error);
  };
  Check(compare() == 0, "u_strCaseCompare");
  for (auto _ : state)
    Keep(compare() == 0);
}

BENCHMARK(BM_UnicodeLowerAscii_ICU)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UnicodeLower_ICU)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UnicodeUpper_ICU)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FoldCase_ICU)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EqualsIgnoreCase_ICU)->Unit(benchmark::kMicrosecond);

#endif  // ZQ_BENCH_HAVE_ICU

//===-- Qt ----------------------------------------------------------------===//
#if defined(ZQ_BENCH_HAVE_QT)

QString Qt(const std::u16string& s) {
  return QString::fromUtf16(s.data(), static_cast<int>(s.size()));
}

void BM_IndexOfUnit_Qt(benchmark::State& state) {
  const QString text = Qt(UnitAtEnd());
  Check(text.indexOf(QChar(u'#')) == kLong - 1, "QString::indexOf(unit)");
  for (auto _ : state)
    Keep(text.indexOf(QChar(u'#')));
}

void BM_IndexOfNeedle_Qt(benchmark::State& state) {
  const QString text = Qt(NeedleAtEnd());
  const QString needle = Qt(kNeedle);
  Check(text.indexOf(needle) == kLong - 8, "QString::indexOf(needle)");
  for (auto _ : state)
    Keep(text.indexOf(needle));
}

void BM_HashCode_Qt(benchmark::State& state) {
  const QString text = Qt(Mixed());
  for (auto _ : state)
    Keep(qHash(text));
}

void BM_Equals_Qt(benchmark::State& state) {
  const QString a = Qt(Mixed());
  const QString b = Qt(Mixed());
  Check(a == b, "QString ==");
  for (auto _ : state)
    Keep(a == b);
}

void BM_CompareTo_Qt(benchmark::State& state) {
  const QString a = Qt(Mixed());
  const QString b = Qt(Mixed());
  Check(a.compare(b) == 0, "QString::compare");
  for (auto _ : state)
    Keep(a.compare(b));
}

void BM_Substring100_Qt(benchmark::State& state) {
  const QString text = Qt(Thousand());
  for (auto _ : state) {
    const QString part = text.mid(450, 100);
    Keep(part.at(0).unicode());
  }
}

void BM_Copy1000_Qt(benchmark::State& state) {
  const QString text = Qt(Thousand());
  for (auto _ : state) {
    const QString copy(text);
    Escape(&copy);
    Keep(copy.at(999).unicode());
  }
}

void BM_ToLowerCase_Qt(benchmark::State& state) {
  const QString text = Qt(Letters());
  for (auto _ : state) {
    const QString result = text.toLower();
    Keep(result.at(kLong - 1).unicode());
  }
}

void BM_IntToText_Qt(benchmark::State& state) {
  const std::vector<int>& values = Ints();
  EachValue(state, values, [](auto v) {
    const QString s = QString::number(v);
    return s.at(0).unicode();
  });
}

void BM_DoubleToText_Qt(benchmark::State& state) {
  const std::vector<double>& values = Doubles();
  EachValue(state, values, [](auto v) {
    const QString s = QString::number(v, 'g', 6);
    return s.at(0).unicode();
  });
}

BENCHMARK(BM_IndexOfUnit_Qt)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IndexOfNeedle_Qt)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HashCode_Qt)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Equals_Qt)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CompareTo_Qt)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Substring100_Qt);
BENCHMARK(BM_Copy1000_Qt);
BENCHMARK(BM_ToLowerCase_Qt)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IntToText_Qt);
BENCHMARK(BM_DoubleToText_Qt);

#endif  // ZQ_BENCH_HAVE_QT

//===-- Locale-free numbers: fromNumber over the same 1,000 values ---------===//
// IntToText_FromNumber sits next to CZqString(int) and std::to_chars;
// ShortestDouble compares fromNumber(double) with std::to_chars without a
// format (the shortest text that reads back), which it must match exactly.

void BM_IntToText_FromNumber(benchmark::State& state) {
  const std::vector<int>& values = Ints();
  for (int v : values) {
    const CZqString s = CZqString::fromNumber(v);
    Check(std::u16string(s.Ptr(), s.length()) == Widen(std::to_string(v)), "fromNumber(int)");
  }
  EachValue(state, values, [](auto v) {
    const CZqString s = CZqString::fromNumber(v);
    return s.Ptr()[0];
  });
}

void BM_ShortestDouble_CZqString(benchmark::State& state) {
  const std::vector<double>& values = Doubles();
  for (double v : values) {
    char text[32];
    const std::to_chars_result r = std::to_chars(text, text + sizeof text, v);
    const CZqString s = CZqString::fromNumber(v);
    Check(std::u16string(s.Ptr(), s.length()) == Widen(std::string(text, r.ptr)),
          "fromNumber(double)");
  }
  EachValue(state, values, [](auto v) {
    const CZqString s = CZqString::fromNumber(v);
    return s.Ptr()[0];
  });
}

void BM_ShortestDouble_ToChars(benchmark::State& state) {
  const std::vector<double>& values = Doubles();
  EachValue(state, values, [](auto v) {
    char text[32];
    const std::to_chars_result r = std::to_chars(text, text + sizeof text, v);
    return r.ptr - text;
  });
}

#if defined(ZQ_BENCH_HAVE_QT)
void BM_ShortestDouble_Qt(benchmark::State& state) {
  const std::vector<double>& values = Doubles();
  EachValue(state, values, [](auto v) {
    const QString s = QString::number(v, 'g', QLocale::FloatingPointShortest);
    return s.size();
  });
}
BENCHMARK(BM_ShortestDouble_Qt);
#endif

BENCHMARK(BM_IntToText_FromNumber);
BENCHMARK(BM_ShortestDouble_CZqString);
BENCHMARK(BM_ShortestDouble_ToChars);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
