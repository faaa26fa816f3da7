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
