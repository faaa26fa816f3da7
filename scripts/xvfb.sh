# Sourced: an X display for our programs.
# ondav_start_xvfb uses the caller's DISPLAY when it works; otherwise, or
# when ONDAV_PRIVATE_DISPLAY=1 (ctest sets it for every test, so that the
# end-to-end checks run side by side), it starts a private Xvfb on a free
# display number. That display goes when the process that started it ends;
# what runs under that process (ONDAV_PRIVATE_DISPLAY=started) shares it.
ondav_start_xvfb() {
  if [ "${ONDAV_PRIVATE_DISPLAY:-0}" != 1 ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local numfile i
  numfile=$(mktemp)
  # -displayfd: Xvfb takes the first free number itself and writes it once
  # it accepts connections, so two tests starting together never collide.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
  ONDAV_XVFB_PID=$!
  for ((i = 0; i < 100; i++)); do
    [ -s "$numfile" ] && break
    kill -0 "$ONDAV_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  if [ ! -s "$numfile" ]; then
    rm -f "$numfile"
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=:$(tr -dc 0-9 <"$numfile")
  rm -f "$numfile"
  if [ "${ONDAV_PRIVATE_DISPLAY:-0}" = 1 ]; then
    export ONDAV_PRIVATE_DISPLAY=started
    _ondav_xvfb_watchdog "$$" "$ONDAV_XVFB_PID" "${WINEPREFIX:-}"
  else
    trap 'kill $ONDAV_XVFB_PID 2>/dev/null || true' EXIT
  fi
}

# Stops the display, and the Wine server of the prefix that used it, once
# the owner process has ended. Its output goes nowhere: ctest waits for the
# test's output to close, never for this.
_ondav_xvfb_watchdog() {
  local owner=$1 xvfb=$2 prefix=$3
  (
    set +eu   # the caller's -e must not end this before the display goes
    while kill -0 "$owner" 2>/dev/null; do sleep 0.5; done
    [ -n "$prefix" ] && WINEPREFIX=$prefix wineserver -k 2>/dev/null
    kill "$xvfb" 2>/dev/null
  ) </dev/null >/dev/null 2>&1 &
}
