#!/usr/bin/env python3
"""Packs the program's PNG icons into packaging/windows/kugelfon.ico.

Windows Vista and later read PNG images inside an .ico as they are, so the
icon is the PNGs of tools/make-artwork.sh behind an icon directory.
Run from the repository's top folder after make-artwork.sh.
"""
import struct

SIZES = [16, 24, 32, 48, 64, 128, 256]
images = [open(f"resources/images/icon-{s}.png", "rb").read() for s in SIZES]
out = struct.pack("<HHH", 0, 1, len(images))
offset = 6 + 16 * len(images)
for size, data in zip(SIZES, images):
    # 0 stands for 256 in the one-byte width and height.
    out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
out += b"".join(images)
open("packaging/windows/kugelfon.ico", "wb").write(out)
