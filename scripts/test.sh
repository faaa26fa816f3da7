#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds both architectures,
# and runs every suite under Wine (in a private prefix and a private Xvfb).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" all
source "$root/scripts/xvfb.sh"
source "$root/scripts/wine-env.sh"
ondav_start_xvfb
ondav_ensure_prefix
wineserver -p 60
trap 'wineserver -k 2>/dev/null || true; kill ${ONDAV_XVFB_PID:-0} 2>/dev/null || true' EXIT
cd "$root/build/x86_64"
ctest --output-on-failure --timeout 300 -j2 "$@"
