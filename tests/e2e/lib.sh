# Helpers for end-to-end checks of the real programs under Xvfb and Wine.
# Sourced by the check scripts; every wait is bounded.
set -u
source "$ONDAV_SOURCE_DIR/scripts/wine-env.sh"
ondav_ensure_prefix

fail() { echo "FAIL: $*"; exit 1; }
pass() { echo "ok: $*"; }

# wait_window NAME [SECONDS]: prints the X id of the first window named NAME.
wait_window() {
  local name=$1 limit=${2:-20} i id
  for ((i = 0; i < limit * 5; i++)); do
    id=$(xdotool search --onlyvisible --name "^${name}\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}

# dismiss NAME: presses Enter in the box named NAME if it is there.
dismiss() {
  local id
  id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
  [ -z "$id" ] && return 1
  xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus "$id" 2>/dev/null
  sleep 0.3
  xdotool key Return
  sleep 0.5
  return 0
}

# The boxes a machine without a sound card shows at start and at exit.
dismiss_sound_boxes() {
  dismiss "Ouverture de l'interface audio." || true
  dismiss "Ondavis" || true
}

# wait_exit PID [SECONDS]: waits for the program to end, answering the boxes
# it may show on the way out.
wait_exit() {
  local pid=$1 limit=${2:-20} i
  for ((i = 0; i < limit * 5; i++)); do
    kill -0 "$pid" 2>/dev/null || return 0
    dismiss_sound_boxes
    sleep 0.2
  done
  kill "$pid" 2>/dev/null
  return 1
}

shot() { import -window root "$ARTIFACTS/$1.png"; }

# winpath FILE: the Windows name of a Linux file (drive Z: is the root).
winpath() { echo "Z:${1//\//\\}"; }
