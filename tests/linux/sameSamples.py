#!/usr/bin/env python3
"""Whether two WAV files hold the same sample bytes in the same format,
whatever else their headers say. usage: sameSamples.py A.wav B.wav"""
import struct
import sys


def chunks(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        sys.exit(f"{path}: not a WAV file")
    found, at = {}, 12
    while at + 8 <= len(data):
        name, size = data[at:at + 4], struct.unpack("<I", data[at + 4:at + 8])[0]
        found.setdefault(name, data[at + 8:at + 8 + size])
        at += 8 + size + (size & 1)
    return found


def sample_format(fmt):
    tag, channels, rate, _, _, bits = struct.unpack("<HHIIHH", fmt[:16])
    if tag == 0xFFFE:  # the extensible header names the real format in its sub-format
        tag = struct.unpack("<H", fmt[24:26])[0]
    return tag, channels, rate, bits


a, b = chunks(sys.argv[1]), chunks(sys.argv[2])
if sample_format(a[b"fmt "]) != sample_format(b[b"fmt "]):
    sys.exit(f"formats differ: {sample_format(a[b'fmt '])} and {sample_format(b[b'fmt '])}")
if a[b"data"] != b[b"data"]:
    first = next(i for i, (x, y) in enumerate(zip(a[b"data"], b[b"data"])) if x != y) if len(a[b"data"]) == len(b[b"data"]) else None
    sys.exit(f"samples differ ({len(a[b'data'])} and {len(b[b'data'])} bytes; first difference at byte {first})")
print(f"{len(a[b'data'])} bytes of samples identical, format {sample_format(a[b'fmt '])}")
