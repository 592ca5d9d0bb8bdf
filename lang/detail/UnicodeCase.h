//===- lang/detail/UnicodeCase.h - Unicode case mapping of UTF-16 text ----===//
/// \file
/// Full Unicode case mapping and folding of UTF-16 text by the tables in
/// UnicodeCaseData (generated from the Unicode Character Database, version
/// kCaseUnicodeVersion): the one-to-many mappings of SpecialCasing (ß to SS),
/// the Final_Sigma context, the Turkic and Lithuanian rules, and full case
/// folding (CaseFolding statuses C and F, T for the Turkic rules). Surrogate
/// pairs map as the code points they encode; unpaired surrogates stay as
/// they are. Nothing here allocates or depends on the C locale.
///
/// CZqStringBody drives these: it finds the first unit that changes, copies
/// the text before it, and maps the rest in runs into its own array, growing
/// it between runs when a mapping makes the text longer.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_DETAIL_UNICODECASE_H
#define ZQ_LANG_DETAIL_UNICODECASE_H

#include "lang/ZqCaseRules.h"

namespace zqlang {
namespace detail {

/// Which mapping: lower case, upper case or case folding.
enum class CaseMapping : int { kLower = 0, kUpper = 1, kFold = 2 };

/// The most units one code point maps to (ΐ upper-cases to three).
constexpr int kMaxCaseExpansion = 3;

/// Index of the first code point of text[0, length) whose mapping differs
/// from its units (context included), or \p length when the mapping changes
/// nothing.
int FirstCaseChange(CaseMapping mapping, ZqCaseRules rules, const char16_t* text,
                    int length) noexcept;

/// Maps the code points of text[*pos, length) into out[0, room), in their
/// context within the whole text, until the text ends or the next code
/// point's mapping does not fit; advances *pos past what it mapped and
/// returns the number of units written. Maps at least one code point when
/// \p room >= kMaxCaseExpansion.
int MapCaseRun(CaseMapping mapping, ZqCaseRules rules, const char16_t* text, int length, int* pos,
               char16_t* out, int room) noexcept;

/// The full case foldings of a[0, lengthA) and b[0, lengthB) compared unit
/// by unit: the difference of the first differing folded units, else -1, 0
/// or 1 as the folded a is shorter, as long or longer.
int CompareFolded(const char16_t* a, int lengthA, const char16_t* b, int lengthB,
                  ZqCaseRules rules) noexcept;

/// The simple (one-to-one) mapping of one code point, as UnicodeData and
/// CaseFolding (statuses C and S) give it; anything outside 0 to 0x10FFFF
/// maps to itself.
int SimpleCaseMapping(CaseMapping mapping, int codePoint) noexcept;

}  // namespace detail
}  // namespace zqlang

#endif  // ZQ_LANG_DETAIL_UNICODECASE_H
