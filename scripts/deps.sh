#!/usr/bin/env bash
# Installs what building and testing Ondavis needs, when it is missing (Debian).
#   scripts/deps.sh [all|build|run]
# build: the compilers and what the build runs; run: Wine, the displays, the
# printer and the rest the tests run. scripts/test.sh installs the second
# part while the first build compiles.
set -euo pipefail
part=${1:-all}
need=()
have() { command -v "$1" >/dev/null 2>&1; }
have cmake                          || need+=(cmake)
have python3                        || need+=(python3)
have i686-w64-mingw32-g++-posix     || need+=(g++-mingw-w64-i686-posix)
have x86_64-w64-mingw32-g++-posix   || need+=(g++-mingw-w64-x86-64-posix)
have x86_64-w64-mingw32-windres     || need+=(binutils-mingw-w64-x86-64)
have i686-w64-mingw32-windres       || need+=(binutils-mingw-w64-i686)
have x86_64-w64-mingw32-widl        || need+=(mingw-w64-tools)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
build_need=("${need[@]}")
need=()
[ -x /usr/lib/wine/wine64 ]         || need+=(wine wine64)
have Xvfb                           || need+=(xvfb)
have xdotool                        || need+=(xdotool)
have import                         || need+=(imagemagick)
have xwininfo                       || need+=(x11-utils)
have file                           || need+=(file)
# The printer of the print tests: a private CUPS server and Ghostscript.
[ -x /usr/sbin/cupsd ]              || need+=(cups-daemon)
have lpadmin                        || need+=(cups-client)
have gs                             || need+=(ghostscript)
# The exchange tests: sox makes the sounds they open and reads what they export.
have sox                            || need+=(sox)
# The clocked microphone of the measures check: a private PulseAudio server.
have pulseaudio                     || need+=(pulseaudio)
have pacat                          || need+=(pulseaudio-utils)
need32=
[ -x /usr/lib/wine/wine ]           || need32=wine32
# The scripts run Wine under LC_ALL=fr_FR.UTF-8, and Wine takes file names'
# encoding from that locale: were it not generated, no name with « é » could
# be created. Debian generates none by default.
have_locale() { locale -a 2>/dev/null | grep -qix 'fr_fr\.utf-\?8'; }
have_locale || { have locale-gen || need+=(locales); }

make_locale() {
  have_locale && return 0
  echo "Generating the fr_FR.UTF-8 locale"
  if grep -q '^# *fr_FR.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    sed -i 's/^# *fr_FR.UTF-8 UTF-8/fr_FR.UTF-8 UTF-8/' /etc/locale.gen
  elif ! grep -q '^fr_FR.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'fr_FR.UTF-8 UTF-8' >>/etc/locale.gen
  fi
  locale-gen >/dev/null
  have_locale || { echo "the fr_FR.UTF-8 locale could not be generated" >&2; exit 1; }
}

case $part in
  build) need=("${build_need[@]}"); need32= ;;
  run)   ;;
  all)   need+=("${build_need[@]}") ;;
  *)     echo "usage: scripts/deps.sh [all|build|run]" >&2; exit 2 ;;
esac
[ "$part" = build ] || make_locale_after=1

if [ ${#need[@]} -eq 0 ] && [ -z "$need32" ]; then
  [ -z "${make_locale_after:-}" ] || make_locale
  exit 0
fi
export DEBIAN_FRONTEND=noninteractive
# The package lists are read once: the first part to need them adds the
# 32-bit architecture if Wine's 32-bit loader will be wanted, then updates.
lists_stamp=/var/lib/apt/lists/.ondav-updated
if [ ! -e "$lists_stamp" ] || [ -n "$(find "$lists_stamp" -mmin +60 2>/dev/null)" ]; then
  if [ ! -x /usr/lib/wine/wine ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update -qq
  touch "$lists_stamp"
fi
echo "Installing ($part): ${need[*]} $need32"
if [ ${#need[@]} -gt 0 ]; then
  apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi
# wine's recommended pieces (fonts, ALSA plugins) are wanted too, and the
# 32-bit loader runs the i686 programs, the ones that ship.
if [ "$part" != build ]; then
  apt-get install -y -qq wine64 wine32 >/dev/null
  make_locale
fi
