#!/usr/bin/env python3
"""Writes the example recordings that ship with Ondavis.

Usage: make_osc.py OUTPUT_DIR

An .osc file is four blocks of 4011 little-endian int32 (64176 bytes): right,
left, sum (right + left) and difference (right - left). A sample is the
captured unsigned 8-bit byte minus 127, so silence (byte 128) reads +1 and the
signals below swing around that level. One capture fills indices 0..3999;
4000..4010 stay 0.
"""
import math
import os
import struct
import sys

RATE = 44100
FRAMES = 4000
SLOTS = 4011
SILENCE = 1  # byte 128 - 127


def sine(amplitude, freq):
    return [SILENCE + round(amplitude * math.sin(2 * math.pi * freq * i / RATE)) for i in range(FRAMES)]


def square(amplitude, freq):
    return [SILENCE + (amplitude if (i * freq / RATE) % 1.0 < 0.5 else -amplitude) for i in range(FRAMES)]


def silence():
    return [SILENCE] * FRAMES


def encode(right, left):
    """The 64176 bytes of a recording of the two channels."""
    for s in right + left:
        if not -127 <= s <= 128:
            raise ValueError("sample %d is outside an 8-bit capture" % s)
    blocks = [right, left, [r + l for r, l in zip(right, left)], [r - l for r, l in zip(right, left)]]
    padding = [0] * (SLOTS - FRAMES)
    return b"".join(struct.pack("<%di" % SLOTS, *(b + padding)) for b in blocks)


EXAMPLES = {
    "sinus.osc": lambda: (sine(100, 1000), sine(60, 2500)),
    "carre.osc": lambda: (square(80, 500), square(80, 500)),
    "silence.osc": lambda: (silence(), silence()),
}


def main(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    for name, make in EXAMPLES.items():
        data = encode(*make())
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
