#!/usr/bin/env bash
# The real ondav.exe's toolbar moved with the mouse: dragged by its gripper to
# each side of the frame and away from them (floating), hidden and shown while
# floating, docked back by a double click on its window's caption. After each
# move the rectangles of the toolbar, the view and the status bar are read
# through Win32 (wininfo.exe) and checked.
# Usage: toolbar.sh DIST_DIR WININFO_EXE ARTIFACTS_DIR
source "$(dirname "$0")/lib.sh"
DIST=$1
WININFO=$2
ARTIFACTS=$3
mkdir -p "$ARTIFACTS"
pid=
trap '[ -n "$pid" ] && kill $pid 2>/dev/null' EXIT
TITLE="Sans titre - Ondavis"

# rect NAME: "V L T R B" of the window NAME in the last reading.
INFO=
read_info() { INFO=$("$ONDAV_WINE" "$WININFO" "$TITLE" 2>/dev/null | tr -d '\r'); }
rect() { echo "$INFO" | awk -v n="$1" '$1 == n && ($1 != "float" || $7 != "") { print $2, $3, $4, $5, $6; exit }'; }
client() { echo "$INFO" | awk '$1 == "client" { print $2, $3, $4, $5; exit }'; }

# still_shot NAME: a screenshot with the pointer out of the way (no tooltip).
still_shot() { xdotool mousemove 1200 1000; sleep 0.8; shot "$1"; }

# expect WHAT COND: fails with the last reading when the shell test COND is false.
expect() {
  local what=$1; shift
  if ! eval "$@"; then echo "$INFO"; shot "fail-${what// /-}"; fail "$what"; fi
}

# drag X0 Y0 X1 Y1: button down at the first point, moved in steps, released at the second.
drag() {
  local i
  xdotool mousemove "$1" "$2" mousedown 1
  sleep 0.3
  for i in 1 2 3 4; do
    xdotool mousemove $(( $1 + ($3 - $1) * i / 4 )) $(( $2 + ($4 - $2) * i / 4 ))
    sleep 0.15
  done
  xdotool mouseup 1
  sleep 1
  read_info
}

# The gripper of the docked toolbar: across its first pixels.
grip() {
  local v l t r b
  read -r v l t r b <<<"$(rect toolbar)"
  if (( r - l > b - t )); then echo $(( l + 4 )) $(( (t + b) / 2 )); else echo $(( (l + r) / 2 )) $(( t + 4 )); fi
}

# The toolbar docked on SIDE: against that edge of the area the status bar
# leaves, the view beside it taking the rest.
check_docked() {
  local side=$1 cl ct cr cb v l t r b vv vl vt vr vb sv sl st sr sb
  read -r cl ct cr cb <<<"$(client)"
  read -r v l t r b <<<"$(rect toolbar)"
  read -r vv vl vt vr vb <<<"$(rect view)"
  read -r sv sl st sr sb <<<"$(rect status)"
  expect "toolbar shown on the $side" '[ "$v" = 1 ]'
  expect "status bar still at the bottom" '[ "$sb" = "$cb" ] && [ "$sl" = "$cl" ] && [ "$sr" = "$cr" ]'
  case $side in
    top)    expect "toolbar across the top" '[ $t = $ct ] && [ $l = $cl ] && [ $r = $cr ] && (( r - l > b - t ))'
            expect "view below the toolbar" '[ $vt = $b ] && [ $vb = $st ] && [ $vl = $cl ] && [ $vr = $cr ]' ;;
    bottom) expect "toolbar across the bottom, above the status bar" '[ $b = $st ] && [ $l = $cl ] && [ $r = $cr ] && (( r - l > b - t ))'
            expect "view above the toolbar" '[ $vt = $ct ] && [ $vb = $t ] && [ $vl = $cl ] && [ $vr = $cr ]' ;;
    left)   expect "toolbar down the left side" '[ $l = $cl ] && [ $t = $ct ] && [ $b = $st ] && (( b - t > r - l ))'
            expect "view right of the toolbar" '[ $vl = $r ] && [ $vr = $cr ] && [ $vt = $ct ] && [ $vb = $st ]' ;;
    right)  expect "toolbar down the right side" '[ $r = $cr ] && [ $t = $ct ] && [ $b = $st ] && (( b - t > r - l ))'
            expect "view left of the toolbar" '[ $vr = $l ] && [ $vl = $cl ] && [ $vt = $ct ] && [ $vb = $st ]' ;;
  esac
  [ -z "$(rect float)" ] || expect "no floating window on screen" '[ "$(rect float | cut -d" " -f1)" = 0 ]'
  pass "docked on the $side"
}

