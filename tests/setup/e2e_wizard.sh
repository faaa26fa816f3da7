#!/usr/bin/env bash
# End to end: the real ondavsetup.exe from a copy of dist/, driven under Xvfb
# by real key presses and clicks (xdotool), first installing with the defaults,
# then uninstalling. A screenshot of every step goes to the artefacts folder.
# Usage: e2e_wizard.sh <source dir> <binary dir>
set -euo pipefail
src=$1
bin=$2
art=$bin/artifacts/setup
ARTIFACTS=$art
mkdir -p "$art"
rm -f "$art"/*.png

source "$src/tests/e2e/lib.sh"

stage=$(mktemp -d "$bin/e2e-setup.XXXXXX")
deep_root=$(mktemp -d "$bin/e2e-deep.XXXXXX")
target=$WINEPREFIX/drive_c/Ondav
setup_pid=
log=$art/run.log
: >"$log"

relay_set=
stray_inf=$WINEPREFIX/drive_c/windows/inf/ondav.inf
cleanup() {
  [ -n "$setup_pid" ] && kill "$setup_pid" 2>/dev/null || true
  case $relay_set in
    key) "$ONDAV_WINE" reg delete 'HKCU\Software\Wine\Debug' /f >/dev/null 2>&1 || true ;;
    value) "$ONDAV_WINE" reg delete 'HKCU\Software\Wine\Debug' /v RelayInclude /f >/dev/null 2>&1 || true ;;
  esac
  rm -rf "$stage" "$deep_root"
  rm -f "$stray_inf"
  rm -rf "$target" "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Ondavis"
  "$ONDAV_WINE" reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ondavis' /f >/dev/null 2>&1 || true
  "$ONDAV_WINE" reg delete 'HKLM\Software\Korvel\Ondavis' /f >/dev/null 2>&1 || true
  "$ONDAV_WINE" reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce' /v GrpConv /f >/dev/null 2>&1 || true
  # This trap replaces the one xvfb.sh set for a display it started.
  [ -n "${ONDAV_XVFB_PID:-}" ] && kill "$ONDAV_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT

cp -r "$bin/dist/." "$stage/"
if [ ! -f "$stage/ondav.exe" ]; then
  # The instrument is not part of this build: the copy only needs some bytes.
  printf 'MZ stand-in for ondav.exe\n' >"$stage/ondav.exe"
fi
cleanup_before() {
  "$ONDAV_WINE" reg delete 'HKLM\Software\Korvel\Ondavis' /f >/dev/null 2>&1 || true
  "$ONDAV_WINE" reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce' /v GrpConv /f >/dev/null 2>&1 || true
}
cleanup_before
# Relay-trace only the registry writes (a per-prefix Wine debug setting).
relay_key='HKCU\Software\Wine\Debug'
if ! "$ONDAV_WINE" reg query "$relay_key" >/dev/null 2>&1; then
  relay_set=key  # Wine adds its own relay defaults beside ours: remove the whole key after
elif ! "$ONDAV_WINE" reg query "$relay_key" /v RelayInclude >/dev/null 2>&1; then
  relay_set=value
fi
if [ -n "$relay_set" ]; then
  "$ONDAV_WINE" reg add "$relay_key" /v RelayInclude /t REG_SZ /d 'advapi32.RegSetValueExA;kernelbase.RegSetValueExA' /f >/dev/null 2>&1
fi
[ ! -e "$target" ] || fail "$target exists before the run"


wait_exit() {
  local i
  for i in $(seq 1 300); do
    kill -0 "$setup_pid" 2>/dev/null || { wait "$setup_pid" || true; setup_pid=; return 0; }
    sleep 0.1
  done
  fail "ondavsetup.exe still running 30 s after Finish"
}

start_setup() {
  WINEDEBUG=+relay "$ONDAV_WINE" "$stage/ondavsetup.exe" >>"$log" 2>&1 &
  setup_pid=$!
}

echo "== install run"
start_setup
w=$(wait_focusable '^Ondavis Setup$' 90); shot_window "$w" 01-greeting; key "$w" Return
w=$(wait_focusable '^Bienvenue!$'); shot_window "$w" 02-welcome; key "$w" Return
w=$(wait_focusable '^Acceptation de la licence$'); shot_window "$w" 03-license; key "$w" Tab space
w=$(wait_focusable '^Installation ou D'); shot_window "$w" 04-type; key "$w" Return
w=$(wait_focusable '^Choisissez le r'); shot_window "$w" 05-destination; key "$w" Return
w=$(wait_focusable "^Options d'installation"); shot_window "$w" 06-options; key "$w" Return
# The page says Enter finishes: it must.
w=$(wait_focusable '^Installation$'); shot_window "$w" 07-finish; key "$w" Return
wait_exit

for f in ondav.exe license.txt lisezmoi.txt exemples/sinus.osc exemples/carre.osc exemples/silence.osc; do
  cmp -s "$stage/$f" "$target/$f" || fail "C:\\Ondav\\$f missing or not identical to the shipped file"
  echo "installed identical: C:\\Ondav\\$f"
done
for f in ondavsetup.exe ondav.inf; do cmp -s "$stage/$f" "$target/$f" || fail "C:\\Ondav\\$f not installed for a later uninstallation"; done
reg=$("$ONDAV_WINE" reg query 'HKLM\Software\Korvel\Ondavis\SetupInfo' 2>/dev/null | tr -d '\r')
echo "$reg"
for v in 'Auteur    REG_SZ    Korvel' 'Editeur    REG_SZ    Korvel' 'Produit    REG_SZ    Ondavis' \
         'Email    REG_SZ    contact@korvel.fr' 'DestinationPath    REG_SZ    C:\Ondav\'; do
  grep -qF "$v" <<<"$reg" || fail "SetupInfo lacks: $v"
done
runonce=$("$ONDAV_WINE" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce' 2>/dev/null | tr -d '\r')
grep -q 'GrpConv    REG_SZ    grpconv -o' <<<"$runonce" || fail "no GrpConv"
! grep -q Wrapper <<<"$runonce" || fail "Wrapper written without a Setup subkey"
# The lengths the installer handed to RegSetValueExA (relay trace): each
# SetupInfo string without its NUL, the restart command with it.
for pair in Auteur:6 Editeur:6 Produit:7 Email:17 DestinationPath:9 GrpConv:11; do
  n=$(printf '%08x' "${pair##*:}")
  # (the relay prints whole 64-bit registers: only their low 32 bits are the DWORDs)
  grep -qE "Call advapi32\.RegSetValueExA\([0-9a-f]+,[0-9a-f]+ \"${pair%%:*}\",[0-9a-f]*00000000,[0-9a-f]*00000001,[0-9a-f]+,[0-9a-f]*$n\)" "$log" ||
    fail "${pair%%:*} not written with length ${pair##*:}"
done
grep -E 'Call advapi32\.RegSetValueExA' "$log" | sed 's/^[0-9a-f]*://; s/ ret=.*//'

