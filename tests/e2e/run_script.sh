#!/usr/bin/env bash
# scripts/run.sh as a person uses it, with a Linux file name: on a desktop
# the document opens in windows left to the window manager; on its private
# Xvfb (no display given) the windows are unmanaged and the document is shown.
# Usage: run_script.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"
build=$(cd "$1" && pwd)
doc=$build/dist/exemples/carre.osc
run() {
  env -u ONDAV_PRIVATE_DISPLAY ONDAV_RUN_NOBUILD=1 ONDAV_BUILD_DIR="$build" "$@" \
      "$ONDAV_SOURCE_DIR/scripts/run.sh" "$doc"
}
managed() { wineserver -w; ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg"; }
trap 'wineserver -k 2>/dev/null' EXIT

# --- on a desktop: this test's display stands for one
run >/dev/null 2>&1 &
wait_main_window "carre.osc - Ondavis" 60 >/dev/null || fail "the Linux path $doc did not open carre.osc"
pass "a Linux path opens the document on a desktop"
wineserver -k
managed || fail "Managed=N on a desktop: the window manager could not move the windows"
pass "windows left to the window manager on a desktop"

# --- no display: its own Xvfb, without a window manager
out=$(run env -u DISPLAY ONDAV_RUN_SECONDS=0.5 2>&1) || fail "run.sh without a display: $out"
echo "$out" | grep -qx "Window: carre.osc - Ondavis" || fail "the document was not shown: $out"
pass "the document shown on the private Xvfb"
! managed || fail "no Managed=N on the private Xvfb"
pass "unmanaged windows on the private Xvfb"
