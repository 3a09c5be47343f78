#!/usr/bin/env bash
# Installs the Debian packages and the locales the build and the tests
# need, and nothing when they are already there. Safe to run again.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ git
  # native tests and benchmarks
  googletest libgtest-dev libbenchmark-dev
  # cross build for Windows
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  # linking the programs with a load-configuration directory (GNU ld writes none)
  lld
  # running and proving the programs under Wine on a private X display
  wine wine64 xvfb x11-utils xdotool imagemagick locales fonts-ipafont-gothic fonts-vlgothic
  # two monitors under Wine (MOSAIKA_MONITORS=2): Xorg with the dummy video driver, xrandr
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  # music under Wine (MP3 through GStreamer) and the test sounds
  libasound2 gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav sox libsox-fmt-mp3 lame
  # fuzzing the saver core (libFuzzer)
  clang libclang-rt-14-dev
  # regenerating the committed pictures (cjpeg)
  libjpeg-turbo-progs
  # the release packages: the installer (makensis), the zip written the same
  # from every build (zip; unzip lists it), Authenticode signing and its check
  # with a throwaway certificate
  nsis zip unzip osslsigncode openssl
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "==> installing Debian packages: ${missing[*]}"
  as_root apt-get update
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
else
  echo "==> Debian packages: all present"
fi

# Wine takes its language and ANSI code page from a real glibc locale: ja_JP
# gives code page 932, and the tests' other worlds en_US 1252, zh_CN 936, ko_KR 949.
for locale in ja_JP en_US zh_CN ko_KR; do
  if ! locale -a 2>/dev/null | grep -qi "^$locale\.utf-\?8$"; then
    echo "==> generating the $locale.UTF-8 locale"
    as_root localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
  else
    echo "==> locale $locale.UTF-8: present"
  fi
done