echo "== uninstall run"
start_setup
w=$(wait_focusable '^Ondavis Setup$' 90); key "$w" Return
w=$(wait_focusable '^Bienvenue!$'); key "$w" Return
w=$(wait_focusable '^Acceptation de la licence$'); key "$w" Tab space
w=$(wait_focusable '^Installation ou D'); key "$w" Down
sleep 1; shot_window "$w" 08-uninstall; click_finish "$w"
wait_exit
for f in ondav.exe license.txt lisezmoi.txt exemples/sinus.osc exemples/carre.osc exemples/silence.osc; do
  [ ! -e "$target/$f" ] || fail "C:\\Ondav\\$f left after uninstalling"
done
[ ! -e "$target" ] || fail "C:\\Ondav left after uninstalling"
echo "uninstalled: C:\\Ondav removed"
echo "== run from a folder too deep for the installer to learn its own path"
# A script of the same name in the system's INF folder must not stand in for ours.
cp "$stage/ondav.inf" "$stray_inf"
deep=$deep_root
for i in 1 2 3 4 5; do deep=$deep/un-dossier-assez-long-pour-depasser-la-limite-des-chemins-$i; done
mkdir -p "$deep"
cp -r "$stage/." "$deep/"
WINEDEBUG=-all "$ONDAV_WINE" "$deep/ondavsetup.exe" >>"$log" 2>&1 &
setup_pid=$!
w=$(wait_focusable '^Ondavis Setup$' 90); key "$w" Return
w=$(wait_focusable '^Product Sample Install Error$'); shot_window "$w" 09-deep-folder
! xdotool search --onlyvisible --name '^Bienvenue!$' >/dev/null 2>&1 || fail "the wizard ran on a script found elsewhere"
key "$w" Return
wait_exit
rm -f "$stray_inf"
echo "deep folder: the missing script is reported"
echo "PASS"
