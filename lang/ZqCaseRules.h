//===- lang/ZqCaseRules.h - language rules of Unicode case mapping --------===//
/// \file
/// ZqCaseRules picks the language rules of the Unicode case operations of
/// CZqString (toLowerCase(ZqCaseRules), toUpperCase(ZqCaseRules),
/// foldCase(), equalsIgnoreCase(const CZqString&, ZqCaseRules), ...). The
/// default rules are the same for every language; Turkish and Azeri treat
/// the dotted and dotless i as separate letters, and Lithuanian keeps the dot
/// of an i that carries another accent.
///
/// \code
///   CZqString(u"TITLE").toLowerCase(ZqCaseRules::kUnicode);  // u"title"
///   CZqString(u"TITLE").toLowerCase(ZqCaseRules::kTurkic);   // u"tıtle"
/// \endcode
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_ZQCASERULES_H
#define ZQ_LANG_ZQCASERULES_H

namespace zqlang {

/// The language rules applied on top of the Unicode default case mapping.
enum class ZqCaseRules {
  /// The default mapping, the same for every language (Final_Sigma included).
  kUnicode,
  /// Turkish and Azeri: I lowers to dotless ı (I followed by a combining dot
  /// above U+0307 to i), İ to i, and i uppers to İ; folding maps I to ı and
  /// İ to i.
  kTurkic,
  /// Lithuanian: I, J and Į keep a combining dot above (U+0307) when they
  /// lower before another accent above, Ì, Í and Ĩ lower to i, U+0307 and
  /// their accent, and a dot above after a soft-dotted letter (i, j, ...)
  /// is dropped when upper-casing. Folding follows the default rules.
  kLithuanian,
};

}  // namespace zqlang

#endif  // ZQ_LANG_ZQCASERULES_H
