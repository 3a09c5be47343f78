#!/usr/bin/env bash
# Builds the release packages of モザイカ図 from the windows preset, into
# build/windows/packages/:
#   モザイカ図-<version>-setup.exe  a per-user installer (no administrator rights)
#   モザイカ図-<version>.zip        both programs and the read-me files, to copy by hand
# each with <package>.sha256 beside it (`sha256sum -c` reads it), then prints
# their paths, sizes and sums. Installs what is missing first. The tests that
# prove the packages under Wine run with `ctest --preset windows -R ^package`.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

echo "==> building the programs (MinGW-w64)"
cmake --preset windows
cmake --build --preset windows --target mosaika_saver mosaika_renderer

# makensis and the zip writer need a UTF-8 locale for the Japanese file names.
export LC_ALL=C.UTF-8
out=build/windows/packages
echo "==> making the packages (CPack: NSIS installer and zip)"
rm -rf "$out"
(cd build/windows && cpack --config CPackConfig.cmake)

echo "==> checking the SHA-256 sums"
(cd "$out" && sha256sum -c ./*.sha256)

echo "==> in the zip"
unzip -l "$out"/*.zip

echo "==> packages"
for package in "$out"/*.exe "$out"/*.zip; do
  printf '%s  %s bytes\n' "$package" "$(stat -c %s "$package")"
  printf '  sha256 %s\n' "$(cut -d' ' -f1 "$package.sha256")"
done
