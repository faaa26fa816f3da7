#!/usr/bin/env python3
"""Draws the program's artwork (toolbar strip, logo, splash, colour swatches,
icons) as 16-colour Windows bitmaps and icons. Usage: make_art.py OUTDIR"""
import math
import os
import struct
import sys

# The standard 16-colour palette, as (R, G, B).
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, MAROON, DGREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER, GREY, RED, GREEN, YELLOW, BLUE, \
    MAGENTA, CYAN, WHITE = range(16)

# A 3 x 5 pixel font for the small labels.
FONT3 = {
    '0': ["111", "101", "101", "101", "111"], '1': ["010", "110", "010", "010", "111"],
    '2': ["111", "001", "111", "100", "111"], '5': ["111", "100", "111", "001", "111"],
    '.': ["000", "000", "000", "000", "010"], '+': ["000", "010", "111", "010", "000"],
    '-': ["000", "000", "111", "000", "000"],
}
# A 5 x 7 font for the product name.
FONT5 = {
    'O': ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    'n': ["00000", "00000", "10110", "11001", "10001", "10001", "10001"],
    'd': ["00001", "00001", "01101", "10011", "10001", "10011", "01101"],
    'a': ["00000", "00000", "01110", "00001", "01111", "10001", "01111"],
    'v': ["00000", "00000", "10001", "10001", "10001", "01010", "00100"],
    'i': ["00100", "00000", "01100", "00100", "00100", "00100", "01110"],
    's': ["00000", "00000", "01111", "10000", "01110", "00001", "11110"],
    'K': ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    'o': ["00000", "00000", "01110", "10001", "10001", "10001", "01110"],
    'r': ["00000", "00000", "10110", "11001", "10000", "10000", "10000"],
    'e': ["00000", "00000", "01110", "10001", "11111", "10000", "01110"],
    'l': ["01100", "00100", "00100", "00100", "00100", "00100", "01110"],
    '1': ["00100", "01100", "00100", "00100", "00100", "00100", "01110"],
    '.': ["00000", "00000", "00000", "00000", "00000", "01100", "01100"],
    '0': ["01110", "10001", "10011", "10101", "11001", "10001", "01110"],
    ' ': ["00000"] * 7,
}


