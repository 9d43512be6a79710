#!/usr/bin/env bash
# Installs what building and testing need, from Debian's packages. Quick when
# everything is already there.
set -euo pipefail
# shellcheck source=scripts/apt.sh
source "$(dirname "$0")/apt.sh"
packages=(build-essential cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          libsqlite3-dev nlohmann-json3-dev qt6-base-dev fonts-ipafont-gothic locales help2man
          clang clang-tidy cppcheck libclang-rt-14-dev sqlite3 time)
install_missing "${packages[@]}"

# The locale tests run the tile under a decimal-comma locale.
ensure_locale de_DE
