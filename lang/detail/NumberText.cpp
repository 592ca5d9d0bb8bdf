//===- lang/detail/NumberText.cpp - text forms of numbers -----------------===//
#include "lang/detail/NumberText.h"

#include <charconv>
#include <cmath>
#include <locale>
#include <sstream>
#include <string>

namespace zqlang {
namespace detail {
namespace {

// True when a default stream would use the classic locale's punctuation and
// number formatting. Comparing with the classic locale is a pointer test when
// the global locale is the classic one, the common case.
bool GlobalLocaleIsClassic() { return std::locale() == std::locale::classic(); }

// Widens count narrow characters into out when they fit; returns count.
int Widen(const char* text, int count, char16_t* out, int room) {
  if (count <= room) {
    for (int i = 0; i < count; ++i)
      out[i] = static_cast<char16_t>(static_cast<unsigned char>(text[i]));
  }
  return count;
}

template <class T>
int FormatWithStream(T value, char16_t* out, int room) {
  std::ostringstream stream;
  stream << value;
  const std::string text = stream.str();
  return Widen(text.data(), static_cast<int>(text.size()), out, room);
}

}  // namespace

int FormatInt64(long long value, char16_t* out, int room) {
  if (!GlobalLocaleIsClassic())
    return FormatWithStream(value, out, room);
  char text[kNumberRoom];
  const std::to_chars_result result = std::to_chars(text, text + sizeof text, value);
  return Widen(text, static_cast<int>(result.ptr - text), out, room);
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

}  // namespace detail
}  // namespace zqlang
