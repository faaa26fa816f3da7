#!/usr/bin/env bash
# Speed figures: the hot paths of the instrument, and start-up to the first
# painted main window, under Wine on this machine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" x86_64
source "$root/scripts/xvfb.sh"
source "$root/scripts/wine-env.sh"
ondav_start_xvfb
ondav_ensure_prefix
wineserver -p 30
"$ONDAV_WINE" "$root/build/x86_64/bench/ondav_bench.exe"
# Start-up: from launching ondav.exe to its main window being shown (median of 5).
times=()
for i in 1 2 3 4 5; do
  t0=$(date +%s%N)
  "$ONDAV_WINE" "$root/build/x86_64/dist/ondav.exe" >/dev/null 2>&1 &
  pid=$!
  until xdotool search --onlyvisible --name '^(Sans titre - Ondavis|Ouverture de l.interface audio.)$' >/dev/null 2>&1; do sleep 0.02; done
  t1=$(date +%s%N)
  times+=($(( (t1 - t0) / 1000000 )))
  kill $pid 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  wineserver -p 30
  sleep 1
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p)
echo "| start-up to the main window (median of 5 runs) | ${median} ms |"
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(wine --version 2>/dev/null | head -1)"
wineserver -k 2>/dev/null || true
