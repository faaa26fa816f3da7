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
source "$(dirname "$0")/../support/drives.sh"
ondav_ensure_prefix
mkdir -p "$work"
exec 8>"$work.lock"
flock 8
trap ondav_unmap_drives EXIT

small=$work/small ro=$work/readonly
if ondav_mount_small "$small" 192k nr_inodes=64; then
  ondav_map_drive K "$small"
  export ONDAV_SMALL_DRIVE=K:
fi
if ondav_mount_small "$ro" 256k; then
  head -c 64176 /dev/urandom > "$ro/mesure.osc"
  if mount -o remount,ro "$ro"; then
    ondav_map_drive L "$ro"
    export ONDAV_READONLY_DRIVE=L:
  fi
fi
ondav_map_drive J /dev
export ONDAV_DEV_DRIVE=J:
"$@"
