# Helpers for end-to-end checks of the real programs under Xvfb and Wine.
# Sourced by the check scripts: it sets up Wine (and, under ctest, the
# check's own prefix and display). Every wait is bounded.
set -u
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/wine-env.sh"
ondav_ensure_prefix

# A failed check also says what the screen showed: most name a window that
# did not come, and what came instead is the first clue.
fail() {
  local w
  echo "FAIL: $*"
  for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    echo "  on the screen: '$(xdotool getwindowname "$w" 2>/dev/null)'"
  done
  ps -eo pid,etime,args 2>/dev/null | grep -i '[.]exe' | sed 's/^/  running: /' | cut -c1-160
  exit 1
}
pass() { echo "ok: $*"; }

# ondav_wait_window REGEX [SECONDS] [first|last]: prints the X id of a visible
# window whose name matches REGEX (the first found, or the last: the newest)
# as soon as there is one; returns 1 after SECONDS (20).
ondav_wait_window() {
  local pattern=$1 limit=${2:-20} pick=${3:-first} i ids
  for ((i = 0; i < limit * 10; i++)); do
    ids=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null)
    if [ -n "$ids" ]; then
      if [ "$pick" = last ]; then echo "$ids" | tail -n 1; else echo "$ids" | head -n 1; fi
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# wait_window NAME [SECONDS]: prints the X id of the first window named NAME.
wait_window() { ondav_wait_window "^${1}\$" "${2:-20}"; }

# wait_main_window TITLE [SECONDS]: prints the X id of the program's main
# window, answering on the way the box of a machine without a sound card.
wait_main_window() {
  local i
  for ((i = 0; i < 300; i++)); do   # a minute at most: Wine starts slowly on a loaded machine
    dismiss "Ouverture de l'interface audio." && break
    xdotool search --onlyvisible --name "^${1}\$" >/dev/null 2>&1 && break
    sleep 0.2
  done
  wait_window "$1" "${2:-30}"
}

# wait_focusable REGEX [SECONDS]: the newest window matching REGEX, given half
# a second to take input; the check fails without one.
wait_focusable() {
  local w
  w=$(ondav_wait_window "$1" "${2:-15}" last) || fail "no window '$1' after ${2:-15} s" >&2
  sleep 0.5
  echo "$w"
}

# key WINDOW KEYS...: gives WINDOW the input focus, then presses KEYS.
key() {
  local w=$1; shift
  xdotool windowfocus "$w"
  sleep 0.3
  xdotool key "$@"
}

# click_finish WINDOW: clicks a wizard's Finish button, left of Cancel at
# its bottom right.
click_finish() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + WIDTH - 148)) $((Y + HEIGHT - 22)) click 1
}

# answer_box NAME KEY [SECONDS] [SHOT]: waits for the box named NAME, answering
# on the way the sound card's box of a machine without one; keeps a screenshot
# SHOT of it, then presses KEY in it. Returns 1 if none came.
answer_box() {
  local name=$1 key=$2 limit=${3:-20} picture=${4:-} i box=
  for ((i = 0; i < limit * 5; i++)); do
    [ "$name" != "Ouverture de l'interface audio." ] && dismiss "Ouverture de l'interface audio." && continue
    box=$(xdotool search --onlyvisible --name "^${name}\$" 2>/dev/null | head -n 1)
    [ -n "$box" ] && break
    sleep 0.2
  done
  [ -n "$box" ] || return 1
  [ -n "$picture" ] && shot "$picture"
  xdotool windowactivate --sync "$box" 2>/dev/null || xdotool windowfocus "$box" 2>/dev/null
  sleep 0.3
  xdotool key "$key"
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

# wait_splash_gone PID [SECONDS]: waits until the program's splash (a window of
# its own, without a name) has gone, once its main window is up.
wait_splash_gone() {
  local pid=$1 limit=${2:-10} i w named unnamed
  for ((i = 0; i < limit * 10; i++)); do
    named=0 unnamed=0
    for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
      if [ -n "$(xdotool getwindowname "$w" 2>/dev/null)" ]; then named=1; else unnamed=1; fi
    done
    [ $named = 1 ] && [ $unnamed = 0 ] && return 0
    sleep 0.1
  done
  return 1
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

# shot_window WINDOW NAME: the window's pixels only.
shot_window() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$ARTIFACTS/$2.png"
}

# winpath FILE: the Windows name of a Linux file (drive Z: is the root).
winpath() { echo "Z:${1//\//\\}"; }
