//===- lang/ZqFormat.h - {fmt} and std::format for strings and builders ---===//
/// \file
/// Formatting with {fmt}, in two directions.
///
/// Into UTF-16: zqlang::format() returns a CZqString and zqlang::formatTo()
/// appends to a CZqStringBuilder; both write UTF-16 directly, from a `u"..."`
/// format string in {fmt}'s syntax. Arguments may be numbers, bools,
/// char16_t, `const char16_t*`, std::u16string_view, std::u16string,
/// CZqString and CZqStringBuilder (whose units are copied as they are, a lone
/// surrogate included: no UTF-8 on the way), and any type with a
/// `fmt::formatter<T, char16_t>`. Narrow text (`const char*`, std::string)
/// does not compile: {fmt} refuses to mix character types.
///
/// \code
///   #include <lang/ZqFormat.h>   // not included by ZarqLang.h
///   CZqString city(u"K\u00F6ln");
///   CZqString s = zqlang::format(u"{} of {:>8}", 3, city);  // u"3 of     Köln"
///   CZqStringBuilder b;
///   b.append(u"at ");
///   zqlang::formatTo(b, u"{1}/{0}: {2:.2f}", 4, 7, 1.0 / 3);   // "at 7/4: 0.33"
/// \endcode
///
/// In UTF-16, width, precision and fill count UTF-16 code units, as {fmt} 9
/// counts every character type but char: each unit counts 1, so a character
/// outside the BMP (a surrogate pair) counts 2 and a wide CJK ideograph 1;
/// a precision keeps that many units and may cut a pair in half; a fill is
/// one unit, so a fill outside the BMP is a bad format string.
///
/// The text is formatted into a buffer on the stack (500 units, then a heap
/// block that grows) and copied once: format() allocates the string's one
/// block, of exactly the text's length + 1 units, and formatTo() no more
/// than the builder's growth.
///
/// A bad format string, or one that does not fit the arguments, throws
/// IllegalArgumentException whose message is "format: " followed by {fmt}'s
/// (fmt::format_error does not pass through); with C++20 a `u"..."` literal
/// is checked at compile time instead, and in C++17 so is one written as
/// `FMT_STRING(u"...")`. A format string known only at run time goes through
/// runtimeFormat(). Exhausted memory is OutOfMemoryError.
///
/// Into UTF-8: formatters that print a CZqString or a CZqStringBuilder in
/// fmt::format and std::format, with the options of a string argument. In
/// {fmt} 9 the width counts display width (most characters count 1, wide
/// ones such as CJK ideographs and most emoji 2) and the precision code
/// points.
///
/// \code
///   fmt::print("[{:>8}]\n", CZqString(u"Köln"));                // "[    Köln]"
///   std::string s = fmt::format("{:.2}", CZqString(u"Köln"));  // "Kö"
/// \endcode
///
/// These convert the text to UTF-8 first (as toUtf8(): a lone surrogate
/// becomes U+FFFD), which allocates one std::string per argument.
///
/// The {fmt} parts are there when <fmt/format.h> can be included (define
/// ZARQLANG_NO_FMT to leave them out); the program links {fmt} itself (for
/// CMake, fmt::fmt), the library never does. Written for {fmt} 9 (tested
/// with 9.1). The std::formatter half is there when the standard library
/// has std::format (__cpp_lib_format), which has no UTF-16 output.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_ZQFORMAT_H
#define ZQ_LANG_ZQFORMAT_H

#include <cstddef>
#include <new>
#include <string>
#include <string_view>
#include <type_traits>

#include "lang/CZqString.h"
#include "lang/CZqStringBuilder.h"
#include "lang/IllegalArgumentException.h"
#include "lang/OutOfMemoryError.h"

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

/// A formatter of the library's text types into UTF-16: Base, the formatter
/// of a string view of type View, applied to the units themselves (no
/// conversion, nothing allocated), so that it parses and applies the
/// options of a string.
template <class Base, class View>
struct ZqUtf16Formatter : Base {
  /// The units of the text, formatted by the base.
  template <class Text, class FormatContext>
  auto format(const Text& text, FormatContext& ctx) const {
    const std::u16string_view units = text.view();
    return Base::format(View(units.data(), units.size()), ctx);
  }
};

}  // namespace zqlang

