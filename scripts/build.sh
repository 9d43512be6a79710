#!/usr/bin/env bash
# Configures and builds into ${H5_BUILD:-build}. Extra CMake arguments come from
# H5_CMAKE_ARGS (for example -DH5_SANITIZE=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
build=${H5_BUILD:-build}
# shellcheck disable=SC2086
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${H5_BUILD_TYPE:-RelWithDebInfo} ${H5_CMAKE_ARGS:-} >/dev/null
ninja -C "$build" ${H5_TARGETS:-}
