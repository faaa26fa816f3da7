"""Puts two runs of scripts/bench.sh side by side (compare.py DIR1 DIR2 ARCH...):
the hot paths, the start-up times and ratios and the live figures of each run, median (min–max) over
its rounds, and whether each run's median lies within the other's spread."""
import os
import sys

from figures import GAUGE_PARTS, HOT_SUMMARY, fmt, gauge, number, read_hot, read_rows, spread

run1, run2, archs = sys.argv[1], sys.argv[2], sys.argv[3:]


def rows(run, name):
    return read_rows(os.path.join(run, name))


def agree(a, b):
    if a is None or b is None:
        return "—"
    return "yes" if a[0] <= b[1] <= a[2] and b[0] <= a[1] <= b[2] else "**no**"


def line(label, a, b, digits):
    print(f"| {label} | {fmt(a, digits)} | {fmt(b, digits)} | {agree(a, b)} |")


def startup(run, arch, state, prog):
    return [number(r[0]) for r in rows(run, f"startup-{arch}-with-{state}-{prog}.txt")]


def ratio(run, arch, state):
    o, f = startup(run, arch, state, "ondav"), startup(run, arch, state, "floor")
    return spread(x / y if x is not None and y else None for x, y in zip(o, f))


print("| the host's speed: a fixed loop, ms | first run | second run | each median within the other's spread |")
print("|---|---|---|---|")
for part, label in GAUGE_PARTS:
    line(f"beside the {label}", gauge(run1, part), gauge(run2, part), 1)
print()
print("| hot path, µs | first run | second run | each median within the other's spread |")
print("|---|---|---|---|")
for a in archs:
    h1, h2 = read_hot(run1, a), read_hot(run2, a)
    for key, label in HOT_SUMMARY:
        line(f"{a}: {label}", h1.get(key), h2.get(key), 0)
print()
print("| start-up, Ondavis / floor within a round | first run | second run | each median within the other's spread |")
print("|---|---|---|---|")
states = [("cold", "cold"), ("warm", "warm: services up"), ("desktop", "warm: desktop process up too")]
for a in archs:
    for key, label in states:
        line(f"{a}, Wine {label}", ratio(run1, a, key), ratio(run2, a, key), 2)
print()
print("| start-up, ms: Ondavis · floor | first run | second run | each median within the other's spread |")
print("|---|---|---|---|")
for a in archs:
    for key, label in states:
        for prog, name in (("ondav", "Ondavis"), ("floor", "floor")):
            line(f"{a}, Wine {label}: {name}", spread(startup(run1, a, key, prog)),
                 spread(startup(run2, a, key, prog)), 0)
print()


def per_round(run, name):
    """A live state's CPU against xoscope's, taken within each round."""
    o = [number(r[0]) for r in rows(run, f"live-{name}.txt")]
    x = [number(r[0]) for r in rows(run, "live-xoscope.txt")]
    return spread(p / q if p is not None and q else None for p, q in zip(o, x))


def live(run, name, col):
    return spread(number(r[col]) for r in rows(run, f"live-{name}.txt"))


print("| live | first run | second run | each median within the other's spread |")
print("|---|---|---|---|")
live_states = [("idle", "idle"), ("scope-rapide", "scope, « Rapide »"), ("scope-moyen", "scope, « Moyen »"),
               ("scope-lent", "scope, « Lent »"), ("vu", "VU meters"), ("bargraphs", "bargraphs"),
               ("stopped", "after a stop")]
for a in archs:
    for key, label in live_states:
        line(f"Ondavis {a}, {label}: CPU % of a core", live(run1, f"{a}-{key}", 0), live(run2, f"{a}-{key}", 0), 2)
    line(f"Ondavis {a}, « Rapide »: ms CPU per frame", live(run1, f"{a}-scope-rapide", 1),
         live(run2, f"{a}-scope-rapide", 1), 1)
line("xoscope: CPU % of a core", live(run1, "xoscope", 0), live(run2, "xoscope", 0), 2)
for a in archs:
    for key, label in live_states:
        line(f"Ondavis {a}, {label} / xoscope, CPU, within a round", per_round(run1, f"{a}-{key}"),
             per_round(run2, f"{a}-{key}"), 3)
