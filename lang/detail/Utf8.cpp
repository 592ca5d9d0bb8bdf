//===- lang/detail/Utf8.cpp - UTF-8 to UTF-16 and back --------------------===//
#include "lang/detail/Utf8.h"

#include <cassert>
#include <climits>
#include <cstdint>
#include <cstring>
#include <new>
#include <ostream>

#include "lang/detail/Simd.h"
#include "lang/detail/Surrogates.h"
#include "lang/detail/Throw.h"

namespace zqlang {
namespace detail {
namespace {

// Bytes (or units) handled by one step of the ASCII fast path.
constexpr std::size_t kBlock = 16;

using Byte = unsigned char;

//===-- ASCII runs --------------------------------------------------------===//
//
// A run of ASCII is copied a block at a time. The 16-wide steps write a whole
// block and report how many leading elements were ASCII: the rest of what
// they wrote is garbage that the caller overwrites next, which is why they
// need room for a whole block.

#if ZQ_SSE2
// Long runs go 64 bytes (or units) per step: one test for four vectors.
constexpr std::size_t kWideBlock = 64;

// Number of trailing zero bits of a mask that is not all ones in its 16 bits.
inline std::size_t LeadingAscii(unsigned nonAsciiMask) noexcept {
  return nonAsciiMask == 0 ? kBlock : static_cast<std::size_t>(__builtin_ctz(nonAsciiMask));
}

// Bit i set when unit i of the 16 in low:high is 0x80 or above.
inline unsigned NonAsciiUnits(__m128i low, __m128i high) noexcept {
  const __m128i top = _mm_set1_epi16(-0x80);
  const __m128i zero = _mm_setzero_si128();
  const __m128i asciiLow = _mm_cmpeq_epi16(_mm_and_si128(low, top), zero);
  const __m128i asciiHigh = _mm_cmpeq_epi16(_mm_and_si128(high, top), zero);
  return ~static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(asciiLow, asciiHigh))) & 0xFFFF;
}

// Copies the 64 bytes at in to 64 units at out when all are ASCII; otherwise
// writes nothing and returns false.
inline bool WidenAsciiWideBlock(const Byte* in, char16_t* out) noexcept {
  const __m128i a = Load(in);
  const __m128i b = Load(in + 16);
  const __m128i c = Load(in + 32);
  const __m128i d = Load(in + 48);
  if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d))) != 0)
    return false;
  const __m128i zero = _mm_setzero_si128();
  Store(out, _mm_unpacklo_epi8(a, zero));
  Store(out + 8, _mm_unpackhi_epi8(a, zero));
  Store(out + 16, _mm_unpacklo_epi8(b, zero));
  Store(out + 24, _mm_unpackhi_epi8(b, zero));
  Store(out + 32, _mm_unpacklo_epi8(c, zero));
  Store(out + 40, _mm_unpackhi_epi8(c, zero));
  Store(out + 48, _mm_unpacklo_epi8(d, zero));
  Store(out + 56, _mm_unpackhi_epi8(d, zero));
  return true;
}

// True when the 64 bytes at in are ASCII.
inline bool AsciiWideBlock(const Byte* in) noexcept {
  const __m128i any = _mm_or_si128(_mm_or_si128(Load(in), Load(in + 16)),
                                   _mm_or_si128(Load(in + 32), Load(in + 48)));
  return _mm_movemask_epi8(any) == 0;
}

// Narrows the 64 units at in to 64 bytes at out when all are below 0x80;
// otherwise writes nothing and returns false.
inline bool NarrowAsciiWideBlock(const char16_t* in, Byte* out) noexcept {
  const __m128i u0 = Load(in);
  const __m128i u1 = Load(in + 8);
  const __m128i u2 = Load(in + 16);
  const __m128i u3 = Load(in + 24);
  const __m128i u4 = Load(in + 32);
  const __m128i u5 = Load(in + 40);
  const __m128i u6 = Load(in + 48);
  const __m128i u7 = Load(in + 56);
  const __m128i any = _mm_or_si128(_mm_or_si128(_mm_or_si128(u0, u1), _mm_or_si128(u2, u3)),
                                   _mm_or_si128(_mm_or_si128(u4, u5), _mm_or_si128(u6, u7)));
  const __m128i wide = _mm_and_si128(any, _mm_set1_epi16(-0x80));
  if (_mm_movemask_epi8(_mm_cmpeq_epi16(wide, _mm_setzero_si128())) != 0xFFFF)
    return false;
  Store(out, _mm_packus_epi16(u0, u1));
  Store(out + 16, _mm_packus_epi16(u2, u3));
  Store(out + 32, _mm_packus_epi16(u4, u5));
  Store(out + 48, _mm_packus_epi16(u6, u7));
  return true;
}

