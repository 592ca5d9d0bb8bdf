//===- lang/detail/Utf8.h - UTF-8 to UTF-16 and back ----------------------===//
/// \file
/// The transcoders behind CZqString::fromUtf8 and toUtf8. Each direction has
/// a measuring pass and a writing pass, so that the caller allocates the
/// result once, at its exact size, before a unit or byte is written.
///
/// One rule for bad input, in both directions:
///   - UTF-8 to UTF-16: every maximal subpart of an ill-formed sequence
///     becomes one U+FFFD (the replacement the Unicode standard recommends):
///     the longest prefix of a well-formed sequence met before the byte that
///     breaks it, or a single byte that can start nothing. Overlong forms,
///     encoded surrogates and values above U+10FFFF are ill-formed.
///   - UTF-16 to UTF-8: a surrogate that is not half of a high-low pair
///     becomes U+FFFD (EF BF BD).
/// Well-formed text round-trips exactly; U+0000 is an ordinary character.
///
/// Runs of ASCII are handled a block at a time: with SSE2 where the build has
/// it (detail/Simd.h), 64 and 16 elements per step; otherwise one element at
/// a time in 16-element blocks.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_DETAIL_UTF8_H
#define ZQ_LANG_DETAIL_UTF8_H

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

namespace zqlang {
namespace detail {

/// The unit written for each ill-formed subpart or lone surrogate.
constexpr char16_t kReplacementCharacter = 0xFFFD;

/// Number of UTF-16 units that DecodeUtf8 makes of \p count bytes.
std::size_t Utf16LengthOfUtf8(const char* bytes, std::size_t count) noexcept;

/// Decodes bytes from \p next up to \p end into \p out, which has room for
/// \p room units. Stops at the end of the input or when fewer than two units
/// of room are left, so any room of 2 or more makes progress and a sequence
/// is never split between calls. Returns the number of units written and
/// leaves \p next after the last byte consumed.
std::size_t DecodeUtf8(const char*& next, const char* end, char16_t* out,
                       std::size_t room) noexcept;

/// Number of bytes that EncodeUtf8 makes of \p count units.
std::size_t Utf8LengthOfUtf16(const char16_t* units, std::size_t count) noexcept;

/// Encodes \p count units into \p out, which has room for
/// Utf8LengthOfUtf16(units, count) bytes; returns the end of what it wrote.
/// A high surrogate that ends the units is lone: keep pairs in one call.
char* EncodeUtf8(const char16_t* units, std::size_t count, char* out) noexcept;

/// Writes the UTF-16 form of \p utf8 to \p out, which has room for exactly
/// \p length units, the length the caller measured with Utf16LengthOfUtf8.
void DecodeAllUtf8(std::string_view utf8, char16_t* out, std::size_t length) noexcept;

/// The UTF-8 form of \p count units; OutOfMemoryError when it cannot be had.
std::string ToUtf8(const char16_t* units, int count);

/// Writes the UTF-8 form of \p count units to \p os; allocates nothing
/// unless a field width is set (padding counts the whole text).
std::ostream& WriteUtf8(std::ostream& os, const char16_t* units, int count);

}  // namespace detail
}  // namespace zqlang

#endif  // ZQ_LANG_DETAIL_UTF8_H
