//===- fuzz/FuzzModel.h - pieces shared by the fuzz targets' models -------===//
//
// The models are written on std::u16string and produce texts the way the
// library must, independently of it: numbers with std::to_chars (the fuzz
// runs use the classic locale).
//===----------------------------------------------------------------------===//
#ifndef ZQ_FUZZ_FUZZMODEL_H
#define ZQ_FUZZ_FUZZMODEL_H

#include <charconv>
#include <cstdio>
#include <string>
#include <type_traits>

namespace zqfuzz {

using U = std::u16string;

// Narrow ASCII text widened one unit per character.
inline U Widen(const char* first, const char* last) { return U(first, last); }

// Decimal text of v.
inline U Num(long long v) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return Widen(buf, r.ptr);
}

// Readable text for a mismatch report: printable ASCII as is, other units
// as \uXXXX.
inline std::string Show(const U& u) {
  std::string out = "\"";
  for (const char16_t c : u) {
    char buf[8] = {static_cast<char>(c)};
    if (c < 0x20 || c >= 0x7F || c == u'"')
      std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
    out += buf;
  }
  return out + "\"";
}

// A number for a mismatch report; a double exactly, in hexadecimal.
template <class T>
std::string Show(T v) {
  if constexpr (std::is_floating_point<T>::value) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%a", v);
    return buf;
  } else {
    return std::to_string(v);
  }
}

}  // namespace zqfuzz

#endif  // ZQ_FUZZ_FUZZMODEL_H
