#!/usr/bin/env bash
# Runs the installer's full-disk test against a small file system (tmpfs,
# 128 KiB: less than the example recordings alone) mapped as a drive of the
# test prefix. Exits 77 (skipped) where no file system can be mounted.
# Usage: full_disk.sh <source dir> <setup_tests.exe>
set -euo pipefail
src=$1
exe=$2
source "$src/scripts/wine-env.sh"
ondav_ensure_prefix

mnt=$(mktemp -d /tmp/ondav-full-disk.XXXXXX)
link=
cleanup() {
  [ -n "$link" ] && rm -f "$link"
  umount "$mnt" 2>/dev/null || true
  rmdir "$mnt" 2>/dev/null || true
}
trap cleanup EXIT
if ! mount -t tmpfs -o size=128k tmpfs "$mnt" 2>/dev/null; then
  echo "no small file system can be mounted here (mount needs root): skipped"
  exit 77
fi
for letter in r s t u v w x y; do
  if [ ! -e "$WINEPREFIX/dosdevices/$letter:" ]; then
    link=$WINEPREFIX/dosdevices/$letter:
    break
  fi
done
[ -n "$link" ] || { echo "no free drive letter in the test prefix"; exit 1; }
ln -s "$mnt" "$link"
drive=$(basename "$link" | tr a-z A-Z)
echo "drive $drive = $(df -h "$mnt" | tail -1)"
ONDAV_FULL_DRIVE=$drive "$src/scripts/wine-run.sh" "$exe" --gtest_filter='InstallFaults.AFullDisk*'
