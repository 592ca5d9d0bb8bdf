#!/usr/bin/env bash
# Builds the Debian packages from the `deb` preset (Release, no test hooks,
# prefix /usr): libzarqlang<major> (the library and its SONAME) and
# libzarqlang-dev (headers, CMake package, zarqlang.pc). CPack also writes
# libzarqlang1-dbgsym (a .ddeb: the library's debug info, with the gdb
# printers).
# Its output goes to stderr; stdout gets the paths of the two .deb files,
# one a line.
#   scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
exec 3>&1 1>&2
scripts/deps.sh
cmake --preset deb >/dev/null
cmake --build --preset deb
out="$PWD/build/deb/packages"
rm -rf "$out"
cpack --config build/deb/CPackConfig.cmake -B "$out"
find "$out" -maxdepth 1 -name '*.deb' | sort >&3
