#!/usr/bin/env bash
# Builds the Windows side (scripts/build-windows.sh) and the Linux side, runs
# the Windows suites under Wine through CTest (on a virtual X display, for the
# message boxes), then compares both builds' answers on the same books
# (scripts/compare-machines.sh). Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
here=$PWD
bash scripts/build-windows.sh
bash scripts/build.sh >/dev/null

export LANG=ja_JP.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d)
export WINEPREFIX=$work/prefix
# shellcheck disable=SC2317
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

# The control's suite diagnoses one account book per tile level, for today.
python3 tests/com/level_books.py >"$work/levels.json"
build/src/hosts/h5kakei book build "$work/levels.json" --root "$work/levels" >/dev/null

# Everything that talks to Wine runs on one virtual display, with one
# wineserver kept alive for the whole run: a server per process costs seconds.
xvfb-run -a bash -c '
  set -euo pipefail
  # Their exit codes say nothing useful; a prefix that did not come up fails
  # the tests that follow.
  wineboot -i >/dev/null 2>&1 || true
  setsid wineserver -p </dev/null >/dev/null 2>&1 || true
  setsid wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  cp -r "$2/levels/drive_c/H5Levels" "$WINEPREFIX/drive_c/"
  ctest --test-dir "$1/build-windows" --output-on-failure -j2
  bash "$1/scripts/compare-machines.sh"
' test-windows "$here" "$work"
