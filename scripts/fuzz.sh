#!/usr/bin/env bash
# Builds the libFuzzer targets (preset `fuzz`, clang with ASan + UBSan) and
# runs each for a bounded time, starting from its seed corpus in
# fuzz/corpus/<target>. Prints the executions of each target; fails when a
# target stops on a finding (a crash, a sanitizer report or a mismatch with
# its model), whose input is then left in build/fuzz/findings/.
#   scripts/fuzz.sh [seconds per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
targets=(CZqStringBuilderFuzz CZqIntegerFuzz ZqPatternFuzz)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

findings="$PWD/build/fuzz/findings"
mkdir -p "$findings"
status=0
for t in "${targets[@]}"; do
  rm -f "$findings/$t-"*
  work="build/fuzz/corpus/$t"
  mkdir -p "$work"
  log="build/fuzz/$t.log"
  echo "==== fuzz: $t for ${seconds}s"
  rc=0
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "build/fuzz/fuzz/$t" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$findings/$t-" "$work" "fuzz/corpus/$t" >"$log" 2>&1 || rc=$?
  runs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+)/\1/p' "$log" | tail -n 1)
  found=$(find "$findings" -name "$t-*" | wc -l)
  if ((rc != 0 || found != 0)); then
    tail -n 40 "$log"
    echo "fuzz: $t FAILED after ${runs:-?} executions (exit $rc, $found finding(s) in $findings)"
    status=1
  else
    echo "fuzz: $t ${runs} executions, no finding"
  fi
done
exit "$status"
