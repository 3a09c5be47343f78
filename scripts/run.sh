#!/usr/bin/env bash
# Builds everything and shows the screen saver under Wine:
#   scripts/run.sh        a saver run (/s), as the screen-saver host starts it
#   scripts/run.sh /c     the settings dialog
# On your $DISPLAY when there is one (Esc ends either). Otherwise on a private
# Xvfb display: after a few seconds it saves a PNG screenshot, ends the program
# with Esc as a user would, and prints the screenshot's path; it fails unless
# the program ended cleanly.
set -euo pipefail
cd "$(dirname "$0")/.."

arguments=("${@:-/s}")
scripts/install-deps.sh

echo "==> building the programs (MinGW-w64)"
cmake --preset windows
cmake --build --preset windows

bin=build/windows/bin
world=build/windows/wine-world-run
if [ -f "$bin/モザイカ図.scr" ]; then
  program=("$bin/モザイカ図.scr" "${arguments[@]}")
else
  program=("$bin/モザイカ図.dll")
fi
case "${arguments[0]}" in
  /c*|/C*|-c*|-C*) shot=build/windows/settings-dialog.png ;;
  *) shot=build/windows/screenshot.png ;;
esac

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "==> running ${program[*]} on $DISPLAY (press Esc to end it)"
  MOSAIKA_USE_DISPLAY=1 MOSAIKA_RUN_TIMEOUT=0 cmake/wine-run.sh "$world" "${program[@]}"
else
  echo "==> no display: running ${program[*]} on a private Xvfb display"
  if ! MOSAIKA_SCREENSHOT="$PWD/$shot" MOSAIKA_SCREENSHOT_AFTER=4 cmake/wine-run.sh "$world" "${program[@]}"; then
    echo "==> the run did not end cleanly; its output: $world/run.log" >&2
    exit 1
  fi
  echo "==> screenshot: $shot"
  echo "==> ended with Esc after the screenshot; the program exited with code 0"
fi
