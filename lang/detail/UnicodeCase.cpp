//===- lang/detail/UnicodeCase.cpp - Unicode case mapping of UTF-16 text --===//
//
// A code point's record (UnicodeCaseData.h) gives its simple mappings as
// differences, and flags that send it elsewhere: to a one-to-many mapping in
// kCaseSpecials, or to ContextMapped(), which holds the conditional rules of
// SpecialCasing (Final_Sigma, the Turkic and the Lithuanian ones). The
// generator checks that the data lists exactly the rules written here.
//
// The contexts are those of the Unicode Standard (section 3.13): Final_Sigma
// looks back past case-ignorable characters for a cased letter and forward
// for none, a letter that is both cased and case-ignorable (ʰ) counting as
// cased; the dot rules look past characters of combining classes other than
// 0 and 230.
//
// ASCII goes 8 units at a time with SSE2 where the language rules leave its
// letters alone (everywhere but the Turkic and Lithuanian i and j).
//===----------------------------------------------------------------------===//
#include "lang/detail/UnicodeCase.h"

#include "lang/detail/UnicodeCaseData.h"
#include "lang/detail/UnitScan.h"

#include "lang/detail/Simd.h"
#include "lang/detail/Surrogates.h"

namespace zqlang {
namespace detail {
namespace {

constexpr unsigned kDotAbove = 0x0307;
constexpr unsigned kCapitalSigma = 0x03A3;

// The code point that starts at text[i] and the units it takes; an unpaired
// surrogate is a code point of its own.
inline unsigned CodePointAt(const char16_t* text, int length, int i, int* width) noexcept {
  const unsigned unit = text[i];
  if (IsHighSurrogate(unit) && i + 1 < length && IsLowSurrogate(text[i + 1])) {
    *width = 2;
    return PairToCodePoint(unit, text[i + 1]);
  }
  *width = 1;
  return unit;
}

// The code point that ends just before text[i] (i > 0).
inline unsigned CodePointBefore(const char16_t* text, int i, int* width) noexcept {
  const unsigned unit = text[i - 1];
  if (IsLowSurrogate(unit) && i >= 2 && IsHighSurrogate(text[i - 2])) {
    *width = 2;
    return PairToCodePoint(text[i - 2], unit);
  }
  *width = 1;
  return unit;
}

inline int Encode(unsigned codePoint, char16_t* out) noexcept {
  if (codePoint < 0x10000u) {
    out[0] = static_cast<char16_t>(codePoint);
    return 1;
  }
  out[0] = HighSurrogateOf(codePoint);
  out[1] = LowSurrogateOf(codePoint);
  return 2;
}

inline unsigned FlagsOf(unsigned codePoint) noexcept { return CaseRecordOf(codePoint).flags; }

// The flags that send a code point past the one-to-one mapping: its full
// mapping, Σ when lower-casing, the letters of the language rules.
inline unsigned SlowFlags(CaseMapping mapping, ZqCaseRules rules) noexcept {
  return (kCaseFullLower << static_cast<int>(mapping)) |
         (mapping == CaseMapping::kLower ? unsigned{kCaseSigma} : 0u) |
         (rules != ZqCaseRules::kUnicode ? unsigned{kCaseLanguage} : 0u);
}

// True for what ends the search of the dot rules: a character of combining
// class 0 or 230.
inline bool EndsDotSearch(unsigned flags) noexcept {
  return (flags & (kCaseCombining | kCaseAbove)) != kCaseCombining;
}

// Final_Sigma: a cased letter before the code point at pos (past
// case-ignorable ones), none after it (likewise).
bool IsFinalSigma(const char16_t* text, int length, int pos, int width) noexcept {
  bool casedBefore = false;
  for (int i = pos, w = 0; i > 0; i -= w) {
    const unsigned flags = FlagsOf(CodePointBefore(text, i, &w));
    if ((flags & kCaseCased) != 0) {
      casedBefore = true;
      break;
    }
    if ((flags & kCaseIgnorable) == 0)
      break;
  }
  if (!casedBefore)
    return false;
  for (int i = pos + width, w = 0; i < length; i += w) {
    const unsigned flags = FlagsOf(CodePointAt(text, length, i, &w));
    if ((flags & kCaseCased) != 0)
      return false;
    if ((flags & kCaseIgnorable) == 0)
      break;
  }
  return true;
}

// More_Above: a character of combining class 230 follows from `from` on.
bool MoreAbove(const char16_t* text, int length, int from) noexcept {
  for (int i = from, w = 0; i < length; i += w) {
    const unsigned flags = FlagsOf(CodePointAt(text, length, i, &w));
    if ((flags & kCaseAbove) != 0)
      return true;
    if (EndsDotSearch(flags))
      return false;
  }
  return false;
}

// Before_Dot: U+0307 follows from `from` on.
bool BeforeDot(const char16_t* text, int length, int from) noexcept {
  for (int i = from, w = 0; i < length; i += w) {
    const unsigned codePoint = CodePointAt(text, length, i, &w);
    if (codePoint == kDotAbove)
      return true;
    if (EndsDotSearch(FlagsOf(codePoint)))
      return false;
  }
  return false;
}

// After_I (\p wanted 0) or After_Soft_Dotted (\p wanted kCaseSoftDotted):
// an I, or a soft-dotted letter, stands before pos.
bool AfterDotted(const char16_t* text, int pos, unsigned wanted) noexcept {
  for (int i = pos, w = 0; i > 0; i -= w) {
    const unsigned codePoint = CodePointBefore(text, i, &w);
    const unsigned flags = FlagsOf(codePoint);
    if (wanted == 0 ? codePoint == u'I' : (flags & wanted) != 0)
      return true;
    if (EndsDotSearch(flags))
      return false;
  }
  return false;
}

inline int DefaultMapped(CaseMapping mapping, unsigned codePoint, const CaseRecord& record,
                         char16_t* out) noexcept {
  const int which = static_cast<int>(mapping);
  if ((record.flags & (kCaseFullLower << which)) != 0) {
    const CaseSpecial& special = kCaseSpecials[record.special];
    const int count = special.length[which];
    for (int k = 0; k < count; ++k)
      out[k] = special.units[which][k];
    return count;
  }
  return Encode(codePoint + static_cast<unsigned>(record.delta[which]), out);
}

inline int Write(char16_t* out, unsigned a) noexcept {
  out[0] = static_cast<char16_t>(a);
  return 1;
}

// The conditional and language rules (SpecialCasing's lines with a
// condition, CaseFolding's status T); everything else by default.
int ContextMapped(CaseMapping mapping, ZqCaseRules rules, const char16_t* text, int length, int pos,
                  int width, unsigned codePoint, const CaseRecord& record, char16_t* out) noexcept {
  const bool turkic = rules == ZqCaseRules::kTurkic;
  const bool lithuanian = rules == ZqCaseRules::kLithuanian;
  switch (mapping) {
    case CaseMapping::kLower:
      if (codePoint == kCapitalSigma)
        return Write(out, IsFinalSigma(text, length, pos, width) ? 0x03C2 : 0x03C3);
      if (turkic && codePoint == 0x0130)
        return Write(out, u'i');
      if (turkic && codePoint == kDotAbove && AfterDotted(text, pos, 0))
        return 0;
      if (turkic && codePoint == u'I')
        return Write(out, BeforeDot(text, length, pos + 1) ? u'i' : 0x0131);
      if (lithuanian && (codePoint == u'I' || codePoint == u'J' || codePoint == 0x012E) &&
          MoreAbove(text, length, pos + 1)) {
        out[0] = static_cast<char16_t>(codePoint + static_cast<unsigned>(record.delta[0]));
        out[1] = static_cast<char16_t>(kDotAbove);
        return 2;
      }
      if (lithuanian && (codePoint == 0x00CC || codePoint == 0x00CD || codePoint == 0x0128)) {
        out[0] = u'i';
        out[1] = static_cast<char16_t>(kDotAbove);
        out[2] = static_cast<char16_t>(
            codePoint == 0x00CC ? 0x0300 : (codePoint == 0x00CD ? 0x0301 : 0x0303));
        return 3;
      }
      break;
    case CaseMapping::kUpper:
      if (turkic && codePoint == u'i')
        return Write(out, 0x0130);
      if (lithuanian && codePoint == kDotAbove && AfterDotted(text, pos, kCaseSoftDotted))
        return 0;
      break;
    case CaseMapping::kFold:
      if (turkic && codePoint == u'I')
        return Write(out, 0x0131);
      if (turkic && codePoint == 0x0130)
        return Write(out, u'i');
      break;
  }
  return DefaultMapped(mapping, codePoint, record, out);
}

// Maps the code point at text[pos] into out (room for kMaxCaseExpansion);
// sets *width to the units it takes and returns the units written.
inline int MapCodePoint(CaseMapping mapping, ZqCaseRules rules, const char16_t* text, int length,
                        int pos, int* width, char16_t* out) noexcept {
  const unsigned codePoint = CodePointAt(text, length, pos, width);
  const CaseRecord& record = CaseRecordOf(codePoint);
  if ((record.flags & (kCaseSigma | kCaseLanguage)) != 0)
    return ContextMapped(mapping, rules, text, length, pos, *width, codePoint, record, out);
  return DefaultMapped(mapping, codePoint, record, out);
}

#if ZQ_SSE2
// False for the ASCII letters that the language rules map otherwise: I
// (Turkic lower and fold), i (Turkic upper), I and J (Lithuanian lower).
inline bool AsciiPlain(CaseMapping mapping, ZqCaseRules rules, unsigned unit) noexcept {
  switch (rules) {
    case ZqCaseRules::kUnicode:
      return true;
    case ZqCaseRules::kTurkic:
      return unit != (mapping == CaseMapping::kUpper ? u'i' : u'I');
    case ZqCaseRules::kLithuanian:
      return mapping != CaseMapping::kLower || (unit != u'I' && unit != u'J');
  }
  return true;
}

// Eight ASCII units at a time: the letters of the case that changes, and
// (for the language rules) the letters that must take the slow way.
struct AsciiBlocks {
  AsciiBlocks(CaseMapping mapping, ZqCaseRules rules) noexcept {
    const short from = mapping == CaseMapping::kUpper ? u'a' : u'A';
    below = _mm_set1_epi16(static_cast<short>(from - 1));
    above = _mm_set1_epi16(static_cast<short>(from + 26));
    shift = _mm_set1_epi16(static_cast<short>(mapping == CaseMapping::kUpper ? -0x20 : 0x20));
    short first = -1;  // matches no ASCII unit
    short second = -1;
    for (short unit = 0; unit < 0x80; ++unit) {
      if (!AsciiPlain(mapping, rules, static_cast<unsigned>(unit)))
        (first < 0 ? first : second) = unit;
    }
    slow1 = _mm_set1_epi16(first);
    slow2 = _mm_set1_epi16(second);
  }

