#!/usr/bin/env bash
# Builds the benchmarks and h5kakei in Release, runs them, and writes
# docs/benchmarks.md with the measured times and the ratios against the
# floors (raw SQLite in the process, the sqlite3 shell for whole processes),
# all measured in the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
H5_BUILD=${H5_BUILD:-build-release} H5_BUILD_TYPE=Release H5_CMAKE_ARGS="-DH5_WITH_QT=OFF" \
  H5_TARGETS="kakeidb_bench diagnosis_bench h5kakei" bash scripts/build.sh
build=${H5_BUILD:-build-release}
out=$(mktemp -d)
"$build/bench/kakeidb_bench" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
  --benchmark_format=json > "$out/kakeidb.json"
# Also writes the books (under the temporary directory) that the process runs read.
"$build/bench/diagnosis_bench" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
  --benchmark_format=json > "$out/diagnosis.json"
books=${TMPDIR:-/tmp}
python3 bench/process_bench.py "$build/src/hosts/h5kakei" "$books/h5kakei-bench-v2-10-5000-0" \
  "$books/h5kakei-bench-v2-1-0-100000" > "$out/process.json"
python3 scripts/benchmark_report.py "$out/kakeidb.json" "$out/diagnosis.json" "$out/process.json" \
  > docs/benchmarks.md
rm -rf "$out"
echo "wrote docs/benchmarks.md"
