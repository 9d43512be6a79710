#!/usr/bin/env bash
# CI: one minute of fuzzing per target (about seven minutes with the build)
# after replaying the saved regressions. Any finding fails CI.
set -euo pipefail
cd "$(dirname "$0")/.."
bash fuzz/run.sh 60
