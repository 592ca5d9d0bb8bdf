//===- lang/detail/NumberText.cpp - text forms of numbers -----------------===//
#include "lang/detail/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <locale>
#include <new>
#include <sstream>
#include <string>

#include "lang/detail/Throw.h"

namespace zqlang {
namespace detail {
namespace {

// The implementation a locale object refers to. libstdc++'s std::locale is
// one pointer to it, shared by all copies.
#if defined(__GLIBCXX__)
static_assert(sizeof(std::locale) == sizeof(void*), "std::locale is one pointer");
const void* ImplOf(const std::locale& locale) noexcept {
  const void* impl;
  std::memcpy(&impl, &locale, sizeof impl);
  return impl;
}
#endif

// True when a default stream would use the classic locale's punctuation and
// number formatting, i.e. the global locale is the classic one. Every
// number written asks, so this is kept to one library call in the common
// case: with libstdc++ a copy of the global locale that refers to the
// classic implementation holds no reference and its destructor does
// nothing, so that copy is not destroyed. Elsewhere the copy is compared
// and destroyed as usual.
bool GlobalLocaleIsClassic() {
#if defined(__GLIBCXX__)
  static const void* const classic = ImplOf(std::locale::classic());
  alignas(std::locale) unsigned char storage[sizeof(std::locale)];
  std::locale* const global = ::new (static_cast<void*>(storage)) std::locale();
  if (ImplOf(*global) == classic)
    return true;
  global->~locale();
  return false;
#else
  static const std::locale* const classic = &std::locale::classic();  // lives for good
  return std::locale() == *classic;
#endif
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
      ThrowOutOfMemory();
    const std::string text = stream.str();
    return Widen(text.data(), static_cast<int>(text.size()), out, room);
  } catch (const std::bad_alloc&) {
    ThrowOutOfMemory();
  }
}

// The classic decimal text of value, as std::to_chars writes it, widened.
int WriteDecimal(long long value, char16_t* out, int room) {
  char text[24];  // a sign and 19 digits
  // Values that fit 32 bits (every int) take the cheaper 32-bit division.
  const std::to_chars_result result =
      value == static_cast<int>(value)
          ? std::to_chars(text, text + sizeof text, static_cast<int>(value))
          : std::to_chars(text, text + sizeof text, value);
  return Widen(text, static_cast<int>(result.ptr - text), out, room);
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
