#!/usr/bin/env bash
# Accuracy of the measures through the real capture path: the clocked
# microphone (scripts/pulsemic.sh) plays known signals; a real view records
# them in 8 bits at 44 100 Hz as the program does, and the open measures
# window measures every frame (bench/measure_bench.cpp, "live"). For each
# signal the worst error over its frames; then the frame period at « Rapide »
# with the window closed and open, in one run.
# Environment: ONDAV_MEASURE_ARCH (i686), ONDAV_MEASURE_FRAMES (frames per
# signal, 8), ONDAV_MEASURE_OUT (build/measure-bench), ONDAV_BENCH_NOBUILD.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export ONDAV_ARCH=${ONDAV_MEASURE_ARCH:-i686}
frames=${ONDAV_MEASURE_FRAMES:-8}
out=${ONDAV_MEASURE_OUT:-$root/build/measure-bench}
mkdir -p "$out"
[ -n "${ONDAV_BENCH_NOBUILD:-}" ] || "$root/scripts/build.sh" "$ONDAV_ARCH" ondav_measure_bench >/dev/null
bench=$root/build/$ONDAV_ARCH/bench/ondav_measure_bench.exe

export ONDAV_WINEPREFIX=$out/prefix
source "$root/scripts/wine-env.sh"
ondav_ensure_prefix
unset DISPLAY
source "$root/scripts/xvfb.sh"
ondav_start_xvfb
source "$root/scripts/pulsemic.sh"
ondav_pulsemic_start "$out/pulse"
trap 'ondav_pulsemic_stop; wineserver -k 2>/dev/null; kill $ONDAV_XVFB_PID 2>/dev/null || true' EXIT

# name shape left-Hz left-amplitude right-Hz right-amplitude right-phase-degrees:
# the left leads the right by minus the right's phase; amplitudes in fractions
# of full scale (noise: its RMS).
signals=()
for hz in 50 97.3 441 1102.5 2500 6000 10000 12345.6 15000; do
  signals+=("sine-$hz sine $hz 0.9 $hz 0.1 -60" "sine-$hz-10% sine $hz 0.1 $hz 0.1 -150")
done
signals+=("square-500 square 500 0.5 500 0.5 0" "square-3333 square 3333 0.5 3333 0.5 0"
          "triangle-500 triangle 500 0.5 500 0.5 0" "triangle-3333 triangle 3333 0.5 3333 0.5 0"
          "silence sine 0 0 0 0 0" "noise noise 0 0.25 0 0.25 0")
: > "$out/signals.txt"
for s in "${signals[@]}"; do
  read -r name shape lf la rf ra rp <<<"$s"
  echo "$s" >> "$out/signals.txt"
  ondav_vmic_signal "$out/signal.raw" "$ONDAV_PULSEMIC_RATE" "$lf" "$la" "$rf" "$ra" 10 "$rp" "$shape"
  ondav_pulsemic_play "$out/signal.raw"
  "$ONDAV_WINE" "$bench" live "$frames" 2>/dev/null | tr -d '\r' > "$out/live-$name.tsv"
done
ondav_vmic_signal "$out/signal.raw" "$ONDAV_PULSEMIC_RATE" 441 0.5 1000 0.25 10 0
ondav_pulsemic_play "$out/signal.raw"
"$ONDAV_WINE" "$bench" period 20 2>/dev/null | tr -d '\r' > "$out/period.tsv"
ondav_pulsemic_quiet

python3 - "$out" <<'PY' | tee "$out/accuracy.md"
import math, re, sys
out = sys.argv[1]
def rms_db(shape, amp):   # 0 dBFS: a sine from -127 to +128; amp of 128 units
    crest = {'sine': math.sqrt(2), 'square': 1, 'triangle': math.sqrt(3)}[shape]
    return 20 * math.log10(amp * 128 / 127.5 * math.sqrt(2) / crest)
def shown(text):   # "1103 Hz", "441,0 Hz", or the dash
    m = re.match(r'[\d,]+', text)
    return float(m.group(0).replace(',', '.')) if m else math.inf
print("| signal | frames | frequency, worst error | shown (4 digits), worst error | RMS, worst error | phase, worst error |")
print("|---|---|---|---|---|---|")
for line in open(f"{out}/signals.txt"):
    name, shape, lf, la, rf, ra, rp = line.split()
    lf, la, rf, ra, rp = map(float, (lf, la, rf, ra, rp))
    rows = [l.split('\t') for l in open(f"{out}/live-{name}.tsv", encoding='cp1252').read().splitlines()[1:] if l]
    label = f"{name} ({100 * la:g} % / {100 * ra:g} %)"
    if not rows:
        print(f"| {label} | 0 | no frame | | | |"); continue
    freq = text = rms = phase = ''
    if lf == 0:   # nothing periodic: every frequency readout must be a dash
        dashes = sum((r[5] == '\u2014') + (r[6] == '\u2014') for r in rows)
        freq = f"none found in {sum((float(r[1]) == 0) + (float(r[2]) == 0) for r in rows)} of {2 * len(rows)}"
        text = f"« — » in {dashes} of {2 * len(rows)}"
    else:
        bound = max(0.0005 * lf, 0.05)
        def row(e): return f"{e:.3f} Hz ({100 * e / lf:.4f} %)" if e < math.inf else "none found"
        worst = max(max(abs(float(r[1]) - rf) if float(r[1]) else math.inf,
                        abs(float(r[2]) - lf) if float(r[2]) else math.inf) for r in rows)
        freq = row(worst) + (" ✓" if worst <= bound else f" > {bound:.3g} Hz")
        text = row(max(max(abs(shown(r[5]) - rf), abs(shown(r[6]) - lf)) for r in rows))
    if shape != 'noise' and la > 0:
        e = max(max(abs(float(r[4]) - rms_db(shape, la)), abs(float(r[3]) - rms_db(shape, ra))) for r in rows)
        rms = f"{e:.3f} dB" + (" ✓" if e <= 0.1 else " > 0.1 dB")
    if shape == 'sine' and lf:
        ph = [float(r[7]) for r in rows if r[7] != '-']
        e = max((abs((p + rp + 180) % 360 - 180) for p in ph), default=math.inf)
        phase = f"{e:.2f}°" + (" ✓" if e <= 1 else " > 1°") + ("" if len(ph) == len(rows) else f" ({len(rows) - len(ph)} frames without)")
    print(f"| {label} | {len(rows)} | {freq} | {text} | {rms} | {phase} |")
print()
print("Frame period at « Rapide » (nominal 500 ms), window closed then open, one run:")
print()
print(open(f"{out}/period.tsv").read())
PY
