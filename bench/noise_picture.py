#!/usr/bin/python3
"""Writes a 1-bit BMP of random noise: every pixel black with probability
PERCENT / 100, independently. Deterministic for a given seed. Traced as an
outline, such a picture gives millions of tiny contours, the worst case for
the segment list and the NC program's size.

usage: noise_picture.py OUT.bmp [SIZE] [PERCENT] [SEED]
"""
import random
import struct
import sys


def main():
    out = sys.argv[1]
    size = int(sys.argv[2]) if len(sys.argv) > 2 else 4000
    percent = float(sys.argv[3]) if len(sys.argv) > 3 else 50.0
    rng = random.Random(int(sys.argv[4]) if len(sys.argv) > 4 else 1)
    w = h = size
    # 1-bit BMP: bottom-up rows padded to 4 bytes; palette 0 black, 1 white,
    # so a set bit is white.
    row_bytes = (w + 7) // 8
    stride = ((w + 31) // 32) * 4
    tail = (-w) % 8  # unused bits of the last byte stay 0
    p_white = 1.0 - percent / 100.0
    data = bytearray()
    black = 0
    for _ in range(h):
        bits = 0
        for _ in range(w):
            white = rng.random() < p_white
            bits = (bits << 1) | white
            black += not white
        bits <<= tail
        data += bits.to_bytes(row_bytes, "big") + b"\x00" * (stride - row_bytes)
    offset = 14 + 40 + 8
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 1, 0, len(data), 2835, 2835, 2, 2)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    with open(out, "wb") as f:
        f.write(header + info + palette + data)
    print(f"{out}: {w} x {h}, {100.0 * black / (w * h):.1f} % black")


if __name__ == "__main__":
    main()
