//===- fuzz/FuzzModel.h - pieces shared by the fuzz targets' models -------===//
//
// The models are written on std::u16string and produce texts the way the
// library must, independently of it: numbers with std::to_chars (the fuzz
// runs use the classic locale).
//===----------------------------------------------------------------------===//
#ifndef ZQ_FUZZ_FUZZMODEL_H
#define ZQ_FUZZ_FUZZMODEL_H

#include <charconv>
#include <string>

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

}  // namespace zqfuzz

#endif  // ZQ_FUZZ_FUZZMODEL_H
