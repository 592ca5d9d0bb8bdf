//===- lang/ZqFormat.h - {fmt} and std::format for strings and builders ---===//
/// \file
/// Formatters that print a CZqString or a CZqStringBuilder as UTF-8 with
/// the options of a string argument: width, fill, alignment and precision,
/// counted as {fmt} (or std::format) counts them for UTF-8 text.
///
/// \code
///   #include <lang/ZqFormat.h>   // not included by ZarqLang.h
///   fmt::print("[{:>8}]\n", CZqString(u"Köln"));   // "[    Köln]"
///   std::string s = fmt::format("{:.2}", CZqString(u"Köln"));  // "Kö"
/// \endcode
///
/// The {fmt} half is there when <fmt/format.h> can be included (define
/// ZARQLANG_NO_FMT to leave it out); the program links {fmt} itself (for
/// CMake, fmt::fmt), the library never does. The std::formatter half is
/// there when the standard library has std::format (__cpp_lib_format).
/// Both convert the text to UTF-8 first (as toUtf8(): a lone surrogate
/// becomes U+FFFD), which allocates one std::string per argument.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_ZQFORMAT_H
#define ZQ_LANG_ZQFORMAT_H

#include <string>
#include <string_view>

#include "lang/CZqString.h"
#include "lang/CZqStringBuilder.h"

#if __has_include(<version>)
#include <version>
#endif

namespace zqlang {

/// A formatter of the library's text types (CZqString, CZqStringBuilder):
/// Base, the formatter of a string view of type View, applied to the text
/// in UTF-8, so that it parses and applies the options of a string.
template <class Base, class View>
struct ZqUtf8Formatter : Base {
  /// The text in UTF-8, formatted by the base.
  template <class Text, class FormatContext>
  auto format(const Text& text, FormatContext& ctx) const {
    const std::string utf8 = text.toUtf8();
    return Base::format(View(utf8.data(), utf8.size()), ctx);
  }
};

}  // namespace zqlang

#if !defined(ZARQLANG_NO_FMT) && __has_include(<fmt/format.h>)
#include <fmt/format.h>

/// Formats a CZqString as a UTF-8 string argument of {fmt}.
template <>
struct fmt::formatter<zqlang::CZqString>
    : zqlang::ZqUtf8Formatter<fmt::formatter<fmt::string_view>, fmt::string_view> {};

/// Formats a CZqStringBuilder's current text as a UTF-8 string argument.
template <>
struct fmt::formatter<zqlang::CZqStringBuilder>
    : zqlang::ZqUtf8Formatter<fmt::formatter<fmt::string_view>, fmt::string_view> {};
#endif

#if defined(__cpp_lib_format)
#include <format>

/// Formats a CZqString as a UTF-8 string argument of std::format.
template <>
struct std::formatter<zqlang::CZqString, char>
    : zqlang::ZqUtf8Formatter<std::formatter<std::string_view, char>, std::string_view> {};

/// Formats a CZqStringBuilder's current text as a UTF-8 string argument.
template <>
struct std::formatter<zqlang::CZqStringBuilder, char>
    : zqlang::ZqUtf8Formatter<std::formatter<std::string_view, char>, std::string_view> {};
#endif

#endif  // ZQ_LANG_ZQFORMAT_H
