#!/usr/bin/env bash
# Compares the ABI of an installed libZarqLang with the baseline of its SONAME
# in abi/ (abi/libZarqLang.so.1.abi for the 1.x releases, recorded with
# abidw from the `package` preset). Additions pass; a removed or changed
# function, variable or type fails: released binaries would break.
#   scripts/check-abi.sh <prefix>            compare the library installed there
#   scripts/check-abi.sh --update <prefix>   record that library as the
#                                            baseline of its SONAME (for a new
#                                            major version only)
# <prefix> is an install of the package preset:
#   cmake --preset package && cmake --build --preset package
#   cmake --install build/package --prefix <prefix>
set -euo pipefail
cd "$(dirname "$0")/.."
update=0
if [[ "${1:-}" == "--update" ]]; then
  update=1
  shift
fi
prefix=$(realpath "$1")
lib=$(find "$prefix" -name 'libZarqLang.so.*.*.*' -not -path '*/share/*' | head -n 1)
[[ -n "$lib" ]] || { echo "abi: no libZarqLang.so.X.Y.Z under $prefix"; exit 1; }
headers="$prefix/include/zarqlang"
soname=$(readelf -d "$lib" | sed -nE 's/.*\(SONAME\).*\[(.*)\]/\1/p')
baseline="abi/$soname.abi"

if ((update)); then
  mkdir -p abi
  abidw --no-corpus-path --no-show-locs --drop-private-types --headers-dir "$headers" \
    "$lib" --out-file "$baseline"
  echo "abi: recorded $baseline from $lib"
  exit 0
fi

if [[ ! -f "$baseline" ]]; then
  echo "abi: no baseline $baseline for this SONAME; record it with scripts/check-abi.sh --update <prefix>"
  exit 1
fi
report=$(mktemp)
trap 'rm -f "$report"' EXIT
status=0
abidiff --drop-private-types --hd2 "$headers" "$baseline" "$lib" >"$report" 2>&1 || status=$?
cat "$report"

# abidiff's exit status is a bit set: 1 error, 2 usage error, 4 the ABI
# changed, 8 a change known to be incompatible (a removed symbol). A changed
# type only sets 4, so with 4 the summary must show additions alone.
if ((status & 3)); then
  echo "abi: abidiff failed (exit $status)"
  exit 1
fi
removed_or_changed=$(awk '/changes summary:/ {
    for (i = 1; i < NF; i++) if ($(i + 1) ~ /^(Removed|Changed)/) n += $i
  } END { print n + 0 }' "$report")
if ((status & 8 || removed_or_changed > 0)); then
  echo "abi: INCOMPATIBLE with $baseline: binaries built against $soname would break."
  echo "abi: bump the SONAME and the major version (ZARQLANG_VERSION_MAJOR in lang/ZqVersion.h"
  echo "abi: sets both), then record the new baseline: scripts/check-abi.sh --update <prefix>"
  exit 1
fi
if ((status & 4)); then
  echo "abi: compatible with $baseline (additions only)"
else
  echo "abi: identical to $baseline"
fi
