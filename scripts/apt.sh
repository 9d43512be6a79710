# Shared by the set-up scripts (sourced): Debian packages and locales,
# installed only when missing, so a second run costs nothing.

# as_root COMMAND...: runs COMMAND as root, through sudo when needed.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# install_missing [--no-install-recommends] PACKAGE...
install_missing() {
  local options=()
  if [ "${1:-}" = --no-install-recommends ]; then
    options+=("$1")
    shift
  fi
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq "${options[@]}" "${missing[@]}" >/dev/null
}

# ensure_locale NAME (for example ja_JP): generates NAME.UTF-8 when missing.
ensure_locale() {
  locale -a 2>/dev/null | grep -qi "^$1\.utf-\?8\$" && return 0
  echo "Generating the $1.UTF-8 locale"
  as_root sed -i "s/^# *\($1.UTF-8 UTF-8\)/\1/" /etc/locale.gen
  grep -q "^$1.UTF-8 UTF-8" /etc/locale.gen || echo "$1.UTF-8 UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
}
