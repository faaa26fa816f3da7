#!/usr/bin/env bash
# Installs what building and testing Ondavis needs, when it is missing (Debian).
set -euo pipefail
need=()
have() { command -v "$1" >/dev/null 2>&1; }
have cmake                          || need+=(cmake)
have i686-w64-mingw32-g++-posix     || need+=(g++-mingw-w64-i686-posix)
have x86_64-w64-mingw32-g++-posix   || need+=(g++-mingw-w64-x86-64-posix)
have x86_64-w64-mingw32-windres     || need+=(binutils-mingw-w64-x86-64)
have i686-w64-mingw32-windres       || need+=(binutils-mingw-w64-i686)
have x86_64-w64-mingw32-widl        || need+=(mingw-w64-tools)
[ -x /usr/lib/wine/wine64 ]         || need+=(wine wine64)
have Xvfb                           || need+=(xvfb)
have xdotool                        || need+=(xdotool)
have import                         || need+=(imagemagick)
have xwininfo                       || need+=(x11-utils)
have file                           || need+=(file)
have python3                        || need+=(python3)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
# The printer of the print tests: a private CUPS server and Ghostscript.
[ -x /usr/sbin/cupsd ]              || need+=(cups-daemon)
have lpadmin                        || need+=(cups-client)
have gs                             || need+=(ghostscript)
# The exchange tests: sox makes the sounds they open and reads what they export.
have sox                            || need+=(sox)
need32=
[ -x /usr/lib/wine/wine ]           || need32=wine32

[ ${#need[@]} -eq 0 ] && [ -z "$need32" ] && exit 0
export DEBIAN_FRONTEND=noninteractive
if [ -n "$need32" ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
echo "Installing: ${need[*]} $need32"
apt-get update -qq
if [ ${#need[@]} -gt 0 ]; then
  apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi
# wine's recommended pieces (fonts, ALSA plugins) are wanted too, and the
# 32-bit loader runs the i686 programs, the ones that ship.
apt-get install -y -qq wine64 wine32 >/dev/null
