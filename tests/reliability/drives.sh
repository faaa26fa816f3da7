#!/usr/bin/env bash
# Runs a test program with three extra drives in its Wine prefix:
#   K: a small file system (for a full disk), L: a read-only one holding a
#   document, J: the Unix /dev folder (character devices with file names).
# Mounting needs root; without it the program runs with J: only and the
# tests that need K: or L: say they were skipped.
# Usage: drives.sh WORKDIR command args...
set -u
work=$1; shift
source "$(dirname "$0")/../../scripts/wine-env.sh"
ondav_ensure_prefix
dos=$WINEPREFIX/dosdevices
mkdir -p "$work"
# One mapper at a time per prefix: both ctest entries use the same letters.
exec 8>"$work.lock"
flock 8

small=$work/small ro=$work/readonly
mounted=()
cleanup() {
  rm -f "$dos/k:" "$dos/l:" "$dos/j:"
  local m
  for m in "${mounted[@]}"; do umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null; done
}
trap cleanup EXIT
mkdir -p "$small" "$ro"
umount "$small" 2>/dev/null; umount "$ro" 2>/dev/null
if [ "$(id -u)" = 0 ] && mount -t tmpfs -o size=192k,nr_inodes=64 ondav-small "$small" 2>/dev/null; then
  mounted+=("$small")
  ln -sfn "$small" "$dos/k:"
  export ONDAV_SMALL_DRIVE=K:
fi
if [ "$(id -u)" = 0 ] && mount -t tmpfs -o size=256k ondav-ro "$ro" 2>/dev/null; then
  mounted+=("$ro")
  head -c 64176 /dev/urandom > "$ro/mesure.osc"
  if mount -o remount,ro "$ro"; then
    ln -sfn "$ro" "$dos/l:"
    export ONDAV_READONLY_DRIVE=L:
  fi
fi
ln -sfn /dev "$dos/j:"
export ONDAV_DEV_DRIVE=J:
"$@"
