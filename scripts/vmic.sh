# Sourced: a virtual microphone for Wine. ALSA's file PCM plays a raw S16_LE
# stereo 48 kHz file as the default capture device, behind a plug PCM that
# converts to whatever format and rate Wine asks for.
#   ondav_vmic DIR [LEFT_HZ LEFT_AMP RIGHT_HZ RIGHT_AMP [SECONDS [RIGHT_PHASE_DEG]]]
# writes DIR/signal.raw (a sine on each channel; amplitudes as fractions of full
# scale, 0 Hz gives a constant) and DIR/asound.conf, and exports ALSA_CONFIG_PATH.
ondav_vmic() {
  local dir=$1
  mkdir -p "$dir"
  python3 - "$dir/signal.raw" "${2:-441}" "${3:-0.5}" "${4:-1000}" "${5:-0.25}" "${6:-20}" "${7:-0}" <<'PY'
import array, math, sys
path, lf, la, rf, ra, secs, rp = sys.argv[1], *map(float, sys.argv[2:])
rate = 48000
def wave(f, a, t, phase=0.0):
    v = a if f == 0 else a * math.sin(2 * math.pi * f * t + math.radians(phase))
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
  cat > "$dir/asound.conf" <<CONF
pcm.vmic { type file slave { pcm { type null } } file "/dev/null" infile "$dir/signal.raw" format "raw" }
pcm.!default { type plug slave { pcm "vmic" format S16_LE rate 48000 channels 2 } }
CONF
  export ALSA_CONFIG_PATH=$dir/asound.conf
}
