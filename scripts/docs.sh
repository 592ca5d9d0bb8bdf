#!/usr/bin/env bash
# Builds the API reference from the header comments into build/docs/html
# (open build/docs/html/index.html). Installs Debian's doxygen when it is
# missing. Fails when Doxygen warns, e.g. about an undocumented public member.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v doxygen >/dev/null 2>&1; then
  echo "installing: doxygen"
  SUDO=""
  [[ $(id -u) -eq 0 ]] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq doxygen
fi
rm -rf build/docs
mkdir -p build/docs
doxygen Doxyfile
if [[ -s build/docs/warnings.log ]]; then
  cat build/docs/warnings.log
  echo "docs: $(grep -c 'warning:' build/docs/warnings.log) warnings (build/docs/warnings.log)"
  exit 1
fi
echo "docs: build/docs/html/index.html"
