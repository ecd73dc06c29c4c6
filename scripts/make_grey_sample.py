#!/usr/bin/env python3
"""Writes a grey, photo-like 640 x 480 picture (24-bit BMP): a lit gradient, soft
discs and a little noise, for looking at the picture-preparation dialogs."""
import math
import random
import struct
import sys

W, H = 640, 480
random.seed(7)
rows = []
for y in range(H):
    row = bytearray()
    for x in range(W):
        v = 60 + 120 * x / W + 40 * math.sin(y / 37.0)
        for cx, cy, r, d in ((180, 200, 90, 70), (430, 260, 120, -60), (520, 110, 50, 90)):
            t = math.hypot(x - cx, y - cy) / r
            if t < 1:
                v += d * (1 - t * t)
        v += random.gauss(0, 6)
        g = max(0, min(255, int(v)))
        row += bytes((g, g, g))
    rows.append(bytes(row))
size = 54 + W * H * 3
with open(sys.argv[1] if len(sys.argv) > 1 else "grey-sample.bmp", "wb") as f:
    f.write(b"BM" + struct.pack("<IHHI", size, 0, 0, 54))
    f.write(struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, W * H * 3, 2835, 2835, 0, 0))
    for row in reversed(rows):
        f.write(row)
