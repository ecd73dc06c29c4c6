#!/usr/bin/python3
"""Writes a black-and-white test scan as a 1-bit BMP: a white sheet with
filled blobs of varied size (discs, ellipses and clusters of overlapping
discs), some of them with holes. Deterministic for a given seed.

usage: outline_blobs.py OUT.bmp [SIZE] [BLOBS] [SEED]
"""
import math
import random
import struct
import sys


def main():
    out = sys.argv[1]
    size = int(sys.argv[2]) if len(sys.argv) > 2 else 4096
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 4000
    rng = random.Random(int(sys.argv[4]) if len(sys.argv) > 4 else 1)
    w = h = size
    rows = [bytearray(w) for _ in range(h)]  # 1 = black

    def span(y, x0, x1, v):
        if 0 <= y < h:
            x0 = max(0, x0)
            x1 = min(w - 1, x1)
            if x0 <= x1:
                rows[y][x0:x1 + 1] = bytes([v]) * (x1 - x0 + 1)

    def ellipse(cx, cy, rx, ry, v):
        for dy in range(-int(ry), int(ry) + 1):
            t = 1.0 - (dy / ry) ** 2 if ry > 0 else 1.0
            if t < 0:
                continue
            half = rx * math.sqrt(t)
            span(int(cy) + dy, int(round(cx - half)), int(round(cx + half)), v)

    for _ in range(count):
        r = math.exp(rng.uniform(math.log(1.5), math.log(45)))
        cx = rng.uniform(0, w)
        cy = rng.uniform(0, h)
        kind = rng.random()
        if kind < 0.4:
            ellipse(cx, cy, r, r, 1)
        elif kind < 0.7:
            ellipse(cx, cy, r, r * rng.uniform(0.3, 1.0), 1)
        else:
            for _ in range(rng.randint(2, 5)):
                ellipse(cx + rng.uniform(-r, r), cy + rng.uniform(-r, r),
                        r * rng.uniform(0.4, 0.9), r * rng.uniform(0.4, 0.9), 1)
        if r > 12 and rng.random() < 0.3:
            ellipse(cx, cy, r * 0.35, r * 0.25, 0)

    # 1-bit BMP: bottom-up rows padded to 4 bytes; palette 0 black, 1 white.
    stride = ((w + 31) // 32) * 4
    pad = stride - (w + 7) // 8
    to_bits = bytes.maketrans(b"\x00\x01", b"10")
    data = bytearray()
    for y in range(h - 1, -1, -1):
        bits = rows[y].translate(to_bits) + b"0" * ((-w) % 8)
        data += int(bits, 2).to_bytes(len(bits) // 8, "big") + b"\x00" * pad
    offset = 14 + 40 + 8
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 1, 0, len(data), 2835, 2835, 2, 2)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    with open(out, "wb") as f:
        f.write(header + info + palette + data)
    black = sum(row.count(1) for row in rows)
    print(f"{out}: {w} x {h}, {count} blobs, {100.0 * black / (w * h):.1f} % black")


if __name__ == "__main__":
    main()
