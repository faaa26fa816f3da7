"""What the benchmark's scripts share: reading the raw figures of a run and
putting a spread (min, median, max) into a table cell."""
import os
import statistics


def spread(values):
    """min, median, max of the numbers (None when there are none)."""
    v = sorted(x for x in values if x is not None)
    if not v:
        return None
    return v[0], statistics.median_low(v), v[-1]


def fmt(s, digits=0):
    if s is None:
        return "—"
    lo, med, hi = s
    f = f"{{:.{digits}f}}"
    return f"{f.format(med)} ({f.format(lo)}–{f.format(hi)})"


def number(text):
    try:
        return float(text)
    except ValueError:
        return None


def read_rows(path):
    if not os.path.exists(path):
        return []
    with open(path) as f:
        return [line.split() for line in f if line.strip()]


def read_hot(run, arch):
    """The hot-path rows of a run: name -> (min, median, max), µs, over every
    batch of every round (a line per row and round: name, then its batches)."""
    path = os.path.join(run, f"hot-{arch}.tsv")
    if not os.path.exists(path):
        return {}
    batches = {}
    with open(path) as f:
        for r in (line.rstrip("\n").split("\t") for line in f if line.strip()):
            batches.setdefault(r[0], []).extend(map(float, r[1:]))
    return {name: spread(v) for name, v in batches.items()}


# The hot paths the README's table shows: row name, label.
HOT_SUMMARY = [
    ("paint/screen/scope/offset/1 ms", "paint the scope page, two channels offset, 1 ms (the start values)"),
    ("paint/screen/scope/offset/50 ms", "the same at 50 ms (the costliest time base)"),
    ("paint/screen/scope/Lissajous/1 ms", "the same, Lissajous figure"),
    ("paint/printer/scope/offset/1 ms", "the printer page (2400 × 1800), offset, 1 ms"),
    ("paint/screen/VU meters", "paint the VU-meter page"),
    ("paint/screen/bargraphs", "paint the bargraph page"),
    ("repaint after a capture/scope", "repaint after a capture: scope screen and synchronisation box"),
    ("repaint after a capture/VU meters", "repaint after a capture: VU meters"),
    ("capture/collect + copy into the document + trigger", "collect a capture, copy it into the document, find the trigger"),
    ("document/save and reopen (.osc, 64176 bytes)", "save and reopen an `.osc` file (64176 bytes)"),
]


# The parts a run times the host's speed beside (bench/gauge.c): part, label.
GAUGE_PARTS = [("hot", "hot paths"), ("startup", "start-up"), ("live", "live")]


def gauge(run, part):
    """The host gauge's spread over a part's rounds, ms (None when not taken)."""
    return spread(number(r[0]) for r in read_rows(os.path.join(run, f"gauge-{part}.txt")))
