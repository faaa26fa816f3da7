#!/usr/bin/env bash
# Printing on a real printer: a private CUPS server whose queue writes each job
# to a file. The real ondav.exe prints a crafted document with the shell's
# print switch /p, and a running measurement through Ctrl+P and the print
# dialog; the in-process suite prints through the dialog and records the print
# preview. Each page is rendered with Ghostscript and checked.
# Usage: print_e2e.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
exe=$build/dist/ondav.exe
work=$build/tests/print$([ "${ONDAV_WOW64:-0}" = 1 ] && echo -wow64 || true)   # twins run side by side
rm -rf "$work"; mkdir -p "$work"

# Its prefix is its own (every test has one): Wine takes the printers in when
# its server starts, and this check stops that server.
source "$root/tests/e2e/lib.sh"
source "$root/scripts/vmic.sh"
source "$root/scripts/cups.sh"

pid=""
cleanup() {
  local rc=$?
  set +e
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  ondav_stop_cups
  wineserver -k 2>/dev/null
  exit $rc
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; import -window root "$work/failure.png" 2>/dev/null || true; exit 1; }
pass() { echo "ok: $*"; }

ondav_start_cups "$work/cups" || fail "the private CUPS server did not start"
jobs=$work/cups/jobs
pass "private CUPS server on $CUPS_SERVER, queue $(lpstat -d | sed 's/.*: //')"
wineserver -k 2>/dev/null || true   # so that Wine starts with the printer

# A document with two constant channels: right +30, left -25, named in three
# scripts: the shell's /p must reach it by its exact name.
osc=$work/crafté-Ω-波.osc
python3 - "$osc" <<'PY'
import struct, sys
right, left = [30] * 4000 + [0] * 11, [-25] * 4000 + [0] * 11
blocks = (right, left, [r + l for r, l in zip(right, left)], [r - l for r, l in zip(right, left)])
open(sys.argv[1], "wb").write(b"".join(struct.pack("<4011i", *b) for b in blocks))
PY

# wait_job N: waits for the N-th job file and renders it to job-N.png.
wait_job() {
  local n=$1 f i
  f=$jobs/job-$(printf %03d "$n").ps
  for i in $(seq 1 150); do [ -f "$f" ] && break; sleep 0.2; done
  [ -f "$f" ] || return 1
  gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r300 -sOutputFile="$work/job-$n.png" "$f" || return 1
}

# A sound card playing two constant levels: left byte 102 (-25), right 157 (+30).
ondav_vmic "$work/vmic" 0 -0.2031 0 0.2266 60

# --- 1. The shell's print switch: no dialog, one page, then the program ends.
"$ONDAV_WINE" "$exe" /p "$(winpath "$osc")" >"$work/p.log" 2>&1 &
pid=$!
wait_job 1 || fail "no job from /p"
for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$pid" 2>/dev/null && fail "ondav.exe /p did not end after printing"
pid=""
pass "/p printed $(stat -c %s "$jobs/job-001.ps") bytes of PostScript and ended"
python3 "$root/tests/print/check_page.py" "$work/job-1.png" 75 75 || fail "the page printed by /p"

# --- 2. A running program: a measurement of two constant levels, then Ctrl+P.
"$ONDAV_WINE" "$exe" >"$work/run.log" 2>&1 &
pid=$!
win=$(wait_window 'Sans titre - Ondavis' 60) || fail "the main window did not open"
wait_splash_gone $pid || fail "the splash did not go"
xdotool search --onlyvisible --name "^Ouverture de l'interface audio" >/dev/null 2>&1 && fail "no sound device"
import -window root "$work/before.png"
xdotool windowfocus --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
xdotool mousemove 300 300 click 1                # the scope screen starts a measurement
sleep 3
xdotool key ctrl+p
dlg=$(wait_window Imprimer 20) || fail "no print dialog"
import -window root "$work/print-dialog.png"
xdotool windowfocus --sync "$dlg" 2>/dev/null || true
sleep 0.5
xdotool key Return
wait_job 2 || fail "no job from Ctrl+P"
pass "Ctrl+P and OK printed $(stat -c %s "$jobs/job-002.ps") bytes"
python3 "$root/tests/print/check_page.py" "$work/job-2.png" 75 75 || fail "the page printed by Ctrl+P"
sleep 1.5
import -window root "$work/after.png"
# Back on the screen: the panel stands where it stood before the measurement.
python3 - "$work/before.png" "$work/after.png" <<'PY' || fail "the view did not come back to the screen page"
import subprocess, sys
def crop(p):   # the settings panel of the view, in root coordinates
    return subprocess.run(["convert", p, "-crop", "200x330+575+100", "ppm:-"], check=True, capture_output=True).stdout
a, b = crop(sys.argv[1]), crop(sys.argv[2])
same = sum(x == y for x, y in zip(a, b)) / max(len(a), 1)
print(f"panel after printing matches the panel before: {same:.4f}")
sys.exit(0 if same > 0.99 else 1)
PY
pass "after printing the view shows the scope page at screen size"
xdotool windowfocus "$win" 2>/dev/null || true
xdotool key alt+F4
for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
kill "$pid" 2>/dev/null || true
pid=""

# --- 3. In process: the print stops the measurement and leaves the screen
# page; the preview records the page that is printed.
export ONDAV_PRINT_WORK=$work ALSA_CONFIG_PATH
"$ONDAV_WINE" "$build/tests/print_tests.exe" || fail "print_tests"
wait_job 3 || fail "no job from the in-process print"
python3 "$root/tests/print/check_page.py" "$work/job-3.png" 75 75 || fail "the page printed in process"
python3 "$root/tests/print/check_page.py" "$work/preview.bmp" 0 0 || fail "the page of the print preview"

# --- 4. A queue that refuses the job: the failed print is said in French.
cupsreject ondavfile || fail "cupsreject"
"$ONDAV_WINE" "$exe" /p "$(winpath "$osc")" >"$work/refused.log" 2>&1 &
pid=$!
box=$(wait_window '^Ondavis$' 40) || fail "a print the queue refused was not reported"
import -window root "$work/refused.png" 2>/dev/null || true
xdotool windowactivate --sync "$box" 2>/dev/null || xdotool windowfocus "$box" 2>/dev/null || true
xdotool key Return
for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$pid" 2>/dev/null && fail "ondav.exe /p did not end after the refused print"
pid=""
pass "a print the queue refused is reported"
pass "printing checked on $(basename "$build")"
