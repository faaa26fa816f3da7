#!/usr/bin/env bash
# Speed figures of the README, measured on both builds (i686 under the 32-bit
# loader in a 32-bit prefix, x86_64 under wine64), each with its spread:
#   1. the hot paths (bench/ondav_bench.cpp): paint of every display, layout and
#      time base on the screen and on the printer page, the repaint after a
#      capture, collect + copy + trigger, save and reopen; a fresh process in
#      each start-up round;
#   2. start-up to the first painted main window beside the floor of a bare
#      window that opens the sound card (bench/floor.cpp), in three states of
#      Wine: cold (no server), warm (server and services up) and warm with its
#      desktop process up too; program and floor run in turn in each round;
#   3. live, under a private Xvfb with a clocked virtual microphone: CPU per
#      second and per frame, resident and private memory, idle, measuring at
#      each refresh speed, in VU and bargraph mode, and after a stop — and the
#      same for xoscope, the Linux scope, on the same microphone and display,
#      in rounds: each round measures every program once.
# Ratios (program / floor, program / xoscope) are taken within each round and
# given with their spread over the rounds. A fixed loop (bench/gauge.c) times
# the host's own speed beside every round.
# Results: build/bench/summary.md (the README's tables), build/bench/results.md
# (every row), and the raw figures beside them.
# Environment: ONDAV_BENCH_ARCHS ("i686 x86_64"), ONDAV_BENCH_RUNS (start-up
# and hot-path rounds, 12), ONDAV_BENCH_STATES (the states of Wine a start-up meets, "cold
# warm desktop"), ONDAV_BENCH_DEVICES ("with": start-ups with a sound device; "with
# none" adds those without one), ONDAV_BENCH_WINDOWS (live rounds, 9),
# ONDAV_BENCH_SECONDS (seconds per live window, 6), ONDAV_BENCH_BATCHES (hot
# path batches a round, 2), ONDAV_BENCH_EXE_DIR (run ondav-ARCH.exe and
# ondav_bench-ARCH.exe from there instead of the fresh builds, e.g. to measure
# an older program), ONDAV_BENCH_OUT (where the figures go, build/bench), ONDAV_BENCH_PARTS
# ("hot startup live xoscope": what to measure), ONDAV_BENCH_NOBUILD (set: use
# the builds as they are).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
archs=${ONDAV_BENCH_ARCHS:-i686 x86_64}
runs=${ONDAV_BENCH_RUNS:-12}
devices=${ONDAV_BENCH_DEVICES:-with}
states=${ONDAV_BENCH_STATES:-cold warm desktop}
windows=${ONDAV_BENCH_WINDOWS:-9}
seconds=${ONDAV_BENCH_SECONDS:-6}
export ONDAV_BENCH_SECONDS=$seconds
batches=${ONDAV_BENCH_BATCHES:-2}
parts=${ONDAV_BENCH_PARTS:-hot startup live xoscope}
out=${ONDAV_BENCH_OUT:-$root/build/bench}
# The Wine prefixes stay in the tree whatever ONDAV_BENCH_OUT says: making one
# takes half a minute, and the next run uses it again.
prefixes=$root/build/bench
mkdir -p "$out" "$prefixes"

