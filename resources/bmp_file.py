"""Writes RGB pictures as Windows BMP files that LoadBitmapA reads.

write_bmp(path, image, bits, rle8=False): `image` is a Pillow RGB image; `bits` is 24, 8 or 4.
24-bit files store the pixels themselves; 8- and 4-bit files carry a palette of exactly the
colours the picture uses (most frequent first), so a picture with more colours than the depth
allows is refused rather than silently degraded. With rle8 the 8-bit rows are run-length
encoded (BI_RLE8). Rows are stored bottom-up, each padded to a multiple of 4 bytes.
"""

import struct

FILE_HEADER_SIZE = 14
INFO_HEADER_SIZE = 40
PALETTE_ENTRY_SIZE = 4
BI_RGB = 0
BI_RLE8 = 1
PIXELS_PER_METRE = 2835  # 72 dots per inch
MAX_RUN = 255
END_OF_LINE = b"\x00\x00"
END_OF_BITMAP = b"\x00\x01"


def write_bmp(path, image, bits, rle8=False):
    if rle8 and bits != 8:
        raise ValueError("run-length encoding is only written for 8-bit pictures")
    if bits == 24:
        palette, pixels = [], _rows_24(image)
    else:
        palette = _palette_of(image, 1 << bits)
        rows = _index_rows(image, palette)
        pixels = _encode_rle8(rows) if rle8 else _pack_indices(rows, bits)
    with open(path, "wb") as out:
        out.write(_headers(image.size, bits, BI_RLE8 if rle8 else BI_RGB, palette, len(pixels)))
        for red, green, blue in palette:
            out.write(bytes((blue, green, red, 0)))
        out.write(pixels)


def _headers(size, bits, compression, palette, pixel_bytes):
    width, height = size
    offset = FILE_HEADER_SIZE + INFO_HEADER_SIZE + PALETTE_ENTRY_SIZE * len(palette)
    file_header = struct.pack("<2sIHHI", b"BM", offset + pixel_bytes, 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", INFO_HEADER_SIZE, width, height, 1, bits, compression,
                              pixel_bytes, PIXELS_PER_METRE, PIXELS_PER_METRE, len(palette), len(palette))
    return file_header + info_header


def _padded(row):
    return row + bytes(-len(row) % 4)


def _rows_24(image):
    width, height = image.size
    data = image.tobytes("raw", "BGR")
    stride = 3 * width
    return b"".join(_padded(data[y * stride:(y + 1) * stride]) for y in reversed(range(height)))


def _palette_of(image, max_colours):
    counts = image.getcolors(maxcolors=image.size[0] * image.size[1])
    if len(counts) > max_colours:
        raise ValueError(f"{len(counts)} colours do not fit a palette of {max_colours}")
    return [colour for _, colour in sorted(counts, key=lambda entry: (-entry[0], entry[1]))]


def _index_rows(image, palette):
    """Palette indices, top row first."""
    index = {colour: i for i, colour in enumerate(palette)}
    width, height = image.size
    pixels = [index[colour] for colour in image.getdata()]
    return [pixels[y * width:(y + 1) * width] for y in range(height)]


def _pack_indices(rows, bits):
    per_byte = 8 // bits
    packed = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for start in range(0, len(row), per_byte):
            byte = 0
            for i in range(per_byte):
                value = row[start + i] if start + i < len(row) else 0
                byte |= value << (8 - bits * (i + 1))
            line.append(byte)
        packed += _padded(bytes(line))
    return bytes(packed)


def _encode_rle8(rows):
    """Encoded runs only (a run of one is valid too): every line ends with end-of-line, the last
    with end-of-bitmap. Runs never cross a line."""
    encoded = bytearray()
    bottom_up = list(reversed(rows))
    for number, row in enumerate(bottom_up):
        x = 0
        while x < len(row):
            run = 1
            while x + run < len(row) and run < MAX_RUN and row[x + run] == row[x]:
                run += 1
            encoded += bytes((run, row[x]))
            x += run
        encoded += END_OF_BITMAP if number == len(bottom_up) - 1 else END_OF_LINE
    return bytes(encoded)
