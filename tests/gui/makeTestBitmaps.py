#!/usr/bin/env python3
"""Writes the small BMP files of testBitmaps.rc, byte by byte. The letter
grids and colours must stay those the Bitmap tests expect."""
import os
import struct

COLOURS = {
    "W": (255, 255, 255),  # white: the default transparent colour
    "w": (254, 255, 255),  # near-white in one channel each: drawn
    "v": (255, 254, 255),
    "u": (255, 255, 254),
    "K": (0, 0, 0),
    "R": (255, 0, 0),
    "G": (0, 255, 0),
    "B": (0, 0, 255),
    "M": (255, 0, 255),
    "Y": (255, 255, 0),
}

# 24 bits per pixel, 8 x 6.
PATTERN = [
    "WWRRGGBB",
    "WwKKMMWW",
    "RGBWWYYv",
    "MMWWKKGu",
    "wWBBRRWM",
    "KWMWYWGW",
]

# 4 bits per pixel, 6 x 8: two 6 x 4 images stacked, as two-state buttons use them.
TWO_IMAGES = [
    "RRRRRR",
    "RWWWWR",
    "RWKKWR",
    "RRRRRR",
    "BBBBBB",
    "BGGGGB",
    "BGYYGB",
    "BBBBBB",
]

# 8 bits per pixel, 5 x 3, nothing but the transparent colour.
BLANK = ["WWWWW"] * 3


def row_bytes(bits_per_pixel, width):
    return (bits_per_pixel * width + 31) // 32 * 4


def pixel_row(grid_row, bits_per_pixel, palette):
    if bits_per_pixel == 24:
        data = b"".join(bytes(reversed(COLOURS[c])) for c in grid_row)
    elif bits_per_pixel == 8:
        data = bytes(palette.index(c) for c in grid_row)
    else:
        indices = [palette.index(c) for c in grid_row] + [0]
        data = bytes(indices[i] << 4 | indices[i + 1] for i in range(0, len(grid_row), 2))
    return data.ljust(row_bytes(bits_per_pixel, len(grid_row)), b"\0")


def bmp(grid, bits_per_pixel):
    width, height = len(grid[0]), len(grid)
    palette = sorted(set("".join(grid))) if bits_per_pixel < 24 else []
    palette_bytes = b"".join(bytes(reversed(COLOURS[c])) + b"\0" for c in palette)
    # Rows bottom-up, each padded to four bytes.
    pixels = b"".join(pixel_row(row, bits_per_pixel, palette) for row in reversed(grid))
    offset = 14 + 40 + len(palette_bytes)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits_per_pixel, 0, len(pixels), 0, 0,
                              len(palette), 0)
    return file_header + info_header + palette_bytes + pixels


def main():
    folder = os.path.dirname(os.path.abspath(__file__))
    for name, grid, bits in (("pattern.bmp", PATTERN, 24), ("twoImages.bmp", TWO_IMAGES, 4),
                             ("blank.bmp", BLANK, 8)):
        with open(os.path.join(folder, name), "wb") as out:
            out.write(bmp(grid, bits))


if __name__ == "__main__":
    main()
