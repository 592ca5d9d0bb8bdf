//===- tests/lang/UnicodeCaseTest.cpp - Unicode case mapping and folding --===//
//
// Every code point's mappings and foldings under each set of rules against
// ICU; then the context rules case by case, comparison ignoring case, sharing.
//===----------------------------------------------------------------------===//
#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/uversion.h>

#include <algorithm>
#include <cstdio>

#include "lang/detail/UnicodeCase.h"
#include "lang/detail/UnicodeCaseData.h"
#include "support/TestSupport.h"

namespace zqlang {
namespace {

using detail::CaseMapping;

constexpr ZqCaseRules kU = ZqCaseRules::kUnicode;
constexpr ZqCaseRules kTr = ZqCaseRules::kTurkic;
constexpr ZqCaseRules kLt = ZqCaseRules::kLithuanian;
constexpr ZqCaseRules kAllRules[] = {kU, kTr, kLt};
constexpr CaseMapping kLo = CaseMapping::kLower;
constexpr CaseMapping kUp = CaseMapping::kUpper;
constexpr CaseMapping kFo = CaseMapping::kFold;

// The code points first to last (a surrogate as an unpaired unit), each
// followed by a space: neither cased nor case-ignorable and of combining
// class 0, so no code point is in the context of another.
std::u16string Spaced(int first, int last) {
  std::u16string text;
  for (int cp = first; cp <= last; ++cp) {
    AppendCodePoint(text, cp);
    text += u' ';
  }
  return text;
}
const std::u16string& EveryCodePoint() {
  static const std::u16string text = Spaced(0, 0x10FFFF);
  return text;
}

CZqString Mapped(const CZqString& s, CaseMapping mapping, ZqCaseRules rules) {
  return mapping == kLo   ? s.toLowerCase(rules)
         : mapping == kUp ? s.toUpperCase(rules)
                          : s.foldCase(rules);
}

// ICU's folding options for a set of rules.
uint32_t FoldOptions(ZqCaseRules rules) {
  return rules == kTr ? U_FOLD_CASE_EXCLUDE_SPECIAL_I : U_FOLD_CASE_DEFAULT;
}

// ICU's mapping of the whole text: toLower/toUpper in \p locale, or folding
// with \p foldOptions.
std::u16string Icu(CaseMapping mapping, const char* locale, uint32_t foldOptions) {
  const std::u16string& text = EveryCodePoint();
  std::u16string out(text.size() * 3, u'\0');
  UErrorCode error = U_ZERO_ERROR;
  const int32_t length = static_cast<int32_t>(text.size());
  const int32_t room = static_cast<int32_t>(out.size());
  const int32_t n =
      mapping == kLo   ? u_strToLower(&out[0], room, text.data(), length, locale, &error)
      : mapping == kUp ? u_strToUpper(&out[0], room, text.data(), length, locale, &error)
                       : u_strFoldCase(&out[0], room, text.data(), length, foldOptions, &error);
  EXPECT_TRUE(U_SUCCESS(error)) << u_errorName(error);
  out.resize(static_cast<std::size_t>(n));
  return out;
}

// The code point whose mapping differs first: both texts are mappings of
// EveryCodePoint(), with a space after each code point's (two after U+0020).
std::string FirstDifference(const std::u16string& ours, const std::u16string& icu) {
  const auto at = std::mismatch(ours.begin(), ours.end(), icu.begin(), icu.end()).first;
  const long spaces = static_cast<long>(std::count(ours.begin(), at, u' '));
  char text[64];
  std::snprintf(text, sizeof text, "first difference at U+%04lX",
                spaces > 0x20 ? spaces - 1 : spaces);
  return text;
}

TEST(UnicodeCaseTest, TablesFollowTheUnicodeVersionOfIcu) {
  UVersionInfo version;
  u_getUnicodeVersion(version);
  char text[U_MAX_VERSION_STRING_LENGTH];
  u_versionToString(version, text);
  EXPECT_EQ(std::string(detail::kCaseUnicodeVersion).substr(0, 4), std::string(text).substr(0, 4));
}

TEST(UnicodeCaseTest, EverySimpleMappingAgreesWithIcu) {
  for (int cp = 0; cp <= 0x10FFFF; ++cp) {
    ASSERT_EQ(u_tolower(cp), detail::SimpleCaseMapping(kLo, cp)) << cp;
    ASSERT_EQ(u_toupper(cp), detail::SimpleCaseMapping(kUp, cp)) << cp;
    ASSERT_EQ(u_foldCase(cp, U_FOLD_CASE_DEFAULT), detail::SimpleCaseMapping(kFo, cp)) << cp;
  }
  EXPECT_EQ(-1, detail::SimpleCaseMapping(kLo, -1));
  EXPECT_EQ(0x110000, detail::SimpleCaseMapping(kUp, 0x110000));
}

// The full mappings of every code point under each set of rules, as ICU's
// root, "tr" and "lt" locales and its folding options map them.
TEST(UnicodeCaseTest, EveryFullMappingAndFoldingAgreesWithIcu) {
  const CZqString all(EveryCodePoint());
  const char* locales[] = {"", "tr", "lt"};
  for (int r = 0; r < 3; ++r) {
    for (const CaseMapping mapping : {kLo, kUp, kFo}) {
      SCOPED_TRACE(testing::Message() << "rules " << r << " mapping " << static_cast<int>(mapping));
      const std::u16string ours = Text(Mapped(all, mapping, kAllRules[r]));
      const std::u16string icu = Icu(mapping, locales[r], FoldOptions(kAllRules[r]));
      EXPECT_TRUE(ours == icu) << FirstDifference(ours, icu);
    }
  }
}

// Comparison ignoring case is compareTo() of the foldings, and agrees in sign
// with ICU's u_strCaseCompare (code unit order): blocks of code points (most
// of them where the cased scripts are) against their upper and lower case
// and the next block.
TEST(UnicodeCaseTest, ComparingIgnoringCaseComparesTheFoldings) {
  for (int i = 0; i < 200; ++i) {
    const int first = i < 100 ? i * 80 : 0x2000 + (i - 100) * 11000;
    const CZqString text(Spaced(first, first + 47));
    const CZqString pieces[] = {text, text.toUpperCase(kU), text.toLowerCase(kU),
                                CZqString(Spaced(first + 48, first + 95))};
    for (const CZqString& a : pieces) {
      for (const CZqString& b : pieces) {
        for (const ZqCaseRules rules : kAllRules) {
          const int ours = a.compareToIgnoreCase(b, rules);
          ASSERT_EQ(a.foldCase(rules).compareTo(b.foldCase(rules)), ours) << first;
          ASSERT_EQ(ours == 0, a.equalsIgnoreCase(b, rules));
          UErrorCode error = U_ZERO_ERROR;
          const int icu = u_strCaseCompare(a.Ptr(), a.length(), b.Ptr(), b.length(),
                                           FoldOptions(rules), &error);
          ASSERT_EQ((icu > 0) - (icu < 0), (ours > 0) - (ours < 0)) << first;
        }
      }
    }
  }
}

struct Case {
  const char16_t* in;
  ZqCaseRules rules;
  CaseMapping mapping;
  const char16_t* out;
};

template <std::size_t N>
void ExpectMapped(const Case (&cases)[N]) {
  for (const Case& c : cases) {
    const CZqString in(c.in);
    EXPECT_EQ(c.out, Text(Mapped(in, c.mapping, c.rules))) << Text(in).size();
  }
}

// Σ is final after a cased letter (case-ignorable ones between) unless a
// cased letter follows (likewise). ʰ and U+0345 are cased and
// case-ignorable, and count as cased, as the standard's rule reads (Java 17
// agrees on ʰ but gives σ after U+0345; ICU gives σ after both).
TEST(UnicodeCaseTest, FinalSigma) {
  const Case cases[] = {
      {u"\u039F\u0394\u039F\u03A3 \u039F\u03A3.", kU, kLo,
       u"\u03BF\u03B4\u03BF\u03C2 \u03BF\u03C2."},
      {u"\u03A3\u0391", kU, kLo, u"\u03C3\u03B1"},
      {u"\u03A3", kU, kLo, u"\u03C3"},
      {u"1\u03A3", kU, kLo, u"1\u03C3"},
      {u"A\u03A3'", kU, kLo, u"a\u03C2'"},
      {u"A'\u0301\u03A3", kU, kLo, u"a'\u0301\u03C2"},
      {u"A\u03A3\u0301B", kU, kLo, u"a\u03C3\u0301b"},
      {u"A\u03A3'\u0301", kU, kLo, u"a\u03C2'\u0301"},
      {u"\U00010400\u03A3", kU, kLo, u"\U00010428\u03C2"},
      {u"A\u03A3\U00010400", kU, kLo, u"a\u03C3\U00010428"},
      {u"A\u03A3\u02B0", kU, kLo, u"a\u03C3\u02B0"},
      {u"\u02B0\u03A3", kU, kLo, u"\u02B0\u03C2"},
      {u"\u0345\u03A3", kU, kLo, u"\u0345\u03C2"},
      {u"A\u03A3", kU, kFo, u"a\u03C3"},
      {u"\u03C2", kU, kUp, u"\u03A3"},
  };
  ExpectMapped(cases);
}

TEST(UnicodeCaseTest, TurkicAndLithuanianRules) {
  const Case cases[] = {
      // Turkic: I and ı, İ and i; I + dot above is i (ccc 220 between, not 230).
      {u"I\u0130i\u0131", kTr, kLo, u"\u0131ii\u0131"},
      {u"I\u0307 I\u0316\u0307 I\u0301\u0307", kTr, kLo, u"i i\u0316 \u0131\u0301\u0307"},
      {u"I\u0130i\u0131", kTr, kUp, u"I\u0130\u0130I"},
      {u"I\u0130i\u0131", kTr, kFo, u"\u0131ii\u0131"},
      {u"I\u0130i\u0131", kU, kLo, u"ii\u0307i\u0131"},
      {u"I\u0130i\u0131", kU, kUp, u"I\u0130II"},
      {u"I\u0307", kU, kLo, u"i\u0307"},
      // Lithuanian: the dot stays before another accent above; dropped when
      // upper-casing after a soft-dotted letter.
      {u"I\u0301 J\u0300 \u012E\u0303 I", kLt, kLo,
       u"i\u0307\u0301 j\u0307\u0300 \u012F\u0307\u0303 i"},
      {u"I\u0316\u0301 I\u0301 A\u0301", kLt, kLo, u"i\u0307\u0316\u0301 i\u0307\u0301 a\u0301"},
      {u"\u00CC\u00CD\u0128", kLt, kLo, u"i\u0307\u0300i\u0307\u0301i\u0307\u0303"},
      {u"\u00CC\u00CD\u0128", kU, kLo, u"\u00EC\u00ED\u0129"},
      {u"i\u0307 j\u0316\u0307 a\u0307 i\u0301\u0307", kLt, kUp,
       u"I J\u0316 A\u0307 I\u0301\u0307"},
      {u"i\u0307", kU, kUp, u"I\u0307"},
      {u"I\u0301", kLt, kFo, u"i\u0301"},
  };
  ExpectMapped(cases);
  EXPECT_TRUE(CZqString(u"KIZ").equalsIgnoreCase(u"k\u0131z", kTr));
  EXPECT_FALSE(CZqString(u"KIZ").equalsIgnoreCase(u"k\u0131z", kU));
  EXPECT_TRUE(CZqString(u"\u0130stanbul").equalsIgnoreCase(u"istanbul", kTr));
}

// One-to-many mappings, surrogates, and ASCII runs around other text (the
// 8-unit blocks).
TEST(UnicodeCaseTest, LengthChangesAndSurrogates) {
  const Case cases[] = {
      {u"stra\u00DFe \u0149 \uFB03 \u0390", kU, kUp, u"STRASSE \u02BCN FFI \u0399\u0308\u0301"},
      {u"Stra\u00DFe", kU, kFo, u"strasse"},
      {u"\u1E9E\u0130", kU, kLo, u"\u00DFi\u0307"},
      {u"\U00010400x\U0001E900", kU, kLo, u"\U00010428x\U0001E922"},
      {u"\xD800\x41\xDC00\xDBFF", kU, kLo, u"\xD800\x61\xDC00\xDBFF"},  // lone ones around A
      {u"\xDC00\xD800", kU, kUp, u"\xDC00\xD800"},
      {u"ABCDEFGHIJKLMNOPQRSTUVWXYZ\u00C0BCDEFGHIJKLMNOPQ", kU, kLo,
       u"abcdefghijklmnopqrstuvwxyz\u00E0bcdefghijklmnopq"},
      {u"abcdefghijklmnopqrstuvwxyz{}|~", kTr, kUp, u"ABCDEFGH\u0130JKLMNOPQRSTUVWXYZ{}|~"},
      {u"ABCDEFGHIJKLMNOPQRSTUVWXYZ@[", kLt, kLo, u"abcdefghijklmnopqrstuvwxyz@["},
  };
  ExpectMapped(cases);
  // A text that grows at every code point, past its first capacity.
  const std::u16string sharps(1000, u'\u00DF');
  EXPECT_EQ(std::u16string(2000, u'S'), Text(CZqString(sharps).toUpperCase(kU)));
  EXPECT_EQ(0, CZqString(sharps).compareToIgnoreCase(CZqString(std::u16string(2000, u's')), kU));
  EXPECT_GT(0, CZqString(u"\u00DF").compareToIgnoreCase(u"st", kU));
  EXPECT_LT(0, CZqString(u"\u00DFa").compareToIgnoreCase(u"ss", kU));
}

TEST(UnicodeCaseTest, SharesTheBodyWhenNothingChanges) {
  const CZqString lower(u"d\u00E9j\u00E0 vu \u03C3 \U00010428");
  const CZqString upper(u"ABC \u0130");
  const CZqString dot(u"X\u0307");
  const CZqString i(u"i");
  EXPECT_TRUE(SameBody(lower, lower.toLowerCase(kU)));
  EXPECT_TRUE(SameBody(lower, lower.foldCase()));
  EXPECT_TRUE(SameBody(upper, upper.toUpperCase(kTr)));
  EXPECT_TRUE(SameBody(dot, dot.toUpperCase(kLt)));
  EXPECT_FALSE(SameBody(i, i.toUpperCase(kTr)));
  const CZqString mapped = CZqString(u"abcD").toLowerCase(kU);
  EXPECT_EQ(u"abcd", Text(mapped));
  EXPECT_EQ(4, CapacityOf(mapped));
}

}  // namespace
}  // namespace zqlang
