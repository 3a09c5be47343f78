#!/usr/bin/env bash
# Builds the saver core's libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) in build/fuzz and runs each for a bounded
# time, starting from a copy of its committed seed corpus; new inputs go to
# the copy, never into saver/fuzz/corpus. Exits non-zero on any crash, broken
# rule or sanitizer report; the input that caused it is kept in
# build/fuzz/runs/<target>/ (run the fuzzer on that file to see it again).
#
#   saver/fuzz/run-fuzzers.sh [SECONDS]   seconds per target, 20 by default
set -euo pipefail
cd "$(dirname "$0")/../.."

seconds=${1:-20}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 [SECONDS]" >&2
  exit 2
fi
targets=(Numbers_fuzz CommandLine_fuzz Settings_fuzz)
build=build/fuzz

echo "==> configuring and building the fuzz targets with clang in $build"
mkdir -p "$build"
cmake -S . -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DMOSAIKA_FUZZ=ON \
  >"$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" --target "${targets[@]}"

passed=0
failed=0
for target in "${targets[@]}"; do
  run="$build/runs/$target"
  rm -rf "$run"
  mkdir -p "$run/corpus" "$run/artifacts"
  cp saver/fuzz/corpus/"$target"/* "$run/corpus/"
  log="$run/fuzz.log"

  echo "==> $target for ${seconds}s"
  status=0
  timeout --kill-after=10 $((seconds + 120)) \
    "$build/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$run/artifacts/" "$run/corpus" >"$log" 2>&1 || status=$?

  # A sanitizer report or a kept input fails the run even if the exit code did not.
  if [ "$status" -ne 0 ] || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|broken rule:' "$log" \
      || [ -n "$(ls -A "$run/artifacts")" ]; then
    failed=$((failed + 1))
    echo "FAIL $target (exit $status); last lines of $log:"
    tail -n 40 "$log"
    ls -l "$run/artifacts"
  else
    passed=$((passed + 1))
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "PASS $target: ${runs:-?} inputs, corpus of $(ls "$run/corpus" | wc -l) files"
  fi
done

echo
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
