#!/usr/bin/python3
"""Writes a picture of random black-and-white noise as a 1-bit BMP: every
pixel black or white with the same chance, deterministic for a given seed.
The outline of a 4000 x 4000 one is a job of millions of segments.

usage: noise_bmp.py OUT.bmp [SIZE] [SEED]
"""
import random
import struct
import sys


def main():
    out = sys.argv[1]
    size = int(sys.argv[2]) if len(sys.argv) > 2 else 4000
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 1)
    w = h = size
    # 1-bit BMP: bottom-up rows padded to 4 bytes; palette 0 black, 1 white.
    # Random bytes are random bits, so a row is its bytes plus the padding.
    row = (w + 7) // 8
    stride = ((w + 31) // 32) * 4
    tail_mask = (0xFF << ((-w) % 8)) & 0xFF  # pixels beyond the width white
    data = bytearray()
    for _ in range(h):
        bits = bytearray(rng.randbytes(row))
        bits[-1] |= 0xFF ^ tail_mask
        data += bits + b"\x00" * (stride - row)
    palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 1, 0, len(data), 2835, 2835, 2, 0)
    with open(out, "wb") as f:
        f.write(header + info + palette + data)


if __name__ == "__main__":
    main()
