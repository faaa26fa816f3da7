#!/usr/bin/env bash
# Runs Ondavis: installs what is missing, builds, starts ondav.exe under Wine.
# Without a display it uses a private Xvfb for a few seconds and writes a screenshot.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" x86_64
source "$root/scripts/wine-env.sh"
ondav_ensure_prefix
exe="$root/build/x86_64/dist/ondav.exe"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$ONDAV_WINE" "$exe" "$@"
fi
source "$root/scripts/xvfb.sh"
ondav_start_xvfb
"$ONDAV_WINE" "$exe" "$@" &
pid=$!
sleep "${ONDAV_RUN_SECONDS:-6}"
shot="$root/build/ondav-screenshot.png"
import -window root "$shot"
kill $pid 2>/dev/null || true
wineserver -k 2>/dev/null || true
echo "Screenshot: $shot"
