#!/usr/bin/env bash
# Installs the Debian packages the build (PCRE2's libpcre2-dev), the tests (valgrind; ICU as the
# reference of the Unicode case tests; clang's fuzzer and sanitizer runtimes
# for the fuzz targets; dpkg-dev, file and binutils for building the .deb
# packages, lintian to check them, abigail-tools for the ABI check, gdb for
# the printer check; {fmt} for the formatter header's test and the
# examples) and the benchmarks need, when they are missing (a fresh
# machine of this kind has most of them).
set -euo pipefail
packages=(cmake ninja-build g++ clang clang-format libclang-rt-14-dev valgrind pkg-config libgtest-dev
          libgmock-dev libicu-dev libpcre2-dev dpkg-dev file binutils lintian abigail-tools gdb libfmt-dev)
if [[ "${1:-}" == "--bench" ]]; then
  packages+=(libbenchmark-dev)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  SUDO=""
  [[ $(id -u) -eq 0 ]] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
