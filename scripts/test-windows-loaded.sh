#!/usr/bin/env bash
# Runs the Windows-side tests several times in a row (3 unless given) while a
# busy loop keeps one core fully loaded, as on a busy machine: the gaps between
# a window's creation, showing and sizing widen there, and a test that samples
# a state once instead of waiting for it fails. Expects a built windows preset
# (scripts/test.sh). Prints one line a run and exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-3}
timeout 3600 sh -c 'while :; do :; done' &
busy=$!
trap 'kill "$busy" 2>/dev/null; wait "$busy" 2>/dev/null || true' EXIT

failed=0
for run in $(seq "$runs"); do
  log="build/windows/loaded-run-$run.log"
  start=$(date +%s)
  if ctest --preset windows >"$log" 2>&1; then verdict=passed; else verdict=FAILED; failed=1; fi
  echo "run $run of $runs with one core busy: $verdict in $(( $(date +%s) - start )) s ($(grep -E 'tests passed|tests failed' "$log" | tail -1))"
done
exit "$failed"
