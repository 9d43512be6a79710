#!/usr/bin/env bash
# Installs what is needed, builds and runs every test. Fails when a test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
build=${H5_BUILD:-build}
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j2 --timeout 300
