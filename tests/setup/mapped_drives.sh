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
source "$src/tests/support/drives.sh"
ondav_ensure_prefix

small=$(mktemp -d /tmp/ondav-full-disk.XXXXXX)
readonly_fs=$(mktemp -d /tmp/ondav-read-only.XXXXXX)
trap 'ondav_unmap_drives; rmdir "$small" "$readonly_fs" 2>/dev/null' EXIT
if ! ondav_mount_small "$small" 128k || ! ondav_mount_small "$readonly_fs" 64k ro; then
  echo "no small file system can be mounted here (mount needs root): skipped"
  exit 77
fi
ondav_map_drive R "$small"
ondav_map_drive S "$readonly_fs"
echo "full disk R: = $(df -h "$small" | tail -1)"
echo "read-only S: = $(findmnt -no OPTIONS "$readonly_fs")"
ONDAV_FULL_DRIVE=R: ONDAV_READONLY_DRIVE=S: "$src/scripts/wine-run.sh" "$exe" \
  --gtest_filter='InstallFaults.AFullDisk*:InstallFaults.AReadOnly*'
