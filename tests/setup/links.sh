#!/usr/bin/env bash
# Runs the installer's test that needs a folder link, which Wine's programs
# cannot make themselves: C:\OndavLien, a link to C:\OndavMesures, made here.
# Usage: links.sh <source dir> <setup_tests.exe>
set -euo pipefail
src=$1
exe=$2
source "$src/scripts/wine-env.sh"
ondav_ensure_prefix
target=$WINEPREFIX/drive_c/OndavMesures
link=$WINEPREFIX/drive_c/OndavLien
cleanup() { rm -f "$link"; rm -rf "$target"; }
trap cleanup EXIT
cleanup
mkdir -p "$target"
ln -s "$target" "$link"
ONDAV_LINK='C:\OndavLien' ONDAV_LINK_TARGET='C:\OndavMesures' "$src/scripts/wine-run.sh" "$exe" \
  --gtest_filter='Safety.NeverThroughALink'