#if !defined(ZARQLANG_NO_FMT) && __has_include(<fmt/format.h>)
#include <fmt/format.h>
#include <fmt/xchar.h>

/// \cond
// The specialisations of fmt::formatter stay out of the API reference, which
// does not see namespace fmt.

/// Formats a CZqString as a UTF-8 string argument of {fmt}.
template <>
struct fmt::formatter<zqlang::CZqString>
    : zqlang::ZqUtf8Formatter<fmt::formatter<fmt::string_view>, fmt::string_view> {};

/// Formats a CZqStringBuilder's current text as a UTF-8 string argument.
template <>
struct fmt::formatter<zqlang::CZqStringBuilder>
    : zqlang::ZqUtf8Formatter<fmt::formatter<fmt::string_view>, fmt::string_view> {};

/// Formats a CZqString as a UTF-16 string argument (zqlang::format): its
/// units, as a std::u16string_view would be.
template <>
struct fmt::formatter<zqlang::CZqString, char16_t>
    : zqlang::ZqUtf16Formatter<fmt::formatter<fmt::basic_string_view<char16_t>, char16_t>,
                               fmt::basic_string_view<char16_t>> {};

/// Formats a CZqStringBuilder's current units as a UTF-16 string argument.
template <>
struct fmt::formatter<zqlang::CZqStringBuilder, char16_t>
    : zqlang::ZqUtf16Formatter<fmt::formatter<fmt::basic_string_view<char16_t>, char16_t>,
                               fmt::basic_string_view<char16_t>> {};
/// \endcond

