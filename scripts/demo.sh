#!/usr/bin/env bash
# Sets everything up, writes a demo account book for today and shows the
# diagnosis tile on it: in a window when a display is present, otherwise as
# a rendered PNG, with the diagnosis printed either way.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
build=${H5_BUILD:-build}
root=${H5KAKEI_ROOT:-$PWD/out/demo-root}
rm -rf "$root"
"$build/src/hosts/h5kakei" sample --root "$root"
"$build/src/hosts/h5kakei" diagnose --root "$root"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$build/src/hosts/h5kakei-menu" ]; then
  echo "Opening the menu window with the tile (click it to start the account book)."
  exec "$build/src/hosts/h5kakei-menu" --root "$root"
else
  mkdir -p out
  QT_QPA_PLATFORM=offscreen "$build/src/hosts/h5kakei" render --root "$root" --out out/tile.png
  echo "No display: the tile is drawn in out/tile.png."
fi
