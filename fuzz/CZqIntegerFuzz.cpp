//===- fuzz/CZqIntegerFuzz.cpp - parseInt and the radix conversions -------===//
//
// parseInt against a model that gives the value or the exact message of
// each NumberFormatException; then, for the value taken from the input,
// toString(v, r) read back by parseInt for every radix 2 to 36, and the hex,
// octal and binary texts against std::to_chars of the unsigned value. Any
// difference aborts.
//===----------------------------------------------------------------------===//
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <string>

#include "FuzzModel.h"
#include "ZarqLang.h"

using namespace zqlang;

namespace {

using zqfuzz::Num;
using zqfuzz::U;
using zqfuzz::Widen;

[[noreturn]] void Mismatch(const char* what) {
  std::fprintf(stderr, "mismatch in %s\n", what);
  std::abort();
}

U Unsigned(unsigned v, int radix) {
  char buf[40];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, radix);
  return Widen(buf, r.ptr);
}

U Lower(U s) {
  for (char16_t& u : s)
    u = static_cast<char16_t>(std::towlower(u));
  return s;
}

// The model: the value, or the message of the NumberFormatException.
struct Parsed {
  bool ok;
  int value;
  U message;
};

Parsed Model(const U& text, int radix) {
  const U head = u"Integer::parseInt: ";
  if (radix < 2 || radix > 36)
    return {false, 0, head + u"Unsupported radix: " + Num(radix)};
  if (text.empty())
    return {false, 0, head + u"Empty string"};
  const bool negative = text[0] == u'-';
  if (negative && text.size() == 1)
    return {false, 0, head + u"Bad string: \"-\""};
  const U scanned = radix > 10 ? Lower(text) : text;
  unsigned long long magnitude = 0;
  for (std::size_t i = negative ? 1 : 0; i < scanned.size(); ++i) {
    const char16_t c = scanned[i];
    int digit = -1;
    if (c >= u'0' && c <= u'9')
      digit = c - u'0';
    else if (c >= u'a' && c <= u'z')
      digit = c - u'a' + 10;
    if (digit < 0 || digit >= radix)
      return {false, 0, head + u"Bad base-" + Num(radix) + u" number: \"" + scanned + u"\""};
    magnitude = magnitude * static_cast<unsigned>(radix) + static_cast<unsigned>(digit);
    if (magnitude > 2147483648ULL)
      return {false, 0,
              head + u"Number out of range: " + Num(radix) + u" number: \"" + scanned + u"\""};
  }
  if (negative)
    return {true, static_cast<int>(-static_cast<long long>(magnitude)), U()};
  if (magnitude == 2147483648ULL)
    return {false, 0, head + u"Number out of range: " + Num(radix) + u" number: \"" + text + u"\""};
  return {true, static_cast<int>(magnitude), U()};
}

Parsed Library(const CZqString& text, int radix) {
  try {
    return {true, CZqInteger::parseInt(text, radix), U()};
  } catch (const NumberFormatException& e) {
    return {false, 0, U(e.getMessage().view())};
  }
}

void Compare(const U& text, int radix) {
  const Parsed want = Model(text, radix);
  const Parsed got = Library(CZqString(std::u16string_view(text)), radix);
  if (want.ok != got.ok || want.value != got.value || want.message != got.message)
    Mismatch("parseInt");
}

}  // namespace

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
  for (int r = 2; r <= 36; ++r) {
    const CZqString written = CZqInteger::toString(value, r);
    const U expected = value < 0 ? u"-" + Unsigned(0u - bits, r) : Unsigned(bits, r);
    if (U(written.view()) != expected)
      Mismatch("toString(value, radix)");
    if (CZqInteger::parseInt(written, r) != value)
      Mismatch("round trip");
    Compare(expected, r);
  }
  if ((radix < 2 || radix > 36) && U(CZqInteger::toString(value, radix).view()) != Num(value))
    Mismatch("toString with an invalid radix");
  if (U(CZqInteger::toHexString(value).view()) != Unsigned(bits, 16) ||
      U(CZqInteger::toOctalString(value).view()) != Unsigned(bits, 8) ||
      U(CZqInteger::toBinaryString(value).view()) != Unsigned(bits, 2))
    Mismatch("unsigned texts");
  return 0;
}
