//===- lang/detail/UnitScan.cpp - fast scans over UTF-16 unit arrays ------===//
//
// SSE2 compares 8 units with one instruction and turns the result into a
// 16-bit mask, two bits per unit (_mm_movemask_epi8 of _mm_cmpeq_epi16), so
// the index of a unit is the bit index halved. Long runs go 32 units per step
// (64 for a unit search, which keeps more loads in flight) with one test for
// the whole step; what is left after the last whole block
// is done with one more vector load that overlaps units already known not to
// matter, or unit by unit when the range is shorter than a vector.
//
// The hash is a polynomial: over a block of L units,
//   h' = h * 31^L + sum(u[j] * 31^(L-1-j)).
// Lane j of the vector accumulators collects every L-th unit, each step
// multiplying what it has by 31^L; at the end the lanes are weighted by
// 31^(L-1-j) and summed. Everything is modulo 2^32, where this regrouping is
// exact, so the result is bit for bit that of the plain loop.
//===----------------------------------------------------------------------===//
#include "lang/detail/UnitScan.h"

#include "lang/detail/Simd.h"

namespace zqlang {
namespace detail {
namespace {

// True when the count units at a and b are equal. Candidates of a search
// mostly fail on their first units, so short needles are compared inline.
// The hash of units continued from h.
inline unsigned HashOnward(unsigned h, const char16_t* units, int count) noexcept {
  for (int i = 0; i < count; ++i)
    h = h * 31u + units[i];
  return h;
}

inline bool SameUnits(const char16_t* a, const char16_t* b, int count) noexcept {
  if (count > 8)
    return FirstDifference(a, b, count) == count;
  for (int i = 0; i < count; ++i) {
    if (a[i] != b[i])
      return false;
  }
  return true;
}

#if ZQ_SSE2

// The four 16-bit masks of 32 units as one 64-bit mask, first unit lowest.
inline unsigned long long Mask4(__m128i a, __m128i b, __m128i c, __m128i d) noexcept {
  return static_cast<unsigned long long>(Mask(a)) | static_cast<unsigned long long>(Mask(b)) << 16 |
         static_cast<unsigned long long>(Mask(c)) << 32 |
         static_cast<unsigned long long>(Mask(d)) << 48;
}

inline int FirstUnitOf(unsigned long long mask) noexcept { return __builtin_ctzll(mask) >> 1; }
inline int LastUnitOf(unsigned long long mask) noexcept {
  return (63 - __builtin_clzll(mask)) >> 1;
}

// a * k in each 32-bit lane, keeping the low 32 bits (SSE2 has no 32-bit
// multiply; two 32x32->64 multiplies cover the even and the odd lanes).
inline __m128i MulLow32(__m128i a, __m128i k) noexcept {
  const __m128i even = _mm_mul_epu32(a, k);
  const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(a, 32), k);
  const __m128i lowHalves = _mm_set_epi32(0, -1, 0, -1);
  return _mm_or_si128(_mm_and_si128(even, lowHalves), _mm_slli_epi64(odd, 32));
}

// Units per step of the vectorised hash, and 31^0 .. 31^kHashLanes mod 2^32.
constexpr int kHashLanes = 32;

struct Powers {
  unsigned value[kHashLanes + 1];
};

constexpr Powers PowersOf31() {
  Powers p{};
  p.value[0] = 1;
  for (int i = 1; i <= kHashLanes; ++i)
    p.value[i] = p.value[i - 1] * 31u;
  return p;
}

constexpr Powers kPowers = PowersOf31();

#endif  // ZQ_SSE2

}  // namespace

//===-- Scalar references -------------------------------------------------===//

int FindUnitScalar(const char16_t* units, int count, char16_t unit) noexcept {
  for (int i = 0; i < count; ++i) {
    if (units[i] == unit)
      return i;
  }
  return -1;
}

int FindLastUnitScalar(const char16_t* units, int count, char16_t unit) noexcept {
  for (int i = count - 1; i >= 0; --i) {
    if (units[i] == unit)
      return i;
  }
  return -1;
}

int FindUnitsScalar(const char16_t* text, int from, int last, const char16_t* needle,
                    int count) noexcept {
  for (int i = from; i <= last; ++i) {
    if (text[i] == needle[0] && text[i + count - 1] == needle[count - 1] &&
        SameUnits(text + i + 1, needle + 1, count - 2))
      return i;
  }
  return -1;
}

int FindLastUnitsScalar(const char16_t* text, int from, const char16_t* needle,
                        int count) noexcept {
  for (int i = from; i >= 0; --i) {
    if (text[i] == needle[0] && text[i + count - 1] == needle[count - 1] &&
        SameUnits(text + i + 1, needle + 1, count - 2))
      return i;
  }
  return -1;
}

int FirstDifferenceScalar(const char16_t* a, const char16_t* b, int count) noexcept {
  for (int i = 0; i < count; ++i) {
    if (a[i] != b[i])
      return i;
  }
  return count;
}

unsigned HashUnitsScalar(const char16_t* units, int count) noexcept {
  return HashOnward(0, units, count);
}

//===-- Vector paths ------------------------------------------------------===//

#if ZQ_SSE2
int FindUnitSse2(const char16_t* units, int count, char16_t unit) noexcept {
  if (count < 8)
    return FindUnitScalar(units, count, unit);
  int i = 0;
  const __m128i key = _mm_set1_epi16(static_cast<short>(unit));
  for (; i <= count - 64; i += 64) {
    const __m128i any =
        _mm_or_si128(_mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(Load(units + i), key),
                                               _mm_cmpeq_epi16(Load(units + i + 8), key)),
                                  _mm_or_si128(_mm_cmpeq_epi16(Load(units + i + 16), key),
                                               _mm_cmpeq_epi16(Load(units + i + 24), key))),
                     _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(Load(units + i + 32), key),
                                               _mm_cmpeq_epi16(Load(units + i + 40), key)),
                                  _mm_or_si128(_mm_cmpeq_epi16(Load(units + i + 48), key),
                                               _mm_cmpeq_epi16(Load(units + i + 56), key))));
    if (Mask(any) != 0)
      break;  // the 32-unit loop below finds which
  }
  for (; i <= count - 32; i += 32) {
    const __m128i a = _mm_cmpeq_epi16(Load(units + i), key);
    const __m128i b = _mm_cmpeq_epi16(Load(units + i + 8), key);
    const __m128i c = _mm_cmpeq_epi16(Load(units + i + 16), key);
    const __m128i d = _mm_cmpeq_epi16(Load(units + i + 24), key);
    if (Mask(_mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d))) != 0)
      return i + FirstUnitOf(Mask4(a, b, c, d));
  }
  for (; i <= count - 8; i += 8) {
    const unsigned mask = EqualMask(Load(units + i), key);
    if (mask != 0)
      return i + FirstUnitOf(mask);
  }
  if (i < count) {  // the last 8 units; those before i hold no match
    const unsigned mask = EqualMask(Load(units + count - 8), key);
    return mask != 0 ? count - 8 + FirstUnitOf(mask) : -1;
  }
  return -1;
}