# ---------------------------------------------------------------- what it needs
"$root/scripts/deps.sh"
need=()
command -v xoscope >/dev/null || need+=(xoscope)
command -v pulseaudio >/dev/null || need+=(pulseaudio)
[ -e /usr/lib/x86_64-linux-gnu/alsa-lib/libasound_module_pcm_pulse.so ] || need+=(libasound2-plugins)
[ -e /usr/lib/i386-linux-gnu/alsa-lib/libasound_module_pcm_pulse.so ] || need+=(libasound2-plugins:i386)
[ -e /usr/include/X11/extensions/Xdamage.h ] || need+=(libxdamage-dev)
command -v gcc >/dev/null || need+=(gcc libc6-dev)
if [ ${#need[@]} -gt 0 ]; then
  echo "Installing: ${need[*]}"
  DEBIAN_FRONTEND=noninteractive apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi
[ -n "${ONDAV_BENCH_NOBUILD:-}" ] || for a in $archs; do "$root/scripts/build.sh" "$a" ondav ondav_bench ondav_floor ondav_hold >/dev/null; done
gcc -O2 -Wall -o "$out/xprobe" "$root/bench/xprobe.c" -lXdamage -lX11
xprobe=$out/xprobe
gcc -O2 -Wall -o "$out/gauge" "$root/bench/gauge.c"
# The host's speed beside each part's rounds (bench/gauge.c): one line a round.
gauge() { "$out/gauge" >> "$out/gauge-$1.txt"; }

# ---------------------------------------------------------------- our own display
# Always a private display: the figures must not share an X server.
unset DISPLAY
source "$root/scripts/xvfb.sh"
ondav_start_xvfb
xvfb_pid=$ONDAV_XVFB_PID

# ---------------------------------------------------------------- the clocked microphone
# scripts/pulsemic.sh: a private PulseAudio server whose null sink, drained at
# the real rate, plays 441 Hz at half scale on the left and 1 kHz at a quarter
# on the right; both programs reach it through the ALSA default device (ALSA's
# pulse plugin). Nothing outside this run sees the server.
source "$root/scripts/pulsemic.sh"
ondav_pulsemic_start
mic=$ONDAV_PULSEMIC_DIR
echo "# no sound device" > "$mic/no-device.conf"
ondav_vmic_signal "$out/mic.raw" "$ONDAV_PULSEMIC_RATE" 441 0.5 1000 0.25 10 0
ondav_pulsemic_play "$out/mic.raw"
pulse_pid=$ONDAV_PULSEMIC_PID
# The server and every process of the player's group (the loop, cat, pacat).
mic_pids() { echo "$pulse_pid" $(pgrep -g "$ONDAV_PULSEMIC_PLAYER"); }

started=()
cleanup() {
  local p
  for p in "${started[@]}"; do kill "$p" 2>/dev/null || true; done
  for a in $archs; do WINEPREFIX=$prefixes/prefix-$a /usr/lib/wine/wineserver -k 2>/dev/null || true; done
  ondav_pulsemic_stop
  kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

# ---------------------------------------------------------------- helpers
# min, median and max of the numbers on stdin ("-" when there are none).
spread() { sort -g | awk '{v[NR]=$1} END {if (!NR) {print "- - -"; exit} printf "%s %s %s\n", v[1], v[int((NR+1)/2)], v[NR]}'; }
# CPU time in ms of the given processes, all their threads, from the scheduler.
cpu_ms() {
  local p t s=0
  for p in "$@"; do
    for t in /proc/$p/task/*/schedstat; do [ -r "$t" ] && s=$((s + $(cut -d' ' -f1 "$t" 2>/dev/null || echo 0))); done
  done
  echo $((s / 1000000))
}
# The Wine processes of a prefix (the loader passes WINEPREFIX on to all of
# them; so does this script to its own helpers, which are not Wine's).
prefix_pids() {
  local p
  for p in $(grep -lzxF "WINEPREFIX=$1" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3); do
    [[ $(readlink "/proc/$p/exe" 2>/dev/null) == /usr/lib/wine/* ]] && echo "$p"
  done
  return 0
}
# The same, one figure per process, on one line.
cpu_each() {
  local p out=()
  for p in "$@"; do out+=("$(cpu_ms "$p")"); done
  echo "${out[*]}"
}
rss_kb() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }
private_kb() { awk '/^Private_(Clean|Dirty)/ {s += $2} END {print s + 0}' "/proc/$1/smaps_rollup"; }

# The main window stands at the top-left corner; its client area (the page's
# origin) begins at this point of the screen, below Wine's caption, the menu
# and the toolbar.
ox=6; oy=77
at() { echo "$((ox + $1)) $((oy + $2))"; }
# Only the painted scope page has these three together: the red box of the
# offset layout, the grey strip at the left, the white scope screen.
ondav_probes=("$((ox + 575)),$((oy + 25))=ff0000" "$((ox + 5)),$((oy + 300))=c0c0c0" "$((ox + 30)),$((oy + 30))=ffffff")
floor_probes=("400,300=ff0000" "100,100=ff0000")
box_title="Ouverture de l'interface audio."

# The Wine of one build, in its own prefix.
use_prefix() {   # arch
  export WINEPREFIX=$prefixes/prefix-$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ "$1" = i686 ]; then export WINEARCH=win32; loader=/usr/lib/wine/wine; else export WINEARCH=win64; loader=/usr/lib/wine/wine64; fi
  wine=(env LC_ALL=fr_FR.UTF-8 LANG=fr_FR.UTF-8 "$loader")
}
setup_prefix() {   # arch
  use_prefix "$1"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "${wine[@]}" wineboot -i >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w
  fi
  "${wine[@]}" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
  "${wine[@]}" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
  # Both programs reach the microphone through the ALSA default device.
  "${wine[@]}" reg add 'HKCU\Software\Wine\Drivers' /v Audio /t REG_SZ /d alsa /f >/dev/null 2>&1 || true
  # Wine's HID bus driver polls SDL's joystick bus every millisecond when SDL
  # is there (about 2 % of a core in a 32-bit prefix, whatever runs): a cost
  # of Wine's, not of the programs measured. Without SDL it uses udev, which
  # waits for events.
  "${wine[@]}" reg add 'HKLM\System\CurrentControlSet\Services\winebus' /v 'Enable SDL' /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  /usr/lib/wine/wineserver -w
}
with_device() { export ALSA_CONFIG_PATH=$mic/asound.conf PULSE_SERVER=unix:$mic/native; }
no_device() { export ALSA_CONFIG_PATH=$mic/no-device.conf PULSE_SERVER=unix:/nonexistent; }
ondav_exe() {   # arch
  if [ -n "${ONDAV_BENCH_EXE_DIR:-}" ]; then echo "$ONDAV_BENCH_EXE_DIR/ondav-$1.exe"; else echo "$root/build/$1/dist/ondav.exe"; fi
}
stop_program() {   # pid
  kill "$1" 2>/dev/null || true
  for _ in $(seq 1 100); do kill -0 "$1" 2>/dev/null || break; sleep 0.05; done
}

# ---------------------------------------------------------------- 1. hot paths
# One round: a fresh process times every row in a few batches and appends
# them to the build's file. Run once a round, the figures' spread holds what a
# new start and the host's hour move, not only what one process sees.
hot_round() {   # arch
  local exe=$root/build/$1/bench/ondav_bench.exe
  [ -n "${ONDAV_BENCH_EXE_DIR:-}" ] && exe=$ONDAV_BENCH_EXE_DIR/ondav_bench-$1.exe
  gauge hot
  "${wine[@]}" "$exe" "$batches" >> "$out/hot-$1.tsv"
  server_down
}

# ---------------------------------------------------------------- 2. start-up
# One start-up: prints "paint_ms box_ms", the time to the first paint of the
# main window less the time a "no sound device" box waited for its Return.
startup_once() {   # exe probes...
  local exe=$1; shift
  local res pid box answered paint
  res=$("$xprobe" paint 30 "$box_title" "$@" -- "${wine[@]}" "$exe") || true
  pid=$(sed -n 2p <<<"$res")
  read -r box answered paint <<<"$(sed -n 1p <<<"$res")"
  [ -n "$pid" ] && stop_program "$pid"
  awk -v b="$box" -v a="$answered" -v p="$paint" 'BEGIN {
    if (p < 0) { print "- -"; exit }
    if (b >= 0) printf "%.0f %.0f\n", p - (a - b), b; else printf "%.0f -\n", p }'
}
# The three states of Wine a start-up meets:
#   cold     no server: the run starts it, its services and its desktop process;
#   warm     server and services up, the desktop process gone (Wine ends it
#            about a second after the last program on the desktop);
#   desktop  the desktop process up too (ondav_hold keeps a program on it).
server_down() { /usr/lib/wine/wineserver -k 2>/dev/null || true; /usr/lib/wine/wineserver -w 2>/dev/null || true; }
prefix_has() {   # name: a process of the prefix by that name is running
  local p
  for p in $(pgrep -x "$1"); do grep -qzxF "WINEPREFIX=$WINEPREFIX" "/proc/$p/environ" 2>/dev/null && return 0; done
  return 1
}
warm_up() {
  server_down
  /usr/lib/wine/wineserver -p
  # A console program: the services start with it, the desktop process does not.
  "${wine[@]}" reg query 'HKCU\Software\Wine' >/dev/null 2>&1 || true
  for _ in $(seq 1 100); do prefix_has services.exe && break; sleep 0.05; done
}
desktop_gone() { for _ in $(seq 1 100); do prefix_has explorer.exe || return 0; sleep 0.05; done; }
# Waits until Wine's processes of the prefix and the X server have used no
# more than 1 % of a core for a quarter of a second: a start-up timed while
# Wine still ends the previous program, or still starts its desktop, would
# carry that work too (whichever program went first in a round paid for it).
settle() {
  local before after
  for _ in $(seq 1 40); do
    before=$(cpu_ms $(prefix_pids "$WINEPREFIX") "$xvfb_pid")
    sleep 0.25
    after=$(cpu_ms $(prefix_pids "$WINEPREFIX") "$xvfb_pid")
    [ $((after - before)) -le 2 ] && return 0
  done
}
hold_pid=
hold_desktop() {   # arch
  "${wine[@]}" "$root/build/$1/bench/ondav_hold.exe" >/dev/null 2>&1 &
  hold_pid=$!
  started+=("$hold_pid")
  for _ in $(seq 1 100); do prefix_has explorer.exe && break; sleep 0.05; done
  sleep 0.5
}
release_desktop() { if [ -n "$hold_pid" ]; then stop_program "$hold_pid"; fi; hold_pid=; }
# One round: each state of Wine in turn, and in each the program and its floor
# one after the other (which one first alternates from round to round).
# Every start-up appends "paint_ms box_ms" to its file, one line a round.
startup_round() {   # arch round
  local arch=$1 r=$2 exe floor device wstate prog order
  exe=$(ondav_exe "$arch")
  floor=$root/build/$arch/bench/ondav_floor.exe
  order="ondav floor"
  if [ $((r % 2)) = 0 ]; then order="floor ondav"; fi
  gauge startup
  for device in $devices; do
    ${device}_device
    for wstate in $states; do
      case $wstate in warm) warm_up ;; desktop) hold_desktop "$arch" ;; esac
      for prog in $order; do
        case $wstate in cold) server_down ;; warm) desktop_gone ;; esac
        settle
        if [ $prog = ondav ]; then startup_once "$exe" "${ondav_probes[@]}"
        else startup_once "$floor" "${floor_probes[@]}"; fi >> "$out/startup-$arch-$device-$wstate-$prog.txt"
      done
      release_desktop
    done
  done
  server_down
}
startup_prepare() {   # arch
  local f
  for f in "$out"/startup-"$1"-*.txt; do [ -e "$f" ] && : > "$f"; done
  # Two starts not counted: the program's file types get registered (as on a
  # machine where it is installed) and both programs' files are in the cache.
  with_device
  warm_up
  startup_once "$root/build/$1/bench/ondav_floor.exe" "${floor_probes[@]}" >/dev/null
  startup_once "$(ondav_exe "$1")" "${ondav_probes[@]}" >/dev/null
}

# ---------------------------------------------------------------- 3. live
# One window of the live figures for a program: writes
# "cpu% total, ms per frame, frames, program, wineserver, X, other Wine, RSS kB, private kB, mic%"
live_window() {   # file pid frame-rect(x y w h) server-pid
  local f=$1 pid=$2 rx=$3 ry=$4 rw=$5 rh=$6 ws=${7:-}
  local others=() p
  if [ -n "${WINEPREFIX:-}" ] && [ -n "$ws" ]; then
    for p in $(prefix_pids "$WINEPREFIX"); do [ "$p" != "$pid" ] && [ "$p" != "$ws" ] && others+=("$p"); done
  fi
  local a0 w0 x0 o0 m0 a1 w1 x1 o1 m1 frames
  a0=$(cpu_ms "$pid"); w0=$(cpu_ms $ws); x0=$(cpu_ms "$xvfb_pid"); o0=$(cpu_each "${others[@]}"); m0=$(cpu_ms $(mic_pids))
  frames=$("$xprobe" frames "$seconds" "$rx" "$ry" "$rw" "$rh" | cut -d' ' -f1)
  a1=$(cpu_ms "$pid"); w1=$(cpu_ms $ws); x1=$(cpu_ms "$xvfb_pid"); o1=$(cpu_each "${others[@]}"); m1=$(cpu_ms $(mic_pids))
  # A Wine process that ended meanwhile took its time with it: count only the living.
  o1=$(paste -d' ' <(tr ' ' '\n' <<<"$o0") <(tr ' ' '\n' <<<"$o1") | awk '$2 >= $1 {s += $2 - $1} END {print s + 0}')
  o0=0
  awk -v a=$((a1 - a0)) -v w=$((w1 - w0)) -v x=$((x1 - x0)) -v o=$((o1 - o0)) -v m=$((m1 - m0)) -v fr="$frames" \
      -v s="$seconds" -v rss="$(rss_kb "$pid")" -v prv="$(private_kb "$pid")" 'BEGIN {
    t = a + w + x
    printf "%.2f %s %d %.2f %.2f %.2f %.2f %d %d %.2f\n", t / (10 * s), (fr > 0 ? sprintf("%.1f", t / fr) : "-"), fr,
      a / (10 * s), w / (10 * s), x / (10 * s), o / (10 * s), rss, prv, m / (10 * s) }' >> "$f"
}
# One window of a state, appended to its file: one line a round.
live_state() {   # name pid rect... server
  local name=$1; shift
  live_window "$out/live-$name.txt" "$@"
}
live_ondav() {   # arch
  local arch=$1 exe res pid ws
  exe=$(ondav_exe "$arch")
  with_device
  /usr/lib/wine/wineserver -p
  res=$("$xprobe" paint 60 - "${ondav_probes[@]}" -- "${wine[@]}" "$exe") || { echo "no first paint: $res" >&2; return 1; }
  pid=$(sed -n 2p <<<"$res")
  started+=("$pid")
  ws=$(for p in $(prefix_pids "$WINEPREFIX"); do [[ $(cat /proc/$p/comm 2>/dev/null) == wineserver* ]] && echo "$p"; done | head -1 || true)
  sleep 3                                         # the splash goes after 1.5 s
  local view=($ox $oy 800 465)                    # the page, above the status bar
  live_state "$arch-idle" "$pid" "${view[@]}" "$ws"
  xdotool mousemove $(at 200 200) click 1         # start, "Moyen"
  sleep 1.5; live_state "$arch-scope-moyen" "$pid" "${view[@]}" "$ws"
  xdotool mousemove $(at 575 285) click 1         # "Rapide"
  sleep 1.5; live_state "$arch-scope-rapide" "$pid" "${view[@]}" "$ws"
  xdotool mousemove $(at 575 325) click 1         # "Lent"
  sleep 1.5; live_state "$arch-scope-lent" "$pid" "${view[@]}" "$ws"
  xdotool key alt+d v                             # VU meters (at "Rapide")
  sleep 1.5; live_state "$arch-vu" "$pid" "${view[@]}" "$ws"
  xdotool key alt+d b                             # bargraphs
  sleep 1.5; live_state "$arch-bargraphs" "$pid" "${view[@]}" "$ws"
  xdotool key alt+m r                             # "Arrêt"
  sleep 1.5; live_state "$arch-stopped" "$pid" "${view[@]}" "$ws"
  import -window root "$out/live-$arch.png" 2>/dev/null || true
  stop_program "$pid"
  server_down
}
live_xoscope() {
  local pid
  unset WINEPREFIX
  with_device
  xoscope >/dev/null 2>&1 &
  pid=$!
  started+=("$pid")
  sleep 3
  # Its window stands at the top-left corner too: count what changes in it.
  live_state xoscope "$pid" 0 0 640 640 ""
  import -window root "$out/live-xoscope.png" 2>/dev/null || true
  stop_program "$pid"
}

# ---------------------------------------------------------------- run
# One load file per set of parts: a run may measure its parts in two goes.
load=$out/load-${parts// /-}.txt
echo "Load before ($parts): $(uptime)" | tee "$load"
part() { [[ " $parts " == *" $1 "* ]]; }
for p in hot startup live; do if part $p; then rm -f "$out/gauge-$p.txt"; fi; done
for arch in $archs; do
  setup_prefix "$arch"
  if part hot || part startup; then echo "== $arch: hot paths and start-up, $runs rounds"; fi
  if part hot; then rm -f "$out/hot-$arch.tsv"; fi
  if part startup; then startup_prepare "$arch"; fi
  for r in $(seq 1 "$runs"); do
    if part startup; then startup_round "$arch" "$r"; fi
    if part hot; then hot_round "$arch"; fi
  done
done
# Live: each round measures every program once, on the same microphone, so
# that what the machine does meanwhile falls on all of them alike.
if part live || part xoscope; then
  rm -f "$out"/live-*.txt
  for r in $(seq 1 "$windows"); do
    echo "== live, round $r of $windows"
    gauge live
    # The order turns round by round, so that no program always comes last.
    order=()
    if part live; then for arch in $archs; do order+=("$arch"); done; fi
    if part xoscope; then order+=(xoscope); fi
    if [ $((r % 2)) -eq 0 ]; then
      for ((i = 0, j = ${#order[@]} - 1; i < j; i++, j--)); do t=${order[i]}; order[i]=${order[j]}; order[j]=$t; done
    fi
    for prog in "${order[@]}"; do
      if [ "$prog" = xoscope ]; then live_xoscope; else use_prefix "$prog"; live_ondav "$prog"; fi
    done
  done
fi
echo "Load after ($parts): $(uptime)" | tee -a "$load"
python3 "$root/bench/report.py" "$out" $archs > "$out/results.md"
python3 "$root/bench/report.py" --summary "$out" $archs | tee "$out/summary.md"
echo "Every row: $out/results.md"
