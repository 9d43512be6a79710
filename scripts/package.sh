#!/usr/bin/env bash
# Builds the Debian package build/h5kakei_<version>_amd64.deb: the three
# programs, their manual pages, the desktop entry and icon, the documents.
# Builds only what the package holds, not the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
H5_TARGETS="h5kakei h5kakei-render h5kakei-menu manpages" bash scripts/build.sh
build=${H5_BUILD:-build}
# One package in the folder, so that `apt-get install ./build/h5kakei_*.deb` is unambiguous.
rm -f "$build"/h5kakei_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/h5kakei_*.deb)
echo "built $deb"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
echo "install it with: sudo apt-get install ./$deb"
