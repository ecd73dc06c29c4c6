#!/usr/bin/env python3
"""Seed corpora for the fuzz targets: a few small valid files per reader and
the damaged or forged files that once cost gigabytes or loaded wrongly.

Usage: make_fuzz_seeds.py OUTDIR   (writes OUTDIR/<target>/*)
"""
import os
import shutil
import struct
import subprocess
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def put(out, target, name, data):
    d = os.path.join(out, target)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, name), "wb") as f:
        f.write(data)


# ---- BMP / ICO ------------------------------------------------------------------

def dib(w, h, bpp, pixels, compression=0, palette=(), height_field=None):
    header = struct.pack("<IiiHHIIiiII", 40, w, h if height_field is None else height_field, 1,
                         bpp, compression, len(pixels), 2835, 2835, len(palette), 0)
    pal = b"".join(struct.pack("<I", c) for c in palette)
    return header + pal + pixels


def bmp(w, h, bpp, pixels, compression=0, palette=()):
    body = dib(w, h, bpp, pixels, compression, palette)
    off = 14 + 40 + 4 * len(palette)
    return b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, off) + body


def rows(w, h, bpp, value):
    stride = ((w * bpp + 31) // 32) * 4
    return b"".join(bytes(value(x, y) for x in range(stride)) for y in range(h))


def ico(w, h):
    colour = rows(w, h, 32, lambda x, y: 0xFF if x % 4 == 3 else (0 if (x // 4 + y) % 2 else 0xFF))
    mask = rows(w, h, 1, lambda x, y: 0)
    image = dib(w, h, 32, colour + mask, height_field=2 * h)
    entry = struct.pack("<BBBBHHII", w, h, 0, 0, 1, 32, len(image), 6 + 16)
    return struct.pack("<HHH", 0, 1, 1) + entry + image


# ---- PNG ------------------------------------------------------------------------

def chunk(kind, data, claimed=None):
    length = len(data) if claimed is None else claimed
    return struct.pack(">I", length) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(w, h, depth, colour, raw_rows, interlace=0):
    sig = b"\x89PNG\r\n\x1a\n"
    ihdr = chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, depth, colour, 0, 0, interlace))
    data = b"".join(b"\x00" + r for r in raw_rows)
    return sig + ihdr + chunk(b"IDAT", zlib.compress(data)) + chunk(b"IEND", b"")


# ---- metafiles -----------------------------------------------------------------

def wmf_record(function, params):
    return struct.pack("<IH", 3 + len(params), function) + struct.pack("<%dH" % len(params), *params)


def wmf(body, w=100, h=100):
    placeable = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, w, h, 96, 0)
    checksum = 0
    for i in range(0, 20, 2):
        checksum ^= struct.unpack_from("<H", placeable, i)[0]
    placeable += struct.pack("<H", checksum)
    words = 9 + len(body) // 2
    header = struct.pack("<HHHIHIH", 1, 9, 0x300, words, 3, 64, 0)
    return placeable + header + body


def wmf_scene():
    b = wmf_record(0x020B, [0, 0]) + wmf_record(0x020C, [100, 100])
    b += wmf_record(0x02FC, [0, 0xFFFF, 0x00FF, 0]) + wmf_record(0x02FC, [0, 0, 0, 0])
    b += wmf_record(0x02FA, [5, 0, 0, 0, 0]) + wmf_record(0x012D, [2])
    b += wmf_record(0x012D, [0]) + wmf_record(0x041B, [100, 100, 0, 0])
    b += wmf_record(0x012D, [1]) + wmf_record(0x041B, [100, 50, 0, 0])
    b += wmf_record(0x0418, [40, 90, 10, 60]) + wmf_record(0, [])
    return wmf(b)


def wmf_text(text):
    b = wmf_record(0x020B, [0, 0]) + wmf_record(0x020C, [60, 200])
    b += wmf_record(0x02FB, [40, 0, 0, 0, 400, 0, 0, 0, 0, 0x7241, 0x6169, 0x6C])
    b += wmf_record(0x012D, [0])
    s = text + (b"\0" if len(text) % 2 else b"")
    b += wmf_record(0x0521, [len(text)] + list(struct.unpack("<%dH" % (len(s) // 2), s)) + [5, 5])
    return wmf(b + wmf_record(0, []), 200, 60)


def wmf_bitmap():
    d = dib(2, 2, 24, bytes(16))
    params = [0x0020, 0x00CC, 0, 2, 2, 0, 0, 40, 40, 0, 0] + list(struct.unpack("<%dH" % (len(d) // 2), d))
    b = wmf_record(0x020B, [0, 0]) + wmf_record(0x020C, [40, 40]) + wmf_record(0x0F43, params)
    return wmf(b + wmf_record(0, []), 40, 40)


def emf_record(kind, params):
    return struct.pack("<II", kind, 8 + 4 * len(params)) + struct.pack("<%dI" % len(params), *params)


def emf(body, w=100, h=100):
    total = 88 + len(body)
    frame = [0, 0, w * 2540 // 96, h * 2540 // 96]
    header = struct.pack("<II4i4iIIIIHHIII4i", 1, 88, 0, 0, w - 1, h - 1, *frame, 0x464D4520,
                         0x10000, total, 8, 3, 0, 0, 0, 0, 1920, 1080, 508, 286)
    return header + body


def emf_scene():
    b = emf_record(39, [1, 0, 0x00FFFFFF, 0]) + emf_record(39, [2, 0, 0, 0])
    b += emf_record(37, [0x80000008]) + emf_record(37, [1]) + emf_record(43, [0, 0, 100, 100])
    b += emf_record(37, [2]) + emf_record(43, [0, 0, 50, 100]) + emf_record(42, [60, 10, 90, 40])
    return emf(b + emf_record(14, [0, 16, 20]))


def emf_text(text):
    utf16 = text.encode("utf-16-le")
    utf16 += b"\0\0" * (len(utf16) % 4 // 2)
    # EXTTEXTOUTW: bounds, mode, scales, then the text record (reference,
    # count, offset of the string, options, rectangle, offset of the spacing).
    fixed = struct.pack("<4iIff", 0, 0, 200, 60, 1, 1.0, 1.0)
    off = 8 + len(fixed) + 40
    emrtext = struct.pack("<iiIII4iI", 5, 40, len(text), off, 0, 0, 0, 0, 0, 0)
    rec = fixed + emrtext + utf16
    b = struct.pack("<II", 84, 8 + len(rec)) + rec
    return emf(b + emf_record(14, [0, 16, 20]), 200, 60)


# ---- writing the corpora --------------------------------------------------------

def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    shutil.rmtree(out, ignore_errors=True)
    pics = {}
    pics["bmp"] = {
        "rgb24.bmp": bmp(5, 3, 24, rows(5, 3, 24, lambda x, y: (x * 40 + y * 7) & 0xFF)),
        "pal8.bmp": bmp(4, 4, 8, rows(4, 4, 8, lambda x, y: (x + y) % 2), 0, [0xFFFFFF, 0]),
        "mono1.bmp": bmp(9, 2, 1, rows(9, 2, 1, lambda x, y: 0xA5), 0, [0, 0xFFFFFF]),
        "argb32.bmp": bmp(3, 3, 32, rows(3, 3, 32, lambda x, y: (x * 90) & 0xFF)),
        "rle8.bmp": bmp(8, 4, 8, bytes([4, 1, 4, 0, 0, 0, 8, 1, 0, 2, 1, 1, 0, 1]), 1, [0xFFFFFF, 0]),
        # A run, then the stream stops: no end-of-bitmap marker, 16384 x 16384.
        "rle8_cut_huge.bmp": bmp(16384, 16384, 8, bytes([255, 0, 0, 2, 0, 255]), 1, [0xFFFFFF, 0]),
        "huge_header.bmp": b"BM" + bytes(64),
    }
    pics["ico"] = {"argb16.ico": ico(16, 16), "argb1.ico": ico(1, 1)}
    grey = [bytes((x * 30 + y) & 0xFF for x in range(6)) for y in range(4)]
    rgba = [bytes((x * 60 + c) & 0xFF for x in range(3) for c in range(4)) for y in range(3)]
    pics["png"] = {
        "grey8.png": png(6, 4, 8, 0, grey),
        "rgba8_interlaced.png": png(3, 3, 8, 6, rgba, 1),
        "text_claims_2GB.png": png(1, 1, 8, 0, [b"\0"])[:33] + struct.pack(">I", 0x7FFFFFF0) + b"tEXt",
        "interlaced_no_data.png": b"\x89PNG\r\n\x1a\n"
        + chunk(b"IHDR", struct.pack(">IIBBBBB", 16384, 16384, 8, 6, 0, 0, 1)) + chunk(b"IEND", b""),
    }
    jpegs = {}
    if shutil.which("convert"):
        for name, args in {"grey.jpg": ["-size", "16x8", "gradient:"],
                           "rgb_progressive.jpg": ["-size", "24x16", "plasma:", "-interlace", "JPEG"]}.items():
            r = subprocess.run(["convert", *args, "jpg:-"], capture_output=True)
            if r.returncode == 0:
                jpegs[name] = r.stdout
    if "grey.jpg" in jpegs:
        j = jpegs["grey.jpg"]
        sos = j.find(b"\xff\xda")
        sof = j.find(b"\xff\xc0")
        if sos > 0 and sof > 0:
            head = bytearray(j[: sos + 2 + struct.unpack(">H", j[sos + 2:sos + 4])[0]])
            head[sof + 5:sof + 9] = struct.pack(">HH", 16384, 16384)
            jpegs["header_no_data_huge.jpg"] = bytes(head) + b"\xff\xd9"
            jpegs["cut_with_end.jpg"] = j[: (sos + len(j)) // 2] + b"\xff\xd9"
    pics["jpeg"] = jpegs
    pics["wmf"] = {"scene.wmf": wmf_scene(), "bitmap.wmf": wmf_bitmap(),
                   "text_markup.wmf": wmf_text(b"A<B&C </text>"),
                   "max_record_4G.wmf": wmf_scene()[:22 + 12] + b"\xff\xff\xff\xff" + wmf_scene()[22 + 16:]}
    pics["emf"] = {"scene.emf": emf_scene(), "text_cdata.emf": emf_text("a]]><rect/>&b")}
    # Files that once made a decoder fail, kept with the tests.
    ext_target = {"bmp": "bmp", "ico": "ico", "jpg": "jpeg", "png": "png", "wmf": "wmf", "emf": "emf"}
    kept = os.path.join(ROOT, "tests", "data", "fuzz")
    for name in sorted(os.listdir(kept)) if os.path.isdir(kept) else []:
        target = ext_target.get(name.rsplit(".", 1)[-1])
        if target:
            with open(os.path.join(kept, name), "rb") as f:
                pics.setdefault(target, {})[name] = f.read()
    for target, files in pics.items():
        for name, data in files.items():
            put(out, target, name, data)
            put(out, "decode", target + "_" + name, data)
    cfg = os.path.join(ROOT, "data", "config")
    for name in sorted(os.listdir(cfg)):
        with open(os.path.join(cfg, name), "rb") as f:
            put(out, "settings", name, f.read())
    put(out, "settings", "odd.ini", b"\xef\xbb\xbf[SET]\r\n Profil = a \r[set]\nProfil=b\n=x\n[path\nnc=1")
    lang = os.path.join(ROOT, "data", "lang")
    for name in sorted(os.listdir(lang)):
        with open(os.path.join(lang, name), "rb") as f:
            put(out, "language", name, f.read()[:4096])
    put(out, "movelist", "example.txt",
        b"8;0;5;-1\n0;5.000;-10.000\n1;6.000;-10.000\n1;6.000;-12.000\n0;15.000;-2.000\n1;15.500;-2.000\n")
    put(out, "movelist", "header_only.txt", b"8;0;5;\n")
    put(out, "movelist", "bad_field.txt", b"8;0;;-1\n1;1;1\n")


if __name__ == "__main__":
    main()
