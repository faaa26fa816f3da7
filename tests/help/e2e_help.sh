#!/usr/bin/env bash
# End to end: the help of the real ondav.exe under Xvfb and Wine, with the
# virtual microphone so that a measurement runs. "Rubriques de l'aide" opens
# the help window beside the program; the measurement keeps running while it
# is open; F1 on a highlighted menu item opens that command's topic; Shift+F1
# (or the toolbar's help button) then a click on a toolbar button, a panel box
# or the scope screen opens its topic and changes nothing.
# Usage: e2e_help.sh BUILD_DIR [DOCS_DIR]   (DOCS_DIR: where to keep the help's pictures)
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/x86_64}" && pwd)
docs=${2:-}
exe=$build/dist/ondav.exe
[ -f "$exe" ] || { echo "no $exe" >&2; exit 1; }
work=$build/tests/e2e-help
rm -rf "$work"; mkdir -p "$work"
export ONDAV_SOURCE_DIR=${ONDAV_SOURCE_DIR:-$root}
ARTIFACTS=$work
source "$root/tests/e2e/lib.sh"
source "$root/scripts/vmic.sh"
ondav_vmic "$work" 441 0.5 1000 0.25 90

pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  [ -n "${ONDAV_XVFB_PID:-}" ] && kill "$ONDAV_XVFB_PID" 2>/dev/null
  true
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; shot failure; exit 1; }
passed=0
ok() { pass "$*"; passed=$((passed + 1)); }

# Pixels of a screenshot: "pixel FILE X Y" prints R,G,B; "same FILE1 FILE2 X Y W H"
# tells whether a region is identical in both.
cat > "$work/pixels.py" <<'PY'
import subprocess, sys
def load(path):
    data = subprocess.run(["convert", path, "ppm:-"], capture_output=True, check=True).stdout
    magic, size, depth, rest = data.split(b"\n", 3)
    w, h = map(int, size.split())
    return w, rest
def pixel(img, x, y):
    w, px = img
    i = 3 * (y * w + x)
    return tuple(px[i:i + 3])
cmd = sys.argv[1]
if cmd == "pixel":
    print("%d,%d,%d" % pixel(load(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])))
elif cmd == "same":
    a, b = load(sys.argv[2]), load(sys.argv[3])
    x, y, w, h = map(int, sys.argv[4:8])
    diff = sum(pixel(a, i, j) != pixel(b, i, j) for j in range(y, y + h) for i in range(x, x + w))
    print(diff)
elif cmd == "origin":
    # The lit box of the offset layout (page 572,22 - red) gives the page's place.
    img = load(sys.argv[2])
    for j in range(80, 300):
        for i in range(540, 640):
            if pixel(img, i, j) == (255, 0, 0):
                print(i - 572, j - 22)
                sys.exit(0)
    sys.exit(1)
PY
px() { python3 "$work/pixels.py" "$@"; }

# page X Y: the screen point of a point of the view's 800 x 600 page.
page() { echo $((ox + $1)) $((oy + $2)); }
click_page() { xdotool mousemove $(page "$1" "$2") click "${3:-1}"; }
# The page point's colour now.
colour_at() { shot probe; px pixel "$work/probe.png" $(page "$1" "$2"); }
scope_changes() {   # seconds -> number of pixels of the scope screen that changed
  shot scope-a; sleep "$1"; shot scope-b
  px same "$work/scope-a.png" "$work/scope-b.png" $(page 24 24) 490 390
}
help_title() { xdotool search --onlyvisible --name "^Aide de l'Ondavis - " getwindowname 2>/dev/null | head -n 1; }
wait_help() {   # title pattern after "Aide de l'Ondavis - "
  local i
  for i in $(seq 1 50); do
    help_title | grep -q -- "$1" && return 0
    sleep 0.2
  done
  echo "help window: '$(help_title)'"
  return 1
}
keep() {   # NAME: the help window's picture, for the README
  [ -n "$docs" ] || return 0
  local id geo
  id=$(xdotool search --onlyvisible --name "^Aide de l'Ondavis - " | head -n 1)
  eval "$(xdotool getwindowgeometry --shell "$id")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$docs/$1.png"
}
# With no window manager, a click on the main window's caption makes it active.
focus_main() { xdotool mousemove 400 8 click 1; sleep 0.5; }

"$ONDAV_WINE" "$exe" >"$work/ondav.log" 2>&1 &
pid=$!
win=$(wait_window "Sans titre - Ondavis" 60) || fail "the main window did not open"
wait_splash_gone $pid || fail "the splash did not go"
xdotool search --onlyvisible --name "^Ouverture de l'interface audio" >/dev/null 2>&1 &&
  fail "the virtual microphone could not be opened"
