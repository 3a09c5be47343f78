#!/usr/bin/env bash
# Runs one Windows program under Wine in a private world:
#   wine-run.sh WORLD_DIR PROGRAM.exe [ARGS...]
# WORLD_DIR holds a Wine prefix (initialised once, then reused), a private HOME
# whose ALSA default device writes into WORLD_DIR/audio-sink.raw, and a lock.
# Every run gets its own Xvfb display (24-bit) on a free display number and its
# own wineserver; on the way out it ends only those: its Xvfb by PID and the
# wineserver of its own prefix (and with it every program the run started).
# MOSAIKA_LANGUAGE picks the world's language, and with it Wine's ANSI code
# page: ja (the default: ja_JP.UTF-8, 932), en (en_US.UTF-8, 1252), zh
# (zh_CN.UTF-8, 936), ko (ko_KR.UTF-8, 949), utf8 (en_US.UTF-8, where the tests
# give the programs' copies a manifest asking for 65001). Each language other
# than ja has its prefix in the world WORLD_DIR-LANGUAGE. WINEDEBUG is -all
# unless MOSAIKA_WINEDEBUG names channels. MOSAIKA_DPI sets the display's DPI
# (96 when unset). MOSAIKA_DLLOVERRIDES is appended to WINEDLLOVERRIDES.
# MOSAIKA_MONITORS=2 runs it on two monitors instead (1024x768 primary, 800x600
# to its right): its own Xorg with the dummy video driver on a free display
# number (Xvfb cannot give Wine a second monitor), ended by PID like the Xvfb,
# in the world WORLD_DIR-2mon, so its prefix never mixes with the one-monitor one.
# MOSAIKA_USE_DISPLAY=1 keeps the caller's $DISPLAY instead of a private Xvfb.
# MOSAIKA_SCREENSHOT=FILE.png with MOSAIKA_SCREENSHOT_AFTER=SECONDS saves the
# screen that many seconds after the program started, then presses Esc and
# waits up to 10 s for the program to end; its exit code is the run's, its
# output is in WORLD_DIR/run.log.
set -u
world=$1; shift
program=$1; shift
language=${MOSAIKA_LANGUAGE:-ja}
case $language in
  ja) locale=ja_JP.UTF-8 ;;
  en|utf8) locale=en_US.UTF-8 ;;
  zh) locale=zh_CN.UTF-8 ;;
  ko) locale=ko_KR.UTF-8 ;;
  *) echo "wine-run: MOSAIKA_LANGUAGE must be ja, en, zh, ko or utf8, not '$language'" >&2; exit 2 ;;
esac
[ "$language" = ja ] || world="${world%/}-$language"
monitors=${MOSAIKA_MONITORS:-1}
case $monitors in
  1) ;;
  2) world="${world%/}-2mon" ;;
  *) echo "wine-run: MOSAIKA_MONITORS must be 1 or 2, not '$monitors'" >&2; exit 2 ;;
esac
mkdir -p "$world/home"
world=$(cd "$world" && pwd)

export WINEPREFIX="$world/prefix"
export HOME="$world/home"
export WINEARCH=win64
export WINEDEBUG="${MOSAIKA_WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=${MOSAIKA_DLLOVERRIDES:+;$MOSAIKA_DLLOVERRIDES}"
# Without the real glibc locale Wine falls back to code page 1252 and garbles
# every non-ASCII Unix path.
locale -a 2>/dev/null | grep -qi "^${locale%.UTF-8}\.utf-\?8$" ||
  { echo "wine-run: the locale $locale is missing (scripts/install-deps.sh generates it)" >&2; exit 1; }
export LANG=$locale LC_ALL=$locale MOSAIKA_LANGUAGE=$language
export MOSAIKA_AUDIO_SINK="$world/audio-sink.raw"
[ "${MOSAIKA_USE_DISPLAY:-}" = 1 ] || unset DISPLAY

# One run at a time owns the prefix and its wineserver.
exec 8>"$world/lock"
flock 8

xvfb_pid=""
xorg_pid=""
cleanup() {
  timeout 20 wineserver -k >/dev/null 2>&1
  timeout 20 wineserver -w >/dev/null 2>&1
  local pid
  for pid in $xvfb_pid $xorg_pid; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
}
trap cleanup EXIT
trap 'exit 130' INT TERM