int FindLastUnitSse2(const char16_t* units, int count, char16_t unit) noexcept {
  if (count < 8)
    return FindLastUnitScalar(units, count, unit);
  int i = count;  // units from i on hold no match
  const __m128i key = _mm_set1_epi16(static_cast<short>(unit));
  for (; i >= 32; i -= 32) {
    const char16_t* p = units + i - 32;
    const __m128i a = _mm_cmpeq_epi16(Load(p), key);
    const __m128i b = _mm_cmpeq_epi16(Load(p + 8), key);
    const __m128i c = _mm_cmpeq_epi16(Load(p + 16), key);
    const __m128i d = _mm_cmpeq_epi16(Load(p + 24), key);
    if (Mask(_mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d))) != 0)
      return i - 32 + LastUnitOf(Mask4(a, b, c, d));
  }
  for (; i >= 8; i -= 8) {
    const unsigned mask = EqualMask(Load(units + i - 8), key);
    if (mask != 0)
      return i - 8 + LastUnitOf(mask);
  }
  if (i > 0) {  // the first 8 units; those from i on hold no match
    const unsigned mask = EqualMask(Load(units), key);
    return mask != 0 ? LastUnitOf(mask) : -1;
  }
  return -1;
}

// A candidate must match the needle's first, middle and last units; only
// those are compared in full. The positions left after the last whole step
// go to the scalar reference.
int FindUnitsSse2(const char16_t* text, int from, int last, const char16_t* needle,
                  int count) noexcept {
  const int middle = count / 2;
  const __m128i firstKey = _mm_set1_epi16(static_cast<short>(needle[0]));
  const __m128i middleKey = _mm_set1_epi16(static_cast<short>(needle[middle]));
  const __m128i finalKey = _mm_set1_epi16(static_cast<short>(needle[count - 1]));
  int i = from;
  for (; i <= last - 7; i += 8) {
    const __m128i ends = _mm_and_si128(_mm_cmpeq_epi16(Load(text + i), firstKey),
                                       _mm_cmpeq_epi16(Load(text + i + count - 1), finalKey));
    unsigned mask = Mask(_mm_and_si128(ends, _mm_cmpeq_epi16(Load(text + i + middle), middleKey)));
    while (mask != 0) {
      const int at = i + FirstUnitOf(mask);
      if (SameUnits(text + at + 1, needle + 1, count - 2))
        return at;
      mask &= mask - 1;  // both bits of the unit
      mask &= mask - 1;
    }
  }
  return FindUnitsScalar(text, i, last, needle, count);
}

