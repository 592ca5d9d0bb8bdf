//===- lang/detail/CaseMap.h - case mapping of UTF-16 unit arrays ---------===//
/// \file
/// Maps units one by one exactly as towlower / towupper of the calling
/// thread's current C locale do, each result cut to 16 bits. Surrogates and
/// mappings that would change the length get no special treatment.
///
/// Calling towlower for every unit is slow, so the results are kept in
/// tables of 65536 units per C locale (by the name setlocale(LC_CTYPE, null)
/// reports), filled 256 units at a time on first use; a change of locale is
/// seen at the next call. A thread that set a locale of its own with
/// uselocale, or a program that went through more locales than there are
/// tables, gets the direct calls. Runs of ASCII are mapped 8 units at a time
/// when the locale maps ASCII the plain way (A-Z and a-z only); once a table
/// has learned that its locale changes no unit from 0x80 on (the C locale;
/// the first text of a million units teaches it), every unit is.
///
/// The tables are static storage: nothing is allocated, and threads may map
/// at the same time (the tables are filled under atomic flags).
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_DETAIL_CASEMAP_H
#define ZQ_LANG_DETAIL_CASEMAP_H

namespace zqlang {
namespace detail {

/// to[i] = towlower(from[i]) for i in [0, count); \p from is either \p to
/// (in place) or an array that does not overlap it.
void LowerUnits(const char16_t* from, char16_t* to, int count) noexcept;

/// to[i] = towupper(from[i]) for i in [0, count), as LowerUnits.
void UpperUnits(const char16_t* from, char16_t* to, int count) noexcept;

/// towlower of one unit, cut to 16 bits.
char16_t LowerUnit(char16_t unit) noexcept;

}  // namespace detail
}  // namespace zqlang

#endif  // ZQ_LANG_DETAIL_CASEMAP_H
