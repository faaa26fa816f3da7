"""Turns the raw figures of scripts/bench.sh into Markdown tables: every row
(report.py OUTDIR ARCH...) or the README's shorter Speed tables
(report.py --summary OUTDIR ARCH...)."""
import os
import platform
import statistics
import subprocess
import sys

from figures import GAUGE_PARTS, HOT_SUMMARY, fmt, gauge, number, read_hot, read_rows, spread

summary = sys.argv[1] == "--summary"
args = sys.argv[2:] if summary else sys.argv[1:]
out, archs = args[0], args[1:]


def machine():
    cpu = "?"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    with open("/proc/meminfo") as f:
        mem = int(f.readline().split()[1]) // (1024 * 1024)
    wine = subprocess.run(["/usr/lib/wine/wine64", "--version"], capture_output=True, text=True).stdout.strip()
    return f"{os.cpu_count()} cores ({cpu}), {mem} GiB, Linux {platform.release()}, {wine}"


print(f"Machine: {machine()}.  ")
print("Builds: i686 (what ships) under the 32-bit loader `/usr/lib/wine/wine` in a 32-bit prefix (WINEARCH=win32),"
      " x86_64 under `/usr/lib/wine/wine64`; both with LC_ALL=fr_FR.UTF-8, under a private Xvfb.  ")
loads = []
for name in sorted(n for n in os.listdir(out) if n.startswith("load")):
    with open(os.path.join(out, name)) as f:
        loads += [line.strip() for line in f if line.strip()]
print("  \n".join(loads) + "\n")
gauges = [(label, gauge(out, part)) for part, label in GAUGE_PARTS]
gauges = [f"{label} {fmt(g, 1)}" for label, g in gauges if g]
if gauges:
    print("The host's speed (`bench/gauge.c`, a fixed loop on one core, ms; less is a faster host): "
          + ", ".join(gauges) + ".\n")
print("Every cell is median (min–max).\n")

# ---- hot paths
hot = {a: rows for a in archs if (rows := read_hot(out, a))}
if hot and summary:
    print("| operation, µs per run | " + " | ".join(hot) + " |")
    print("|---|" + "---|" * len(hot))
    for k, label in HOT_SUMMARY:
        print(f"| {label} | " + " | ".join(fmt(hot[a].get(k)) for a in hot) + " |")
    print()
elif hot:
    layouts = ["offset", "superposed", "sum", "difference", "Lissajous"]
    bases = ["50 ms", "20 ms", "10 ms", "5 ms", "2 ms", "1 ms", "0.5 ms", "0.2 ms"]
    for a, rows in hot.items():
        print(f"Paint of the scope page, µs per paint ({a}); columns: the time base across the screen\n")
        print("| layout | page | " + " | ".join(bases) + " |")
        print("|---|---|" + "---|" * len(bases))
        for target, page in (("screen", "screen 800 × 600"), ("printer", "printer 2400 × 1800")):
            for lay in layouts:
                cells = [fmt(rows.get(f"paint/{target}/scope/{lay}/{b}")) for b in bases]
                print(f"| {lay} | {page} | " + " | ".join(cells) + " |")
        print()
    others = [k for k in next(iter(hot.values())) if not k.startswith("paint/screen/scope") and not k.startswith("paint/printer")]
    print("| operation, µs per run | " + " | ".join(hot) + " |")
    print("|---|" + "---|" * len(hot))
    for k in others:
        print(f"| {k.replace('paint/screen/', 'paint ')} | " + " | ".join(fmt(hot[a].get(k)) for a in hot) + " |")
    print()

# ---- start-up
def ratios(a, b):
    """Per-round ratios of two lists of figures (None where either is missing)."""
    return [x / y if x is not None and y else None for x, y in zip(a, b)]


def fmt_ratio(s):
    return "—" if s is None else f"{s[1]:.2f} ({s[0]:.2f}–{s[2]:.2f})"


wine_states = [("cold", "cold"), ("warm", "warm: server and services up"),
               ("desktop", "warm: desktop process up too")]
print("Start-up to the first painted main window, ms: the program beside the floor (a bare window that opens the"
      " sound card), the two in turn in each round; the ratio is taken within each round. Without a sound device"
      " the \"no sound device\" box comes first; the time it waited for its Return is left out.\n")
