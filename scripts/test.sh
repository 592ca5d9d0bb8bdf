#!/usr/bin/env bash
# The test command, in two tiers.
#
#   scripts/test.sh --quick   before each commit: about two minutes from a
#                             fresh clone, under one after an edit
#     - the formatting of every tracked C++ file (.clang-format)
#     - the GoogleTest suites through CTest, optimised with g++ and built
#       with -D_FORTIFY_SOURCE=3, which checks every write against its block
#       (preset release)
#     - the same suites under AddressSanitizer + UndefinedBehaviorSanitizer,
#       leaks detected (preset asan)
#
#   scripts/test.sh           everything; CI runs this (.ci/run). The quick
#                             tier, then:
#     - the suites built with clang, and with the SIMD paths compiled out
#       (ZARQLANG_SIMD=OFF) so that the portable loops other processors use
#       stay tested
#     - the thread tests under ThreadSanitizer, with plain counts and with
#       atomic body counts (ZARQLANG_ATOMIC_COUNTS, its shared-copy tests);
#       those two builds build the thread tests alone
#     - the release test programs under valgrind memcheck: no error, no
#       definite or indirect leak
#     - each libFuzzer target for a bounded time (ZARQLANG_FUZZ_SECONDS, 60
#       by default) from its seed corpus; any finding fails
#     - the API reference (scripts/docs.sh), without a Doxygen warning
#     - every way of building and installing the library, each checked by
#       use (scripts/check-install.sh)
#
# Warnings are errors throughout: the presets set ZARQLANG_WERROR, and
# check-install.sh fails a plain build that prints a warning. Each stage
# passes or fails by its exit status. The last line tallies the test cases:
# "zarqlang: N passed, M failed", N the CTest test cases that passed, M those
# that failed plus one for each other stage (or check of check-install.sh)
# that failed; the command fails unless M is 0.
set -euo pipefail
cd "$(dirname "$0")/.."
quick=0
case "${1:-}" in
  --quick) quick=1 ;;
  "") ;;
  *)
    echo "usage: scripts/test.sh [--quick]" >&2
    exit 2
    ;;
esac
scripts/deps.sh

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck source=scripts/stages.sh
source scripts/stages.sh
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$(nproc)}
begin=$SECONDS

# Deliberately huge allocation requests in the tests make valgrind print
# "silly arg" warnings; those are not errors and do not change the exit code.
valgrind_clean() {
  local log
  log="$work/valgrind-$(basename "$1").log"
  # The test programs define their own operator new (to fail the standard
  # library's allocations on demand); valgrind must leave it alone and watch
  # the malloc and free it calls.
  valgrind --soname-synonyms=somalloc=nouserintercepts --error-exitcode=1 --leak-check=full \
    --errors-for-leak-kinds=definite,indirect \
    "$1" --gtest_brief=1 >"$log" 2>&1 || {
    tail -n 60 "$log"
    return 1
  }
}

# check-install.sh runs its own checks; its exit status is the number of
# those that failed.
install_checks() {
  local start=$SECONDS status=0
  echo "==== install and package checks: scripts/check-install.sh"
  scripts/check-install.sh || status=$?
  if ((status == 0)); then
    echo "---- install and package checks: passed ($((SECONDS - start))s)"
  else
    failed=$((failed + status))
    failures+="install and package checks ($status failed)"$'\n'
    echo "---- install and package checks: $status FAILED ($((SECONDS - start))s)"
  fi
}

stage "formatting" scripts/check-format.sh
suite release
suite asan

if ((!quick)); then
  suite clang
  suite nosimd
  suite tsan
  suite atomic
  for bin in build/release/tests/*_tests; do
    stage "valgrind memcheck: $(basename "$bin")" valgrind_clean "$bin"
  done
  stage "fuzz targets" scripts/fuzz.sh "${ZARQLANG_FUZZ_SECONDS:-60}"
  stage "API reference without warnings" scripts/docs.sh
  install_checks
fi

if [[ -n "$failures" ]]; then
  echo "failed:"
  printf '%s' "$failures" | sed 's/^/  /'
fi
echo "test.sh: $( ((quick)) && echo quick || echo full) tier in $((SECONDS - begin))s"
echo "zarqlang: $passed passed, $failed failed"
((failed == 0))
