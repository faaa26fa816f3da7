#!/usr/bin/env bash
# End to end, twice in a row: install with the real ondavsetup.exe from a copy
# of dist/ driven under Xvfb, delete that copy, check the Add/Remove Programs
# entry and start each Start-menu shortcut, then uninstall through the
# entry's UninstallString and check that everything installing added is gone.
# Usage: e2e_entries.sh <source dir> <binary dir>
set -euo pipefail
src=$1
bin=$2
art=$bin/artifacts/setup-entries$([ "${ONDAV_WOW64:-0}" = 1 ] && echo -wow64 || true)
ARTIFACTS=$art
mkdir -p "$art"
rm -f "$art"/*.png

source "$src/tests/e2e/lib.sh"

target=$WINEPREFIX/drive_c/Ondav
group_win='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Ondavis'
group=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Ondavis
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ondavis'
stage=
pids=()
# A program's first window, with eight Wine checks on two cores, can take
# well over half a minute to come.
first=90
log=$art/run.log
: >"$log"

wreg() { "$ONDAV_WINE" reg "$@" 2>/dev/null | tr -d '\r'; }
clean_state() {
  rm -rf "$target" "$group"
  "$ONDAV_WINE" reg delete 'HKLM\Software\Korvel\Ondavis' /f >/dev/null 2>&1 || true
  "$ONDAV_WINE" reg delete "$uninstall_key" /f >/dev/null 2>&1 || true
  "$ONDAV_WINE" reg delete 'HKCU\Software\Classes\.osc' /f >/dev/null 2>&1 || true
  "$ONDAV_WINE" reg delete 'HKCU\Software\Classes\Ondagramme' /f >/dev/null 2>&1 || true
  "$ONDAV_WINE" reg delete 'HKLM\Software\Classes\.osc' /f >/dev/null 2>&1 || true
  "$ONDAV_WINE" reg delete 'HKLM\Software\Classes\Ondagramme' /f >/dev/null 2>&1 || true
  "$ONDAV_WINE" reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce' /v GrpConv /f >/dev/null 2>&1 || true
}
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  [ -n "$stage" ] && rm -rf "$stage"
  clean_state
  [ -n "${ONDAV_XVFB_PID:-}" ] && kill "$ONDAV_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
wait_gone() {  # <pid> <seconds>
  local i
  for i in $(seq 1 $(( $2 * 10 ))); do
    kill -0 "$1" 2>/dev/null || { wait "$1" 2>/dev/null || true; return 0; }
    sleep 0.1
  done
  local w
  for w in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do echo "window up: $(xdotool getwindowname "$w")"; done
  import -window root "$art/stuck.png" 2>/dev/null || true
  fail "process $1 still running after $2 s"
}
# Ends the program that owns a window: by its process id, which Wine gives the window.
# It is gone before the next step starts, as its files are the next step's.
end_window_owner() {
  local pid i
  pid=$(xdotool getwindowpid "$1" 2>/dev/null || true)
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null || true
  for i in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.1; done
  kill -9 "$pid" 2>/dev/null || true
}

# install_with <installer> click|key: walks the wizard with its defaults and
# ends on the last page by a click on Finish or by Enter.
install_with() {
  "$ONDAV_WINE" "$1" >>"$log" 2>&1 &
  setup_pid=$!; pids+=("$setup_pid")
  w=$(wait_focusable '^Ondavis Setup$' $first); key "$w" Return
  w=$(wait_focusable '^Bienvenue!$'); key "$w" Return
  w=$(wait_focusable '^Acceptation de la licence$'); key "$w" Tab space
  w=$(wait_focusable '^Installation ou D'); key "$w" Return
  w=$(wait_focusable '^Choisissez le r'); key "$w" Return
  w=$(wait_focusable "^Options d'installation"); key "$w" Return
  w=$(wait_focusable '^Installation$')
  if [ "$2" = click ]; then click_finish "$w"; else key "$w" Return; fi
  wait_gone "$setup_pid" 60
}

run_round() {
  local round=$1 w setup_pid f
  echo "== round $round: install from a copy of dist, then delete that copy"
  stage=$(mktemp -d "$bin/e2e-entries.XXXXXX")
  cp -r "$bin/dist/." "$stage/"
  install_with "$stage/ondavsetup.exe" click
  rm -rf "$stage"; stage=
  for f in ondav.exe ondavsetup.exe ondav.inf license.txt lisezmoi.txt exemples/sinus.osc; do
    [ -f "$target/$f" ] || fail "C:\\Ondav\\$f not installed"
  done

  local entry
  entry=$(wreg query "$uninstall_key")
  echo "$entry"
  for v in 'DisplayName    REG_SZ    Ondavis' 'DisplayVersion    REG_SZ    1.0.10.1999' 'Publisher    REG_SZ    Korvel' \
           'DisplayIcon    REG_SZ    C:\Ondav\ondav.exe,0' 'InstallLocation    REG_SZ    C:\Ondav\' \
           'UninstallString    REG_SZ    "C:\Ondav\ondavsetup.exe" /uninstall' 'NoModify    REG_DWORD    0x1' \
           'NoRepair    REG_DWORD    0x1' 'EstimatedSize    REG_DWORD'; do
    grep -qF "$v" <<<"$entry" || fail "Uninstall entry lacks: $v"
  done

  # The document type, for every user of the machine.
  wreg query 'HKLM\Software\Classes\Ondagramme\shell\open\command' | grep -qF '"C:\Ondav\ondav.exe" "%1"' ||
    fail "the installer did not register .osc for the machine"

  echo "== round $round: each shortcut starts what it names"
  for f in Ondavis.lnk Lisez-moi.lnk "Desinstaller l'Ondavis.lnk"; do
    [ -f "$group/$f" ] || fail "no shortcut $f"
  done
  "$ONDAV_WINE" start "$group_win\\Ondavis.lnk" >>"$log" 2>&1 || true  # its status is not the program's
  # Without a sound card the program first says so in a box of its own; it
  # registers its document type once its main window is up.
  w=$(wait_main_window 'Sans titre - Ondavis' $first); shot_window "$w" "$round-program"
  for i in $(seq 1 25); do wreg query 'HKCU\Software\Classes\.osc' | grep -q Ondagramme && break; sleep 0.2; done
  wreg query 'HKCU\Software\Classes\.osc' | grep -q Ondagramme || fail "the program did not register .osc"
  end_window_owner "$w"
  "$ONDAV_WINE" start "$group_win\\Lisez-moi.lnk" >>"$log" 2>&1 || true  # its status is not the program's
  w=$(wait_focusable 'lisezmoi' $first); shot_window "$w" "$round-readme"; end_window_owner "$w"
  "$ONDAV_WINE" start "$group_win\\Desinstaller l'Ondavis.lnk" >>"$log" 2>&1 || true  # its status is not the program's
  w=$(wait_focusable '^Ondavis Setup$' $first); shot_window "$w" "$round-uninstaller"; end_window_owner "$w"
  echo "shortcuts: the program, the read-me and the installer started"

  echo "== round $round: install again, from the installed copy, over itself"
  install_with 'C:\Ondav\ondavsetup.exe' key
  ! xdotool search --onlyvisible --name '^Product Sample Install Error$' >/dev/null 2>&1 ||
    fail "installing over the installed copy ended with the error box"
  for f in ondav.exe ondavsetup.exe ondav.inf license.txt; do
    [ -f "$target/$f" ] || fail "C:\\Ondav\\$f gone after installing over itself"
  done

  echo "== round $round: uninstall through the UninstallString: straight to its question"
  local cmd exe args
  cmd=$(sed -n 's/.*UninstallString    REG_SZ    //p' <<<"$entry")
  exe=${cmd#\"}; exe=${exe%%\"*}; args=${cmd##*\" }
  [ "${2:-}" = no-temp ] && unusable_temp
  "$ONDAV_WINE" "$exe" $args >>"$log" 2>&1 &
  setup_pid=$!; pids+=("$setup_pid")
  w=$(wait_focusable "^D.*sinstallation de l'Ondavis$" $first)
  ! xdotool search --onlyvisible --name '^(Ondavis Setup|Bienvenue!)$' >/dev/null 2>&1 || fail "the greeting or the wizard came up"
  shot_window "$w" "$round-uninstall"; key "$w" Return
  if [ "${2:-}" = no-temp ]; then
    finished_at_restart "$w"
    return
  fi
  wait_gone "$setup_pid" 60
  # The installed installer goes once it has ended, and its folder with it.
  for i in $(seq 1 300); do [ -e "$target" ] || break; sleep 0.1; done
  [ ! -e "$target" ] || { ls -la "$target"; fail "C:\\Ondav left 30 s after the uninstallation"; }
  # The copy that removed it, in the temporary folder, goes at the next start.
  wreg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations |
    grep -q 'ondavsetup-remove' || fail "the removing copy is not scheduled for deletion"
  [ ! -e "$group" ] || fail "Start-menu group left"
  ! wreg query "$uninstall_key" >/dev/null || fail "Uninstall entry left"
  ! wreg query 'HKCU\Software\Classes\.osc' >/dev/null || fail ".osc association left"
  ! wreg query 'HKCU\Software\Classes\Ondagramme' >/dev/null || fail "Ondagramme type left"
  ! wreg query 'HKLM\Software\Classes\Ondagramme' >/dev/null || fail "the machine's Ondagramme type left"
  wreg query 'HKLM\Software\Korvel\Ondavis\SetupInfo' | grep -q 'DestinationPath' || fail "SetupInfo record not kept"
  echo "round $round: uninstalled, nothing left"
}

# With no usable temporary folder the installed installer cannot hand over
# to a copy of itself: it is left for the restart, and says so.
temp_vars=()
unusable_temp() {
  local v
  for v in TEMP TMP; do
    temp_vars+=("$v" "$(wreg query 'HKCU\Environment' /v $v | sed -n "s/^ *$v  *REG_[A-Z_]*  *//p")")
    "$ONDAV_WINE" reg add 'HKCU\Environment' /v $v /t REG_SZ /d 'C:\nulle-part' /f >/dev/null 2>&1
  done
}
restore_temp() {
  local i
  for ((i = 0; i < ${#temp_vars[@]}; i += 2)); do
    "$ONDAV_WINE" reg add 'HKCU\Environment' /v "${temp_vars[i]}" /t REG_EXPAND_SZ /d "${temp_vars[i + 1]}" /f >/dev/null 2>&1
  done
  temp_vars=()
}
finished_at_restart() {   # <the question's window>
  local r i
  for ((i = 0; i < 300; i++)); do
    r=$(xdotool search --onlyvisible --name "^D.*sinstallation de l'Ondavis$" 2>/dev/null | grep -vx "$1" | tail -n 1 || true)
    [ -n "$r" ] && break
    sleep 0.1
  done
  restore_temp
  [ -n "$r" ] || fail "no message that a restart finishes the uninstallation"
  sleep 0.5; shot_window "$r" "$round-restart"; key "$r" Return
  wait_gone "$setup_pid" 60
  [ "$(ls "$target")" = ondavsetup.exe ] || { ls -la "$target"; fail "C:\\Ondav holds more than the installer left for the restart"; }
  wreg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations |
    grep -qi 'Ondav\\ondavsetup\.exe' || fail "the installed installer is not scheduled for removal at restart"
  [ ! -e "$group" ] || fail "Start-menu group left"
  ! wreg query "$uninstall_key" >/dev/null || fail "Uninstall entry left"
  echo "round $round: uninstalled, the installer left for the restart and said so"
}

clean_state
run_round 1
run_round 2
run_round 3 no-temp
echo "PASS"
