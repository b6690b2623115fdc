#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Draws the two eyedropper cursors and writes them as spoid.cur (fill
colour) and spoid2.cur (outline colour): 32 x 32, 32-bit colour with alpha
and the 1-bit AND mask, hot spot at the pipette's tip."""

import math
import struct
from pathlib import Path

SIZE = 32
HOT_SPOT = (1, 30)


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def draw(bulb):
    """Rows of (r, g, b, a), top row first."""
    pixels = [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            cx, cy = x + 0.5, y + 0.5
            tube = segment_distance(cx, cy, 1.5, 30.5, 20.0, 12.0)
            head = math.hypot(cx - 24.0, cy - 8.0)
            collar = segment_distance(cx, cy, 16.0, 10.0, 22.0, 16.0)
            if head <= 5.5:
                pixels[y][x] = (0, 0, 0, 255) if head > 4.3 else bulb + (255,)
            elif collar <= 1.8:
                pixels[y][x] = (0, 0, 0, 255)
            elif tube <= 2.4:
                pixels[y][x] = (0, 0, 0, 255) if tube > 1.2 else (255, 255, 255, 255)
    tip_x, tip_y = HOT_SPOT
    pixels[tip_y][tip_x] = (0, 0, 0, 255)
    return pixels


def cursor_bytes(pixels):
    xor_rows = []
    and_rows = []
    for row in reversed(pixels):  # DIBs are stored bottom-up
        xor_rows.append(b"".join(struct.pack("<4B", b, g, r, a) for (r, g, b, a) in row))
        bits = 0
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits |= 1 << (31 - x)
        and_rows.append(struct.pack(">I", bits))
    image = (struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, 0, 0, 0, 0, 0)
             + b"".join(xor_rows) + b"".join(and_rows))
    header = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, HOT_SPOT[0], HOT_SPOT[1], len(image), 6 + 16)
    return header + entry + image


def main():
    folder = Path(__file__).resolve().parent
    (folder / "spoid.cur").write_bytes(cursor_bytes(draw((40, 110, 255))))
    (folder / "spoid2.cur").write_bytes(cursor_bytes(draw((235, 40, 40))))


if __name__ == "__main__":
    main()
