#!/usr/bin/env python3
"""Draws the installer's icon (a scope screen with a green trace) as
ondavsetup.ico, 32x32 and 16x16 in 32-bit colour. Run it again after a change:
    python3 resources/setup/make_icon.py resources/setup/ondavsetup.ico
"""
import math
import struct
import sys


def pixel(x, y, n):
    """BGRA of the pixel (x, y) of an n x n icon, y downwards."""
    edge = max(1, n // 16)
    if x < edge or y < edge or x >= n - edge or y >= n - edge:
        return (0x60, 0x60, 0x60, 0xFF)          # grey bezel
    mid = (n - 1) / 2
    trace = mid - (n * 0.3) * math.sin(2 * math.pi * 1.5 * (x - edge) / (n - 2 * edge))
    if abs(y - trace) <= max(0.7, n / 24):
        return (0x40, 0xF0, 0x40, 0xFF)          # green trace
    if (x - edge) % (n // 4) == 0 or (y - edge) % (n // 4) == 0:
        return (0x50, 0x38, 0x10, 0xFF)          # graticule
    return (0x28, 0x10, 0x00, 0xFF)              # dark blue screen


def image(n):
    rows = []
    for y in range(n - 1, -1, -1):               # DIBs are stored bottom-up
        rows.append(b"".join(bytes(pixel(x, y, n)) for x in range(n)))
    xor = b"".join(rows)
    mask_row = ((n + 31) // 32) * 4
    and_mask = bytes(mask_row * n)               # all opaque
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    return header + xor + and_mask


def main(path):
    sizes = [32, 16]
    images = [image(n) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "ondavsetup.ico")
