#!/usr/bin/env bash
# The whole test suite, as a sequence of stages:
#   - the formatting of every tracked C++ file (.clang-format)
#   - the GoogleTest suites through CTest, four times: optimised (g++), under
#     AddressSanitizer + UndefinedBehaviorSanitizer with leaks detected, built
#     with clang, and with the SIMD paths compiled out (ZARQLANG_SIMD=OFF) so
#     the portable loops that other processors use stay tested; then the
#     thread tests under ThreadSanitizer, and the suites built with
#     -O2 -D_FORTIFY_SOURCE=3, which checks every write against its block,
#     and the build with atomic body counts (ZARQLANG_ATOMIC_COUNTS) running
#     its shared-copy thread test under ThreadSanitizer
#   - the release test binaries again under valgrind memcheck: no error, no
#     definite or indirect leak
#   - each libFuzzer target for a bounded time (ZARQLANG_FUZZ_SECONDS, 60 by
#     default), from its seed corpus; any finding fails
#   - the package preset installed with a prefix chosen at install time: the
#     examples built against it through CMake and through pkg-config, its
#     exports free of test hooks, its ABI compared with the baseline in abi/,
#     its gdb printers run under gdb
#   - the Debian packages: built, checked by lintian, unpacked into a scratch
#     root, the examples built against them through CMake and pkg-config, and
#     the packaged gdb printers (with the -dbgsym package) run under gdb
#   - the library built inside another project with add_subdirectory and
#     with FetchContent
# Each stage's verdict is its exit status; the last line tallies the checks:
# "zarqlang: N passed, M failed" (a CTest suite counts its tests).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

passed=0
failed=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# stage NAME COMMAND [ARG...]: runs one check and counts it. The command runs
# in a background subshell so that `set -e` holds inside it (bash ignores -e
# in a function called from `if`, `&&` or `||`); it passes when it exits 0.
# Being a subshell, it cannot change this script's variables.
stage() {
  local name=$1
  shift
  echo "==== $name"
  "$@" &
  if wait $!; then
    passed=$((passed + 1))
    echo "---- $name: passed"
  else
    failed=$((failed + 1))
    echo "---- $name: FAILED"
  fi
}

# junit_count FILE ATTRIBUTE: an attribute (tests, failures) of the
# testsuite of CTest's JUnit report (its first occurrence), 0 when there is
# no report.
junit_count() {
  local value=""
  [[ -f "$1" ]] && value=$(grep -m 1 -oE "\\b$2=\"[0-9]+\"" "$1" | tr -dc 0-9 || true)
  echo "${value:-0}"
}

# run_suite PRESET: configures and builds a preset and runs its tests with
# CTest. The verdict is CTest's exit status (its test preset also fails when
# no test ran); the counts come from CTest's JUnit report.
run_suite() {
  local preset=$1
  local junit="$work/$preset.xml"
  echo "==== $preset: build and test"
  (
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset" --output-junit "$junit"
  ) &
  local status=0
  wait $! || status=$?
  local total bad
  total=$(junit_count "$junit" tests)
  bad=$(junit_count "$junit" failures)
  if ((status == 0)); then
    passed=$((passed + total))
    echo "---- $preset: $total tests passed"
  else
    ((bad > 0)) || bad=1  # the build or CTest itself failed
    ((total >= bad)) || total=$bad
    passed=$((passed + total - bad))
    failed=$((failed + bad))
    echo "---- $preset: FAILED ($bad failed of $total, ctest exit $status)"
  fi
}

# Deliberately huge allocation requests in the tests make valgrind print
# "silly arg" warnings; those are not errors and do not change the exit code.
valgrind_clean() {
  local log="$work/valgrind-$(basename "$1").log"
  # The test programs define their own operator new (to fail the standard
  # library's allocations on demand); valgrind must leave it alone and watch
  # the malloc and free it calls.
  valgrind --soname-synonyms=somalloc=nouserintercepts --error-exitcode=1 --leak-check=full \
    --errors-for-leak-kinds=definite,indirect \
    "$1" --gtest_brief=1 >"$log" 2>&1 || { tail -n 60 "$log"; return 1; }
}

# The example programs built against an installed library through its CMake
# package; $1 is the prefix (as in CMAKE_PREFIX_PATH).
examples_with_cmake() {
  local build="$work/examples-cmake-$2"
  cmake -S examples -B "$build" -G Ninja -DCMAKE_PREFIX_PATH="$1" >/dev/null
  cmake --build "$build"
  "$build/zq_example" >/dev/null
  "$build/zq_interop" >/dev/null
}

