#!/usr/bin/env bash
# Checks the gdb pretty-printers as a user gets them: builds
# tests/gdb/PrinterProbe.cpp (with -g) against an installed library through
# pkg-config, runs it under gdb in batch mode with the installed printers
# auto-loaded, and compares what gdb prints with what the printers promise.
#   scripts/check-printers.sh <prefix>     an install made with
#                                          `cmake --install ... --prefix <prefix>`
#   scripts/check-printers.sh --root <dir> the Debian packages (with the
#                                          -dbgsym one) unpacked into <dir>
# For an install, gdb is pointed at <prefix>/share/gdb/auto-load, where it
# finds the printers under the library's full path. Unpacked packages have
# theirs under <dir>/usr/share/gdb/auto-load/usr/..., the path they get once
# installed; a scratch auto-load directory maps <dir>/usr there, so the check
# still proves that the packaged printers sit at the packaged library's path.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

gdb_opts=()
if [[ "${1:-}" == "--root" ]]; then
  root=$(realpath "$2")
  base="$root/usr"
  mkdir -p "$work/auto-load$root"
  ln -s "$root/usr/share/gdb/auto-load/usr" "$work/auto-load$root/usr"
  gdb_opts+=(-iex "set auto-load scripts-directory $work/auto-load"
             -iex "set debug-file-directory $root/usr/lib/debug")
else
  base=$(realpath "$1")
  gdb_opts+=(-iex "set auto-load scripts-directory $base/share/gdb/auto-load")
fi
gdb_opts+=(-iex "set auto-load safe-path /")

lib=$(find "$base" -name libZarqLang.so.1 -not -path '*/share/*' | head -n 1)
[[ -n "$lib" ]] || { echo "printers: no libZarqLang.so.1 under $base"; exit 1; }
libdir=$(dirname "$lib")
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
  "libZarqLang.so.1.0.0-gdb.py"
)
bad=0
for line in "${expected[@]}"; do
  grep -qxF -- "$line" "$work/out" || { echo "printers: missing line: $line"; bad=1; }
done
for text in "${contains[@]}"; do
  grep -qF -- "$text" "$work/out" || { echo "printers: missing: $text"; bad=1; }
done
if ((bad)); then
  echo "printers: FAILED"
  exit 1
fi
echo "printers: every value printed as expected"
