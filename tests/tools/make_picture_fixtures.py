#!/usr/bin/env python3
"""Writes the picture fixtures of tests/data/pictures and their expected pixels.

Hand-made BMP variants (RLE8/RLE4 with every kind of run, OS/2 2.x headers) are put together
here byte by byte; others come from ImageMagick. Every fixture's pixels are then read by
ImageMagick into a PPM of the same name, which the tests compare our readers against.
Run from anywhere: python3 tests/tools/make_picture_fixtures.py
"""
import os
import struct
import subprocess

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "pictures")


def bmp(header_size, width, height, bpp, compression, palette, pixels, colours_used=0):
    """palette: list of (b, g, r); pixels: the bytes after the palette."""
    info = struct.pack("<IiiHH", header_size, width, height, 1, bpp)
    rest = struct.pack("<IIiiII", compression, len(pixels), 2835, 2835, colours_used, 0)
    info = (info + rest + bytes(64))[:header_size]
    pal = b"".join(bytes([b, g, r, 0]) for b, g, r in palette)
    offset = 14 + len(info) + len(pal)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + pal + pixels


PALETTE16 = [(0, 0, 0)] + [((i * 37) & 255, (i * 91 + 20) & 255, (255 - i * 13) & 255) for i in range(1, 16)]


def write_ppm(name, rows):
    """rows: top row first, each a list of (r, g, b)."""
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (len(rows[0]), len(rows)))
        for row in rows:
            for pixel in row:
                f.write(bytes(pixel))


HAND_WRITTEN_PIXELS = ("os2v2-16-truecolour.bmp", "rle8-runs.bmp", "os2v2-64-rle8.bmp", "os2v2-64-palette.bmp")


def build():
    os.makedirs(OUT, exist_ok=True)
    files = {}
    # RLE8, 7x4: rows stored from the bottom.
    rle8 = bytes([
        3, 1, 0, 3, 2, 3, 4, 0, 1, 5, 0, 0,    # bottom row: 1 1 1 2 3 4 5 (odd absolute run, padded)
        0, 2, 2, 0, 5, 6, 0, 0,                # row 1: delta two right, then 6 x5
        0, 4, 7, 8, 9, 10, 3, 11, 0, 0,        # row 2: absolute 7 8 9 10 (even), then 11 x3
        0, 2, 3, 0, 2, 12, 0, 1,               # row 3: delta three right, 12 12, end of bitmap
    ])
    files["rle8-runs.bmp"] = bmp(40, 7, 4, 8, 1, PALETTE16, rle8, 16)
    # ImageMagick refuses RLE8 streams that skip pixels, so their pixels are written here,
    # top row first; skipped pixels are black (entry 0).
    rle8_indexes = [[0, 0, 0, 12, 12, 0, 0], [7, 8, 9, 10, 11, 11, 11], [0, 0, 6, 6, 6, 6, 6], [1, 1, 1, 2, 3, 4, 5]]
    for name in ("rle8-runs.ppm", "os2v2-64-rle8.ppm"):
        write_ppm(name, [[PALETTE16[i][::-1] for i in row] for row in rle8_indexes])
    # RLE4, 9x3: nibbles alternate in encoded runs; absolute runs pack two a byte.
    rle4 = bytes([
        5, 0x12, 0, 3, 0x34, 0x50, 1, 0x60, 0, 0,   # 1 2 1 2 1 | absolute 3 4 5 (2 bytes, even) | 6
        0, 5, 0x78, 0x9A, 0xB0, 0, 4, 0xCD, 0, 0,   # absolute 7 8 9 10 11 (3 bytes + pad) | 12 13 12 13
        0, 2, 1, 0, 8, 0xEF, 0, 1,                  # delta one right, 14 15 x8, end of bitmap
    ])
    files["rle4-runs.bmp"] = bmp(40, 9, 3, 4, 2, PALETTE16, rle4, 16)
    # OS/2 2.x: the full 64-byte header with a palette, the 16-byte one (24-bit, fields from the
    # compression on left out), and RLE8 under a 64-byte header.
    pal8 = bytes([i % 16 for i in range(6 * 3)])
    rows8 = b"".join(pal8[y * 6:(y + 1) * 6] + bytes(2) for y in range(3))
    files["os2v2-64-palette.bmp"] = bmp(64, 6, 3, 8, 0, PALETTE16, rows8, 16)
    # ImageMagick 6.9 reads this palette as 3-byte entries, but OS/2 2.x entries are 4 bytes
    # (blue, green, red, flags) as in Windows files, so these pixels are written here too.
    write_ppm("os2v2-64-palette.ppm", [[PALETTE16[i][::-1] for i in pal8[y * 6:(y + 1) * 6]] for y in (2, 1, 0)])
    rows24 = b"".join(bytes([(x * 40 + y * 7) & 255, (x * 9 + 100) & 255, (y * 60 + x) & 255] * 1)
                      for y in range(2) for x in range(5))
    # ImageMagick reads past a 16-byte header, so this one's expected pixels are written here:
    # rows bottom-up in the file, top-down in the PPM, blue-green-red turned to red-green-blue.
    write_ppm("os2v2-16-truecolour.ppm", [[tuple(rows24[(y * 5 + x) * 3:(y * 5 + x) * 3 + 3])[::-1] for x in range(5)] for y in (1, 0)])
    rows24 = b"".join(rows24[y * 15:(y + 1) * 15] + bytes(1) for y in range(2))
    files["os2v2-16-truecolour.bmp"] = bmp(16, 5, 2, 24, 0, [], rows24)
    files["os2v2-64-rle8.bmp"] = bmp(64, 7, 4, 8, 1, PALETTE16, rle8, 16)
    for name, data in files.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)

    def run(*args):
        subprocess.run(args, check=True)

    src = os.path.join(OUT, "gradient-src.ppm")
    run("convert", "-size", "23x11", "gradient:#ff2000-#0040ff", "-depth", "8", src)
    run("convert", src, "-type", "Palette", "-colors", "40", "-compress", "RLE", "BMP3:" + os.path.join(OUT, "rle8-imagemagick.bmp"))
    run("convert", src, "-colorspace", "CMYK", "-quality", "95", os.path.join(OUT, "cmyk-imagemagick.jpg"))
    os.remove(src)
    for name in sorted(os.listdir(OUT)):
        if name.endswith((".bmp", ".jpg")) and name not in HAND_WRITTEN_PIXELS:
            ppm = os.path.join(OUT, os.path.splitext(name)[0] + ".ppm")
            run("convert", os.path.join(OUT, name), "-colorspace", "sRGB", "-depth", "8", "ppm:" + ppm)


if __name__ == "__main__":
    build()
