#!/usr/bin/env bash
# Runs Ondavis: installs what is missing, builds the program that ships (i686)
# and starts it under the 32-bit Wine loader (ONDAV_ARCH=x86_64 runs the
# 64-bit build instead). Arguments go to the program; a Linux file name is
# given as its Windows name (winepath). On a desktop the program's windows
# are the window manager's; without a display it runs a few seconds on a
# private Xvfb (no window manager there) and writes a screenshot: a document
# given is shown, otherwise a measurement of a virtual microphone.
# ONDAV_RUN_NOBUILD=1 runs what is built (in ONDAV_BUILD_DIR, default
# build/ARCH) without installing or building.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export ONDAV_ARCH=${ONDAV_ARCH:-i686}
if [ "${ONDAV_RUN_NOBUILD:-0}" != 1 ]; then
  "$root/scripts/deps.sh"
  "$root/scripts/build.sh" "$ONDAV_ARCH" ondav
fi
source "$root/scripts/wine-env.sh"
ondav_ensure_prefix
exe="${ONDAV_BUILD_DIR:-$root/build/$ONDAV_ARCH}/dist/ondav.exe"

# Switches (/p, /pt...) and Windows names pass as they are; anything else
# with a slash after its first character, or naming an existing file, is a
# Linux name.
args=()
document=
for a in "$@"; do
  if [[ $a != [A-Za-z]:* ]] && { [ -e "$a" ] || [[ ${a:1} == */* ]]; }; then
    a=$("$ONDAV_WINE" winepath -w "$a" 2>/dev/null | tr -d '\r')
  fi
  [[ $a == [/-]* ]] || document=$a
  args+=("$a")
done

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  ondav_window_manager yes
  exec "$ONDAV_WINE" "$exe" "${args[@]}"
fi
source "$root/scripts/xvfb.sh"
source "$root/scripts/vmic.sh"
ondav_start_xvfb
ondav_window_manager no
# A private display has no sound card either: a virtual microphone plays two
# sines (441 Hz and 1 kHz).
ondav_vmic "$root/build/vmic" 441 0.5 1000 0.25 60
"$ONDAV_WINE" "$exe" "${args[@]}" &
pid=$!
title=
for _ in $(seq 1 150); do
  title=$(xdotool search --onlyvisible --name ' - Ondavis$' getwindowname 2>/dev/null | head -n 1) && [ -n "$title" ] && break
  kill -0 $pid 2>/dev/null || break
  sleep 0.2
done
# The splash goes 1.5 s after the start; then, with no document, a click on
# the scope screen starts a measurement.
sleep 2
[ -n "$document" ] || xdotool mousemove 300 300 click 1
sleep "${ONDAV_RUN_SECONDS:-4}"
shot="$root/build/ondav-screenshot.png"
import -window root "$shot"
kill $pid 2>/dev/null || true
wineserver -k 2>/dev/null || true
echo "Window: ${title:-none}"
echo "Screenshot: $shot"
