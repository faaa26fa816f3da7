# Sourced: a clocked virtual microphone. A private PulseAudio server records
# from the monitor of a null sink, which it drains by the system clock at
# 44 100 frames a second; what is played into the sink reaches the recording
# program at that rate, unskipped, however fast the program asks for it
# (ALSA's file PCM of scripts/vmic.sh hands its file out as fast as it is
# asked). Wine reaches it through its own PulseAudio driver (PULSE_SERVER),
# ALSA programs through ALSA's pulse plugin (ALSA_CONFIG_PATH). Nothing outside
# its own temporary folder (short: a socket's path is) sees the server.
#   ondav_pulsemic_start       starts the server; exports PULSE_SERVER,
#                              ALSA_CONFIG_PATH, ONDAV_PULSEMIC_PID and
#                              ONDAV_PULSEMIC_DIR (its folder, its log there)
#   ondav_pulsemic_play FILE   plays FILE (raw S16_LE stereo at 44 100 Hz,
#                              see ondav_vmic_signal) over and over, without a
#                              gap, until the next play or the stop;
#                              ONDAV_PULSEMIC_PLAYER is its process group
#   ondav_pulsemic_stop        stops both and removes the folder
ONDAV_PULSEMIC_RATE=44100
source "$(dirname "${BASH_SOURCE[0]}")/vmic.sh"

ondav_pulsemic_start() {
  local dir i
  dir=$(mktemp -d "${TMPDIR:-/tmp}/ondav-mic.XXXXXX")
  ONDAV_PULSEMIC_DIR=$dir
  cat > "$dir/default.pa" <<EOF
load-module module-native-protocol-unix auth-anonymous=1 socket=$dir/native
load-module module-null-sink sink_name=mic rate=$ONDAV_PULSEMIC_RATE channels=2 format=s16le
set-default-sink mic
set-default-source mic.monitor
EOF
  printf 'pcm.!default { type pulse }\nctl.!default { type pulse }\n' > "$dir/asound.conf"
  env HOME="$dir" XDG_RUNTIME_DIR="$dir" PULSE_RUNTIME_PATH="$dir" PULSE_STATE_PATH="$dir" \
    pulseaudio -n -F "$dir/default.pa" --exit-idle-time=-1 --daemonize=no --disallow-exit \
      --log-target=file:"$dir/log" >/dev/null 2>&1 &
  ONDAV_PULSEMIC_PID=$!
  export PULSE_SERVER=unix:$dir/native ALSA_CONFIG_PATH=$dir/asound.conf
  for ((i = 0; i < 100; i++)); do
    pactl info >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "the PulseAudio microphone did not start (see $dir/log)" >&2
  return 1
}

ondav_pulsemic_play() {
  ondav_pulsemic_quiet
  # Its own process group, so that the loop and pacat stop together.
  setsid bash -c 'while cat "$1"; do :; done | pacat --raw --format=s16le --channels=2 --rate="$2" \
    --latency-msec=500' pulsemic "$1" "$ONDAV_PULSEMIC_RATE" >/dev/null 2>&1 &
  ONDAV_PULSEMIC_PLAYER=$!
}

# Stops what plays, if anything.
ondav_pulsemic_quiet() {
  [ -n "${ONDAV_PULSEMIC_PLAYER:-}" ] || return 0
  kill -- -"$ONDAV_PULSEMIC_PLAYER" 2>/dev/null || true
  wait "$ONDAV_PULSEMIC_PLAYER" 2>/dev/null || true
  ONDAV_PULSEMIC_PLAYER=
}

ondav_pulsemic_stop() {
  ondav_pulsemic_quiet
  [ -n "${ONDAV_PULSEMIC_PID:-}" ] || return 0
  kill "$ONDAV_PULSEMIC_PID" 2>/dev/null || true
  wait "$ONDAV_PULSEMIC_PID" 2>/dev/null || true
  ONDAV_PULSEMIC_PID=
  rm -rf "$ONDAV_PULSEMIC_DIR"
}
