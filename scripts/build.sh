#!/usr/bin/env bash
# Builds Ondavis for i686 (the deliverables) and x86_64 (the same sources,
# tested side by side).
# Usage: scripts/build.sh [i686|x86_64|all] [target...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
archs=${1:-all}
shift || true
[ "$archs" = all ] && archs="i686 x86_64"
targets=()
for t in "$@"; do targets+=(--target "$t"); done
for a in $archs; do
  cmake -S "$root" -B "$root/build/$a" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$a.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DONDAV_TESTS=ON >/dev/null
  cmake --build "$root/build/$a" -j"$(nproc)" "${targets[@]}"
done
