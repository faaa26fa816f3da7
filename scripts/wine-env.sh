# Sourced: sets up a private Wine prefix for running our Windows programs.
# ONDAV_WINEPREFIX chooses the prefix (default: build/wineprefix of the checkout).
_ondav_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${ONDAV_WINEPREFIX:-$_ondav_root/build/wineprefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=fr_FR.UTF-8
# Through env, so that the French LC_ALL reaches Wine without the shell
# trying to load a Linux locale that may not be installed.
ONDAV_WINE="$_ondav_root/scripts/wine64"

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
