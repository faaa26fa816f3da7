#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds both architectures
# and runs the suites under Wine, each test in a prefix and on an Xvfb of its
# own. The i686 build (what ships, under the 32-bit loader in a 32-bit
# prefix) runs every suite and end-to-end check; the x86_64 build (wine64)
# runs the in-process suites, the part that can differ on 64 bits.
# The tests mostly wait (for Wine, windows, sound and the printer), so the
# work overlaps: Wine and the test tools install, and the Wine prefixes the
# tests copy are made, while the i686 build compiles; the x86_64 build and
# its tests run at the lowest priority beside the i686 tests.
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
wait_for() {   # NAME PID LOG: waits for a background part, fails with its log's end
  local t0=$SECONDS
  if ! wait "$2"; then
    tail -n 40 "$3"
    echo "$1 failed ($3)" >&2
    exit 1
  fi
  phase["wait for $1"]=$((SECONDS - t0))
  order+=("wait for $1")
}
run_ctest() {   # ARCH JOBS CTEST-ARGS...: the log is build/ARCH/ctest.log
  local arch=$1 jobs=$2
  shift 2
  (cd "$root/build/$arch" && ctest --output-on-failure --timeout 600 -j"$jobs" "$@" "${args[@]}") \
    >"$root/build/$arch/ctest.log" 2>&1
}
show_ctest() {   # ARCH JOBS CTEST-ARGS...: the same, shown as it goes
  local arch=$1 jobs=$2
  shift 2
  set -o pipefail
  (cd "$root/build/$arch" && ctest --output-on-failure --timeout 600 -j"$jobs" "$@" "${args[@]}") 2>&1 \
    | tee "$root/build/$arch/ctest.log"
}
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
x86_64_part() {   # its build, then its in-process suites
  local t0=$SECONDS
  "$root/scripts/build.sh" x86_64 >"$root/build/x86_64-build.log" 2>&1 || { echo build >"$root/build/x86_64.failed"; return 1; }
  echo "$((SECONDS - t0))" >"$root/build/x86_64-build.seconds"
  t0=$SECONDS
  run_ctest x86_64 "$jobs_x86_64" -LE e2e || true
  echo "$((SECONDS - t0))" >"$root/build/x86_64-ctest.seconds"
}

timed "deps (compilers)" "$root/scripts/deps.sh" build
packages_and_prefixes >"$root/build/deps-run.log" 2>&1 &
packages=$!
timed "build i686" "$root/scripts/build.sh" i686
wait_for "packages and prefixes" $packages "$root/build/deps-run.log"

rm -f "$root/build/x86_64.failed" "$root/build/x86_64-"*.seconds
(renice -n 19 -p $BASHPID >/dev/null; x86_64_part) &
x86=$!
echo "=== i686: ctest under the 32-bit loader (/usr/lib/wine/wine), -j$jobs_i686; beside it the x86_64 build and its ctest under wine64"
t0=$SECONDS
rc_i686=0
show_ctest i686 "$jobs_i686" || rc_i686=$?
phase["ctest i686"]=$((SECONDS - t0))
order+=("ctest i686")
t0=$SECONDS
wait $x86 || true
if [ -e "$root/build/x86_64.failed" ]; then
  tail -n 40 "$root/build/x86_64-build.log"
  echo "the x86_64 build failed (build/x86_64-build.log)" >&2
  exit 1
fi
phase["build x86_64 (beside)"]=$(cat "$root/build/x86_64-build.seconds")
phase["ctest x86_64 (beside)"]=$(cat "$root/build/x86_64-ctest.seconds")
phase["wait for x86_64"]=$((SECONDS - t0))
order+=("build x86_64 (beside)" "ctest x86_64 (beside)" "wait for x86_64")
echo "=== x86_64: ctest under wine64 (in-process suites)"
cat "$root/build/x86_64/ctest.log"

echo
echo "=== Summary ($SECONDS s: $(for p in "${order[@]}"; do printf '%s %s s, ' "$p" "${phase[$p]}"; done | sed 's/, $//'))"
rc=0
for arch in i686 x86_64; do
  line=$(grep -E 'tests passed|No tests were found' "$root/build/$arch/ctest.log" | tail -n 1 || true)
  echo "$arch: ${line:-no ctest summary}"
  case $line in "100% tests passed"*) ;; *) rc=1 ;; esac
done
[ $rc_i686 -eq 0 ] || rc=1
exit $rc
