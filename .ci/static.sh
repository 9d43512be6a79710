#!/usr/bin/env bash
# Static analysis of src/: cppcheck and clang-tidy (checks in .clang-tidy).
# Fails on any finding; a finding that is wrong is silenced in the code with
# a NOLINT comment that says why.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${H5_BUILD:-build}
[ -f "$build/compile_commands.json" ] || { echo "run scripts/build.sh first" >&2; exit 1; }

echo "-- layers"
bash .ci/layers.sh

echo "-- cppcheck"
cppcheck --std=c++20 --enable=warning,performance,portability --inline-suppr --quiet \
  --error-exitcode=1 --suppress=missingIncludeSystem -I src src/

echo "-- clang-tidy"
# Files with win32 in their path and the COM server build only for Windows
# (scripts/build-windows.sh).
find src -name '*.cc' -not -path '*win32*' -not -path 'src/com/*' -print0 | sort -z |
  xargs -0 -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet 2> >(grep -v "warnings generated" >&2)
echo "static analysis: no findings"
