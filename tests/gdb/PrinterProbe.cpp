// A program for the gdb printer check (scripts/check-printers.sh): it makes
// one value of each printed kind, then calls Stop(), where gdb prints them.
#include <ZarqLang.h>

using namespace zqlang;

// Not inlined, so gdb can break on it; the frame above holds the values.
__attribute__((noinline)) void Stop() { asm volatile("" ::: "memory"); }

int main() {
  const CZqString text(u"Gr\u00fc\u00dfe \"q\"\\ \U0001F600");
  const CZqString empty;
  CZqStringBuilder exclusive(20);
  exclusive.append(u"n=42");
  CZqStringBuilder sharing;
  sharing.append(u"abc");
  const CZqString taken = sharing.toString();
  const SPtr<CZqInteger> boxed = CZqInteger::valueOf(7);
  const SPtr<CZqInteger> none;
  const SPtr<ZqStringAdapter> held(new ZqStringAdapter(CZqString(u"held")));
  Stop();
  return taken.length() == 3 ? 0 : 1;
}