shot start
read -r ox oy < <(px origin "$work/start.png") || fail "the settings panel is not on screen"
echo "page origin on screen: $ox,$oy"
YELLOW=255,255,0 BLUE=0,0,255

# --- a measurement runs (a left click on the screen), then the help opens from ? > Rubriques de l'aide
click_page 270 220
sleep 3
[ "$(scope_changes 2.5)" -gt 200 ] || fail "the measurement does not run"
focus_main
xdotool key F10 Right Right Down Return
wait_help "Bienvenue dans l'Ondavis" || fail "? > Rubriques de l'aide did not open the help on its contents"
ok "? > Rubriques de l'aide opens the help window"
sleep 1
shot help-contents
keep aide-sommaire
hx=$(xdotool search --onlyvisible --name "^Aide de l'Ondavis - " | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$hx")"
[ "$X" -ge 790 ] || fail "the help window covers the main window (x = $X)"
ok "beside the main window, at x = $X"
changed=$(scope_changes 2.5)
[ "$changed" -gt 200 ] || fail "the measurement stopped while the help is open ($changed pixels changed)"
ok "the measurement keeps running while the help is open ($changed pixels of the screen changed)"

# --- F1 on a highlighted menu item: Réglages > Base de Temps > 20 ms.
focus_main
xdotool key F10 Right Right Right Right Right Down Right Down
sleep 0.6
shot menu-20ms
xdotool key F1
wait_help "Base de Temps > 20 ms" || fail "F1 on 20 ms. did not open its topic"
sleep 0.5
[ "$(colour_at 577 227)" = $YELLOW ] && [ "$(colour_at 577 147)" != $YELLOW ] ||
  fail "F1 in the menu changed the time base"
ok "F1 on the highlighted 'Base de Temps > 20 ms.' opens its topic and runs nothing"
keep aide-menu-f1

# --- Shift+F1 only enters help mode (no topic, the keys stay); Escape leaves it
focus_main
before=$(help_title)
xdotool key shift+F1
sleep 1
[ "$(help_title)" = "$before" ] || fail "Shift+F1 opened a topic before any click"
xdotool key Escape
sleep 0.3
xdotool mousemove $(page 458 -20) click 1
sleep 0.8
[ "$(colour_at 577 407)" = $BLUE ] || fail "Escape did not leave help mode (the X 5 button did not act)"
xdotool mousemove $(page 406 -20) click 1
sleep 0.8
ok "Shift+F1 only enters help mode, Escape leaves it"

# --- Shift+F1, then a toolbar button: X 5
focus_main
xdotool key shift+F1
sleep 0.5
xdotool mousemove $(page 458 -20) click 1
wait_help "Amplification Vert. > X 5" || fail "Shift+F1 then the X 5 button did not open its topic"
sleep 0.5
[ "$(colour_at 577 367)" = $BLUE ] && [ "$(colour_at 577 407)" != $BLUE ] ||
  fail "the X 5 button acted in help mode"
ok "Shift+F1, toolbar button X 5: its topic, the gain stays x1"

# --- the toolbar's help button, then a panel box: 0.2 ms
focus_main
xdotool mousemove $(page 183 -20) click 1
sleep 0.5
click_page 575 265
wait_help "Cases de base de temps" || fail "the help button then the 0.2 ms box did not open its topic"
sleep 0.5
[ "$(colour_at 577 227)" = $YELLOW ] && [ "$(colour_at 577 267)" != $YELLOW ] ||
  fail "the 0.2 ms box acted in help mode"
ok "help button, panel box 0.2 ms: its topic, the time base stays 1 ms"
keep aide-panneau

# --- stopped, then Shift+F1 and the scope screen: its topic, and no measurement starts
click_page 270 220 3
sleep 2
[ "$(scope_changes 2)" -eq 0 ] || fail "the right click did not stop the measurement"
focus_main
xdotool key shift+F1
sleep 0.5
click_page 270 220
wait_help "cran de l'oscilloscope" || fail "Shift+F1 then the scope screen did not open its topic"
changed=$(scope_changes 3)
[ "$changed" -eq 0 ] || fail "the click on the screen started a measurement in help mode ($changed pixels changed)"
ok "Shift+F1, scope screen: its topic, no measurement started"

# --- the help goes with the program
focus_main
xdotool key alt+F4
answer_box Ondavis n 10
wait_exit $pid 20 || fail "the program did not end"
pid=""
[ -z "$(help_title)" ] || fail "the help window outlived the program"
ok "the help window closes with the program"
echo "$passed passed, 0 failed"
