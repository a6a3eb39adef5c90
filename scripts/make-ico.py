#!/usr/bin/env python3
"""Packs PNG images into one Windows .ico file (PNG-compressed entries, Windows Vista and later).

Usage: scripts/make-ico.py OUT.ico IMAGE.png...   (square images, at most 256 pixels a side)
"""
import struct
import sys

out, pngs = sys.argv[1], sys.argv[2:]
images = []
for path in pngs:
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(f"{path}: not a PNG file")
    width, height = struct.unpack(">II", data[16:24])
    images.append((width, height, data))
images.sort(key=lambda image: image[0])

header = struct.pack("<HHH", 0, 1, len(images))
offset = len(header) + 16 * len(images)
entries, blobs = b"", b""
for width, height, data in images:
    # 256 is written as 0; 32 bits per pixel with alpha.
    entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), offset)
    blobs += data
    offset += len(data)
with open(out, "wb") as f:
    f.write(header + entries + blobs)
