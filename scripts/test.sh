#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds both architectures
# and runs the suites under Wine, each test in a prefix and on an Xvfb of its
# own. The i686 build (what ships, under the 32-bit loader in a 32-bit
# prefix) runs every suite and end-to-end check; the x86_64 build (wine64)
# runs the in-process suites, the part that can differ on 64 bits.
# The work overlaps: Wine and the test tools install, and the Wine prefixes
# the tests copy are made, while both builds compile side by side; then both
# test runs go side by side, the tests mostly waiting (for Wine, windows,
# sound and the printer) and no compiler beside them.
#   --long   the long runs too: the document fuzz on 3000 files.
# Other arguments go to both ctest runs. Prints the time of each phase.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
args=()
for a in "$@"; do
  if [ "$a" = --long ]; then export ONDAV_FUZZ_FILES=3000; else args+=("$a"); fi
done
jobs_i686=${ONDAV_TEST_JOBS:-5}
jobs_x86_64=${ONDAV_TEST_JOBS:-3}
mkdir -p "$root/build"

declare -A phase
order=()
timed() {   # NAME COMMAND...: runs it and keeps its time
  local name=$1 t0=$SECONDS
  shift
  "$@"
  phase[$name]=$((SECONDS - t0))
  order+=("$name")
}
wait_for() {   # NAME PID LOG: waits for a part started at $started, fails with its log's end
  if ! wait "$2"; then
    tail -n 40 "$3"
    echo "$1 failed ($3)" >&2
    exit 1
  fi
  phase["$1 done after"]=$((SECONDS - started))
  order+=("$1 done after")
}
# A test that fails runs once more: with eight Wine checks on two cores, a
# check now and then finds no window of a program it started. Its failed try
# stays in the log, and the summary names it.
ctest_in() {   # ARCH JOBS CTEST-ARGS...
  local arch=$1 jobs=$2
  shift 2
  (cd "$root/build/$arch" && ctest --output-on-failure --timeout 600 --repeat until-pass:2 -j"$jobs" "$@" "${args[@]}")
}
# The tests of a ctest log that failed a try and passed the next.
passed_on_retry() {   # LOG
  grep -E 'Test +#[0-9]+: ' "$1" | awk '{ for (i = 1; i < NF; i++) if ($i ~ /^#[0-9]+:$/) { n = $(i + 1); break } }
    /\*\*\*/ { failed[n] = 1 } / Passed / { passed[n] = 1 }
    END { for (n in failed) if (n in passed) printf "%s ", n }'
}
# The log of each run is build/ARCH/ctest.log; the i686 run is also shown as it goes.
run_ctest() { ctest_in "$@" >"$root/build/$1/ctest.log" 2>&1; }
show_ctest() { ctest_in "$@" 2>&1 | tee "$root/build/$1/ctest.log"; }
# The template prefix that every test's prefix is copied from (the ctest
# fixture wine_prefix makes it when it is missing).
make_template() {   # ARCH [wow64]
  env ONDAV_ARCH="$1" ONDAV_WOW64="$([ "${2:-}" = wow64 ] && echo 1 || echo 0)" \
      ONDAV_WINEPREFIX="$root/build/$1/wineprefix-template" ONDAV_PRIVATE_DISPLAY=1 \
      bash -c 'source "$0/scripts/wine-env.sh" && ondav_ensure_prefix' "$root"
}
packages_and_prefixes() {
  "$root/scripts/deps.sh" run
  make_template i686 && make_template i686 wow64 && make_template x86_64
}
build_in_background() {   # ARCH: its log is build/ARCH-build.log
  "$root/scripts/build.sh" "$1" >"$root/build/$1-build.log" 2>&1
}

timed "deps (compilers)" "$root/scripts/deps.sh" build
packages_and_prefixes >"$root/build/deps-run.log" 2>&1 &
packages=$!
echo "=== building i686 and x86_64 side by side; Wine and the test tools install meanwhile"
started=$SECONDS
build_in_background i686 & b686=$!
build_in_background x86_64 & b64=$!
wait_for "build i686" $b686 "$root/build/i686-build.log"
wait_for "build x86_64" $b64 "$root/build/x86_64-build.log"
wait_for "packages and prefixes" $packages "$root/build/deps-run.log"

echo "=== ctest: i686 under the 32-bit loader (/usr/lib/wine/wine), -j$jobs_i686; beside it x86_64 under wine64 (in-process suites), -j$jobs_x86_64"
t0=$SECONDS
run_ctest x86_64 "$jobs_x86_64" -LE '^e2e$' & x86=$!
show_ctest i686 "$jobs_i686" || true
phase["ctest i686"]=$((SECONDS - t0))
wait $x86 || true
phase["ctest x86_64 done after"]=$((SECONDS - t0))
order+=("ctest i686" "ctest x86_64 done after")
echo "=== x86_64: ctest under wine64"
cat "$root/build/x86_64/ctest.log"

echo
echo "=== Summary ($SECONDS s: $(for p in "${order[@]}"; do printf '%s %s s, ' "$p" "${phase[$p]}"; done | sed 's/, $//'))"
rc=0
for arch in i686 x86_64; do
  line=$(grep -E 'tests passed|No tests were found' "$root/build/$arch/ctest.log" | tail -n 1 || true)
  echo "$arch: ${line:-no ctest summary}"
  retried=$(passed_on_retry "$root/build/$arch/ctest.log")
  [ -z "$retried" ] || echo "$arch: failed once, passed when run again: $retried"
  case $line in "100% tests passed"*) ;; *) rc=1 ;; esac
done
exit $rc