# The toolbar floating: its window titled "Barre d'outils" holds it, the view
# takes the whole area above the status bar.
check_floating() {
  local cl ct cr cb fv fl ft fr fb v l t r b vv vl vt vr vb sv sl st sr sb
  read -r cl ct cr cb <<<"$(client)"
  read -r fv fl ft fr fb <<<"$(rect float)"
  read -r v l t r b <<<"$(rect toolbar)"
  read -r vv vl vt vr vb <<<"$(rect view)"
  read -r sv sl st sr sb <<<"$(rect status)"
  expect "a floating window titled Barre d'outils" 'echo "$INFO" | grep -q "^float 1 .* Barre d.outils$"'
  expect "toolbar inside its floating window" '[ "$v" = 1 ] && (( l >= fl && r <= fr && t > ft && b <= fb ))'
  expect "a small window, several rows" '(( fr - fl < 400 && b - t > 2 * 30 ))'
  expect "view over the whole area" '[ $vl = $cl ] && [ $vr = $cr ] && [ $vt = $ct ] && [ $vb = $st ]'
  expect "the main window still the one in use" 'echo "$INFO" | grep -q "^foreground $TITLE\$"'
  pass "floating at $fl,$ft"
}

"$ONDAV_WINE" "$DIST/ondav.exe" &
pid=$!
wait_main_window "$TITLE" >/dev/null || fail "no main window"
wait_splash_gone $pid || fail "the splash did not go"
read_info
check_docked top

# Away from the edges: floating; from there by its caption to each side.
drag $(grip) 400 300
check_floating
still_shot toolbar-floating
read -r fv fl ft fr fb <<<"$(rect float)"
# The pointer resting on a floating button: its tip shows beside it.
read -r v l t r b <<<"$(rect toolbar)"
xdotool mousemove $(( l + 14 )) $(( t + 16 ))
sleep 0.3
xdotool mousemove $(( l + 16 )) $(( t + 17 ))
sleep 1.5
read_info
tipline=$(echo "$INFO" | awk '$1 == "tip" { print $2, $3, $4, $5; exit }')
[ -n "$tipline" ] || { shot fail-no-tip; fail "a tip over a floating button"; }
shot toolbar-floating-tip
pass "tip over a floating button"
xdotool mousemove 1200 1000
sleep 0.5
caption_y=$(( ft + 8 ))
read -r cl ct cr cb <<<"$(client)"
drag $(( fl + 40 )) $caption_y $(( cl + 6 )) 300
check_docked left
still_shot toolbar-left
drag $(grip) $(( cr - 6 )) 300
check_docked right
still_shot toolbar-right
drag $(grip) 400 $(( cb - 25 ))
check_docked bottom
still_shot toolbar-bottom
drag $(grip) 400 $(( ct + 4 ))
check_docked top

# Hidden and shown while floating, by the view menu (command 59392).
drag $(grip) 300 250
check_floating
xdotool key alt+a
sleep 0.5
xdotool key b
sleep 1
read_info
expect "hidden with its window" '[ "$(rect float | cut -d" " -f1)" = 0 ] && [ "$(rect toolbar | cut -d" " -f1)" = 0 ]'
pass "hidden while floating"
xdotool key alt+a
sleep 0.5
xdotool key b
sleep 1
read_info
check_floating
pass "shown again, still floating"

# A double click on the caption docks it back on the side it left: the top.
read -r fv fl ft fr fb <<<"$(rect float)"
xdotool mousemove $(( fl + 40 )) $(( ft + 8 )) click --repeat 2 --delay 80 1
sleep 1
read_info
check_docked top

xdotool key alt+F4
wait_exit $pid 20 || fail "the program did not end"
pid=
echo "1 passed, 0 failed"
