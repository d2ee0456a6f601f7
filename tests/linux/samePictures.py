#!/usr/bin/env python3
"""Whether two screenshots of the editor show the same analysis: the
histogram, the spectrum and the nine displays, pixel for pixel. The level
history and the spectrogram are left out: their rows follow the moments the
editor happened to refresh. usage: samePictures.py SCALE A.png B.png"""
import struct
import sys
import zlib

# Left, top, right, bottom at scale 1.
AREAS = {"histogram": (108, 4, 308, 100), "spectrum": (312, 4, 512, 100), "displays": (40, 4, 104, 180)}


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else (b if pb <= pc else c)


def read_png(path):
    """Rows of 8-bit RGB pixels, as the test hosts write them."""
    with open(path, "rb") as f:
        data = f.read()
    at, idat, width, height = 8, b"", 0, 0
    while at < len(data):
        size, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + size]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            if (depth, colour) != (8, 2):
                sys.exit(f"{path}: not an 8-bit RGB picture")
        elif kind == b"IDAT":
            idat += body
        at += 12 + size
    raw, stride, rows, previous = zlib.decompress(idat), width * 3, [], bytearray(width * 3)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            a = line[x - 3] if x >= 3 else 0
            b, c = previous[x], previous[x - 3] if x >= 3 else 0
            line[x] = (line[x] + (0, a, b, (a + b) // 2, paeth(a, b, c))[kind]) & 255
        rows.append(line)
        previous = line
    return rows


scale = int(sys.argv[1])
first, second = read_png(sys.argv[2]), read_png(sys.argv[3])
same = True
for name, (left, top, right, bottom) in AREAS.items():
    differing = sum(first[y][x * 3:x * 3 + 3] != second[y][x * 3:x * 3 + 3]
                    for y in range(top * scale, bottom * scale) for x in range(left * scale, right * scale))
    print(f"{name}: {differing} pixels differ")
    same = same and differing == 0
sys.exit(0 if same else 1)