print("| build | sound device | Wine | Ondavis | floor | Ondavis / floor, per round |")
print("|---|---|---|---|---|---|")
for a in archs:
    for device, label in (("with", "yes"), ("no", "none")):
        for w, wlabel in wine_states:
            def col(prog):
                rows = read_rows(os.path.join(out, f"startup-{a}-{device}-{w}-{prog}.txt"))
                return [number(r[0]) for r in rows]
            o, f = col("ondav"), col("floor")
            if not o and not f:
                continue
            print(f"| {a} | {label} | {wlabel} | {fmt(spread(o))} | {fmt(spread(f))} | {fmt_ratio(spread(ratios(o, f)))} |")
print()

# ---- live
states = [("idle", "idle (sound card open, not measuring)"), ("scope-rapide", "scope, « Rapide »"),
          ("scope-moyen", "scope, « Moyen »"), ("scope-lent", "scope, « Lent »"),
          ("vu", "VU meters (« Rapide »)"), ("bargraphs", "bargraphs (« Rapide »)"), ("stopped", "after a stop")]


def live(name):
    rows = read_rows(os.path.join(out, f"live-{name}.txt"))
    if not rows:
        return None
    cols = list(zip(*rows))
    per_round = {"cpu": [number(x) for x in cols[0]], "frame": [number(x) for x in cols[1]],
                 "rss": [number(x) for x in cols[7]], "priv": [number(x) for x in cols[8]]}
    return {
        "rows": per_round,
        "cpu": spread(map(number, cols[0])),
        "frame": spread(map(number, cols[1])),
        "fps": spread(number(x) / float(os.environ.get("ONDAV_BENCH_SECONDS", "6")) for x in cols[2]),
        "prog": spread(map(number, cols[3])), "ws": spread(map(number, cols[4])),
        "x": spread(map(number, cols[5])), "wine": spread(map(number, cols[6])),
        "rss": spread(number(x) / 1024 for x in cols[7]), "priv": spread(number(x) / 1024 for x in cols[8]),
        "mic": spread(map(number, cols[9])),
    }


print("Live, under Xvfb with the clocked microphone: CPU in % of one core, summed over the program, wineserver and"
      " the X server (each shown apart), CPU per frame drawn, frames per second counted on the screen, memory of"
      " the program's process.\n")
print("| program | state | CPU % | ms CPU / frame | frames / s | program % | wineserver % | X % | Wine's other processes % | resident MB | private MB |")
print("|---|---|---|---|---|---|---|---|---|---|---|")
figures = {}
for a in archs:
    for key, label in states:
        d = live(f"{a}-{key}")
        if not d:
            continue
        figures[(a, key)] = d
        print(f"| Ondavis {a} | {label} | {fmt(d['cpu'], 2)} | {fmt(d['frame'], 1)} | {fmt(d['fps'], 2)} | "
              f"{fmt(d['prog'], 2)} | {fmt(d['ws'], 2)} | {fmt(d['x'], 2)} | {fmt(d['wine'], 2)} | "
              f"{fmt(d['rss'], 1)} | {fmt(d['priv'], 1)} |")
xo = live("xoscope")
if xo:
    print(f"| xoscope | running (its defaults) | {fmt(xo['cpu'], 2)} | {fmt(xo['frame'], 1)} | {fmt(xo['fps'], 2)} | "
          f"{fmt(xo['prog'], 2)} | — | {fmt(xo['x'], 2)} | — | {fmt(xo['rss'], 1)} | {fmt(xo['priv'], 1)} |")
    print()
    print("Ratios, Ondavis measuring at « Rapide » against xoscope running, taken within each round:\n")
    print("| build | CPU % | CPU per frame | resident memory | private memory |")
    print("|---|---|---|---|---|")
    for a in archs:
        d = figures.get((a, "scope-rapide"))
        if not d:
            continue

        def ratio(k):
            return fmt_ratio(spread(ratios(d["rows"][k], xo["rows"][k])))
        print(f"| {a} | {ratio('cpu')} | {ratio('frame')} | {ratio('rss')} | {ratio('priv')} |")
mic = [d["mic"][1] for d in figures.values() if d["mic"]]
if mic:
    print(f"\nThe microphone itself (PulseAudio and the player feeding it) used {statistics.median(mic):.2f} % of a core,"
          " outside the sums.")
