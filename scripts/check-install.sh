#!/usr/bin/env bash
# Checks each way of building and installing the library, as a user goes
# about it (scripts/test.sh runs this; it can also run on its own):
#   - the package preset installed with a prefix chosen at install time: the
#     examples built against it through CMake and through pkg-config (with
#     the rpath README.md gives, and with LD_LIBRARY_PATH), its exports free
#     of test hooks, its ABI compared with the baseline in abi/, its gdb
#     printers run under gdb
#   - that prefix moved elsewhere after installing: the gdb printers and
#     pkg-config still work
#   - the Debian packages: built, checked by lintian, unpacked into a scratch
#     root, the examples built against them through CMake and pkg-config, and
#     the printers (from the -dbgsym package) run under gdb
#   - the library built inside another project with add_subdirectory and
#     with FetchContent
#   - the plain build of README.md (no preset, Release) with g++ and with
#     clang++: it builds without a warning and installs, and the examples
#     build against the install
# Each check passes or fails by its exit status. The exit status is the
# number of checks that failed (0: all passed).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck source=scripts/stages.sh
source scripts/stages.sh

# The example programs built against an installed library through its CMake
# package; $1 is the prefix (as in CMAKE_PREFIX_PATH), $2 names the build.
examples_with_cmake() {
  local build="$work/examples-cmake-$2"
  cmake -S examples -B "$build" -G Ninja -DCMAKE_PREFIX_PATH="$1" >/dev/null
  cmake --build "$build"
  "$build/zq_example" >/dev/null
  "$build/zq_interop" >/dev/null
}

# The example programs built through pkg-config, as README.md says: $1 is
# the directory of zarqlang.pc (PKG_CONFIG_PATH), whose prefix must resolve
# to $2; $3 names the build. examples/main.cpp is built with README.md's
# command line, so that it finds the library through the rpath of the
# library directory; examples/interop.cpp with a newer standard than the
# library's minimum (zarqlang.pc must not force one) and no rpath, started
# with LD_LIBRARY_PATH.
examples_with_pkg_config() {
  local out="$work/examples-pc-$3" flags
  mkdir -p "$out"
  export PKG_CONFIG_PATH="$1"
  flags=$(pkg-config --cflags --libs zarqlang)
  echo "pkg-config: $flags"
  [[ "$flags" != *-std=* ]] || {
    echo "zarqlang.pc sets a language standard"
    return 1
  }
  [[ "$(realpath -m "$(pkg-config --variable=prefix zarqlang)")" == "$2" ]] || {
    echo "zarqlang.pc does not point at $2"
    return 1
  }
  local warnings=(-Wall -Wextra -Wpedantic -Werror)
  # shellcheck disable=SC2046
  g++ -std=c++17 "${warnings[@]}" -o "$out/app" examples/main.cpp \
    $(pkg-config --cflags --libs zarqlang) -Wl,-rpath,"$(pkg-config --variable=libdir zarqlang)"
  "$out/app" >/dev/null
  # shellcheck disable=SC2086
  g++ -std=c++20 "${warnings[@]}" -o "$out/interop" examples/interop.cpp $flags
  LD_LIBRARY_PATH="$(pkg-config --variable=libdir zarqlang)" "$out/interop" >/dev/null
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
  [[ -n "$lib" ]] || {
    echo "no installed library"
    return 1
  }
  if nm -D "$lib" | c++filt | grep -E 'detail::testing|malloc_usable_size'; then
    echo "$lib exports or imports a test hook"
    return 1
  fi
}

# The installed tree moved elsewhere, as a user may after installing.
move_prefix() {
  mv "$prefix" "$moved"
  [[ ! -e "$prefix" ]]
}

# The Debian packages, built and checked by lintian (no error: the default
# --fail-on), then unpacked into the scratch root $debroot with the -dbgsym
# package (a .ddeb).
build_debs() {
  scripts/package.sh >"$work/packages"
  cat "$work/packages"
  local debs
  mapfile -t debs <"$work/packages"
  ((${#debs[@]} == 2)) || {
    echo "expected two packages"
    return 1
  }
  for deb in "${debs[@]}"; do dpkg-deb -x "$deb" "$debroot"; done
  local ddebs
  mapfile -t ddebs < <(find build/deb/packages -maxdepth 1 -name '*-dbgsym_*.ddeb')
  ((${#ddebs[@]} == 1)) || {
    echo "expected one -dbgsym package"
    return 1
  }
  dpkg-deb -x "${ddebs[0]}" "$debroot"
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

# The plain build of README.md with the compiler $1: no preset, no option,
# the default generator (run in parallel), then an install and the examples
# built against it. Warnings do not stop that build (ZARQLANG_WERROR is off);
# this check fails on any.
plain_build() {
  local build="$work/plain-$1" log="$work/plain-$1.log"
  export CXX=$1 CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
  {
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release
    cmake --build "$build"
    cmake --install "$build" --prefix "$build-prefix"
  } >"$log" 2>&1 || {
    tail -n 40 "$log"
    return 1
  }
  if grep -E -A 8 'warning:' "$log"; then
    echo "the plain build with $1 warns"
    return 1
  fi
  examples_with_cmake "$build-prefix" "plain-$1"
}

prefix=$(realpath "$work")/prefix
moved=$(realpath "$work")/moved/elsewhere
mkdir -p "$(dirname "$moved")"
stage "package preset installed with --prefix $prefix" install_to_prefix
stage "prefix install: examples through CMake" examples_with_cmake "$prefix" prefix
stage "prefix install: examples through pkg-config" \
  examples_with_pkg_config "$prefix/lib/pkgconfig" "$prefix" prefix
stage "prefix install: no test hooks in the library" clean_exports
stage "ABI compared with the baseline in abi/" scripts/check-abi.sh "$prefix"
stage "prefix install: gdb printers" scripts/check-printers.sh "$prefix"
stage "prefix install moved to $moved" move_prefix
stage "moved prefix: gdb printers" scripts/check-printers.sh "$moved"
stage "moved prefix: examples through pkg-config" \
  examples_with_pkg_config "$moved/lib/pkgconfig" "$moved" moved

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

stage "plain build and install with g++" plain_build g++
stage "plain build and install with clang++" plain_build clang++

if ((failed)); then
  echo "check-install: $failed of the checks FAILED:"
  printf '%s' "$failures" | sed 's/^/  /'
else
  echo "check-install: every check passed"
fi
exit $((failed > 100 ? 100 : failed))
