#!/usr/bin/env python3
"""Checks a printed scope page, rendered to an image.

Usage: check_page.py IMAGE ORIGIN_X ORIGIN_Y [SCALE]

The page is the program's 800 x 600 logical page drawn for the printer:
logical point (x, y) is pixel (ORIGIN_X + SCALE*x, ORIGIN_Y + SCALE*y), SCALE
3 by default. The document printed is the crafted one of print_e2e.sh: the
right channel a constant +30 (a red line at y = 150 in the offset layout),
the left one a constant -25 (a yellow line at y = 295). The page must show
the scope frame, the graticule, both traces, the scale column and the
time-axis labels at that scale, and nothing of the panel, the help lines or
the background strips.
"""
import subprocess
import sys

RIGHT_Y, LEFT_Y = 150, 295


def load(path):
    ppm = subprocess.run(["convert", path, "-alpha", "off", "ppm:-"], check=True, capture_output=True).stdout
    fields, pos = [], 0
    while len(fields) < 4:
        while ppm[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not ppm[end:end + 1].isspace():
            end += 1
        fields.append(ppm[pos:end])
        pos = end
    assert fields[0] == b"P6" and fields[3] == b"255", fields
    w, h = int(fields[1]), int(fields[2])
    return w, h, ppm[pos + 1:]


class Page:
    def __init__(self, path, ox, oy, scale):
        self.w, self.h, self.px = load(path)
        self.ox, self.oy, self.s = ox, oy, scale

    def rgb(self, X, Y):
        if not (0 <= X < self.w and 0 <= Y < self.h):
            return (255, 255, 255)
        i = 3 * (Y * self.w + X)
        return tuple(self.px[i:i + 3])

    def dev(self, x, y):
        return self.ox + round(self.s * x), self.oy + round(self.s * y)

    def device_box(self, x0, y0, x1, y1):
        X0, Y0 = self.dev(x0, y0)
        X1, Y1 = self.dev(x1, y1)
        return range(max(X0, 0), min(X1, self.w)), range(max(Y0, 0), min(Y1, self.h))

    def count(self, x0, y0, x1, y1, test, step=1):
        xs, ys = self.device_box(x0, y0, x1, y1)
        return sum(1 for Y in ys[::step] for X in xs[::step] if test(self.rgb(X, Y)))


def red(c): return c[0] > 180 and c[1] < 90 and c[2] < 90
def yellow(c): return c[0] > 180 and c[1] > 180 and c[2] < 90
def ink(c): return max(c) - min(c) > 60 or max(c) < 200       # coloured or dark
def dark(c): return max(c) < 160


def main():
    path, ox, oy = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    scale = float(sys.argv[4]) if len(sys.argv) > 4 else 3.0
    p = Page(path, ox, oy, scale)
    failures = []

    def check(ok, what):
        print(("ok: " if ok else "FAIL: ") + what)
        if not ok:
            failures.append(what)

    # Both traces run across the whole screen at their rows, and only there.
    for name, row, test in (("right (red)", RIGHT_Y, red), ("left (yellow)", LEFT_Y, yellow)):
        hits = [x for x in range(30, 511, 20) if p.count(x, row - 3, x + 1, row + 3, test) > 0]
        check(len(hits) == len(range(30, 511, 20)), f"{name} trace at y = {row} across the screen ({len(hits)} of {len(range(30, 511, 20))} columns)")
        stray = p.count(25, 25, 515, 415, test, step=2) - p.count(25, row - 4, 515, row + 4, test, step=2)
        check(stray == 0, f"{name}: nothing of that colour away from y = {row} ({stray} pixels)")

    # The graticule: dotted lines on x = 45 ... 495, nothing between them.
    for x in (45, 135, 315, 495):
        on = p.count(x - 0.4, 30, x + 0.4, 110, dark)
        check(on > 5, f"graticule line at x = {x} ({on} dark pixels)")
    between = p.count(60, 30, 75, 65, dark)
    check(between == 0, f"nothing between graticule lines ({between} dark pixels)")

    # The frame around the screen and its scale column, at three times the size.
    for x in (15, 527):
        edge = p.count(x - 1, 200, x + 1, 260, lambda c: max(c) < 230)
        check(edge > 0, f"frame edge at x = {x} ({edge} grey or dark pixels)")
    inside = p.count(8, 200, 13, 260, ink)
    check(inside == 0, f"nothing left of the frame ({inside} pixels)")

    # The scale column: colour bands at x 520-525, labels from x 530.
    bands = p.count(520.5, 22, 524.5, 418, lambda c: max(c) - min(c) > 60, step=2)
    check(bands > 100, f"colour bands of the scale column ({bands} pixels)")
    labels = p.count(530, 14, 560, 424, dark)
    check(labels > 50, f"scale-column labels ({labels} dark pixels)")

    # The time-axis labels under the screen, and their unit below.
    axis = p.count(38, 428, 510, 444, dark)
    unit = p.count(245, 444, 300, 462, dark)
    check(axis > 100 and unit > 20, f"time-axis labels ({axis} dark pixels) and unit ({unit})")

    # Nothing of the panel, the help lines or the background strips.
    for what, box in (("panel", (560, 5, 800, 440)), ("help lines", (0, 470, 800, 600)),
                      ("left strip", (0, 0, 12, 600)), ("top strip", (0, 0, 800, 12))):
        n = p.count(*box, ink, step=2)
        check(n == 0, f"no {what} ({n} pixels)")

    # At three times the logical size: all the ink lies in the scaled box.
    xs, ys = p.device_box(0, 0, 800, 600)
    ink_x = [X for X in range(0, p.w, 3) if any(ink(p.rgb(X, Y)) for Y in range(0, p.h, 6))]
    ink_y = [Y for Y in range(0, p.h, 3) if any(ink(p.rgb(X, Y)) for X in range(0, p.w, 6))]
    if ink_x and ink_y:
        lx = ((min(ink_x) - ox) / scale, (max(ink_x) - ox) / scale)
        ly = ((min(ink_y) - oy) / scale, (max(ink_y) - oy) / scale)
        check(13 <= lx[0] <= 17 and 527 <= lx[1] <= 565, f"ink from x = {lx[0]:.0f} to {lx[1]:.0f} (logical)")
        check(13 <= ly[0] <= 17 and 445 <= ly[1] <= 470, f"ink from y = {ly[0]:.0f} to {ly[1]:.0f} (logical)")
    else:
        check(False, "the page holds ink")

    if failures:
        print(f"{len(failures)} check(s) failed on {path}")
        return 1
    print(f"page {path}: all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
