# Sourced: sets up a private Wine prefix for running our Windows programs.
# ONDAV_ARCH chooses the build whose programs run: i686 (the deliverables,
# under the 32-bit loader in a 32-bit prefix) or x86_64 (under wine64).
# ONDAV_WINEPREFIX chooses the prefix (default: one per architecture in build/).
# ONDAV_WOW64=1 runs the i686 programs in a 64-bit prefix instead, as 64-bit
# Windows runs them (WOW6432Node, SysWOW64, Program Files (x86)); that prefix
# is the chosen one's sibling, with "-wow64" after its name.
_ondav_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export ONDAV_ARCH=${ONDAV_ARCH:-x86_64}
_ondav_suffix=
case $ONDAV_ARCH in
  i686)   export WINEARCH=win32; _ondav_loader=wine32
          if [ "${ONDAV_WOW64:-0}" = 1 ]; then WINEARCH=win64; _ondav_suffix=-wow64; fi ;;
  x86_64) export WINEARCH=win64; _ondav_loader=wine64 ;;
  *) echo "unknown ONDAV_ARCH: $ONDAV_ARCH" >&2; return 1 ;;
esac
export WINEPREFIX=${ONDAV_WINEPREFIX:-$_ondav_root/build/wineprefix-$ONDAV_ARCH}$_ondav_suffix
export WINEDEBUG=${WINEDEBUG:--all}
# winemenubuilder would copy Start-menu shortcuts into the host desktop's menus.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=fr_FR.UTF-8
# Wine tries its PulseAudio driver first: unless a server is given (the clocked
# microphone of scripts/pulsemic.sh), none is started for it, and ALSA's
# default device (the microphone of scripts/vmic.sh) is the one recorded.
export PULSE_SERVER=${PULSE_SERVER:-unix:/nonexistent}
# Through env, so that the French LC_ALL reaches Wine without the shell
# trying to load a Linux locale that may not be installed.
ONDAV_WINE="$_ondav_root/scripts/$_ondav_loader"

# Makes the prefix $1 with wineboot: French, no crash dialog, no window
# manager (Managed=N: Wine draws the captions and borders itself, windows
# stand where the program puts them, as suits a private Xvfb).
_ondav_boot_prefix() {
  (
    export WINEPREFIX=$1
    "$ONDAV_WINE" wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    "$ONDAV_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
    "$ONDAV_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
    wineserver -w
  )
}

# Copies prefix $1 to $2. Windows' own programs and libraries (nine tenths of
# half a gigabyte, never written in place) are hard links; everything else,
# the registry and the .ini files first, is a copy of its own.
_ondav_copy_prefix() {
  cp -al "$1" "$2" || return 1
  (
    cd "$2" && find . -type f ! \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.drv' -o -iname '*.sys' \
      -o -iname '*.nls' -o -iname '*.tlb' -o -iname '*.acm' -o -iname '*.ocx' -o -iname '*.cpl' \
      -o -iname '*.ttf' -o -iname '*.ds' \) -exec sh -c 'for f; do cp -p "$f" "$f.c" && mv "$f.c" "$f"; done' sh {} +
  )
}

# Makes the prefix where it is missing. With ONDAV_PREFIX_TEMPLATE (the test
# runs set it) the prefix is a copy of that template, itself made once: a
# wineboot costs 20-30 s, a copy about a second. Several callers may race
# for a prefix, so each is made under a lock.
ondav_ensure_prefix() {
  local template=
  [ -n "${ONDAV_PREFIX_TEMPLATE:-}" ] && template=$ONDAV_PREFIX_TEMPLATE$_ondav_suffix
  [ "$template" = "$WINEPREFIX" ] && template=
  mkdir -p "$(dirname "$WINEPREFIX")"
  if [ -n "$template" ]; then
    mkdir -p "$(dirname "$template")"
    ( flock 9; [ -f "$template/system.reg" ] || _ondav_boot_prefix "$template" ) 9>"$template.lock"
  fi
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      if [ -n "$template" ]; then
        rm -rf "$WINEPREFIX" "$WINEPREFIX.copy"
        _ondav_copy_prefix "$template" "$WINEPREFIX.copy" && mv "$WINEPREFIX.copy" "$WINEPREFIX"
      else
        _ondav_boot_prefix "$WINEPREFIX"
      fi
    fi
  ) 9>"$WINEPREFIX.lock"
}

# ondav_window_manager yes|no: whether the windows of the prefix are left to
# a window manager. A real desktop has one (with Managed=N its windows could
# not be moved, minimised or listed); a private Xvfb has none.
ondav_window_manager() {
  local unmanaged=no
  grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null && unmanaged=yes
  if [ "$1" = yes ] && [ $unmanaged = yes ]; then
    "$ONDAV_WINE" reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
  elif [ "$1" = no ] && [ $unmanaged = no ]; then
    "$ONDAV_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
  else
    return 0
  fi
  wineserver -w
}

# Under ctest every test has a display of its own (see xvfb.sh).
if [ "${ONDAV_PRIVATE_DISPLAY:-0}" = 1 ]; then
  source "$_ondav_root/scripts/xvfb.sh"
  ondav_start_xvfb
fi
