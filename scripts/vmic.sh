# Sourced: a virtual microphone for Wine. ALSA's file PCM plays a raw S16_LE
# stereo 48 kHz file as the default capture device, behind a plug PCM that
# converts to whatever format and rate Wine asks for.
#   ondav_vmic DIR [LEFT_HZ LEFT_AMP RIGHT_HZ RIGHT_AMP [SECONDS [RIGHT_PHASE_DEG]]]
# writes DIR/signal.raw (a sine on each channel; amplitudes as fractions of full
# scale, 0 Hz gives a constant) and DIR/asound.conf, and exports ALSA_CONFIG_PATH.
# scripts/pulsemic.sh is the clocked one.

# ondav_vmic_signal FILE RATE LEFT_HZ LEFT_AMP RIGHT_HZ RIGHT_AMP SECONDS RIGHT_PHASE_DEG [SHAPE]
# writes the raw S16_LE stereo signal: SHAPE (sine, square, triangle or noise,
# the last white and Gaussian with AMP as its RMS) on each channel.
ondav_vmic_signal() {
  python3 - "$@" <<'PY'
import array, math, random, sys
path, rate, lf, la, rf, ra, secs, rp = sys.argv[1], *map(float, sys.argv[2:9])
shape = sys.argv[9] if len(sys.argv) > 9 else 'sine'
noise = random.Random(1)
def unit(x):   # one period of the shape over x in [0, 1)
    if shape == 'square': return 1.0 if x < 0.5 else -1.0
    if shape == 'triangle': return 4 * x - 1 if x < 0.5 else 3 - 4 * x
    return math.sin(2 * math.pi * x)
def wave(f, a, t, phase=0.0):
    if shape == 'noise': v = a * noise.gauss(0, 1)
    elif f == 0: v = a
    else: v = a * unit((f * t + phase / 360) % 1.0)
    return max(-32768, min(32767, round(v * 32768)))
data = array.array('h')
for i in range(int(secs * rate)):
    t = i / rate
    data.append(wave(lf, la, t))
    data.append(wave(rf, ra, t, rp))
if sys.byteorder != 'little':
    data.byteswap()
with open(path, 'wb') as f:
    data.tofile(f)
PY
}

ondav_vmic() {
  local dir=$1
  mkdir -p "$dir"
  ondav_vmic_signal "$dir/signal.raw" 48000 "${2:-441}" "${3:-0.5}" "${4:-1000}" "${5:-0.25}" "${6:-20}" "${7:-0}"
  cat > "$dir/asound.conf" <<CONF
pcm.vmic { type file slave { pcm { type null } } file "/dev/null" infile "$dir/signal.raw" format "raw" }
pcm.!default { type plug slave { pcm "vmic" format S16_LE rate 48000 channels 2 } }
CONF
  export ALSA_CONFIG_PATH=$dir/asound.conf
}
