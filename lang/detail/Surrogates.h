//===- lang/detail/Surrogates.h - UTF-16 surrogate pairs ------------------===//
/// \file
/// The one place that knows how UTF-16 splits a code point above U+FFFF into
/// a high (0xD800-0xDBFF) and a low (0xDC00-0xDFFF) surrogate.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_DETAIL_SURROGATES_H
#define ZQ_LANG_DETAIL_SURROGATES_H

namespace zqlang {
namespace detail {

/// The first high and the first low surrogate, and the bits that tell a
/// half (with kHalfMask) or any surrogate (with kSurrogateMask) apart; the
/// vector loops use them lane by lane.
constexpr unsigned kFirstHighSurrogate = 0xD800u;
constexpr unsigned kFirstLowSurrogate = 0xDC00u;
constexpr unsigned kHalfMask = 0xFC00u;
constexpr unsigned kSurrogateMask = 0xF800u;

/// True for a unit in 0xD800-0xDBFF, the first half of a pair.
constexpr bool IsHighSurrogate(unsigned unit) noexcept {
  return (unit & kHalfMask) == kFirstHighSurrogate;
}
/// True for a unit in 0xDC00-0xDFFF, the second half of a pair.
constexpr bool IsLowSurrogate(unsigned unit) noexcept {
  return (unit & kHalfMask) == kFirstLowSurrogate;
}
/// True for a unit in 0xD800-0xDFFF, either half.
constexpr bool IsSurrogate(unsigned unit) noexcept {
  return (unit & kSurrogateMask) == kFirstHighSurrogate;
}

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

/// The code point that starts at \p at, reading no unit at or past \p end
/// (at < end): a high surrogate followed by a low one is one code point,
/// every other unit (an unpaired surrogate included) is its own. Its length
/// in units is 2 exactly when it is above 0xFFFF.
constexpr char32_t DecodeAt(const char16_t* at, const char16_t* end) noexcept {
  return IsHighSurrogate(*at) && end - at > 1 && IsLowSurrogate(at[1])
             ? PairToCodePoint(at[0], at[1])
             : *at;
}

/// Writes the UTF-16 form of \p codePoint to \p out and returns its length
/// in units, 1 or 2; 0 (nothing written) when it is negative or above
/// 0x10FFFF.
constexpr int EncodeUtf16(int codePoint, char16_t* out) noexcept {
  const unsigned cp = static_cast<unsigned>(codePoint);
  if (cp > 0x10FFFFu)
    return 0;
  if (cp <= 0xFFFFu) {
    out[0] = static_cast<char16_t>(cp);
    return 1;
  }
  out[0] = HighSurrogateOf(cp);
  out[1] = LowSurrogateOf(cp);
  return 2;
}

}  // namespace detail
}  // namespace zqlang

#endif  // ZQ_LANG_DETAIL_SURROGATES_H