start_xvfb() {
  local fdfile="$world/display.$$"
  rm -f "$fdfile"
  Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp -noreset 9>"$fdfile" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$fdfile" ] && break
    sleep 0.05
  done
  local number
  number=$(tr -dc '0-9' <"$fdfile")
  rm -f "$fdfile"
  [ -n "$number" ] || { echo "wine-run: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$number"
}

# Two monitors side by side on one X screen: DUMMY0 1024x768 at 0,0 (primary),
# DUMMY1 800x600 at 1024,0.
write_xorg_conf() {
  cat >"$world/xorg.conf" <<'XORG'
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoAddGPU" "false"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 256000
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
  Modeline "1024x768" 63.50 1024 1072 1176 1328 768 771 775 798 -hsync +vsync
  Modeline "800x600" 38.25 800 832 912 1024 600 603 607 624 -hsync +vsync
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "1024x768"
    Virtual 2048 1024
  EndSubSection
EndSection
XORG
}

xorg_failed() {
  echo "wine-run: MOSAIKA_MONITORS=2: $1 (needs root and the packages xserver-xorg-core," \
    "xserver-xorg-video-dummy, x11-xserver-utils; Xorg's log: $world/xorg.log)" >&2
  exit 1
}

start_xorg() {
  command -v Xorg >/dev/null || xorg_failed "Xorg is not installed"
  command -v xrandr >/dev/null || xorg_failed "xrandr is not installed"
  write_xorg_conf
  local fdfile="$world/display.$$"
  rm -f "$fdfile"
  Xorg -displayfd 9 -config "$world/xorg.conf" -logfile "$world/xorg.log" -noreset -nolisten tcp \
    -novtswitch -sharevts 9>"$fdfile" >/dev/null 2>&1 &
  xorg_pid=$!
  for _ in $(seq 200); do
    [ -s "$fdfile" ] && break
    kill -0 "$xorg_pid" 2>/dev/null || break
    sleep 0.05
  done
  local number
  number=$(tr -dc '0-9' <"$fdfile")
  rm -f "$fdfile"
  [ -n "$number" ] || xorg_failed "Xorg did not start"
  export DISPLAY=":$number"
  xrandr --addmode DUMMY1 800x600 >/dev/null 2>&1
  xrandr --output DUMMY0 --mode 1024x768 --pos 0x0 --primary --output DUMMY1 --mode 800x600 --pos 1024x0 \
    || xorg_failed "xrandr could not set up the second monitor"
  # Wait until the server reports both, before Wine reads the layout.
  for _ in $(seq 100); do
    xrandr --listmonitors 2>/dev/null | grep -q '^Monitors: 2' && return 0
    sleep 0.05
  done
  xorg_failed "the second monitor did not appear"
}

reg_add() {
  timeout 60 wine reg add "$@" /f </dev/null >/dev/null 2>&1
}

init_prefix() {
  [ -f "$WINEPREFIX/.mosaika-ready" ] && return 0
  echo "wine-run: initialising the Wine prefix in $WINEPREFIX (once)" >&2
  rm -rf "$WINEPREFIX"
  timeout 300 wine wineboot -i </dev/null >/dev/null 2>&1
  # Without a window manager, closing a captioned window waits 2 s unless unmanaged.
  reg_add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N
  # Japanese faces the programs ask for, answered by the IPA fonts.
  for face in "ＭＳ Ｐゴシック" "MS PGothic" "MS UI Gothic"; do
    reg_add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d IPAPGothic
  done
  for face in "ＭＳ ゴシック" "MS Gothic"; do
    reg_add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d IPAGothic
  done
  timeout 60 wineserver -w >/dev/null 2>&1
  touch "$WINEPREFIX/.mosaika-ready"
}

write_asoundrc() {
  cat >"$HOME/.asoundrc" <<ASOUND
pcm.!default {
  type file
  slave.pcm "null"
  file "$MOSAIKA_AUDIO_SINK"
  format "raw"
}
ASOUND
}

if [ -z "${DISPLAY:-}" ]; then
  if [ "$monitors" = 2 ]; then start_xorg; else start_xvfb; fi
fi
write_asoundrc
init_prefix
# The display's DPI: MOSAIKA_DPI, else 96, so a run at another DPI does not
# leave it to the next. Written only when it differs from the prefix's last.
dpi=${MOSAIKA_DPI:-96}
if [ "$(cat "$WINEPREFIX/.mosaika-dpi" 2>/dev/null)" != "$dpi" ]; then
  reg_add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" && echo "$dpi" >"$WINEPREFIX/.mosaika-dpi"
fi
# The first Wine process starts the background services; started here with no
# pipe attached, they do not hold the caller's pipe open (which costs seconds).
timeout 60 wineserver -p </dev/null >/dev/null 2>&1
timeout 60 wine cmd /c exit </dev/null >/dev/null 2>&1

if [ -n "${MOSAIKA_SCREENSHOT:-}" ]; then
  # The program's own notes (Wine's, ALSA's) go to a log, not to the screen.
  wine "$program" "$@" </dev/null >"$world/run.log" 2>&1 &
  run=$!
  sleep "${MOSAIKA_SCREENSHOT_AFTER:-4}"
  import -display "$DISPLAY" -window root "$MOSAIKA_SCREENSHOT" || exit $?
  # The programs of this world that are not Wine's own: the one started here
  # and those it started (the saver's renderer).
  programs_running() {
    local environ
    kill -0 "$run" 2>/dev/null && return 0
    for environ in $(grep -lsaxz "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ); do
      case "$(tr '\0' ' ' 2>/dev/null <"${environ%/environ}/cmdline")" in
        [Cc]:\\windows\\*) ;;
        *.[Ee][Xx][Ee]*|*.[Ss][Cc][Rr]*|*.[Dd][Ll][Ll]*) return 0 ;;
      esac
    done
    return 1
  }
  # Ended as a user ends it, with Esc; the world goes only after its programs.
  xdotool key Escape
  for _ in $(seq 100); do programs_running || break; sleep 0.1; done
  if programs_running; then
    echo "wine-run: $program did not end after Esc (its output: $world/run.log)" >&2
    exit 1
  fi
  wait "$run"
  exit $?
fi
# A test program (*_test.exe) prints before it does anything else. On a busy
# machine Wine has, rarely, failed to start one at all: it ended at once,
# with an error and nothing printed. Such a run never reached a test, so it
# is started once more; any run that printed counts as it ended.
case "$program" in
  *_test.exe) ;;
  *) timeout "${MOSAIKA_RUN_TIMEOUT:-300}" wine "$program" "$@"; exit $? ;;
esac
output="$world/test-output.txt"
for attempt in 1 2; do
  timeout "${MOSAIKA_RUN_TIMEOUT:-300}" wine "$program" "$@" >"$output"
  status=$?
  cat "$output"
  { [ "$status" -ne 0 ] && [ ! -s "$output" ] && [ "$attempt" = 1 ]; } || break
  echo "wine-run: $program ended with $status before printing anything; starting it again" >&2
done
exit "$status"
