#!/usr/bin/env bash
# Makes the README pictures in docs/ from the example recordings that ship
# (dist/exemples/): their level pages and the scope at 5 ms rendered by
# display_render, and screenshots of ondav.exe under Xvfb opened on each.
# Needs the targets display_render and ondav of ONDAV_ARCH (default i686,
# what ships) built.
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
cd "$root"
export ONDAV_ARCH=${ONDAV_ARCH:-i686}
build=$root/build/$ONDAV_ARCH
examples=$build/dist/exemples
out=$build/pictures
mkdir -p "$out" docs

source scripts/xvfb.sh
ondav_start_xvfb
source tests/e2e/lib.sh   # our own prefix: wineserver -k below stops only it
ondav_window_manager no
"$ONDAV_WINE" "$build/tests/display_render.exe" "$(winpath "$out")" \
  "$(winpath "$examples/sinus.osc")" "$(winpath "$examples/carre.osc")" "$(winpath "$examples/silence.osc")"
for name in sinus carre silence; do
  convert "$out/$name-vu.bmp" "docs/vu-$name.png"
  convert "$out/$name-bar.bmp" "docs/bar-$name.png"
done
convert "$out/sinus-scope-5ms.bmp" docs/scope-sinus-5ms.png

for name in sinus carre silence; do
  "$ONDAV_WINE" "$build/dist/ondav.exe" "$(winpath "$examples/$name.osc")" >/dev/null 2>&1 &
  pid=$!
  win=$(wait_main_window "$name.osc - Ondavis" 30) || { echo "no window for $name" >&2; kill $pid; exit 1; }
  wait_splash_gone $pid || true
  xdotool windowmove "$win" 0 0 windowsize "$win" 830 720
  sleep 1   # the page is repainted at the new size
  import -window "$win" "docs/ondav-$name.png"
  kill $pid 2>/dev/null || true
  wineserver -k 2>/dev/null || true
done
ls -l docs/*.png