namespace zqlang {

/// The format string of format() and formatTo() for arguments of the types
/// Args: made from a `u"..."` literal, checked against the arguments at
/// compile time in C++20 (in C++17 when written `FMT_STRING(u"...")`), or
/// from runtimeFormat().
template <class... Args>
using ZqFormatString = fmt::basic_format_string<char16_t, fmt::type_identity_t<Args>...>;

/// A format string known only at run time (read from a file, a translation,
/// a CZqString), to pass to format() or formatTo(): it is checked when it is
/// used, and a bad one throws IllegalArgumentException.
#if FMT_VERSION >= 100000
inline fmt::runtime_format_string<char16_t> runtimeFormat(std::u16string_view text) {
  return {fmt::basic_string_view<char16_t>(text.data(), text.size())};
}
#else
inline fmt::basic_runtime<char16_t> runtimeFormat(std::u16string_view text) {
  return {fmt::basic_string_view<char16_t>(text.data(), text.size())};
}
#endif

namespace detail {

/// The arguments of UTF-16 formatting, their types erased.
using FormatArgs = fmt::basic_format_args<fmt::buffer_context<char16_t>>;

/// Where UTF-16 formatting writes: fmt's default of 500 units on the stack,
/// on the heap beyond that.
using FormatBuffer = fmt::basic_memory_buffer<char16_t>;

/// Formats \p args by \p text into \p buffer; a bad format string becomes
/// IllegalArgumentException ("format: " and {fmt}'s message), exhausted
/// memory OutOfMemoryError. Other exceptions (those of a program's own
/// formatters) pass through.
inline void FormatInto(FormatBuffer& buffer, fmt::basic_string_view<char16_t> text,
                       FormatArgs args) {
  try {
    // The function behind fmt::vformat, straight into the buffer: the public
    // fmt::vformat_to with a back_inserter writes char16_t through an adapter
    // that grows the buffer a little at a time (1.6x the time of a
    // five-argument message).
    fmt::detail::vformat_to(buffer, text, args, {});
  } catch (const fmt::format_error& e) {
    CZqStringBuilder message;
    message.append(u"format: ").appendUtf8(e.what());
    throw IllegalArgumentException(message.toString());
  } catch (const std::bad_alloc&) {
    OutOfMemoryError::ThrowInstance();
  }
}

/// Enables FormatArg's pass-through for every type but the library's text
/// types.
template <class T>
using IfNotText = std::enable_if_t<!std::is_same<std::remove_cv_t<T>, CZqString>::value &&
                                       !std::is_same<std::remove_cv_t<T>, CZqStringBuilder>::value,
                                   int>;

/// An argument of format() and formatTo() as handed to {fmt}: itself...
template <class T, IfNotText<T> = 0>
T& FormatArg(T& arg) noexcept {
  return arg;
}
/// ...except a string or a builder, handed over as a view of its units: a
/// string argument of {fmt}'s own, which {fmt} writes without calling a
/// formatter (with the same options as fmt::formatter<CZqString, char16_t>).
inline fmt::basic_string_view<char16_t> FormatArg(const CZqString& text) noexcept {
  return fmt::basic_string_view<char16_t>(text.Ptr(), static_cast<std::size_t>(text.length()));
}
/// As FormatArg(const CZqString&), for the builder's current units.
inline fmt::basic_string_view<char16_t> FormatArg(const CZqStringBuilder& text) noexcept {
  const std::u16string_view units = text.view();
  return fmt::basic_string_view<char16_t>(units.data(), units.size());
}

/// format() once the arguments are erased: one string of exactly the text.
inline CZqString VFormat(fmt::basic_string_view<char16_t> text, FormatArgs args) {
  FormatBuffer buffer;
  FormatInto(buffer, text, args);
  return CZqString(std::u16string_view(buffer.data(), buffer.size()));
}

/// formatTo() once the arguments are erased: one append of the whole text.
inline CZqStringBuilder& VFormatTo(CZqStringBuilder& builder, fmt::basic_string_view<char16_t> text,
                                   FormatArgs args) {
  FormatBuffer buffer;
  FormatInto(buffer, text, args);
  return builder.append(std::u16string_view(buffer.data(), buffer.size()));
}

/// format() of the arguments as FormatArg handed them over.
template <class... Mapped>
CZqString FormatMapped(fmt::basic_string_view<char16_t> text, Mapped&&... mapped) {
  return VFormat(text, fmt::make_format_args<fmt::buffer_context<char16_t>>(mapped...));
}

/// formatTo() of the arguments as FormatArg handed them over.
template <class... Mapped>
CZqStringBuilder& FormatMappedTo(CZqStringBuilder& builder, fmt::basic_string_view<char16_t> text,
                                 Mapped&&... mapped) {
  return VFormatTo(builder, text, fmt::make_format_args<fmt::buffer_context<char16_t>>(mapped...));
}

}  // namespace detail

/// @name Formatting into UTF-16
/// {fmt}'s replacement fields over a UTF-16 format string (see the file
/// comment for what width and precision count): `{}`, `{0}`, `{:>8}`,
/// `{:*^10}`, `{:.2f}`, `{:#x}`. The text is formatted on the stack (500
/// units; beyond that in a heap block that grows) and then copied once.
/// IllegalArgumentException for a bad format string or one that does not
/// fit the arguments; OutOfMemoryError when memory runs out.
/// @{

/// The text of \p args formatted by \p text, in a new string whose body has
/// capacity length + 1: the one block allocated when the text fits in 500
/// units.
template <class... Args>
[[nodiscard]] CZqString format(ZqFormatString<Args...> text, Args&&... args) {
  return detail::FormatMapped(text, detail::FormatArg(args)...);
}

/// Appends the text of \p args formatted by \p text to \p builder, in one
/// append (which grows the builder as every append does), and returns
/// \p builder. On an exception the builder is unchanged; an argument may be
/// \p builder itself, whose text is read before anything is appended.
template <class... Args>
CZqStringBuilder& formatTo(CZqStringBuilder& builder, ZqFormatString<Args...> text,
                           Args&&... args) {
  return detail::FormatMappedTo(builder, text, detail::FormatArg(args)...);
}
/// @}

}  // namespace zqlang
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
