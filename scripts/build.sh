#!/usr/bin/env bash
# Builds Ondavis for i686 (the deliverables) and x86_64 (runs here under Wine).
# Usage: scripts/build.sh [i686|x86_64|all]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
archs=${1:-all}
[ "$archs" = all ] && archs="i686 x86_64"
for a in $archs; do
  cmake -S "$root" -B "$root/build/$a" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$a.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DONDAV_I686_DIST="$root/build/i686/dist" >/dev/null
  cmake --build "$root/build/$a" -j"$(nproc)"
done
