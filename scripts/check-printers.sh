#!/usr/bin/env bash
# Checks the gdb pretty-printers as a user gets them: builds
# tests/gdb/PrinterProbe.cpp (with -g) against an installed library through
# pkg-config, runs it under gdb in batch mode with the printers auto-loaded
# from the library's .debug_gdb_scripts section, and compares what gdb prints
# with what the printers promise.
#   scripts/check-printers.sh <prefix>     an install made with
#                                          `cmake --install ... --prefix <prefix>`
#                                          (possibly moved since)
#   scripts/check-printers.sh --root <dir> the Debian packages (with the
#                                          -dbgsym one) unpacked into <dir>
# gdb runs a section's script only from a trusted directory. For an install,
# the check trusts the library's directory as README.md tells users to
# (add-auto-load-safe-path). The packages' library is stripped: the section
# is in the -dbgsym package's debug file, under the debug directory, which
# gdb trusts by default; the check points gdb's debug directory at the
# unpacked one and sets the trusted path to gdb's default again, which gdb
# reads with that debug directory.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

gdb_opts=()
if [[ "${1:-}" == "--root" ]]; then
  root=$(realpath "$2")
  base="$root/usr"
  gdb_opts+=(-iex "set debug-file-directory $root/usr/lib/debug"
             -iex 'set auto-load safe-path $debugdir:$datadir/auto-load')
else
  base=$(realpath "$1")
fi

lib=$(find "$base" -name libZarqLang.so.1 -not -path '*/share/*' | head -n 1)
[[ -n "$lib" ]] || { echo "printers: no libZarqLang.so.1 under $base"; exit 1; }
libdir=$(dirname "$lib")
[[ "${1:-}" == "--root" ]] || gdb_opts+=(-iex "add-auto-load-safe-path $libdir")
# shellcheck disable=SC2046
g++ -g -O0 -Wall -Wextra -Wpedantic -Werror tests/gdb/PrinterProbe.cpp -o "$work/probe" \
  $(PKG_CONFIG_PATH="$libdir/pkgconfig" pkg-config --cflags --libs zarqlang) -Wl,-rpath,"$libdir"

gdb -batch -nx "${gdb_opts[@]}" -ex "break Stop" -ex run -ex up \
  -ex "print text" -ex "print empty" -ex "print exclusive" -ex "print sharing" \
  -ex "print taken" -ex "print *taken.mBody.mPtr" -ex "print none" -ex "print boxed" \
  -ex "print held" -ex "info auto-load python-scripts" "$work/probe" >"$work/out" 2>&1 || true
cat "$work/out"

# Exact lines, then lines that must contain a text (the rest of those holds
# addresses).
expected=(
  '$1 = u"Gr\u00FC\u00DFe \"q\"\\ \U0001F600" (length 13)'
  '$2 = u"" (length 0)'
  '$3 = u"n=42" (length 4, capacity 20, exclusive)'
  '$4 = u"abc" (length 3, capacity 16, shared)'
  '$5 = u"abc" (length 3)'
  '$6 = u"abc" (length 3, capacity 16, count 2)'
  '$7 = zqlang::SPtr<zqlang::CZqInteger> null'
)
contains=(
  '$8 = zqlang::SPtr<zqlang::CZqInteger> -> {'
  'mValue = 7}'
  '$9 = zqlang::SPtr<zqlang::ZqStringAdapter> -> {'
  'mValue = u"held" (length 4)}'
)
bad=0
for line in "${expected[@]}"; do
  grep -qxF -- "$line" "$work/out" || { echo "printers: missing line: $line"; bad=1; }
done
for text in "${contains[@]}"; do
  grep -qF -- "$text" "$work/out" || { echo "printers: missing: $text"; bad=1; }
done
grep -qE '^Yes +zarqlang/ZarqLangPrinters\.py *$' "$work/out" ||
  { echo "printers: gdb did not load zarqlang/ZarqLangPrinters.py from the library"; bad=1; }
if ((bad)); then
  echo "printers: FAILED"
  exit 1
fi
echo "printers: every value printed as expected"
