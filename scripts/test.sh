#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds both architectures
# and runs the suites under Wine, each test in a prefix and on an Xvfb of its
# own. The packages Wine and the tests need install while the i686 build
# compiles. The i686 build (what ships, under the 32-bit loader in a 32-bit
# prefix) runs every suite and end-to-end check; the x86_64 build (wine64)
# runs the in-process suites, the part that can differ on 64 bits. The
# x86_64 build runs at the lowest priority beside the i686 tests.
#   --long   the long runs too: the document fuzz on 3000 files.
# Other arguments go to both ctest runs. Prints the time of each phase.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
args=()
for a in "$@"; do
  if [ "$a" = --long ]; then export ONDAV_FUZZ_FILES=3000; else args+=("$a"); fi
done
jobs=${ONDAV_TEST_JOBS:-3}

declare -A phase summary status
order=()
timed() {   # NAME COMMAND...: runs it and keeps its time
  local name=$1 t0=$SECONDS
  shift
  "$@"
  phase[$name]=$((SECONDS - t0))
  order+=("$name")
}
run_ctest() {   # ARCH CTEST-ARGS...
  local arch=$1 log=$root/build/$1/ctest.log
  shift
  echo "=== $arch: ctest under $([ "$arch" = i686 ] && echo 'the 32-bit loader (/usr/lib/wine/wine)' || echo 'wine64')"
  set +e
  (cd "$root/build/$arch" && ctest --output-on-failure --timeout 600 -j"$jobs" "$@" "${args[@]}") 2>&1 | tee "$log"
  status[$arch]=${PIPESTATUS[0]}
  set -e
  summary[$arch]=$(grep -E 'tests passed|No tests were found' "$log" | tail -n 1 || true)
}

build_x86_64() {   # at the lowest priority, beside the i686 run: its waits leave the cores idle
  local log=$root/build/x86_64-build.log t0=$SECONDS
  mkdir -p "$root/build"
  nice -n 19 "$root/scripts/build.sh" x86_64 >"$log" 2>&1
  local rc=$?
  echo "$((SECONDS - t0))" >"$log.seconds"
  return $rc
}

# The compilers first; Wine and the rest install while the first build runs.
timed "deps (compilers)" "$root/scripts/deps.sh" build
mkdir -p "$root/build"
"$root/scripts/deps.sh" run >"$root/build/deps-run.log" 2>&1 &
deps_run=$!
timed "build i686 (beside the other packages)" "$root/scripts/build.sh" i686
t0=$SECONDS
if ! wait $deps_run; then
  tail -n 40 "$root/build/deps-run.log"
  echo "installing Wine and the test tools failed (build/deps-run.log)" >&2
  exit 1
fi
phase["wait for the packages"]=$((SECONDS - t0))
order+=("wait for the packages")
build_x86_64 &
x86_build=$!
timed "ctest i686" run_ctest i686
t0=$SECONDS
if ! wait $x86_build; then
  tail -n 40 "$root/build/x86_64-build.log"
  echo "the x86_64 build failed (build/x86_64-build.log)" >&2
  exit 1
fi
phase["build x86_64 (beside ctest i686)"]=$(cat "$root/build/x86_64-build.log.seconds")
phase["wait for it"]=$((SECONDS - t0))
order+=("build x86_64 (beside ctest i686)" "wait for it")
timed "ctest x86_64" run_ctest x86_64 -LE e2e

echo
echo "=== Summary ($SECONDS s: $(for p in "${order[@]}"; do printf '%s %s s, ' "$p" "${phase[$p]}"; done | sed 's/, $//'))"
rc=0
for arch in i686 x86_64; do
  echo "$arch: ${summary[$arch]:-no ctest summary} (exit ${status[$arch]})"
  [ "${status[$arch]}" -eq 0 ] && [ -n "${summary[$arch]}" ] || rc=1
done
exit $rc
