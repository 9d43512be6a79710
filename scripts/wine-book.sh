#!/usr/bin/env bash
# Puts an account book into the Wine prefix named by WINEPREFIX, so that
# build-windows/bin/h5kakei.exe reads it as the Linux build reads its root:
#
#   bash scripts/wine-book.sh BOOK.json      a book description (built first)
#   bash scripts/wine-book.sh --root DIR     a root already written
#
# Drive folders go to the drives the prefix's dosdevices name (a missing
# drive gets a folder of its own), replacing the top folders the book names;
# the previous book's folders and registry keys (listed in the prefix's
# h5kakei-book.txt) are removed first;
# registry values go to the 32-bit view (Wow6432Node); WIN.INI is the book's,
# or the prefix's first one when the book has none; http(s) cookies are set
# through wininet (Wine refuses file:// addresses, so those are left out:
# under Wine the kitchen timer reads as not running); each program becomes
# h5-launch-log.exe, which appends its parameters and working directory to
# launch.log beside itself.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
: "${WINEPREFIX:?set WINEPREFIX to the Wine prefix to fill}"
linux_cli=${H5_LINUX_CLI:-$here/build/src/hosts/h5kakei}
win_bin=${H5_WIN_BIN:-$here/build-windows/bin}
export WINEDEBUG=${WINEDEBUG:--all}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
case "${1:-}" in
  --root) root=$(cd "${2:?--root needs a folder}" && pwd) ;;
  "" | -*) echo "usage: wine-book.sh BOOK.json | --root DIR" >&2; exit 2 ;;
  *)
    root=$work/root
    "$linux_cli" book build "$1" --root "$root" >/dev/null
    ;;
esac

[ -d "$WINEPREFIX/drive_c/windows" ] || wineboot -i >/dev/null 2>&1
prefix=$(cd "$WINEPREFIX" && pwd)
manifest=$prefix/h5kakei-book.txt

# reg_import FILE: a .reg text in UTF-8 imported by Wine's regedit.
reg_import() {
  iconv -f UTF-8 -t UTF-16 "$1" >"$work/import.reg"
  wine regedit /S "$(winepath -w "$work/import.reg")" >/dev/null 2>&1
}
if [ -f "$manifest" ]; then
  { echo "Windows Registry Editor Version 5.00"; echo; } >"$work/remove.reg"
  while IFS=$'\t' read -r kind what; do
    case "$kind" in
      folder) rm -rf "${what:?}" ;;
      key) echo "[-$what]" >>"$work/remove.reg" ;;
    esac
  done <"$manifest"
  reg_import "$work/remove.reg"
  rm -f "$manifest"
fi

win_ini=$prefix/drive_c/windows/win.ini
[ -f "$win_ini.h5kakei-first" ] || cp "$win_ini" "$win_ini.h5kakei-first"
cp "$win_ini.h5kakei-first" "$win_ini"

for drive_dir in "$root"/drive_?; do
  [ -d "$drive_dir" ] || continue
  letter=${drive_dir##*_}
  target=$prefix/dosdevices/$letter:
  if [ ! -e "$target" ]; then
    mkdir -p "$prefix/drive_$letter"
    ln -s "../drive_$letter" "$target"
  fi
  target=$(cd "$target" && pwd -P)
  for top in "$drive_dir"/* "$drive_dir"/.[!.]*; do
    [ -e "$top" ] || continue
    name=$(basename "$top")
    if [ "$name" = windows ] && [ -d "$top" ]; then
      cp -a "$top/." "$target/windows/"
    else
      rm -rf "${target:?}/$name"
      cp -a "$top" "$target/$name"
      printf 'folder\t%s\n' "$target/$name" >>"$manifest"
    fi
  done
done

# Registry: each key of the book replaced, in the 32-bit view.
if [ -f "$root/registry.reg" ]; then
  python3 - "$root/registry.reg" "$work/book.reg" "$manifest" <<'PY'
import re, sys
text = open(sys.argv[1], encoding="utf-8-sig").read()
move = lambda key: re.sub(r"^(HKEY_LOCAL_MACHINE\\SOFTWARE)\\", r"\1\\Wow6432Node\\", key, flags=re.I)
keys, body = [], []
for line in text.splitlines():
    m = re.match(r"^\[(.*)\]\s*$", line)
    if m:
        keys.append(move(m.group(1)))
        body.append("[" + keys[-1] + "]")
    elif not re.match(r"^(REGEDIT4|Windows Registry Editor)", line):
        body.append(line)
out = ["Windows Registry Editor Version 5.00", ""]
out += ["[-" + k + "]" for k in keys] + [""] + body + [""]
open(sys.argv[2], "w", encoding="utf-8", newline="\r\n").write("\n".join(out))
with open(sys.argv[3], "a", encoding="utf-8") as manifest:
    manifest.writelines("key\t" + k + "\n" for k in keys)
PY
  reg_import "$work/book.reg"
fi

if [ -f "$root/cookies.txt" ]; then
  while IFS=$'\t' read -r url text; do
    case "$url" in
      http://* | https://*) wine "$win_bin/h5-set-cookie.exe" "$url" "$text" ;;
      *) ;;
    esac
  done < <(grep -v '^#' "$root/cookies.txt" || true)
fi

# Programs: the book builder's stand-ins are shell scripts with #!.
find "$root" -path "$root/drive_*" -type f -perm -u+x -print0 |
  while IFS= read -r -d '' program; do
    head -c 2 "$program" | grep -q '#!' || continue
    relative=${program#"$root"/drive_}
    letter=${relative%%/*}
    cp "$win_bin/h5-launch-log.exe" "$(cd "$prefix/dosdevices/$letter:" && pwd -P)/${relative#*/}"
  done
echo "put $([ "${1}" = --root ] && echo "$root" || echo "$1") into $prefix"
