#!/usr/bin/env bash
# Checks that every tracked C++ file is formatted as .clang-format says;
# prints the places that are not and fails. To fix them:
#   git ls-files '*.h' '*.cpp' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.h' '*.cpp' | xargs -0 clang-format --dry-run -Werror
echo "format: clean"
