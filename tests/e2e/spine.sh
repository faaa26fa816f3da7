#!/usr/bin/env bash
# The real ondav.exe: main window, menus, saving, reopening from the command
# line, and a short file refused.
# Usage: spine.sh DIST_DIR ARTIFACTS_DIR
source "$(dirname "$0")/lib.sh"
DIST=$1
ARTIFACTS=$2
mkdir -p "$ARTIFACTS"
WORK=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; rm -rf "$WORK"' EXIT
EXE="$DIST/ondav.exe"

# --- start with no argument
"$ONDAV_WINE" "$EXE" &
pid=$!
nodevice=0
for i in $(seq 1 300); do   # a minute at most: Wine starts slowly on a loaded machine
  if dismiss "Ouverture de l'interface audio."; then nodevice=1; break; fi
  xdotool search --onlyvisible --name "^Sans titre - Ondavis\$" >/dev/null 2>&1 && break
  sleep 0.2
done
win=$(wait_window "Sans titre - Ondavis" 30) || fail "no main window titled 'Sans titre - Ondavis'"
pass "main window 'Sans titre - Ondavis'"
wait_splash_gone $pid || fail "the splash did not go"
geometry=$(xdotool getwindowgeometry "$win")
echo "$geometry"
echo "$geometry" | grep -q "Position: 0,0" || fail "window not at 0,0"
echo "$geometry" | grep -q "Geometry: 800x572" || fail "window not 800x572"
pass "placed at 0,0, 800 x 572"
shot main

# --- a menu opens and closes by keyboard
xdotool windowactivate --sync "$win" 2>/dev/null || true
xdotool key alt+f
sleep 1
shot menu-fichier
xdotool key Escape Escape
sleep 0.5

# --- File/Save on the untitled document asks for a name and writes 64176 zero bytes
xdotool key ctrl+s
dlg=$(wait_window "Enregistrer.*" 15) || { shot no-save-dialog; fail "no save dialog"; }
shot save-dialog
saved="$WORK/essai.osc"
xdotool windowactivate --sync "$dlg" 2>/dev/null || true
sleep 0.5
xdotool key ctrl+a
xdotool type --delay 20 "$(winpath "$saved")"
xdotool key Return
for i in $(seq 1 50); do [ -f "$saved" ] && break; sleep 0.2; done
[ -f "$saved" ] || fail "nothing saved"
size=$(stat -c %s "$saved")
[ "$size" = 64176 ] || fail "saved $size bytes"
cmp -s "$saved" <(head -c 64176 /dev/zero) || fail "saved file not all zero"
pass "saved $saved: 64176 zero bytes"
wait_window "essai.osc - Ondavis" 10 >/dev/null || fail "title did not follow the saved name"
pass "title 'essai.osc - Ondavis'"

# --- quit (nothing modified: no prompt); without a sound card the close of
# the device is reported, and the box waits for its answer
xdotool key alt+F4
if [ $nodevice = 1 ]; then
  box=$(wait_window "Ondavis" 10) || fail "the sound-interface message at exit did not stay on screen"
  sleep 1
  kill -0 $pid 2>/dev/null || fail "the program ended under its own message box"
  shot exit-message
  xdotool windowactivate --sync "$box" 2>/dev/null || true
  xdotool key Return
  pass "the exit message waits for its answer"
fi
wait_exit $pid 20 || fail "the program did not end on Alt+F4"
pass "quit"

# --- reopen from the command line, by a name relative to where it starts
(cd "$WORK" && exec "$ONDAV_WINE" "$EXE" essai.osc) &
pid=$!
wait_main_window "essai.osc - Ondavis" 30 >/dev/null || { shot reopen; fail "the .osc given on the command line did not open"; }
pass "opened from the command line"
sleep 2
shot reopened
xdotool key alt+F4
wait_exit $pid 20 || fail "the program did not end"

# answer_program_box SHOT: the program's own box (after the sound card's box
# on a machine without one), pictured, then answered.
answer_program_box() { answer_box Ondavis Return 20 "$1"; }

# --- a 64175-byte file is refused with a message, and the program ends
short="$WORK/court.osc"
head -c 64175 /dev/zero > "$short"
"$ONDAV_WINE" "$EXE" "$(winpath "$short")" &
pid=$!
answer_program_box short-file || fail "no message for the short file"
wait_exit $pid 20 || fail "the program did not end after refusing the file"
pass "64175-byte file refused"

# --- the shell's print verb: /p prints on the default printer and ends; with
# no printer here, it says so first
"$ONDAV_WINE" "$EXE" /p "$(winpath "$saved")" &
pid=$!
answer_program_box print-switch || fail "no word from a print without printer"
wait_exit $pid 20 || fail "the program did not end after /p"
pass "/p file: printed or reported, then ended"
echo "1 passed, 0 failed"
