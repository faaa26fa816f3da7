#!/usr/bin/env bash
# End to end: the real ondav.exe under Xvfb and Wine, fed by the virtual
# microphone (441 Hz on the left, 1000 Hz on the right). A measurement is
# started from the menu, stopped, saved with the file dialog; the .osc must
# hold the played signal, and leaving writes the settings file.
# Usage: e2e_capture.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/x86_64}" && pwd)
exe=$build/dist/ondav.exe
[ -f "$exe" ] || { echo "no $exe" >&2; exit 1; }
work=$build/tests/e2e-capture$([ "${ONDAV_WOW64:-0}" = 1 ] && echo -wow64 || true)   # twins run side by side
rm -rf "$work"; mkdir -p "$work"

source "$root/tests/e2e/lib.sh"
source "$root/scripts/vmic.sh"
ondav_vmic "$work" 441 0.5 1000 0.25 30

pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  true
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; import -window root "$work/failure.png" 2>/dev/null || true; exit 1; }

"$ONDAV_WINE" "$exe" >"$work/ondav.log" 2>&1 &
pid=$!
win=$(ondav_wait_window ' - Ondavis$' 30) || fail "the main window did not open"
wait_splash_gone $pid || fail "the splash did not go"
if xdotool search --onlyvisible --name "^Ouverture de l'interface audio" >/dev/null 2>&1; then
  fail "the sound interface could not be opened"
fi

xdotool windowfocus --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
sleep 0.5
xdotool key alt+m; sleep 0.5; xdotool key Return   # Mesure > Marche
sleep 4                                             # a few frames
xdotool key alt+m; sleep 0.5; xdotool key Down Return   # Mesure > Arrêt
sleep 1

osc=$work/capture.osc
xdotool key ctrl+s
dlg=$(ondav_wait_window '^Enregistrer' 10) || fail "no save dialog"
sleep 1
xdotool type --delay 20 "$(winpath "$osc")"
xdotool key Return
for _ in $(seq 1 40); do [ -f "$osc" ] && break; sleep 0.25; done
[ -f "$osc" ] || fail "nothing saved"
sleep 1

xdotool windowfocus "$win" 2>/dev/null || true
xdotool key alt+F4
for _ in $(seq 1 40); do kill -0 "$pid" 2>/dev/null || break; sleep 0.25; done
kill -0 "$pid" 2>/dev/null && fail "ondav.exe did not leave"
pid=""

ini="$WINEPREFIX/drive_c/windows/ondav.ini"
[ "$(stat -c %s "$ini")" = 48 ] || fail "the settings file is not 48 bytes"

python3 - "$osc" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
assert len(data) == 4 * 4011 * 4, f"size {len(data)}"
n = 4011
right, left, sums, diff = (struct.unpack_from(f'<{n}i', data, 4 * n * k) for k in range(4))
def freq(x):
    # Quantiles, not extremes: the resampler rings where the microphone skips.
    q = sorted(x); lo, hi = q[len(q) // 200], q[-1 - len(q) // 200]
    mid = (lo + hi) / 2; hyst = (hi - lo) / 8
    last, low, periods = None, False, []
    for i, v in enumerate(x):
        if v < mid - hyst: low = True
        elif low and v >= mid:
            low = False
            if last is not None: periods.append(i - last)
            last = i
    periods.sort()
    return 44100 / periods[len(periods) // 2], lo, hi
fl, ll, lh = freq(left[:4000]); fr, rl, rh = freq(right[:4000])
print(f"left {fl:.1f} Hz {ll}..{lh}, right {fr:.1f} Hz {rl}..{rh}")
assert abs(fl - 441) < 5 and abs(lh - 65) <= 3 and abs(ll + 63) <= 3, "left channel"
assert abs(fr - 1000) < 25 and abs(rh - 33) <= 3 and abs(rl + 31) <= 3, "right channel"
bad = sum(1 for i in range(4000) if sums[i] != right[i] + left[i] or diff[i] != right[i] - left[i])
assert bad == 0, f"{bad} samples with a wrong sum or difference"
print("the saved ondagramme holds the captured signal")
PY
echo "PASS"
