#!/usr/bin/env bash
# Builds and installs the library, builds the example programs against the
# installed package, as an application would, and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset package >/dev/null
cmake --build --preset package
cmake --install build/package >/dev/null
cmake -S examples -B build/examples -G Ninja -DCMAKE_PREFIX_PATH="$PWD/build/package/stage" >/dev/null
cmake --build build/examples
echo "---- build/examples/zq_example"
build/examples/zq_example
echo "---- build/examples/zq_interop"
build/examples/zq_interop