  // True when all 8 units are ASCII, none of them a slow letter.
  bool Plain(__m128i block) const noexcept {
    const __m128i nonAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
    const __m128i ascii = _mm_cmpeq_epi16(_mm_and_si128(block, nonAscii), _mm_setzero_si128());
    const __m128i slow = _mm_or_si128(_mm_cmpeq_epi16(block, slow1), _mm_cmpeq_epi16(block, slow2));
    return _mm_movemask_epi8(_mm_andnot_si128(slow, ascii)) == 0xFFFF;
  }

  // Mask of the units that change (ASCII block).
  __m128i Letters(__m128i block) const noexcept {
    return _mm_and_si128(_mm_cmpgt_epi16(block, below), _mm_cmplt_epi16(block, above));
  }

  __m128i below, above, shift, slow1, slow2;
};
#endif

}  // namespace

int FirstCaseChange(CaseMapping mapping, ZqCaseRules rules, const char16_t* text,
                    int length) noexcept {
  const int which = static_cast<int>(mapping);
  const unsigned slow = SlowFlags(mapping, rules);
  const std::uint16_t* const fast = kCaseFast[which];
  const bool language = rules != ZqCaseRules::kUnicode;
  int i = 0;
#if ZQ_SSE2
  const AsciiBlocks blocks(mapping, ZqCaseRules::kUnicode);
#endif
  while (i < length) {
#if ZQ_SSE2
    for (; length - i >= 8; i += 8) {
      const __m128i block = Load(text + i);
      if (!blocks.Plain(block) || _mm_movemask_epi8(blocks.Letters(block)) != 0)
        break;
    }
#endif
    for (const int stop = length - i > 8 ? i + 8 : length; i < stop;) {
      const unsigned unit = text[i];
      if (unit < kCaseFastLimit) {
        const unsigned delta = fast[unit];
        if (delta != kCaseFastSlow && !(language && (FlagsOf(unit) & kCaseLanguage) != 0)) {
          if (delta != 0)
            return i;
          ++i;
          continue;
        }
      } else if (!IsSurrogate(unit)) {
        const CaseRecord& record = CaseRecordOf(unit);
        if ((record.flags & slow) == 0) {
          if (record.delta[which] != 0)
            return i;
          ++i;
          continue;
        }
      }
      // Surrogates, full mappings and rules: map and compare.
      int width = 1;
      char16_t mapped[kMaxCaseExpansion];
      const int count = MapCodePoint(mapping, rules, text, length, i, &width, mapped);
      if (count != width || !UnitsEqual(mapped, text + i, count))
        return i;
      i += width;
    }
  }
  return length;
}

int MapCaseRun(CaseMapping mapping, ZqCaseRules rules, const char16_t* text, int length, int* pos,
               char16_t* out, int room) noexcept {
  const int which = static_cast<int>(mapping);
  const unsigned slow = SlowFlags(mapping, rules);
  const std::uint16_t* const fast = kCaseFast[which];
  const bool language = rules != ZqCaseRules::kUnicode;
  int i = *pos;
  int written = 0;
#if ZQ_SSE2
  const AsciiBlocks blocks(mapping, rules);
#endif
  while (i < length) {
#if ZQ_SSE2
    for (; length - i >= 8 && room - written >= 8; i += 8, written += 8) {
      const __m128i block = Load(text + i);
      if (!blocks.Plain(block))
        break;
      const __m128i mapped =
          _mm_add_epi16(block, _mm_and_si128(blocks.Letters(block), blocks.shift));
      Store(out + written, mapped);
    }
#endif
    for (const int stop = length - i > 8 ? i + 8 : length; i < stop;) {
      if (written == room) {
        *pos = i;
        return written;
      }
      // The common case: one unit to one unit (simple mappings keep the plane).
      const unsigned unit = text[i];
      if (unit < kCaseFastLimit) {
        const unsigned delta = fast[unit];
        if (delta != kCaseFastSlow && !(language && (FlagsOf(unit) & kCaseLanguage) != 0)) {
          out[written++] = static_cast<char16_t>(unit + delta);
          ++i;
          continue;
        }
      } else if (!IsSurrogate(unit)) {
        const CaseRecord& record = CaseRecordOf(unit);
        if ((record.flags & slow) == 0) {
          out[written++] = static_cast<char16_t>(unit + static_cast<unsigned>(record.delta[which]));
          ++i;
          continue;
        }
      }
      int width = 1;
      if (room - written >= kMaxCaseExpansion) {
        written += MapCodePoint(mapping, rules, text, length, i, &width, out + written);
      } else {
        char16_t mapped[kMaxCaseExpansion];
        const int count = MapCodePoint(mapping, rules, text, length, i, &width, mapped);
        if (count > room - written) {
          *pos = i;
          return written;
        }
        for (int k = 0; k < count; ++k)
          out[written++] = mapped[k];
      }
      i += width;
    }
  }
  *pos = i;
  return written;
}

namespace {

constexpr int kFold = static_cast<int>(CaseMapping::kFold);

// Reads the full case folding of a text one unit at a time.
class FoldCursor {
 public:
  FoldCursor(const char16_t* text, int length, int pos, ZqCaseRules rules) noexcept
      : mText(text),
        mLength(length),
        mPos(pos),
        mRules(rules),
        mSlow(SlowFlags(CaseMapping::kFold, rules)),
        mLanguage(rules != ZqCaseRules::kUnicode) {}