int FindLastUnitsSse2(const char16_t* text, int from, const char16_t* needle, int count) noexcept {
  const int middle = count / 2;
  const __m128i firstKey = _mm_set1_epi16(static_cast<short>(needle[0]));
  const __m128i middleKey = _mm_set1_epi16(static_cast<short>(needle[middle]));
  const __m128i finalKey = _mm_set1_epi16(static_cast<short>(needle[count - 1]));
  int i = from;  // candidates above i are done
  for (; i >= 7; i -= 8) {
    const int base = i - 7;
    const __m128i ends = _mm_and_si128(_mm_cmpeq_epi16(Load(text + base), firstKey),
                                       _mm_cmpeq_epi16(Load(text + base + count - 1), finalKey));
    unsigned mask =
        Mask(_mm_and_si128(ends, _mm_cmpeq_epi16(Load(text + base + middle), middleKey)));
    while (mask != 0) {
      const int unit = LastUnitOf(mask);
      if (SameUnits(text + base + unit + 1, needle + 1, count - 2))
        return base + unit;
      mask &= ~(3u << (2 * unit));
    }
  }
  return FindLastUnitsScalar(text, i, needle, count);
}

int FirstDifferenceSse2(const char16_t* a, const char16_t* b, int count) noexcept {
  if (count < 8)
    return FirstDifferenceScalar(a, b, count);
  int i = 0;
  for (; i <= count - 32; i += 32) {
    const __m128i e0 = _mm_cmpeq_epi16(Load(a + i), Load(b + i));
    const __m128i e1 = _mm_cmpeq_epi16(Load(a + i + 8), Load(b + i + 8));
    const __m128i e2 = _mm_cmpeq_epi16(Load(a + i + 16), Load(b + i + 16));
    const __m128i e3 = _mm_cmpeq_epi16(Load(a + i + 24), Load(b + i + 24));
    if (Mask(_mm_and_si128(_mm_and_si128(e0, e1), _mm_and_si128(e2, e3))) != 0xFFFF)
      return i + FirstUnitOf(~Mask4(e0, e1, e2, e3));
  }
  for (; i <= count - 8; i += 8) {
    const unsigned differ = EqualMask(Load(a + i), Load(b + i)) ^ 0xFFFFu;
    if (differ != 0)
      return i + FirstUnitOf(differ);
  }
  if (i < count) {  // the last 8 units; those before i are equal
    const unsigned differ = EqualMask(Load(a + count - 8), Load(b + count - 8)) ^ 0xFFFFu;
    return differ != 0 ? count - 8 + FirstUnitOf(differ) : count;
  }
  return count;
}