// True when the 64 units at in are below 0x80.
inline bool AsciiWideUnits(const char16_t* in) noexcept {
  const __m128i any = _mm_or_si128(_mm_or_si128(_mm_or_si128(Load(in), Load(in + 8)),
                                                _mm_or_si128(Load(in + 16), Load(in + 24))),
                                   _mm_or_si128(_mm_or_si128(Load(in + 32), Load(in + 40)),
                                                _mm_or_si128(Load(in + 48), Load(in + 56))));
  const __m128i wide = _mm_and_si128(any, _mm_set1_epi16(-0x80));
  return _mm_movemask_epi8(_mm_cmpeq_epi16(wide, _mm_setzero_si128())) == 0xFFFF;
}

// Number of leading ASCII bytes among the 16 at in.
inline std::size_t AsciiRun(const Byte* in) noexcept {
  return LeadingAscii(static_cast<unsigned>(_mm_movemask_epi8(Load(in))));
}

// Widens the 16 bytes at in to 16 units at out; returns how many leading
// ones were ASCII (the units after those are garbage).
inline std::size_t WidenAsciiRun(const Byte* in, char16_t* out) noexcept {
  const __m128i bytes = Load(in);
  const __m128i zero = _mm_setzero_si128();
  Store(out, _mm_unpacklo_epi8(bytes, zero));
  Store(out + 8, _mm_unpackhi_epi8(bytes, zero));
  return LeadingAscii(static_cast<unsigned>(_mm_movemask_epi8(bytes)));
}

// Number of leading units below 0x80 among the 16 at in.
inline std::size_t AsciiUnitRun(const char16_t* in) noexcept {
  return LeadingAscii(NonAsciiUnits(Load(in), Load(in + 8)));
}

// Narrows the 16 units at in to 16 bytes at out; returns how many leading
// ones were below 0x80 (the bytes after those are garbage).
inline std::size_t NarrowAsciiRun(const char16_t* in, Byte* out) noexcept {
  const __m128i low = Load(in);
  const __m128i high = Load(in + 8);
  Store(out, _mm_packus_epi16(low, high));
  return LeadingAscii(NonAsciiUnits(low, high));
}
#else
// Portable forms, one element at a time; a wide block is a 16-wide one.
constexpr std::size_t kWideBlock = kBlock;

// Copies the leading ASCII elements of the block at in to out (when out is
// not null) and returns their number.
template <class From, class To>
std::size_t CopyAsciiRun(const From* in, To* out) noexcept {
  std::size_t n = 0;
  for (; n < kBlock && in[n] < 0x80; ++n) {
    if (out != nullptr)
      out[n] = static_cast<To>(in[n]);
  }
  return n;
}

inline std::size_t AsciiRun(const Byte* in) noexcept {
  return CopyAsciiRun(in, static_cast<char16_t*>(nullptr));
}
inline std::size_t WidenAsciiRun(const Byte* in, char16_t* out) noexcept {
  return CopyAsciiRun(in, out);
}
inline std::size_t AsciiUnitRun(const char16_t* in) noexcept {
  return CopyAsciiRun(in, static_cast<Byte*>(nullptr));
}
inline std::size_t NarrowAsciiRun(const char16_t* in, Byte* out) noexcept {
  return CopyAsciiRun(in, out);
}

inline bool AsciiWideBlock(const Byte* in) noexcept { return AsciiRun(in) == kBlock; }
inline bool WidenAsciiWideBlock(const Byte* in, char16_t* out) noexcept {
  return WidenAsciiRun(in, out) == kBlock;
}
inline bool AsciiWideUnits(const char16_t* in) noexcept { return AsciiUnitRun(in) == kBlock; }
inline bool NarrowAsciiWideBlock(const char16_t* in, Byte* out) noexcept {
  return NarrowAsciiRun(in, out) == kBlock;
}
#endif

//===-- One sequence ------------------------------------------------------===//

// One decoded sequence: its code point (U+FFFD for an ill-formed subpart)
// and the bytes it took.
struct Sequence {
  char32_t codePoint;
  std::size_t bytes;
};

inline bool InRange(Byte b, Byte low, Byte high) noexcept { return b >= low && b <= high; }

