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
# Through env, so that the French LC_ALL reaches Wine without the shell
# trying to load a Linux locale that may not be installed.
ONDAV_WINE="$_ondav_root/scripts/$_ondav_loader"

# Creates the prefix once; several callers may race for it, so take a lock.
ondav_ensure_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      "$ONDAV_WINE" wineboot -i >/dev/null 2>&1 || true
      wineserver -w
      "$ONDAV_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
      wineserver -w
    fi
    # No window manager here: Wine draws the captions and borders itself,
    # and windows stand where the program puts them.
    if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
      "$ONDAV_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
      wineserver -w
    fi
  ) 9>"$WINEPREFIX.lock"
}
