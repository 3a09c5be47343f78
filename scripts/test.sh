#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests (also under
# AddressSanitizer and UndefinedBehaviorSanitizer), the renderer benchmark, and
# the Windows-side tests under Wine, then proves the release command
# reproducible and its signing sound. Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

step() { echo; echo "==> $*"; }

step "native build and unit tests"
cmake --preset native
cmake --build --preset native
ctest --preset native

step "native unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset native-sanitize
cmake --build --preset native-sanitize
ctest --preset native-sanitize

step "fuzzing the saver core's readers and conversions (libFuzzer, 20 s per target)"
saver/fuzz/run-fuzzers.sh

step "benchmark: nanoseconds per 320 x 200 frame"
build/native/bin/renderer_benchmark --benchmark_min_time=0.2 --benchmark_repetitions=5

step "Windows build (MinGW-w64) and tests under Wine"
cmake --preset windows
cmake --build --preset windows
ctest --preset windows

step "release files: the same bytes from two folders; signed with a throwaway certificate"
scripts/check-release.sh

step "all tests passed"