  // The next folded unit, or -1 at the end.
  int Next() noexcept {
    while (mNext == mCount) {
      if (mPos >= mLength)
        return -1;
      const unsigned unit = mText[mPos];
      if (unit < kCaseFastLimit) {
        const unsigned delta = kCaseFast[kFold][unit];
        if (delta != kCaseFastSlow && !(mLanguage && (FlagsOf(unit) & kCaseLanguage) != 0)) {
          ++mPos;
          return static_cast<char16_t>(unit + delta);
        }
      } else if (!IsSurrogate(unit)) {
        const CaseRecord& record = CaseRecordOf(unit);
        if ((record.flags & mSlow) == 0) {
          ++mPos;
          return static_cast<char16_t>(unit + static_cast<unsigned>(record.delta[kFold]));
        }
      }
      int width = 1;
      mCount = MapCodePoint(CaseMapping::kFold, mRules, mText, mLength, mPos, &width, mFolded);
      mNext = 0;
      mPos += width;
    }
    return mFolded[mNext++];
  }

 private:
  const char16_t* mText;
  int mLength;
  int mPos;
  ZqCaseRules mRules;
  unsigned mSlow;
  bool mLanguage;
  char16_t mFolded[kMaxCaseExpansion] = {};
  int mCount = 0;
  int mNext = 0;
};

}  // namespace

int CompareFolded(const char16_t* a, int lengthA, const char16_t* b, int lengthB,
                  ZqCaseRules rules) noexcept {
  // Folding has no context: an equal start folds equally. It is skipped up
  // to the code point in which the texts first differ.
  const int shorter = lengthA < lengthB ? lengthA : lengthB;
  int start = FirstDifference(a, b, shorter);
  if (start == shorter && lengthA == lengthB)
    return 0;
  if (start > 0 && IsHighSurrogate(a[start - 1]))
    --start;
  FoldCursor foldedA(a, lengthA, start, rules);
  FoldCursor foldedB(b, lengthB, start, rules);
  for (;;) {
    const int x = foldedA.Next();
    const int y = foldedB.Next();
    if (x != y)
      return x < 0 ? -1 : (y < 0 ? 1 : x - y);
    if (x < 0)
      return 0;
  }
}

int SimpleCaseMapping(CaseMapping mapping, int codePoint) noexcept {
  if (static_cast<unsigned>(codePoint) > 0x10FFFFu)
    return codePoint;
  return codePoint +
         CaseRecordOf(static_cast<unsigned>(codePoint)).delta[static_cast<int>(mapping)];
}

}  // namespace detail
}  // namespace zqlang
