#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, ASan and UBSan, replays the saved
# regressions, then fuzzes each target for SECONDS (default 60) from a copy of
# its seed corpus (the committed corpus never grows). Fails when any target
# crashes, leaks, times out or trips a sanitizer; findings are kept under
# <build>/fuzz-artifacts/<target>/.
#
#   fuzz/run.sh [SECONDS]          H5_FUZZ_BUILD=dir   (default build-fuzz)
#                                  H5_FUZZ_TARGETS="a b" (default: all)
set -uo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
build="${H5_FUZZ_BUILD:-build-fuzz}"
targets="${H5_FUZZ_TARGETS:-kakeidb_fuzzer kakeidb_order_fuzzer profile_fuzzer registry_fuzzer cookie_fuzzer book_fuzzer ansi_fuzzer}"

max_len() {
  case "$1" in
    kakeidb_fuzzer) echo 16384 ;;
    kakeidb_order_fuzzer) echo 4096 ;;
    book_fuzzer) echo 8192 ;;
    profile_fuzzer | registry_fuzzer) echo 4096 ;;
    *) echo 1024 ;;
  esac
}

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DH5_FUZZ=ON -DH5_WITH_QT=OFF -DH5_WITH_BENCH=OFF -DCMAKE_CXX_FLAGS="$flags" >/dev/null ||
  exit 1
ninja -C "$build" -j2 h5_fuzzers || exit 1

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
export H5_FUZZ_TMPDIR="$scratch"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS=suppressions=$PWD/.ci/lsan.supp

failed=0
summary=""
for target in $targets; do
  binary="$build/fuzz/$target"
  artifacts="$build/fuzz-artifacts/$target"
  mkdir -p "$artifacts"
  log="$artifacts/last-run.log"
  status="ok"

  regressions=(fuzz/regressions/"$target"/*)
  if [ -e "${regressions[0]}" ]; then
    if ! "$binary" -artifact_prefix="$artifacts/regression-" "${regressions[@]}" \
      >"$artifacts/regressions.log" 2>&1; then
      status="regression failed (see $artifacts/regressions.log)"
    fi
  fi

  corpus="$scratch/corpus-$target"
  mkdir -p "$corpus"
  cp fuzz/corpus/"$target"/* "$corpus"/
  dict=()
  [ -f "fuzz/$target.dict" ] && dict=(-dict="fuzz/$target.dict")
  echo "== $target: ${seconds}s"
  "$binary" "$corpus" "${dict[@]}" -max_total_time="$seconds" -max_len="$(max_len "$target")" \
    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" >"$log" 2>&1
  rc=$?
  execs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
  if [ $rc -ne 0 ]; then
    [ "$status" = ok ] && status="" || status+="; "
    status+="FAILED (exit $rc; see $log)"
    grep -E "^(==[0-9]+==ERROR|SUMMARY|fuzz check failed|artifact_prefix)" "$log" | head -5
  fi
  [ "$status" = ok ] || failed=1
  summary+="$(printf '%-16s %10s execs  %s' "$target" "${execs:-?}" "$status")"$'\n'
done

echo "== fuzzing summary"
printf '%s' "$summary"
exit $failed