# The example programs built through pkg-config with a newer standard than the
# library's minimum (zarqlang.pc must not force one); $1 is the directory of
# zarqlang.pc, whose prefix must resolve to $2.
examples_with_pkg_config() {
  local pcdir=$1 prefix=$2 flags
  local out="$work/examples-pc-$3"
  mkdir -p "$out"
  flags=$(PKG_CONFIG_PATH="$pcdir" pkg-config --cflags --libs zarqlang)
  echo "pkg-config: $flags"
  [[ "$flags" != *-std=* ]] || { echo "zarqlang.pc sets a language standard"; return 1; }
  [[ "$(realpath -m "$(PKG_CONFIG_PATH="$pcdir" pkg-config --variable=prefix zarqlang)")" == "$prefix" ]] ||
    { echo "zarqlang.pc does not point at $prefix"; return 1; }
  for program in main interop; do
    # shellcheck disable=SC2086
    g++ -std=c++20 -Wall -Wextra -Wpedantic -Werror "examples/$program.cpp" -o "$out/$program" \
      $flags -Wl,-rpath,"$pcdir/.."
    "$out/$program" >/dev/null
  done
}

# The package preset, installed with a prefix chosen at install time.
install_to_prefix() {
  cmake --preset package >/dev/null
  cmake --build --preset package
  cmake --install build/package --prefix "$prefix" >/dev/null
  ! grep -rn "$PWD/build" "$prefix/lib/pkgconfig" "$prefix/lib/cmake"
}

# The installed library exports no test hook and does not ask the heap for
# the size of its blocks.
clean_exports() {
  local lib
  lib=$(find "$prefix/lib" -name 'libZarqLang.so.*.*' | head -n 1)
  [[ -n "$lib" ]] || { echo "no installed library"; return 1; }
  if nm -D "$lib" | c++filt | grep -E 'detail::testing|malloc_usable_size'; then
    echo "$lib exports or imports a test hook"
    return 1
  fi
}

# The Debian packages, built and checked by lintian (no error: the default
# --fail-on), then unpacked into the scratch root $debroot.
build_debs() {
  scripts/package.sh >"$work/packages"
  cat "$work/packages"
  local debs
  mapfile -t debs <"$work/packages"
  ((${#debs[@]} == 2)) || { echo "expected two packages"; return 1; }
  for deb in "${debs[@]}"; do dpkg-deb -x "$deb" "$debroot"; done
  find build/deb/packages -maxdepth 1 -name '*.ddeb' -exec dpkg-deb -x {} "$debroot" \;
}
lintian_debs() {
  local debs
  mapfile -t debs <"$work/packages"
  lintian --fail-on error "${debs[@]}"
}
deb_libdir() {
  dirname "$(find "$debroot/usr/lib" -name libZarqLang.so.1 | head -n 1)"
}

# ZarqLang built inside another project; $1: add_subdirectory or fetchcontent.
embedded() {
  local build="$work/embed-$1"
  local args=(-DZARQLANG_SOURCE_DIR="$PWD")
  [[ $1 == fetchcontent ]] && args+=(-DEMBED_WITH_FETCHCONTENT=ON -DFETCHCONTENT_SOURCE_DIR_ZARQLANG="$PWD")
  cmake -S tests/embed -B "$build" -G Ninja "${args[@]}" >/dev/null
  cmake --build "$build"
  "$build/zq_embedded" >/dev/null
}

stage "formatting" scripts/check-format.sh

run_suite release
run_suite asan
run_suite clang
run_suite nosimd
run_suite tsan
run_suite fortify
run_suite atomic

for bin in build/release/tests/*_tests; do
  stage "valgrind memcheck: $(basename "$bin")" valgrind_clean "$bin"
done

stage "fuzz targets" scripts/fuzz.sh "${ZARQLANG_FUZZ_SECONDS:-60}"

prefix=$(realpath "$work")/prefix
stage "package preset installed with --prefix $prefix" install_to_prefix
stage "prefix install: examples through CMake" examples_with_cmake "$prefix" prefix
stage "prefix install: examples through pkg-config" \
  examples_with_pkg_config "$prefix/lib/pkgconfig" "$prefix" prefix
stage "prefix install: no test hooks in the library" clean_exports
stage "ABI compared with the baseline in abi/" scripts/check-abi.sh "$prefix"
stage "prefix install: gdb printers" scripts/check-printers.sh "$prefix"

debroot=$(realpath "$work")/debroot
mkdir -p "$debroot"
stage "Debian packages: build and unpack" build_debs
stage "Debian packages: lintian" lintian_debs
stage "Debian packages: examples through CMake" examples_with_cmake "$debroot/usr" deb
stage "Debian packages: examples through pkg-config" \
  examples_with_pkg_config "$(deb_libdir)/pkgconfig" "$debroot/usr" deb
stage "Debian packages: gdb printers" scripts/check-printers.sh --root "$debroot"

stage "embedded with add_subdirectory" embedded add_subdirectory
stage "embedded with FetchContent" embedded fetchcontent

echo "zarqlang: $passed passed, $failed failed"
((failed == 0))
