#!/usr/bin/env bash
# Keeps the layers apart: every #include "folder/..." in src/ must name the
# including folder itself or one it may use. The ports (headers directly in
# platform/) are open to every layer; an adapter (platform/root, kakeidb,
# fake) never includes another adapter; platform/os holds the file helpers
# they share.
set -euo pipefail
cd "$(dirname "$0")/../src"

declare -A may_use=(
  [text]=""
  [platform]=""
  [platform/os]=""
  [platform/root]="platform/os text"
  [platform/kakeidb]="platform/os text"
  [platform/fake]="text"
  [store]="text"
  [startup]="store text"
  [diagnosis]="startup store text"
  [shell]="startup store text"
  [control]="shell diagnosis startup store text"
  [qt]="control text"
  [tools]="platform/kakeidb platform/root platform/os store text"
  [platform/win32]="platform/os text"
  [win32]="control store text"
  [com]="win32 control startup store text platform/win32 platform/kakeidb"
  [hosts]="*"
)

bad=0
while IFS= read -r -d '' file; do
  folder=$(dirname "$file")
  [[ -v may_use[$folder] ]] || { echo "$file: folder $folder has no place in the layer table"; bad=1; continue; }
  allowed=${may_use[$folder]}
  [ "$allowed" = "*" ] && continue
  while IFS= read -r target; do
    dir=$(dirname "$target")
    [ "$dir" = "$folder" ] || [ "$dir" = platform ] && continue
    [[ " $allowed " == *" $dir "* ]] && continue
    echo "$file includes $target: $folder may not use $dir"
    bad=1
  done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(find . \( -name '*.cc' -o -name '*.h' \) -print0 | sed -z 's|^\./||')
[ "$bad" -eq 0 ] && echo "layers: every include points down"
exit "$bad"
