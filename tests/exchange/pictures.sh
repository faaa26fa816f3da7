#!/usr/bin/env bash
# Pictures of recordings made by sox and opened in the real ondav.exe (given
# on its command line), for the README. Not a test: it only takes pictures.
# Usage: pictures.sh BUILD_DIR DOCS_DIR
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
docs=$(mkdir -p "$2" && cd "$2" && pwd)
work=$build/tests/exchange-pictures
rm -rf "$work"; mkdir -p "$work"
export ONDAV_SOURCE_DIR=${ONDAV_SOURCE_DIR:-$root}
ARTIFACTS=$work
source "$root/scripts/xvfb.sh"
source "$root/tests/e2e/lib.sh"
ondav_start_xvfb

# A plucked A (220 Hz) on the left, an E (330 Hz) on the right, 48 kHz 16-bit;
# two sines a fifth apart (1 kHz, 1.5 kHz) at 96 kHz in 24-bit; 30 ms of a sine.
sox -n -r 48000 -b 16 -c 2 "$work/cordes.wav" synth 0.5 pluck A3 pluck E4 vol 0.9
sox -n -r 96000 -b 24 -c 2 "$work/quinte.wav" synth 0.2 sine 1000 sine 1500 vol 0.7
sox -n -r 44100 -b 16 -c 1 "$work/court.wav" synth 0.03 sine 1000 vol 0.8

# picture FILE NAME [KEYS...]: opens FILE, presses KEYS, keeps the window as NAME.png.
picture() {
  local file=$1 name=$2; shift 2
  "$ONDAV_WINE" "$build/dist/ondav.exe" "$(winpath "$file")" &
  local pid=$! id="" i
  # A machine without a sound card says so first.
  for ((i = 0; i < 60; i++)); do
    [ -n "$id" ] && break
    dismiss_sound_boxes
    id=$(wait_window "$(basename "$file") - Ondavis" 1) || id=""
  done
  [ -n "$id" ] || fail "$file did not open"
  sleep 2
  for k in "$@"; do xdotool key "$k"; sleep 0.4; done
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$id")"
  import -window root -crop "${WIDTH}x$((HEIGHT + 24))+${X}+$((Y - 24))" "$docs/$name.png"
  kill "$pid" 2>/dev/null; wait_exit "$pid" 10
  pass "$docs/$name.png"
}
picture "$work/cordes.wav" wav-cordes
picture "$work/cordes.wav" wav-cordes-5ms alt+r b Down Down Down Return
picture "$work/quinte.wav" wav-quinte alt+d t l
picture "$work/court.wav" wav-court
picture "$work/court.wav" wav-court-50ms alt+r b Return
