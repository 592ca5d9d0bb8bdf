//===- fuzz/FuzzModel.h - pieces shared by the fuzz targets' models -------===//
//
// The models are written on std::u16string and produce texts the way the
// library must, independently of it: numbers with std::to_chars (the fuzz
// runs use the classic locale). A mismatch aborts with its report.
//===----------------------------------------------------------------------===//
#ifndef ZQ_FUZZ_FUZZMODEL_H
#define ZQ_FUZZ_FUZZMODEL_H

#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <type_traits>

#include "ZarqLang.h"

namespace zqfuzz {

using namespace zqlang;
using U = std::u16string;

// The text of v in radix (an unsigned v as such); a double as the library
// writes it in the classic locale, six significant digits.
template <class T>
U Num(T v, int radix = 10) {
  char buf[64];
  if constexpr (std::is_floating_point<T>::value)
    return U(buf, std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6).ptr);
  else
    return U(buf, std::to_chars(buf, buf + sizeof buf, v, radix).ptr);
}

// Readable text for a report: printable ASCII as is, other units as \uXXXX.
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

// The text of an exception due, or none.
inline std::string Show(const std::optional<U>& o) { return o ? Show(*o) : "no exception"; }

// A number for a report; a double exactly, in hexadecimal.
template <class T>
std::string Show(T v) {
  char buf[40];
  if constexpr (std::is_floating_point<T>::value)
    std::snprintf(buf, sizeof buf, "%a", v);
  else
    std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(v));
  return buf;
}

// Aborts with the report of a mismatch in what (the operation and its
// arguments) unless the library's result equals the model's.
template <class T>
void Same(const std::string& what, const T& got, const T& want) {
  if (got == want)
    return;
  std::fprintf(stderr, "mismatch in %s\n  library: %s\n  model:   %s\n", what.c_str(),
               Show(got).c_str(), Show(want).c_str());
  std::abort();
}

}  // namespace zqfuzz

#endif  // ZQ_FUZZ_FUZZMODEL_H
