#!/usr/bin/env bash
# CI: builds the Debian package, installs it for real and uses what it
# installed from another folder: the demo book and its diagnosis, the drawn
# tile, both manual pages, the desktop entry, and the menu window.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/apt.sh
source scripts/apt.sh
start=$SECONDS
fail() { echo "package check: $*" >&2; exit 1; }

bash scripts/package.sh
deb=$(ls "$PWD"/build/h5kakei_*.deb)

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
install_missing man-db desktop-file-utils xvfb xdotool
"${sudo_cmd[@]}" apt-get install -y -qq --reinstall "$deb" >/dev/null
echo "installed: $(dpkg-query -W -f='${Package} ${Version}, Depends: ${Depends}' h5kakei)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
unset H5KAKEI_ROOT
[ "$(command -v h5kakei)" = /usr/bin/h5kakei ] || fail "h5kakei is not /usr/bin/h5kakei"

echo "-- the installed programs on the demo book"
h5kakei sample --root "$work/x"
h5kakei diagnose --root "$work/x" | tee diagnosis.txt
grep -q 'level [1-5], picture [1-6]' diagnosis.txt || fail "diagnose printed no grade"
h5kakei render --root "$work/x" --out tile.png
[ "$(head -c 4 tile.png | tail -c 3)" = PNG ] || fail "render wrote no PNG"
if h5kakei diagnose 2>err.txt; then fail "h5kakei ran without a root"; fi
grep -q "no environment root" err.txt || fail "h5kakei without a root gave no clear message"

echo "-- manual pages"
for program in h5kakei h5kakei-menu; do
  page=$(man -w "$program") || fail "man finds no page for $program"
  man -l "$page" 2>&1 >"$program.txt" | { ! grep .; } || fail "$page renders with warnings"
  grep -q "^NAME" "$program.txt" || fail "$page has no NAME section"
  grep -q -- "--root" "$program.txt" || fail "$page lacks the options"
done
grep -q "sample --root DIR" h5kakei.txt || fail "h5kakei(1) lacks the commands"

echo "-- desktop entry and icon"
desktop-file-validate /usr/share/applications/h5kakei-menu.desktop
[ -s /usr/share/icons/hicolor/48x48/apps/h5kakei.png ] || fail "the icon is missing"
[ -s /usr/share/doc/h5kakei/README.md ] || fail "the README is missing"

echo "-- the menu window, on a virtual screen"
h5kakei-menu --help >menu-help.txt
grep -q "usage: h5kakei-menu" menu-help.txt || fail "h5kakei-menu --help"
# -noreset: the server must not restart whenever its last client leaves.
Xvfb -displayfd 3 -noreset -screen 0 800x600x24 3>display.txt 2>xvfb.log &
xvfb=$!
trap 'kill "$xvfb"; rm -rf "$work"' EXIT
# A loaded machine may take seconds to bring the server up.
for _ in $(seq 300); do [ -s display.txt ] && break; sleep 0.1; done
[ -s display.txt ] || fail "Xvfb did not start within 30 s"
DISPLAY=:$(cat display.txt)
export DISPLAY
# The number comes before the server takes connections on a busy machine.
for _ in $(seq 300); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getmouselocation >/dev/null || fail "Xvfb on $DISPLAY does not answer: $(cat xvfb.log)"

# menu HOME KEY: starts h5kakei-menu with no root, answers its question with KEY.
menu() {
  HOME=$work/$1 XDG_DATA_HOME='' h5kakei-menu 2>"$1.err" &
  menu_pid=$!
  timeout 20 xdotool search --sync --name '^H5Kakei$' >/dev/null || fail "no question box"
  [ ! -e "$work/$1/.local/share/h5kakei/root" ] || fail "a root was written before the answer"
  xdotool key "$2"
}
menu yes Return
timeout 20 xdotool search --sync --name 'メニュー' >/dev/null || fail "no menu window after yes"
[ -d "$work/yes/.local/share/h5kakei/root/drive_c" ] || fail "yes wrote no demo book"
kill "$menu_pid"
menu no alt+n
status=0
wait "$menu_pid" || status=$?
[ "$status" = 1 ] || fail "h5kakei-menu answered no stopped with status $status"
grep -q "nothing written" no.err || fail "no clear message after no"
[ ! -e "$work/no/.local/share" ] || fail "no wrote something"

"${sudo_cmd[@]}" apt-get purge -y -qq h5kakei >/dev/null
[ ! -e /usr/bin/h5kakei ] || fail "h5kakei is still there after purge"
echo "package check: passed in $((SECONDS - start)) s"
