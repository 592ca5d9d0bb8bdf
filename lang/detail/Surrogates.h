//===- lang/detail/Surrogates.h - UTF-16 surrogate pairs ------------------===//
/// \file
/// The one place that knows how UTF-16 splits a code point above U+FFFF into
/// a high (0xD800-0xDBFF) and a low (0xDC00-0xDFFF) surrogate.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_DETAIL_SURROGATES_H
#define ZQ_LANG_DETAIL_SURROGATES_H

namespace zqlang {
namespace detail {

/// True for a unit in 0xD800-0xDBFF, the first half of a pair.
constexpr bool IsHighSurrogate(unsigned unit) noexcept { return (unit & 0xFC00u) == 0xD800u; }
/// True for a unit in 0xDC00-0xDFFF, the second half of a pair.
constexpr bool IsLowSurrogate(unsigned unit) noexcept { return (unit & 0xFC00u) == 0xDC00u; }
/// True for a unit in 0xD800-0xDFFF, either half.
constexpr bool IsSurrogate(unsigned unit) noexcept { return (unit & 0xF800u) == 0xD800u; }

/// The code point of a high and a low surrogate.
constexpr unsigned PairToCodePoint(unsigned high, unsigned low) noexcept {
  return 0x10000u + ((high - 0xD800u) << 10) + (low - 0xDC00u);
}

/// The high surrogate of \p codePoint (0x10000-0x10FFFF).
constexpr char16_t HighSurrogateOf(unsigned codePoint) noexcept {
  return static_cast<char16_t>(0xD800u + ((codePoint - 0x10000u) >> 10));
}
/// The low surrogate of \p codePoint (0x10000-0x10FFFF).
constexpr char16_t LowSurrogateOf(unsigned codePoint) noexcept {
  return static_cast<char16_t>(0xDC00u + (codePoint & 0x3FFu));
}

}  // namespace detail
}  // namespace zqlang

#endif  // ZQ_LANG_DETAIL_SURROGATES_H