// Decodes the sequence that starts with the non-ASCII byte at in. The ranges
// of the second byte exclude overlong forms (E0, F0), encoded surrogates (ED)
// and values above U+10FFFF (F4); C0, C1 and F5 to FF start nothing. A
// subpart that breaks off, also at the end of the input, is replaced as a
// whole.
inline Sequence DecodeSequence(const Byte* in, const Byte* end) noexcept {
  const Byte lead = in[0];
  const std::size_t available = static_cast<std::size_t>(end - in);
  if (lead < 0xC2 || lead > 0xF4)
    return {kReplacementCharacter, 1};
  // The lead gives the length, the payload bits it carries and the range of
  // the second byte; every later byte lies in 80..BF.
  const std::size_t length = lead < 0xE0 ? 2 : (lead < 0xF0 ? 3 : 4);
  char32_t value = lead & (0x7Fu >> length);
  Byte low = 0x80;
  Byte high = 0xBF;
  if (lead == 0xE0)
    low = 0xA0;
  else if (lead == 0xF0)
    low = 0x90;
  else if (lead == 0xED)
    high = 0x9F;
  else if (lead == 0xF4)
    high = 0x8F;
  for (std::size_t i = 1; i < length; ++i) {
    if (i >= available || !InRange(in[i], i == 1 ? low : Byte{0x80}, i == 1 ? high : Byte{0xBF}))
      return {kReplacementCharacter, i};  // the subpart read so far, at least the lead
    value = value << 6 | (in[i] & 0x3Fu);
  }
  return {value, length};
}

// Measures the text [in, end) in the other encoding: ASCII runs count one
// for one, found with the wide and the one-block steps; every other element
// goes to other(in, end), which moves in past it and returns its length.
// The length functions of both directions.
template <class Element, class Wide, class Run, class Other>
std::size_t MeasureText(const Element* in, const Element* end, Wide wide, Run run,
                        Other other) noexcept {
  std::size_t length = 0;
  while (in != end) {
    if (*in >= 0x80) {
      length += other(in, end);
      continue;
    }
    const Element* const start = in;
    while (static_cast<std::size_t>(end - in) >= kWideBlock && wide(in))
      in += kWideBlock;
    if (static_cast<std::size_t>(end - in) >= kBlock)
      in += run(in);
    else if (in != end && *in < 0x80)
      ++in;
    length += static_cast<std::size_t>(in - start);
  }
  return length;
}

}  // namespace

//===-- UTF-8 to UTF-16 ---------------------------------------------------===//

std::size_t Utf16LengthOfUtf8(const char* bytes, std::size_t count) noexcept {
  const Byte* const in = reinterpret_cast<const Byte*>(bytes);
  return MeasureText(in, in + count, AsciiWideBlock, AsciiRun,
                     [](const Byte*& at, const Byte* end) -> std::size_t {
                       const Sequence sequence = DecodeSequence(at, end);
                       at += sequence.bytes;
                       return sequence.codePoint > 0xFFFF ? 2 : 1;
                     });
}

std::size_t DecodeUtf8(const char*& next, const char* end, char16_t* out,
                       std::size_t room) noexcept {
  const Byte* in = reinterpret_cast<const Byte*>(next);
  const Byte* const inEnd = reinterpret_cast<const Byte*>(end);
  char16_t* const outBegin = out;
  char16_t* const outEnd = out + room;
  while (in != inEnd && outEnd - out >= 2) {
    if (*in < 0x80) {
      while (static_cast<std::size_t>(inEnd - in) >= kWideBlock &&
             static_cast<std::size_t>(outEnd - out) >= kWideBlock && WidenAsciiWideBlock(in, out)) {
        in += kWideBlock;
        out += kWideBlock;
      }
      if (static_cast<std::size_t>(inEnd - in) >= kBlock &&
          static_cast<std::size_t>(outEnd - out) >= kBlock) {
        const std::size_t run = WidenAsciiRun(in, out);
        in += run;
        out += run;
      } else if (in != inEnd && *in < 0x80 && out != outEnd) {
        *out++ = *in++;
      }
      continue;
    }
    const Sequence sequence = DecodeSequence(in, inEnd);
    in += sequence.bytes;
    if (sequence.codePoint > 0xFFFF) {
      *out++ = HighSurrogateOf(sequence.codePoint);
      *out++ = LowSurrogateOf(sequence.codePoint);
    } else {
      *out++ = static_cast<char16_t>(sequence.codePoint);
    }
  }
  next = reinterpret_cast<const char*>(in);
  return static_cast<std::size_t>(out - outBegin);
}

