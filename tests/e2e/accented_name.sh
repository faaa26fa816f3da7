#!/usr/bin/env bash
# Wine can create a file whose name holds « é » (as the program's own
# « mesuré-1.osc »): it can only with the Linux locale it runs under
# (fr_FR.UTF-8) generated, which scripts/deps.sh does.
# Usage: accented_name.sh WORK_DIR
source "$(dirname "$0")/lib.sh"
work=$1
rm -rf "$work"; mkdir -p "$work"
locale -a 2>/dev/null | grep -qix 'fr_fr\.utf-\?8' || fail "the fr_FR.UTF-8 locale is not generated (scripts/deps.sh)"
"$ONDAV_WINE" cmd /c "echo ok> $(winpath "$work/mesuré-1.osc")" >/dev/null 2>&1
[ -f "$work/mesuré-1.osc" ] || fail "Wine could not create $work/mesuré-1.osc: $(ls "$work")"
pass "Wine created mesuré-1.osc"
