#!/usr/bin/env bash
# Runs the installer's test that needs folder links, which Wine's programs
# cannot make (nor move: Wine moves what a link leads to): C:\OndavLien, a
# link to C:\OndavMesures, and C:\OndavLie\exemples, another one.
# Usage: links.sh <source dir> <setup_tests.exe>
set -euo pipefail
src=$1
exe=$2
source "$src/scripts/wine-env.sh"
ondav_ensure_prefix
target=$WINEPREFIX/drive_c/OndavMesures
link=$WINEPREFIX/drive_c/OndavLien
linked=$WINEPREFIX/drive_c/OndavLie
cleanup() { rm -f "$link" "$linked/exemples"; rm -rf "$target" "$linked"; }
trap cleanup EXIT
cleanup
mkdir -p "$target" "$linked"
ln -s "$target" "$link"
ln -s "$target" "$linked/exemples"
ONDAV_LINK='C:\OndavLien' ONDAV_LINK_TARGET='C:\OndavMesures' ONDAV_LINKED_FOLDER='C:\OndavLie\' \
  "$src/scripts/wine-run.sh" "$exe" \
  --gtest_filter='Safety.NeverThroughALink'