//===-- UTF-16 to UTF-8 ---------------------------------------------------===//

std::size_t Utf8LengthOfUtf16(const char16_t* units, std::size_t count) noexcept {
  return MeasureText(units, units + count, AsciiWideUnits, AsciiUnitRun,
                     [](const char16_t*& at, const char16_t* end) -> std::size_t {
                       const char16_t unit = *at++;
                       if (unit < 0x800)
                         return 2;
                       if (IsHighSurrogate(unit) && at != end && IsLowSurrogate(*at)) {
                         ++at;
                         return 4;
                       }
                       return 3;  // also a lone surrogate, written as U+FFFD
                     });
}

char* EncodeUtf8(const char16_t* units, std::size_t count, char* out) noexcept {
  const char16_t* in = units;
  const char16_t* const end = units + count;
  Byte* o = reinterpret_cast<Byte*>(out);
  while (in != end) {
    if (*in < 0x80) {
      while (static_cast<std::size_t>(end - in) >= kWideBlock && NarrowAsciiWideBlock(in, o)) {
        in += kWideBlock;
        o += kWideBlock;
      }
      // Sixteen units always make at least sixteen bytes, so a whole block
      // fits in the room the caller measured.
      if (static_cast<std::size_t>(end - in) >= kBlock) {
        const std::size_t run = NarrowAsciiRun(in, o);
        in += run;
        o += run;
      } else if (in != end && *in < 0x80) {
        *o++ = static_cast<Byte>(*in++);
      }
      continue;
    }
    char32_t c = *in++;
    if (c < 0x800) {
      *o++ = static_cast<Byte>(0xC0 | c >> 6);
      *o++ = static_cast<Byte>(0x80 | (c & 0x3F));
      continue;
    }
    if (IsHighSurrogate(c) && in != end && IsLowSurrogate(*in)) {
      c = PairToCodePoint(c, *in++);
      *o++ = static_cast<Byte>(0xF0 | c >> 18);
      *o++ = static_cast<Byte>(0x80 | (c >> 12 & 0x3F));
      *o++ = static_cast<Byte>(0x80 | (c >> 6 & 0x3F));
      *o++ = static_cast<Byte>(0x80 | (c & 0x3F));
      continue;
    }
    if (IsSurrogate(c))
      c = kReplacementCharacter;
    *o++ = static_cast<Byte>(0xE0 | c >> 12);
    *o++ = static_cast<Byte>(0x80 | (c >> 6 & 0x3F));
    *o++ = static_cast<Byte>(0x80 | (c & 0x3F));
  }
  return reinterpret_cast<char*>(o);
}

void DecodeAllUtf8(std::string_view utf8, char16_t* out, std::size_t length) noexcept {
  const char* next = utf8.data();
  const char* const end = next + utf8.size();
  std::size_t written = DecodeUtf8(next, end, out, length);
  // The decoder wants room for two units before each sequence, so the last
  // unit may be left over; it goes through a two-unit buffer.
  while (next != end) {
    char16_t tail[2];
    const std::size_t count = DecodeUtf8(next, end, tail, 2);
    std::memcpy(out + written, tail, count * sizeof(char16_t));
    written += count;
  }
}

std::string ToUtf8(const char16_t* units, int count) {
  const std::size_t n = static_cast<std::size_t>(count);
  const std::size_t bytes = Utf8LengthOfUtf16(units, n);
  std::string utf8;
  try {
    utf8.resize(bytes);
  } catch (const std::bad_alloc&) {
    ThrowOutOfMemory();
  }
  if (bytes != 0) {
    const char* const end = EncodeUtf8(units, n, &utf8[0]);
    assert(static_cast<std::size_t>(end - utf8.data()) == bytes && "UTF-8 length misjudged");
    static_cast<void>(end);
  }
  return utf8;
}

std::ostream& WriteUtf8(std::ostream& os, const char16_t* units, int count) {
  if (os.width() != 0)
    return os << ToUtf8(units, count);  // padding counts the whole text
  // Encoded piece by piece; a piece never ends between the two halves of a
  // surrogate pair.
  constexpr int kPiece = 256;
  char buffer[3 * kPiece];
  while (count > 0 && os) {
    int take = count < kPiece ? count : kPiece;
    if (take < count && IsHighSurrogate(units[take - 1]))
      --take;
    const char* const end = EncodeUtf8(units, static_cast<std::size_t>(take), buffer);
    os.write(buffer, end - buffer);
    units += take;
    count -= take;
  }
  return os;
}

}  // namespace detail
}  // namespace zqlang
