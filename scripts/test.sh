#!/usr/bin/env bash
# The whole test suite:
#   0. the formatting of every tracked C++ file (.clang-format)
#   1. the GoogleTest suites, optimised (g++)
#   2. the same under AddressSanitizer + UndefinedBehaviorSanitizer, leaks detected
#   3. the same built with clang (warnings are errors there too)
#   4. the same with the SIMD paths compiled out (ZARQLANG_SIMD=OFF), so the
#      portable loops that other processors use stay tested
#   5. the release test binaries again under valgrind memcheck: no error,
#      no definite or indirect leak
#   6. each libFuzzer target for a bounded time (ZARQLANG_FUZZ_SECONDS, 60 by
#      default), from its seed corpus; any finding fails
#   7. the installed package, used from outside the tree through CMake and
#      through pkg-config
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

passed=0
failed=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT

run_suite() {
  local preset=$1
  echo "==== $preset: build and test"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  local status=0
  ctest --preset "$preset" 2>&1 | tee "$log" || status=1
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  local total=${line##* }
  local bad
  bad=$(sed -E 's/.*tests passed, ([0-9]+) tests failed.*/\1/' <<<"$line")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
  if ((status)); then failed=$((failed + (bad == 0))); fi
}

echo "==== formatting"
if scripts/check-format.sh; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
fi

run_suite release
run_suite asan
run_suite clang
run_suite nosimd

# Deliberately huge allocation requests in the tests make valgrind print
# "silly arg" warnings; those are not errors and do not change the exit code.
echo "==== valgrind memcheck: the release test binaries"
for bin in build/release/tests/*_tests; do
  if valgrind --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite,indirect \
      "$bin" --gtest_brief=1 >"$log" 2>&1; then
    passed=$((passed + 1))
    echo "valgrind: $(basename "$bin") clean"
  else
    failed=$((failed + 1))
    tail -n 60 "$log"
    echo "valgrind: $(basename "$bin") FAILED"
  fi
done

echo "==== fuzz targets"
scripts/fuzz.sh "${ZARQLANG_FUZZ_SECONDS:-60}" 2>&1 | tee "$log" || true
passed=$((passed + $(grep -c '^fuzz: .* no finding$' "$log" || true)))
fuzz_bad=$(grep -c '^fuzz: .* FAILED' "$log" || true)
if ((fuzz_bad == 0)) && ! grep -q '^fuzz: .* no finding$' "$log"; then
  fuzz_bad=1  # the build or the script itself failed
fi
failed=$((failed + fuzz_bad))

echo "==== installed package: CMake and pkg-config consumers"
cmake --preset package >/dev/null
cmake --build --preset package
rm -rf build/package/stage
cmake --install build/package >/dev/null
stage="$PWD/build/package/stage"
cmake -S examples -B build/consumer-cmake -G Ninja -DCMAKE_PREFIX_PATH="$stage" >/dev/null
cmake --build build/consumer-cmake
consumer_ok=1
build/consumer-cmake/zq_example >/dev/null || consumer_ok=0
build/consumer-cmake/zq_interop >/dev/null || consumer_ok=0
mkdir -p build/consumer-pc
# shellcheck disable=SC2046
g++ -Wall -Wextra -Wpedantic -Werror examples/main.cpp -o build/consumer-pc/zq_example \
  $(PKG_CONFIG_PATH="$stage/lib/pkgconfig" pkg-config --cflags --libs zarqlang) -Wl,-rpath,"$stage/lib"
build/consumer-pc/zq_example >/dev/null || consumer_ok=0
if ((consumer_ok)); then
  passed=$((passed + 2))
  echo "consumers: CMake and pkg-config builds run"
else
  failed=$((failed + 1))
  echo "consumers: FAILED"
fi

echo "zarqlang: $passed passed, $failed failed"
((failed == 0))
