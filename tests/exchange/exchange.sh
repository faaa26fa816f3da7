#!/usr/bin/env bash
# Sounds made by sox in every format the program reads, imported by
# exchange_tests; its exports read back by sox and by Python's wave and csv.
# Usage: exchange.sh BUILD_DIR
set -u
source "$ONDAV_SOURCE_DIR/tests/e2e/lib.sh"
build=$1
work=$build/tests/exchange
rm -rf "$work" && mkdir -p "$work/sox" "$work/out"
command -v sox >/dev/null || fail "sox is missing (scripts/deps.sh installs it)"

# Left 1 kHz, right 441 Hz, half of full scale; no dither, so levels are exact.
make() {  # name, sox output options
  local name=$1; shift
  local tones=(sine 1000 sine 441)
  [ "$CH" = 1 ] && tones=(sine 1000)
  sox -D -n -r "$RATE" -c "$CH" "$@" "$work/sox/$name-${RATE}-${CH}ch.wav" \
      synth 0.2 "${tones[@]}" vol 0.5 || fail "sox could not make $name"
}
for format in "44100 2" "48000 2" "8000 2" "384000 2" "96000 1" "22050 8" "11025 2"; do
  read -r RATE CH <<<"$format"
  make u8 -b 8 -e unsigned-integer
  make s16 -b 16 -e signed-integer
  make s24 -b 24 -e signed-integer
  make s32 -b 32 -e signed-integer
  make f32 -b 32 -e floating-point
  make f64 -b 64 -e floating-point
done
# WAVE_FORMAT_EXTENSIBLE: sox writes it for more than two channels; one more
# of each kind at 48 kHz, with 6 channels.
RATE=48000 CH=6
make ext-s16 -b 16 -e signed-integer
make ext-f32 -b 32 -e floating-point
head -c 22 "$work/sox/ext-s16-48000-6ch.wav" | tail -c 2 | od -An -tx1 | grep -q 'fe ff' \
  || fail "sox did not write an extensible header"
pass "$(ls "$work/sox" | wc -l) sounds made by sox"

ONDAV_SOX_DIR=$work/sox ONDAV_EXPORT_DIR=$work/out \
  "$ONDAV_WINE" "$build/tests/exchange_tests.exe" || fail "exchange_tests"

out=$work/out
[ -f "$out/round.wav" ] || fail "no exported WAV"
info=$(sox --i "$out/round.wav")
for want in "Channels       : 2" "Sample Rate    : 44100" "Precision      : 8-bit" \
            "Duration       : 00:00:00.09 = 4000 samples" "Sample Encoding: 8-bit Unsigned Integer PCM"; do
  grep -qF "$want" <<<"$info" || fail "sox --i: no '$want' in: $info"
done
# sox's values are (byte - 128) / 128: back to samples with byte = sample + 127.
sox "$out/round.wav" -t dat - | LC_ALL=C awk '!/^;/ { printf "%.0f %.0f\n", $2 * 128 + 1, $3 * 128 + 1 }' > "$out/sox.txt"
paste -d" " "$out/left.txt" "$out/right.txt" | head -n 4000 | cmp -s - "$out/sox.txt" \
  || fail "sox reads other samples than the capture's"
pass "sox reads the exported WAV: 2 channels, 44100 Hz, 8-bit unsigned, the capture's 4000 frames"

python3 - "$out" <<'PY' || fail "Python's wave/csv disagree with the capture"
import csv, sys, wave
out = sys.argv[1]
arrays = {n: [int(v) for v in open(f"{out}/{n}.txt")] for n in ("right", "left", "sum", "difference")}
with wave.open(f"{out}/round.wav") as w:
    assert (w.getnchannels(), w.getsampwidth(), w.getframerate(), w.getnframes()) == (2, 1, 44100, 4000)
    data = w.readframes(4000)
assert [b - 127 for b in data[0::2]] == arrays["left"][:4000]
assert [b - 127 for b in data[1::2]] == arrays["right"][:4000]
with open(f"{out}/round.csv", encoding="cp1252", newline="") as f:
    rows = list(csv.reader(f, delimiter=";"))
assert rows[0] == ["indice", "temps (ms)", "droite", "gauche", "somme", "différence"], rows[0]
assert len(rows) == 1 + 4011, len(rows)
for i, row in enumerate(rows[1:]):
    assert int(row[0]) == i and abs(float(row[1].replace(",", ".")) - i / 44.1) < 1e-4, row
    assert [int(v) for v in row[2:]] == [arrays[n][i] for n in ("right", "left", "sum", "difference")], row
PY
pass "Python's wave and csv read the exports: same samples, 4011 rows with decimal commas"
