// What an application does with ZarqLang: make strings from text, share them
// by copying, read them, build text with a builder, and handle the library's
// exceptions.
#include <ZarqLang.h>

#include "IntArray.h"

#include <iostream>
#include <string>

using zqlang::CZqString;
using zqlang::CZqStringBuilder;

namespace {

// Writes a string to a narrow stream; the example's texts are plain ASCII.
std::string Narrow(const CZqString& s) {
  std::string out;
  for (int i = 0; i < s.length(); ++i) {
    const char16_t unit = s.charAt(i);
    out += unit < 0x80 ? static_cast<char>(unit) : '?';
  }
  return out;
}

}  // namespace

int main() {
  // An exception nobody catches now prints its text (class, message, cause)
  // before the program ends, instead of its C++ type name alone.
  zqlang::installTerminateHandler();

  // Strings from wide text. Copies share one body: no unit is copied.
  const CZqString greeting(u"Hello, shared world");
  const CZqString copy = greeting;
  CZqString later;
  later = copy;
  std::cout << "text:   " << Narrow(later) << " (" << later.length() << " units)\n";

  // Reading: single units and ranges.
  std::cout << "first:  " << static_cast<char>(greeting.charAt(0)) << '\n';
  char16_t word[6] = {};
  greeting.getChars(7, 13, word, 0);
  std::cout << "word:   " << Narrow(CZqString(word, 6)) << '\n';

  // Numbers and truth values have one text form.
  std::cout << "number: " << Narrow(CZqString(42) + CZqString(u" / ") + CZqString(2.5)) << '\n';

  // A builder assembles text from pieces of every kind; toString hands its
  // storage to the string without copying. The builder's next change copies
  // first, so the string keeps its text.
  CZqStringBuilder builder;
  builder.append(u"items=")
      .append(3)
      .append(u", mean=")
      .append(2.5)
      .append(u", done=")
      .append(true);
  const CZqString report = builder.toString();
  builder.setLength(0);
  builder.append(u"rewritten: ").append(-1LL).insert(0, u'[').append(u']');
  std::cout << "built:  " << Narrow(report) << '\n';
  std::cout << "again:  " << Narrow(builder.toString()) << '\n';

  // A bad index is an exception object; its toString names the class, or
  // for the index exceptions, the index itself.
  try {
    greeting.charAt(100);
  } catch (const zqlang::IndexOutOfBoundsException& e) {
    std::cout << "caught: " << Narrow(e.toString());
  }
  try {
    greeting.getChars(5, 99, word, 0);
  } catch (const zqlang::StringIndexOutOfBoundsException& e) {
    std::cout << "caught: " << Narrow(e.toString()) << '\n';
  }
  // The typical road: build "n=" + 42, take it out, cut the number off and
  // parse it. A text that is not a number is a NumberFormatException, which
  // the application may catch as the more general IllegalArgumentException.
  const CZqString assignment = CZqStringBuilder().append(u"n=").append(42).toString();
  const int n = zqlang::CZqInteger::parseInt(assignment.substring(2), 10);
  std::cout << "parsed: " << n << " from " << Narrow(assignment) << '\n';
  try {
    zqlang::CZqInteger::parseInt(CZqString(u"4x"), 10);
  } catch (const zqlang::IllegalArgumentException& e) {
    std::cout << "caught: " << Narrow(e.toString());
  }
  std::cout << "radix:  " << Narrow(zqlang::CZqInteger::toHexString(n)) << " "
            << Narrow(zqlang::CZqInteger::toString(-n, 2)) << '\n';

  // A collection of the application's own, on the library's growable array.
  IntArray squares;
  for (int i = 1; i <= 20; ++i)
    squares.add(i * i);
  squares.removeAt(0);
  std::cout << "array:  " << squares.size() << " squares, the last "
            << squares.get(squares.size() - 1) << '\n';
  try {
    squares.get(squares.size());
  } catch (const zqlang::ArrayIndexOutOfBoundsException& e) {
    std::cout << "caught: " << Narrow(e.getMessage()) << '\n';
  }

  // Java's idioms: split and replace by regular expressions, join, strip.
  const CZqString csv(u" name = Ada ; born=1815;; ");
  CZqStringBuilder fields;
  for (const CZqString& field : csv.strip().split(u"\\s*;\\s*"))
    fields.append(u'[').append(field.replaceFirst(u"\\s*=\\s*", u": ")).append(u']');
  std::cout << "fields: " << Narrow(fields.toString()) << '\n';
  std::cout << "joined: " << Narrow(CZqString::join(u"-", {u"2026", u"12", u"07"})) << '\n';
  try {
    (void)csv.matches(u"(unclosed");
  } catch (const zqlang::IllegalArgumentException& e) {
    std::cout << "caught: " << Narrow(e.getMessage()) << '\n';
  }

  // Exceptions chain: the cause's text follows the message.
  const zqlang::RuntimeException wrapped(CZqString(u"could not read the greeting"),
                                         new zqlang::IllegalStateException(CZqString(u"closed")));
  std::cout << Narrow(wrapped.toString());
  return 0;
}