class Canvas:
    def __init__(self, w, h, bg=SILVER):
        self.w, self.h = w, h
        self.px = [[bg] * w for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        self.line(x0, y0, x1, y0, c); self.line(x0, y1, x1, y1, c)
        self.line(x0, y0, x0, y1, c); self.line(x1, y0, x1, y1, c)

    def line(self, x0, y0, x1, y1, c):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            self.set(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)

    def curve(self, points, c):
        for (a, b) in zip(points, points[1:]):
            self.line(a[0], a[1], b[0], b[1], c)

    def ellipse(self, cx, cy, rx, ry, c):
        for i in range(120):
            t = 2 * math.pi * i / 120
            self.set(round(cx + rx * math.cos(t)), round(cy + ry * math.sin(t)), c)

    def text(self, x, y, s, c, font=FONT3, scale=1):
        for ch in s:
            glyph = font[ch]
            for gy, row in enumerate(glyph):
                for gx, bit in enumerate(row):
                    if bit == '1':
                        self.rect(x + gx * scale, y + gy * scale,
                                  x + gx * scale + scale - 1, y + gy * scale + scale - 1, c)
            x += (len(glyph[0]) + 1) * scale
        return x

    def blit(self, other, ox, oy):
        for y in range(other.h):
            for x in range(other.w):
                self.set(ox + x, oy + y, other.px[y][x])


def wave(c, x0, x1, ymid, amp, cycles, colour):
    pts = [(x, round(ymid - amp * math.sin(2 * math.pi * cycles * (x - x0) / (x1 - x0))))
           for x in range(x0, x1 + 1)]
    c.curve(pts, colour)


# ------------------------------------------------------------------ toolbar images

def img(draw):
    c = Canvas(19, 22)
    draw(c)
    return c


def page(c):
    c.rect(4, 3, 13, 18, WHITE); c.frame(4, 3, 13, 18, BLACK)
    c.line(11, 3, 13, 5, BLACK); c.rect(11, 3, 12, 4, SILVER); c.line(11, 3, 11, 5, BLACK); c.line(11, 5, 13, 5, BLACK)


def folder(c):
    c.rect(2, 7, 14, 17, OLIVE); c.frame(2, 7, 14, 17, BLACK); c.rect(3, 5, 7, 6, OLIVE)
    c.line(3, 5, 7, 5, BLACK)
    for i in range(5):
        c.line(5 + i, 10 + i // 2, 17 - i // 3, 10 + i // 2, YELLOW)
    c.line(4, 17, 7, 10, BLACK); c.line(7, 10, 17, 10, BLACK); c.line(17, 10, 14, 17, BLACK)


def save_folder(c):
    folder(c)
    c.line(9, 2, 9, 8, RED); c.line(6, 5, 9, 8, RED); c.line(12, 5, 9, 8, RED)


def preview(c):
    c.rect(1, 3, 17, 15, GREY); c.frame(1, 3, 17, 15, BLACK); c.rect(3, 5, 15, 13, TEAL)
    c.rect(6, 6, 12, 13, WHITE); c.frame(6, 6, 12, 13, BLACK); c.rect(7, 16, 11, 18, BLACK)


def printer(c):
    c.rect(5, 2, 13, 8, WHITE); c.frame(5, 2, 13, 8, BLACK)
    c.rect(2, 8, 16, 15, GREY); c.frame(2, 8, 16, 15, BLACK); c.set(14, 10, GREEN)
    c.rect(5, 13, 13, 19, WHITE); c.frame(5, 13, 13, 19, BLACK)


def walker(c):
    c.ellipse(8, 4, 1, 1, BLACK); c.line(8, 6, 7, 12, BLACK); c.line(7, 12, 4, 17, BLACK)
    c.line(7, 12, 10, 17, BLACK); c.line(8, 8, 4, 10, BLACK); c.line(8, 8, 11, 10, BLACK)
    c.line(11, 14, 17, 14, RED); c.line(15, 12, 17, 14, RED); c.line(15, 16, 17, 14, RED)


def question(c):
    c.line(6, 5, 8, 3, NAVY); c.line(8, 3, 11, 3, NAVY); c.line(11, 3, 13, 5, NAVY)
    c.line(13, 5, 13, 8, NAVY); c.line(13, 8, 10, 11, NAVY); c.line(10, 11, 10, 14, NAVY)
    c.line(7, 5, 9, 4, NAVY); c.line(12, 5, 12, 8, NAVY); c.line(9, 11, 9, 14, NAVY)
    c.rect(9, 16, 10, 17, NAVY)


def scope_bg(c):
    c.rect(1, 2, 17, 19, WHITE); c.frame(1, 2, 17, 19, BLACK)


def two_offset(c):
    scope_bg(c); wave(c, 2, 16, 7, 2, 2, RED); wave(c, 2, 16, 14, 2, 2, OLIVE)


def two_crossing(c):
    scope_bg(c); wave(c, 2, 16, 11, 5, 1, RED); wave(c, 2, 16, 11, -5, 1, OLIVE)


def sum_trace(c):
    scope_bg(c); wave(c, 2, 16, 13, 3, 2, BLUE); c.line(4, 6, 8, 6, BLACK); c.line(6, 4, 6, 8, BLACK)


def diff_trace(c):
    scope_bg(c); wave(c, 2, 16, 13, 3, 2, DGREEN); c.line(4, 6, 8, 6, BLACK)


def lissajous(c):
    scope_bg(c); c.ellipse(9, 11, 6, 4, RED)


def meter(c):
    c.rect(1, 4, 17, 17, WHITE); c.frame(1, 4, 17, 17, BLACK)
    c.line(3, 9, 9, 6, DGREEN); c.line(10, 6, 13, 7, YELLOW); c.line(13, 7, 15, 9, RED)
    c.line(9, 16, 13, 8, BLACK)


def bars(c):
    c.rect(2, 9, 5, 19, GREEN); c.rect(8, 5, 11, 19, YELLOW); c.rect(14, 2, 17, 19, RED)
    c.frame(2, 9, 5, 19, BLACK); c.frame(8, 5, 11, 19, BLACK); c.frame(14, 2, 17, 19, BLACK)


def red_wave(amp):
    return lambda c: wave(c, 1, 17, 11, amp, 1, RED)


def sliders(c):
    for x, y in ((4, 12), (9, 6), (14, 10)):
        c.line(x, 2, x, 19, BLACK); c.rect(x - 2, y, x + 2, y + 2, GREY); c.frame(x - 2, y, x + 2, y + 2, BLACK)


def labelled_wave(label):
    def draw(c):
        wave(c, 1, 17, 6, 3, 1, RED)
        width = len(label) * 4 - 1
        c.text((19 - width) // 2, 14, label, BLACK)
    return draw


def up_arrow(c):
    for i in range(7):
        c.line(9 - i, 3 + i, 9 + i, 3 + i, YELLOW)
    c.rect(7, 10, 11, 18, YELLOW)
    c.line(9, 2, 2, 9, BLACK); c.line(9, 2, 16, 9, BLACK); c.line(2, 9, 7, 9, BLACK)
    c.line(16, 9, 11, 9, BLACK); c.line(7, 9, 7, 18, BLACK); c.line(11, 9, 11, 18, BLACK); c.line(7, 18, 11, 18, BLACK)


def hand(c):
    c.rect(5, 9, 14, 18, WHITE); c.frame(5, 9, 14, 18, BLACK)
    for x in (5, 8, 11):
        c.rect(x, 3, x + 2, 9, WHITE); c.frame(x, 3, x + 2, 9, BLACK)
    c.rect(14, 5, 16, 10, WHITE); c.frame(14, 5, 16, 10, BLACK)
    c.line(2, 11, 5, 14, BLACK); c.line(2, 11, 3, 10, BLACK); c.line(3, 10, 5, 12, BLACK)


TOOLBAR = [page, folder, save_folder, preview, printer, walker, question, two_offset,
           two_crossing, sum_trace, diff_trace, lissajous, meter, bars, red_wave(2), red_wave(5),
           red_wave(8), sliders] + [labelled_wave(s) for s in
                                    ("0.2", "0.5", "1", "2", "5", "10", "20", "50")] + [up_arrow, hand]


def toolbar():
    strip = Canvas(19 * len(TOOLBAR), 22)
    for i, draw in enumerate(TOOLBAR):
        strip.blit(img(draw), 19 * i, 0)
    return strip


# ------------------------------------------------------------------ pictures

def scope_picture(w, h, x0, y0, x1, y1):
    c = Canvas(w, h, NAVY)
    c.rect(x0, y0, x1, y1, WHITE); c.frame(x0, y0, x1, y1, BLACK); c.frame(x0 - 1, y0 - 1, x1 + 1, y1 + 1, BLACK)
    for i in range(1, 10):
        x = x0 + (x1 - x0) * i // 10
        for y in range(y0, y1, 3):
            c.set(x, y, GREY)
    for i in range(1, 8):
        y = y0 + (y1 - y0) * i // 8
        for x in range(x0, x1, 3):
            c.set(x, y, GREY)
    mid = (y0 + y1) // 2
    wave(c, x0 + 2, x1 - 2, mid - (y1 - y0) // 5, (y1 - y0) // 7, 3, RED)
    wave(c, x0 + 2, x1 - 2, mid + (y1 - y0) // 5, (y1 - y0) // 9, 5, OLIVE)
    return c


def logo():
    c = Canvas(248, 103, WHITE)
    # Seven letters of 6 columns at scale 5: 205 pixels, centred.
    c.text(21, 12, "Ondavis", NAVY, FONT5, 5)
    wave(c, 10, 238, 72, 14, 4, RED)
    wave(c, 10, 238, 72, 9, 7, BLUE)
    c.text(178, 90, "Korvel", GREY, FONT5, 1)
    return c


def splash():
    c = scope_picture(409, 293, 20, 20, 388, 210)
    c.text(40, 228, "Ondavis", YELLOW, FONT5, 6)
    c.text(300, 262, "Korvel", WHITE, FONT5, 2)
    c.text(300, 240, "1.0", WHITE, FONT5, 2)
    return c


def swatch(colour):
    return Canvas(35, 12, colour)


def app_icon():
    c = Canvas(32, 32, NAVY)
    c.rect(2, 3, 29, 26, WHITE); c.frame(2, 3, 29, 26, BLACK)
    c.line(3, 14, 28, 14, GREY); c.line(15, 4, 15, 25, GREY)
    wave(c, 3, 28, 14, 8, 2, RED)
    c.rect(6, 27, 25, 29, GREY)
    return c


def app_icon_small():
    # Drawn for 16 x 16, not scaled down: the trace stays one pixel thick.
    c = Canvas(16, 16, NAVY)
    c.rect(1, 1, 14, 12, WHITE); c.frame(1, 1, 14, 12, BLACK)
    c.line(2, 7, 13, 7, GREY)
    wave(c, 2, 13, 7, 4, 1, RED)
    c.rect(4, 13, 11, 14, GREY)
    return c


def doc_icon():
    c = Canvas(32, 32, WHITE)
    c.frame(5, 1, 26, 30, BLACK)
    c.line(21, 1, 26, 6, BLACK)
    wave(c, 7, 24, 12, 4, 2, RED)
    wave(c, 7, 24, 22, 3, 3, BLUE)
    return c


def doc_icon_small():
    c = Canvas(16, 16, WHITE)
    c.frame(2, 0, 13, 15, BLACK)
    c.line(10, 0, 13, 3, BLACK)
    wave(c, 3, 12, 5, 2, 1, RED)
    wave(c, 3, 12, 11, 2, 2, BLUE)
    return c


# ------------------------------------------------------------------ file formats

def dib_4bpp(c, height_factor=1):
    row_bytes = ((c.w * 4 + 31) // 32) * 4
    header = struct.pack('<IiiHHIIiiII', 40, c.w, c.h * height_factor, 1, 4, 0,
                         row_bytes * c.h, 0, 0, 16, 16)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    bits = bytearray()
    for y in range(c.h - 1, -1, -1):      # bottom-up
        row = c.px[y]
        data = bytearray()
        for x in range(0, c.w, 2):
            hi = row[x]
            lo = row[x + 1] if x + 1 < c.w else 0
            data.append((hi << 4) | lo)
        data += b'\0' * (row_bytes - len(data))
        bits += data
    return header, palette, bytes(bits)


def write_bmp(path, c):
    header, palette, bits = dib_4bpp(c)
    offset = 14 + len(header) + len(palette)
    with open(path, 'wb') as f:
        f.write(struct.pack('<2sIHHI', b'BM', offset + len(bits), 0, 0, offset))
        f.write(header + palette + bits)


def write_ico(path, *canvases):
    images = []
    for c in canvases:
        header, palette, bits = dib_4bpp(c, height_factor=2)
        mask_row = ((c.w + 31) // 32) * 4
        mask = b'\0' * (mask_row * c.h)   # fully opaque
        images.append(header + palette + bits + mask)
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, len(images)))
        offset = 6 + 16 * len(images)
        for c, image in zip(canvases, images):
            f.write(struct.pack('<BBBBHHII', c.w, c.h, 16, 0, 1, 4, len(image), offset))
            offset += len(image)
        for image in images:
            f.write(image)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_bmp(os.path.join(out, 'toolbar.bmp'), toolbar())
    write_bmp(os.path.join(out, 'logo.bmp'), logo())
    write_bmp(os.path.join(out, 'splash.bmp'), splash())
    for i, colour in enumerate((SILVER, WHITE, BLUE, CYAN, GREEN, YELLOW, MAGENTA, RED)):
        write_bmp(os.path.join(out, 'swatch%d.bmp' % (141 + i)), swatch(colour))
    write_ico(os.path.join(out, 'ondav.ico'), app_icon(), app_icon_small())
    write_ico(os.path.join(out, 'ondavdoc.ico'), doc_icon(), doc_icon_small())


if __name__ == '__main__':
    main()
