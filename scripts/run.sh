#!/usr/bin/env bash
# Runs Ondavis: installs what is missing, builds the program that ships (i686)
# and starts it under the 32-bit Wine loader (ONDAV_ARCH=x86_64 runs the
# 64-bit build instead). Without a display it uses a private Xvfb for a few
# seconds and writes a screenshot.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export ONDAV_ARCH=${ONDAV_ARCH:-i686}
"$root/scripts/deps.sh"
"$root/scripts/build.sh" "$ONDAV_ARCH" ondav
source "$root/scripts/wine-env.sh"
ondav_ensure_prefix
exe="$root/build/$ONDAV_ARCH/dist/ondav.exe"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$ONDAV_WINE" "$exe" "$@"
fi
source "$root/scripts/xvfb.sh"
source "$root/scripts/vmic.sh"
ondav_start_xvfb
# A private display has no sound card either: a virtual microphone plays two
# sines, and a click on the scope screen starts a measurement.
ondav_vmic "$root/build/vmic" 441 0.5 1000 0.25 60
"$ONDAV_WINE" "$exe" "$@" &
pid=$!
for _ in $(seq 1 100); do
  xdotool search --onlyvisible --name ' - Ondavis$' >/dev/null 2>&1 && break
  sleep 0.2
done
sleep 2                      # the splash goes after 1.5 s
xdotool mousemove 300 300 click 1
sleep "${ONDAV_RUN_SECONDS:-4}"
shot="$root/build/ondav-screenshot.png"
import -window root "$shot"
kill $pid 2>/dev/null || true
wineserver -k 2>/dev/null || true
echo "Screenshot: $shot"
