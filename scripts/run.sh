#!/usr/bin/env bash
# Builds everything and shows the screen saver running under Wine: on your
# $DISPLAY when there is one (press Esc to end it), otherwise on a private Xvfb
# display for a few seconds, saving a PNG screenshot and printing its path.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

echo "==> building the programs (MinGW-w64)"
cmake --preset windows
cmake --build --preset windows

bin=build/windows/bin
world=build/windows/wine-world-run
if [ -f "$bin/モザイカ図.scr" ]; then
  program=("$bin/モザイカ図.scr" /s)
else
  program=("$bin/モザイカ図.dll")
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "==> running ${program[*]} on $DISPLAY (press Esc to end it)"
  MOSAIKA_USE_DISPLAY=1 MOSAIKA_RUN_TIMEOUT=0 cmake/wine-run.sh "$world" "${program[@]}"
else
  shot="$PWD/build/windows/screenshot.png"
  echo "==> no display: running ${program[*]} on a private Xvfb for a few seconds"
  MOSAIKA_SCREENSHOT="$shot" MOSAIKA_SCREENSHOT_AFTER=4 cmake/wine-run.sh "$world" "${program[@]}"
  echo "==> screenshot: $shot"
fi
