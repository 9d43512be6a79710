#!/usr/bin/env bash
# Cross-builds the Windows programs and test suites into ${H5_WIN_BUILD:-build-windows}
# with MinGW-w64; h5kakei.exe lands in build-windows/bin/. Installs what it needs
# from Debian's packages first (the cross compiler, Wine, Xvfb, the ja_JP locale).
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/apt.sh
source scripts/apt.sh
build=${H5_WIN_BUILD:-build-windows}

packages=(g++-mingw-w64-x86-64-posix mingw-w64-tools libwine-dev wine wine64 xvfb xauth locales cmake ninja-build ccache
          curl ca-certificates nlohmann-json3-dev googletest)
install_missing --no-install-recommends "${packages[@]}"

# Wine takes its ANSI code page from the locale: the tests run in ja_JP.UTF-8.
ensure_locale ja_JP

# SQLite for Windows: the amalgamation as the better-sqlite3 npm package
# carries it (README, "On Windows"). Pinned and checked.
sqlite_package=better-sqlite3-13.2.0
sqlite_version=3.54.1
sqlite_c_sha256=75a4760a7b9727a4c4c877aec92eacf39e52a8f2921ce00bd33be6d3a8e8e254
sqlite_h_sha256=d6c84557261893439b341d2e6c35187ae3ea24fbfd843ad94616f72d89242b8c
sqlite_dir="$build/_deps/sqlite-$sqlite_version"
check_sqlite() {
  echo "$sqlite_c_sha256  $sqlite_dir/sqlite3.c
$sqlite_h_sha256  $sqlite_dir/sqlite3.h" | sha256sum --quiet -c - >/dev/null 2>&1
}
if ! check_sqlite; then
  echo "Fetching SQLite $sqlite_version from the npm package $sqlite_package"
  mkdir -p "$sqlite_dir"
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  curl -fsSL "https://registry.npmjs.org/better-sqlite3/-/$sqlite_package.tgz" -o "$tmp/package.tgz"
  tar -xzf "$tmp/package.tgz" -C "$tmp" package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
  cp "$tmp/package/deps/sqlite3/sqlite3.c" "$tmp/package/deps/sqlite3/sqlite3.h" "$sqlite_dir/"
  check_sqlite || { echo "build-windows: SQLite sources do not match their SHA-256" >&2; exit 1; }
fi

cmake --no-warn-unused-cli -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${H5_BUILD_TYPE:-RelWithDebInfo} \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
  -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_RUNTIME_OUTPUT_DIRECTORY="$PWD/$build/bin" \
  -DH5_SQLITE_DIR="$PWD/$sqlite_dir" >/dev/null
ninja -C "$build" ${H5_TARGETS:-}

# What a user copies to a Windows machine, with a note on registering the
# control (only after a full build).
if [ -z "${H5_TARGETS:-}" ]; then
  rm -rf "$build/dist"
  mkdir -p "$build/dist"
  cp "$build/bin/H5Kakei.ocx" "$build/bin/h5kakei-menu.exe" "$build/bin/h5kakei.exe" \
    packaging/windows/README.txt "$build/dist/"
fi
