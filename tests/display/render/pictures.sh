#!/usr/bin/env bash
# Makes the README pictures in docs/: the level pages rendered from three
# frames, and screenshots of ondav.exe under Xvfb opened on the same frames.
# Needs the x86_64 targets display_render and ondav built.
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
cd "$root"
out=$root/build/x86_64/pictures
mkdir -p "$out" docs
winpath() { echo "Z:${1//\//\\}"; }

source scripts/xvfb.sh
source scripts/wine-env.sh   # our own prefix: wineserver -k below stops only it
ondav_start_xvfb
scripts/wine-run.sh build/x86_64/tests/display_render.exe "$(winpath "$out")"
for name in sinus carre silence; do
  convert "$out/$name-vu.bmp" "docs/vu-$name.png"
  convert "$out/$name-bar.bmp" "docs/bar-$name.png"
done
convert "$out/sinus-scope.bmp" docs/scope-sinus-5ms.png

for name in sinus carre silence; do
  scripts/wine-run.sh build/x86_64/dist/ondav.exe "$(winpath "$out/$name.osc")" >/dev/null 2>&1 &
  pid=$!
  win=""
  for _ in $(seq 1 60); do
    win=$(xdotool search --name "^$name.osc - Ondavis" 2>/dev/null | head -1 || true)
    [ -n "$win" ] && break
    sleep 0.5
  done
  [ -n "$win" ] || { echo "no window for $name" >&2; kill $pid; exit 1; }
  xdotool windowmove "$win" 0 0 windowsize "$win" 830 720
  sleep 7   # the splash closes and the page is repainted at the new size
  import -window "$win" "docs/ondav-$name.png"
  kill $pid 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  sleep 1
done
ls -l docs/*.png
