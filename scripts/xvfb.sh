# Sourced: starts a private Xvfb when there is no display, and stops it on exit.
ondav_start_xvfb() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n
  for n in $(seq 90 140); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    ONDAV_XVFB_PID=$!
    export DISPLAY=:$n
    local i
    for i in $(seq 1 50); do
      [ -e /tmp/.X11-unix/X$n ] && break
      sleep 0.1
    done
    trap 'kill $ONDAV_XVFB_PID 2>/dev/null || true' EXIT
    return 0
  done
  echo "no free X display number" >&2
  return 1
}