unsigned HashUnitsSse2(const char16_t* units, int count) noexcept {
  if (count < kHashLanes)
    return HashUnitsScalar(units, count);
  // Eight accumulators of four lanes: lane j of accumulator v holds unit
  // 4 * v + j of every block.
  const __m128i step = _mm_set1_epi32(static_cast<int>(kPowers.value[kHashLanes]));
  const __m128i zero = _mm_setzero_si128();
  __m128i acc[8];
  for (__m128i& a : acc)
    a = zero;
  int i = 0;
  for (; i <= count - kHashLanes; i += kHashLanes) {
    for (std::ptrdiff_t v = 0; v < 4; ++v) {
      const __m128i block = Load(units + i + 8 * v);
      acc[2 * v] = _mm_add_epi32(MulLow32(acc[2 * v], step), _mm_unpacklo_epi16(block, zero));
      acc[2 * v + 1] =
          _mm_add_epi32(MulLow32(acc[2 * v + 1], step), _mm_unpackhi_epi16(block, zero));
    }
  }
  alignas(16) unsigned lanes[kHashLanes];
  for (std::ptrdiff_t v = 0; v < 8; ++v)
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes + 4 * v), acc[v]);
  unsigned h = 0;
  for (int j = 0; j < kHashLanes; ++j)
    h += lanes[j] * kPowers.value[kHashLanes - 1 - j];
  return HashOnward(h, units + i, count - i);
}
#endif  // ZQ_SSE2

//===-- Dispatchers -------------------------------------------------------===//

#if ZQ_SSE2
#define ZQ_UNITSCAN_PATH(name) name##Sse2
#else
#define ZQ_UNITSCAN_PATH(name) name##Scalar
#endif

int FindUnit(const char16_t* units, int count, char16_t unit) noexcept {
  return ZQ_UNITSCAN_PATH(FindUnit)(units, count, unit);
}

int FindLastUnit(const char16_t* units, int count, char16_t unit) noexcept {
  return ZQ_UNITSCAN_PATH(FindLastUnit)(units, count, unit);
}

int FindUnits(const char16_t* text, int from, int last, const char16_t* needle,
              int count) noexcept {
  if (from > last)
    return -1;
  if (count == 1) {
    const int found = FindUnit(text + from, last - from + 1, needle[0]);
    return found < 0 ? -1 : from + found;
  }
  return ZQ_UNITSCAN_PATH(FindUnits)(text, from, last, needle, count);
}

int FindLastUnits(const char16_t* text, int from, const char16_t* needle, int count) noexcept {
  if (from < 0)
    return -1;
  if (count == 1)
    return FindLastUnit(text, from + 1, needle[0]);
  return ZQ_UNITSCAN_PATH(FindLastUnits)(text, from, needle, count);
}

int FirstDifference(const char16_t* a, const char16_t* b, int count) noexcept {
  return ZQ_UNITSCAN_PATH(FirstDifference)(a, b, count);
}

unsigned HashUnits(const char16_t* units, int count) noexcept {
  return ZQ_UNITSCAN_PATH(HashUnits)(units, count);
}

#undef ZQ_UNITSCAN_PATH

}  // namespace detail
}  // namespace zqlang
