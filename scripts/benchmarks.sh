#!/usr/bin/env bash
# Builds the benchmarks in Release, runs them, and writes docs/benchmarks.md
# with the measured times and the ratios against the raw SQLite floor, all
# measured in the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
H5_BUILD=${H5_BUILD:-build-release} H5_BUILD_TYPE=Release H5_CMAKE_ARGS="-DH5_WITH_QT=OFF" \
  H5_TARGETS="kakeidb_bench diagnosis_bench" bash scripts/build.sh
build=${H5_BUILD:-build-release}
out=$(mktemp -d)
"$build/bench/kakeidb_bench" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
  --benchmark_format=json > "$out/kakeidb.json"
"$build/bench/diagnosis_bench" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
  --benchmark_format=json > "$out/diagnosis.json"
python3 scripts/benchmark_report.py "$out/kakeidb.json" "$out/diagnosis.json" > docs/benchmarks.md
rm -rf "$out"
echo "wrote docs/benchmarks.md"
