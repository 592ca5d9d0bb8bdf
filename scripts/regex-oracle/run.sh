#!/usr/bin/env bash
# Compares ZqPattern with Java 17's java.util.regex on some ten thousand
# generated cases (split with limits, replaceAll, replaceFirst, matches,
# find with groups, bad patterns and replacements, flags) and prints the
# cases that differ, grouped by pattern. Java is the oracle here only; it is
# never a dependency of the library (apt-get install openjdk-17-jdk-headless).
#
#   cmake --preset release && cmake --build build/release --target ZarqLang
#   scripts/regex-oracle/run.sh
#
# The differences it is expected to print are the ones README lists: empty
# matches between the two units of a pair, and the constructs refused.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -std=c++17 -O1 -I"$root" "$here/driver.cpp" -o "$work/driver" -L"$root/build/release" \
  -lZarqLang -Wl,-rpath,"$root/build/release"
python3 "$here/cases.py" "$work/cases.txt" >/dev/null
java "$here/Oracle.java" "$work/cases.txt" >"$work/java.out"
"$work/driver" "$work/cases.txt" >"$work/ours.out"
python3 "$here/compare.py" "$work/cases.txt" "$work/java.out" "$work/ours.out"
