#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds both architectures,
# and runs every suite of each under Wine — the i686 build (what ships) under
# the 32-bit loader in a 32-bit prefix, the x86_64 build under wine64 — in
# private prefixes and a private Xvfb. Extra arguments go to both ctest runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
start=$(date +%s)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" all
source "$root/scripts/xvfb.sh"
ondav_start_xvfb
stop_all() {
  local a
  for a in i686 x86_64; do
    WINEPREFIX=$root/build/$a/wineprefix wineserver -k 2>/dev/null || true
  done
  # Only a display this script started; never the caller's process group.
  if [ -n "${ONDAV_XVFB_PID:-}" ]; then kill "$ONDAV_XVFB_PID" 2>/dev/null || true; fi
}
trap stop_all EXIT

declare -A summary status
for arch in i686 x86_64; do
  echo "=== $arch: ctest under $([ $arch = i686 ] && echo 'the 32-bit loader (/usr/lib/wine/wine)' || echo 'wine64')"
  log=$root/build/$arch/ctest.log
  set +e
  (cd "$root/build/$arch" && ctest --output-on-failure --timeout 600 -j2 "$@") 2>&1 | tee "$log"
  status[$arch]=${PIPESTATUS[0]}
  set -e
  summary[$arch]=$(grep -E 'tests passed|No tests were found' "$log" | tail -n 1)
done

echo
echo "=== Summary ($(( $(date +%s) - start )) s)"
rc=0
for arch in i686 x86_64; do
  echo "$arch: ${summary[$arch]:-no ctest summary} (exit ${status[$arch]})"
  [ "${status[$arch]}" -eq 0 ] && [ -n "${summary[$arch]}" ] || rc=1
done
exit $rc
