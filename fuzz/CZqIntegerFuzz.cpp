//===- fuzz/CZqIntegerFuzz.cpp - parseInt and the radix conversions -------===//
//
// parseInt against a model that gives the value or the exact message of
// each NumberFormatException; then, for the value taken from the input,
// toString(v, r) read back by parseInt for every radix 2 to 36, and the hex,
// octal and binary texts against std::to_chars of the unsigned value. A
// difference aborts with the operation, its arguments and both results.
//===----------------------------------------------------------------------===//
#include <cwctype>
#include <initializer_list>
#include <string_view>

#include "FuzzModel.h"

namespace zqfuzz {
namespace {

// The pieces one after another. Texts are joined by appending into one string
// sized for them all, not with operator+: an operator+ whose right side is a
// temporary may insert the left side at its front, and g++ 12 at -O3 takes
// that inlined insert for an overlapping copy of 2^63 bytes (-Wrestrict).
template <class Char>
std::basic_string<Char> Join(std::initializer_list<std::basic_string_view<Char>> pieces) {
  std::size_t size = 0;
  for (const auto piece : pieces)
    size += piece.size();
  std::basic_string<Char> out;
  out.reserve(size);
  for (const auto piece : pieces)
    out.append(piece.data(), piece.size());
  return out;
}
U Cat(std::initializer_list<std::u16string_view> pieces) { return Join(pieces); }
std::string Cat(std::initializer_list<std::string_view> pieces) { return Join(pieces); }

U Lower(U s) {
  for (char16_t& u : s)
    u = static_cast<char16_t>(std::towlower(u));
  return s;
}

// The model: "=<value>", or the message of the NumberFormatException.
U Model(const U& text, int radix) {
  const std::u16string_view head = u"Integer::parseInt: ";
  if (radix < 2 || radix > 36)
    return Cat({head, u"Unsupported radix: ", Num(radix)});
  if (text.empty())
    return Cat({head, u"Empty string"});
  const bool negative = text[0] == u'-';
  if (negative && text.size() == 1)
    return Cat({head, u"Bad string: \"-\""});
  const U scanned = radix > 10 ? Lower(text) : text;
  unsigned long long magnitude = 0;
  for (std::size_t i = negative ? 1 : 0; i < scanned.size(); ++i) {
    const char16_t c = scanned[i];
    const int digit = c >= u'0' && c <= u'9'   ? c - u'0'
                      : c >= u'a' && c <= u'z' ? c - u'a' + 10
                                               : -1;
    if (digit < 0 || digit >= radix)
      return Cat({head, u"Bad base-", Num(radix), u" number: \"", scanned, u"\""});
    magnitude = magnitude * static_cast<unsigned>(radix) + static_cast<unsigned>(digit);
    if (magnitude > 2147483648ULL)
      return Cat({head, u"Number out of range: ", Num(radix), u" number: \"", scanned, u"\""});
  }
  if (negative)
    return Cat({u"=", Num(-static_cast<long long>(magnitude))});
  if (magnitude == 2147483648ULL)
    return Cat({head, u"Number out of range: ", Num(radix), u" number: \"", text, u"\""});
  return Cat({u"=", Num(static_cast<long long>(magnitude))});
}

void Compare(const U& text, int radix) {
  U got;
  try {
    got = Cat({u"=", Num(CZqInteger::parseInt(CZqString(std::u16string_view(text)), radix))});
  } catch (const NumberFormatException& e) {
    got = U(e.getMessage().view());
  }
  Same(Cat({"parseInt(text=", Show(text), ", radix=", Show(radix), ")"}), got, Model(text, radix));
}

}  // namespace
}  // namespace zqfuzz

using namespace zqfuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5)
    return 0;
  // Bytes 0-3: a value; byte 4: a radix (mostly valid); the rest: a text in
  // the characters that matter to a number.
  std::uint32_t bits = 0;
  for (int i = 0; i < 4; ++i)
    bits = bits << 8 | data[i];
  const int value = static_cast<int>(bits);
  const int radix = data[4] < 240 ? 2 + data[4] % 35 : static_cast<int>(data[4]) - 250;
  static const char16_t kChars[] = u"0123456789abcdefghijklmnopqrstuvwxyzAFZ-+ \u00e9\u0660G";
  U text;
  for (std::size_t i = 5; i < size && text.size() < 80; ++i)
    text += data[i] < 200 ? kChars[data[i] % (sizeof kChars / sizeof kChars[0] - 1)]
                          : static_cast<char16_t>(data[i] * 251u);
  Compare(text, radix);

  // The value from the input, in every radix, read back.
  const std::string v = Cat({"(value=", Show(value)});
  for (int r = 2; r <= 36; ++r) {
    const U expected = value < 0 ? Cat({u"-", Num(0u - bits, r)}) : Num(bits, r);
    Same(Cat({"toString", v, ", radix=", Show(r), ")"}), U(CZqInteger::toString(value, r).view()),
         expected);
    Compare(expected, r);  // read back
  }
  if (radix < 2 || radix > 36)
    Same(Cat({"toString", v, ", radix=", Show(radix), ")"}),
         U(CZqInteger::toString(value, radix).view()), Num(value));
  Same(Cat({"toHexString", v, ")"}), U(CZqInteger::toHexString(value).view()), Num(bits, 16));
  Same(Cat({"toOctalString", v, ")"}), U(CZqInteger::toOctalString(value).view()), Num(bits, 8));
  Same(Cat({"toBinaryString", v, ")"}), U(CZqInteger::toBinaryString(value).view()), Num(bits, 2));
  return 0;
}
