//===- lang/detail/NumberText.cpp - text forms of numbers -----------------===//
#include "lang/detail/NumberText.h"

#include <charconv>
#include <cmath>
#include <locale>
#include <new>
#include <sstream>
#include <string>

#include "lang/OutOfMemoryError.h"

namespace zqlang {
namespace detail {
namespace {

// True when a default stream would use the classic locale's punctuation and
// number formatting. Constructing the global locale and comparing it with
// the classic one are pointer operations when the global locale is the
// classic one, the common case.
bool GlobalLocaleIsClassic() {
  static const std::locale* const classic = &std::locale::classic();  // lives for good
  return std::locale() == *classic;
}

// Widens count narrow characters into out when they fit; returns count.
int Widen(const char* text, int count, char16_t* out, int room) {
  if (count <= room) {
    for (int i = 0; i < count; ++i)
      out[i] = static_cast<char16_t>(static_cast<unsigned char>(text[i]));
  }
  return count;
}

// A stream that cannot get memory either throws std::bad_alloc or sets
// badbit and stops writing; both are OutOfMemoryError here, never a text cut
// short.
template <class T>
int FormatWithStream(T value, char16_t* out, int room) {
  try {
    std::ostringstream stream;
    stream << value;
    if (stream.fail())
      OutOfMemoryError::ThrowInstance();
    const std::string text = stream.str();
    return Widen(text.data(), static_cast<int>(text.size()), out, room);
  } catch (const std::bad_alloc&) {
    OutOfMemoryError::ThrowInstance();
  }
}

// "00" "01" ... "99": the two digits of each value below 100.
constexpr char kDigitPairs[] =
    "0001020304050607080910111213141516171819"
    "2021222324252627282930313233343536373839"
    "4041424344454647484950515253545556575859"
    "6061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

constexpr unsigned long long kPowersOf10[20] = {1ull,
                                                10ull,
                                                100ull,
                                                1000ull,
                                                10000ull,
                                                100000ull,
                                                1000000ull,
                                                10000000ull,
                                                100000000ull,
                                                1000000000ull,
                                                10000000000ull,
                                                100000000000ull,
                                                1000000000000ull,
                                                10000000000000ull,
                                                100000000000000ull,
                                                1000000000000000ull,
                                                10000000000000000ull,
                                                100000000000000000ull,
                                                1000000000000000000ull,
                                                10000000000000000000ull};

// The classic decimal text of value, written straight as UTF-16 units two
// digits at a time from the end; the same text std::to_chars gives.
int WriteDecimal(long long value, char16_t* out, int room) {
  const bool negative = value < 0;
  unsigned long long magnitude = negative ? 0ull - static_cast<unsigned long long>(value)
                                          : static_cast<unsigned long long>(value);
  // Number of digits without a loop: log10 estimated from the bit length
  // (1233 / 4096 is just above log10(2)), then corrected by one comparison.
  // OR-ing 1 in changes no digit count and makes 0 count as one digit.
  const unsigned long long odd = magnitude | 1;
  const int estimate = ((64 - __builtin_clzll(odd)) * 1233) >> 12;
  const int digits = estimate + (odd >= kPowersOf10[estimate] ? 1 : 0);
  const int count = digits + (negative ? 1 : 0);
  if (count > room)
    return count;
  char16_t* end = out + count;
  while (magnitude >= 100) {
    const unsigned pair = static_cast<unsigned>(magnitude % 100) * 2;
    magnitude /= 100;
    *--end = static_cast<char16_t>(kDigitPairs[pair + 1]);
    *--end = static_cast<char16_t>(kDigitPairs[pair]);
  }
  if (magnitude >= 10) {
    const unsigned pair = static_cast<unsigned>(magnitude) * 2;
    *--end = static_cast<char16_t>(kDigitPairs[pair + 1]);
    *--end = static_cast<char16_t>(kDigitPairs[pair]);
  } else {
    *--end = static_cast<char16_t>(u'0' + magnitude);
  }
  if (negative)
    *--end = u'-';
  return count;
}

}  // namespace

int FormatInt64(long long value, char16_t* out, int room) {
  if (!GlobalLocaleIsClassic())
    return FormatWithStream(value, out, room);
  return WriteDecimal(value, out, room);
}

int FormatDouble(double value, char16_t* out, int room) {
  // Infinities and NaN are left to the stream, whose spelling is the rule.
  if (!std::isfinite(value) || !GlobalLocaleIsClassic())
    return FormatWithStream(value, out, room);
  char text[32];
  const std::to_chars_result result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6);
  return Widen(text, static_cast<int>(result.ptr - text), out, room);
}

//===-- The classic locale, whatever the global one -----------------------===//

int FormatClassic(long long value, char16_t* out, int room) {
  return WriteDecimal(value, out, room);
}

int FormatShortest(double value, char16_t* out, int room) {
  char text[kShortestRoom];
  const std::to_chars_result result = std::to_chars(text, text + sizeof text, value);
  return Widen(text, static_cast<int>(result.ptr - text), out, room);
}

}  // namespace detail
}  // namespace zqlang
