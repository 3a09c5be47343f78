#!/usr/bin/env bash
# Builds the release packages of モザイカ図 from the windows preset, into
# build/windows/packages/:
#   モザイカ図-<version>-setup.exe  a per-user installer (no administrator rights)
#   モザイカ図-<version>.zip        both programs and the read-me files, to copy by hand
# each with <package>.sha256 beside it (`sha256sum -c` reads it), then prints
# their paths, sizes and sums. Installs what is missing first. The tests that
# prove the packages under Wine run with `ctest --preset windows -R ^package`.
#
# The same commit gives the same bytes in any folder, at any time, in any time
# zone and for any user: the release's time is the commit's (SOURCE_DATE_EPOCH
# when it is set, as for a rebuild outside a git clone).
#
# Signing: with MOSAIKA_SIGN_PKCS12 (a PKCS#12 file) and MOSAIKA_SIGN_PASSWORD
# in the environment, both programs, the uninstaller and the installer get an
# Authenticode signature (SHA-256, packaging/sign.sh), with an RFC 3161 time
# stamp from MOSAIKA_SIGN_TIMESTAMP_URL when that is set. A certificate that
# cannot be read stops the release before anything is built; whatever fails,
# no packages are left behind (so never a half-signed set).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) ||
    { echo "error: not a git clone: set SOURCE_DATE_EPOCH to the release commit's time (git log -1 --format=%ct)" >&2; exit 1; }
fi
# Zip entries carry local times; files and folders get one mode for everybody.
export SOURCE_DATE_EPOCH TZ=UTC
umask 022
echo "==> release time $(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S UTC') (SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH)"

# Whatever stops the release from here, no packages are left behind.
out=build/windows/packages
rm -rf "$out"
made=false
trap '$made || rm -rf "$out"' EXIT

signing=false
if [ -n "${MOSAIKA_SIGN_PKCS12:-}" ]; then
  signer=$(packaging/sign.sh signer) || { echo "error: the release is not made" >&2; exit 1; }
  signing=true
  if [ -n "${MOSAIKA_SIGN_TIMESTAMP_URL:-}" ]; then
    echo "==> signing as \"$signer\" (Authenticode, SHA-256), time-stamped by $MOSAIKA_SIGN_TIMESTAMP_URL"
  else
    echo "==> signing as \"$signer\" (Authenticode, SHA-256) without a time stamp: MOSAIKA_SIGN_TIMESTAMP_URL is not set"
  fi
else
  echo "==> the release is unsigned: no certificate given (MOSAIKA_SIGN_PKCS12 is not set)"
fi

echo "==> building the programs (MinGW-w64)"
cmake --preset windows
# Linked afresh every time, so that no earlier release's signature stays on them.
programs=(build/windows/bin/モザイカ図.scr build/windows/bin/モザイカ図.dll)
rm -f "${programs[@]}"
cmake --build --preset windows --target mosaika_saver mosaika_renderer
if $signing; then
  echo "==> signing the programs"
  packaging/sign.sh "${programs[@]}"
fi

# makensis and the zip writer need a UTF-8 locale for the Japanese file names.
export LC_ALL=C.UTF-8
echo "==> making the packages (CPack: NSIS installer and zip)"
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
made=true
