//===- bench/MemoryFootprint.cpp - heap bytes of a million small strings --===//
//
// For each kind of string, builds 1,000,000 strings in a std::vector
// reserved up front and reports the heap bytes they occupy, per string:
// glibc's mallinfo2() in-use figure (uordblks, the heap blocks in use, plus
// hblkhd, the mapped ones) after minus before. The vector's block holds the
// handles, so each handle counts once; every text is distinct (derived from
// its index), so nothing is shared. Kinds:
//   std::u16string             from 10 units (too long for its inline buffer)
//   QString                    from 10 units (when built with Qt)
//   CZqString                  from 10 units
//   CZqString(int)             of 1,000,000,000 + i: a 10-digit text
//   std::u16string(), QString(), CZqString()
//                              default-constructed: empty
// Not a Google Benchmark: it prints one table and exits (status 1 when a
// string does not hold the text it should).
//===----------------------------------------------------------------------===//
#include <malloc.h>

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "lang/CZqString.h"

#if defined(ZQ_BENCH_HAVE_QT)
#include <QtCore/QString>
#endif

namespace {

using zqlang::CZqString;

constexpr int kStrings = 1000000;
constexpr int kUnits = 10;

std::size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// The 10 units of string i: its index in base 26 as letters, lowest first.
void TextOf(int i, char16_t* units) {
  for (int k = 0; k < kUnits; ++k) {
    units[k] = static_cast<char16_t>(u'a' + i % 26);
    i /= 26;
  }
}

bool gAllRight = true;

// Builds the strings with make(i), checks each with right(s, i) and prints
// the row.
template <class T, class Make, class Right>
void Measure(const char* kind, Make make, Right right) {
  // One string first, so that whatever the kind sets up once (a shared empty
  // body, locale data) is not counted.
  { const T warm = make(0); }
  const std::size_t before = HeapInUse();
  std::size_t after = 0;
  {
    std::vector<T> strings;
    strings.reserve(kStrings);
    for (int i = 0; i < kStrings; ++i)
      strings.push_back(make(i));
    after = HeapInUse();
    for (int i = 0; i < kStrings; ++i) {
      if (!right(strings[static_cast<std::size_t>(i)], i)) {
        std::fprintf(stderr, "%s: string %d holds the wrong text\n", kind, i);
        gAllRight = false;
        break;
      }
    }
  }
  const double perString = static_cast<double>(after - before) / kStrings;
  std::printf("| %s | %zu | %.1f | %.1f |\n", kind, sizeof(T), perString,
              perString - static_cast<double>(sizeof(T)));
}

std::u16string Expected(int i) {
  char16_t units[kUnits];
  TextOf(i, units);
  return std::u16string(units, kUnits);
}

}  // namespace

int main() {
  std::printf(
      "1,000,000 strings of %d units (the kinds with () are empty), heap bytes per string "
      "(mallinfo2: uordblks + hblkhd)\n\n",
      kUnits);
  std::printf(
      "| Kind | handle (sizeof) | bytes per string, handle included | beyond the handle |\n");
  std::printf("|---|---|---|---|\n");

  Measure<std::u16string>(
      "std::u16string",
      [](int i) {
        char16_t units[kUnits];
        TextOf(i, units);
        return std::u16string(units, kUnits);
      },
      [](const std::u16string& s, int i) { return s == Expected(i); });

#if defined(ZQ_BENCH_HAVE_QT)
  Measure<QString>(
      "QString",
      [](int i) {
        char16_t units[kUnits];
        TextOf(i, units);
        return QString(reinterpret_cast<const QChar*>(units), kUnits);
      },
      [](const QString& s, int i) {
        return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()),
                              static_cast<std::size_t>(s.size())) == Expected(i);
      });
#endif

  Measure<CZqString>(
      "CZqString",
      [](int i) {
        char16_t units[kUnits];
        TextOf(i, units);
        return CZqString(units, kUnits);
      },
      [](const CZqString& s, int i) { return std::u16string(s.view()) == Expected(i); });

  Measure<CZqString>(
      "CZqString(int)", [](int i) { return CZqString(1000000000 + i); },
      [](const CZqString& s, int i) {
        const std::string digits = std::to_string(1000000000 + i);
        return std::u16string(s.view()) == std::u16string(digits.begin(), digits.end());
      });

  Measure<std::u16string>(
      "std::u16string()", [](int) { return std::u16string(); },
      [](const std::u16string& s, int) { return s.empty(); });
#if defined(ZQ_BENCH_HAVE_QT)
  Measure<QString>(
      "QString()", [](int) { return QString(); },
      [](const QString& s, int) { return s.isEmpty(); });
#endif
  Measure<CZqString>(
      "CZqString()", [](int) { return CZqString(); },
      [](const CZqString& s, int) { return s.isEmpty(); });

  return gAllRight ? 0 : 1;
}
