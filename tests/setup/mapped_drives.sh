#!/usr/bin/env bash
# Runs the installer's tests that need drives of their own in the test prefix:
# a small file system (tmpfs, 128 KiB: less than the example recordings alone)
# that fills up, and a read-only one. Exits 77 (skipped) where no file system
# can be mounted (mount needs root).
# Usage: mapped_drives.sh <source dir> <setup_tests.exe>
set -euo pipefail
src=$1
exe=$2
source "$src/scripts/wine-env.sh"
ondav_ensure_prefix

small=$(mktemp -d /tmp/ondav-full-disk.XXXXXX)
readonly_fs=$(mktemp -d /tmp/ondav-read-only.XXXXXX)
links=()
cleanup() {
  local l m
  for l in "${links[@]}"; do rm -f "$l"; done
  for m in "$small" "$readonly_fs"; do
    umount "$m" 2>/dev/null || true
    rmdir "$m" 2>/dev/null || true
  done
}
trap cleanup EXIT
if ! mount -t tmpfs -o size=128k tmpfs "$small" 2>/dev/null ||
   ! mount -t tmpfs -o size=64k,ro tmpfs "$readonly_fs" 2>/dev/null; then
  echo "no small file system can be mounted here (mount needs root): skipped"
  exit 77
fi
# Maps $1 as the next free drive letter, whose name ("R:") goes into $drive
# (not printed: the links must be noted by this shell, for the clean-up).
map() {
  local letter
  for letter in r s t u v w x y; do
    if [ ! -e "$WINEPREFIX/dosdevices/$letter:" ]; then
      ln -s "$1" "$WINEPREFIX/dosdevices/$letter:"
      links+=("$WINEPREFIX/dosdevices/$letter:")
      drive=$(echo "$letter:" | tr a-z A-Z)
      return 0
    fi
  done
  echo "no free drive letter in the test prefix" >&2
  return 1
}
map "$small"; full=$drive
map "$readonly_fs"; ro=$drive
echo "full disk $full = $(df -h "$small" | tail -1)"
echo "read-only $ro = $(findmnt -no OPTIONS "$readonly_fs")"
ONDAV_FULL_DRIVE=$full ONDAV_READONLY_DRIVE=$ro "$src/scripts/wine-run.sh" "$exe" \
  --gtest_filter='InstallFaults.AFullDisk*:InstallFaults.AReadOnly*'
