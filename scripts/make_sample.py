#!/usr/bin/env python3
"""Draws the shipped sample picture: a gear, a star, a ring and a grey bar.

The grey bar makes the picture not purely black and white, so that opening it
shows the black-and-white step of the workflow."""
import math, struct, sys

W, H = 240, 140
px = [[(255, 255, 255)] * W for _ in range(H)]

def inside_gear(x, y, cx, cy):
    dx, dy = x - cx, y - cy
    r = math.hypot(dx, dy)
    a = math.atan2(dy, dx)
    outer = 38 + (6 if math.cos(a * 10) > 0 else 0)
    return 12 < r < outer

def inside_star(x, y, cx, cy, R=36, r=15, n=5):
    dx, dy = x - cx, y - cy
    a = (math.atan2(dy, dx) + math.pi / 2) % (2 * math.pi / n)
    half = math.pi / n
    t = abs(a - half) / half  # 0 at inner vertex, 1 at outer
    lim = r + (R - r) * t
    return math.hypot(dx, dy) < lim * (0.82 + 0.18 * t)

for y in range(H):
    for x in range(W):
        if inside_gear(x, y, 55, 62) or inside_star(x, y, 145, 62):
            px[y][x] = (0, 0, 0)
        d = math.hypot(x - 205, y - 62)
        if 14 < d < 24:
            px[y][x] = (0, 0, 0)
        if 112 <= y < 126 and 20 <= x < 220:
            g = int(255 * (x - 20) / 200)
            px[y][x] = (g, g, g)

row = (W * 3 + 3) & ~3
data = bytearray()
for y in reversed(range(H)):
    line = bytearray()
    for (r, g, b) in px[y]:
        line += bytes((b, g, r))
    line += b"\0" * (row - len(line))
    data += line
header = b"BM" + struct.pack("<IHHI", 14 + 40 + len(data), 0, 0, 54)
info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(data), 2835, 2835, 0, 0)
open(sys.argv[1], "wb").write(header + info + data)
