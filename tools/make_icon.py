#!/usr/bin/python3
"""Writes the program icon as raw RT_ICON / RT_GROUP_ICON resources:
resources/icon-30001.bin (32x32, 2 colours), icon-30002.bin (32x32, 16 colours),
icon-30003.bin (16x16, 16 colours) and icon-group.bin.

The picture is a white window seen slightly from its left, with a dark shadow.
Run:  /usr/bin/python3 tools/make_icon.py [output-directory]
"""
import os
import struct
import sys

# . ground   K black   W white   C cyan   L light grey   D dark grey
WINDOW_32 = [
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    ".....KKKKK......................",
    ".....KCCCCKKKK..................",
    ".....KKKKKCCCCKKKK..............",
    ".....KLLLLKKKKCCCCKKKKK.........",
    ".....KWWWWLLLLKKKKCCCCK.........",
    ".....KWWWWWWWWLLLLKKKKK.........",
    ".....KWWWWWWWWWWWWLLLLK.........",
    ".....KWWWWWWWWWWWWWWWWK.........",
    ".....KWWWWWWWWWWWWWWWWKD........",
    ".....KWWWWWWWWWWWWWWWWKD........",
    ".....KWWWWWWWWWWWWWWWWKDD.......",
    ".....KWWWWWWWWWWWWWWWWKDD.......",
    ".....KWWWWWWWWWWWWWWWWKDDD......",
    ".....KWWWWWWWWWWWWWWWWKDDDD.....",
    ".....KWWWWWWWWWWWWWWWWKDDDDD....",
    ".....KWWWWWWWWWWWWWWWWKDDDDDD...",
    ".....KWWWWWWWWWWWWWWWWKDDDDD....",
    ".....KKKKKLWWWWWWWWWWWKDDDD.....",
    "..........KKKKLWWWWWWWKDDD......",
    "..............KKKKLWWWKDD.......",
    "..................KKKKKD........",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
]

WINDOW_16 = [
    "................",
    "................",
    "................",
    "..KKKK..........",
    "..KCCCKKK.......",
    "..KKKKCCCKKK....",
    "..KLLLKKKCCK....",
    "..KWWWLLLKKK....",
    "..KWWWWWWLLKD...",
    "..KWWWWWWWWKDD..",
    "..KWWWWWWWWKDDD.",
    "..KKKKLWWWWKDDD.",
    "......KKKLWKDD..",
    ".........KKKD...",
    "................",
    "................",
]

# The standard 16-colour palette, as (R, G, B).
PALETTE_16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (128, 128, 128),
    (192, 192, 192), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
PALETTE_2 = [(0, 0, 0), (255, 255, 255)]

# Pixel letter -> (palette index, AND-mask bit).
PIXELS_16 = {".": (0, 1), "K": (0, 0), "W": (15, 0), "C": (14, 0), "L": (8, 0), "D": (7, 0)}
# Two colours: dark parts black, light parts white; the ground inverts the screen.
PIXELS_2 = {".": (1, 1), "K": (0, 0), "W": (1, 0), "C": (1, 0), "L": (1, 0), "D": (0, 0)}

ICONS = [  # resource id, picture, bits per pixel, pixel map, palette
    (30001, WINDOW_32, 1, PIXELS_2, PALETTE_2),
    (30002, WINDOW_32, 4, PIXELS_16, PALETTE_16),
    (30003, WINDOW_16, 4, PIXELS_16, PALETTE_16),
]


def pack_rows(rows, bpp):
    """Bottom-up rows of pixel values, each padded to 4 bytes."""
    out = bytearray()
    for row in reversed(rows):
        bits = 0
        for v in row:
            bits = (bits << bpp) | v
        nbits = len(row) * bpp
        nbytes = (nbits + 31) // 32 * 4
        out += (bits << (nbytes * 8 - nbits)).to_bytes(nbytes, "big")
    return bytes(out)


def icon_image(picture, bpp, pixels, palette):
    size = len(picture)
    assert all(len(r) == size for r in picture)
    colour = [[pixels[c][0] for c in r] for r in picture]
    mask = [[pixels[c][1] for c in r] for r in picture]
    xor_bits = pack_rows(colour, bpp)
    and_bits = pack_rows(mask, 1)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0,
                         len(xor_bits) + len(and_bits), 0, 0, 0, 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + table + xor_bits + and_bits


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources")
    group = struct.pack("<HHH", 0, 1, len(ICONS))
    for res_id, picture, bpp, pixels, palette in ICONS:
        data = icon_image(picture, bpp, pixels, palette)
        with open(os.path.join(out, "icon-%d.bin" % res_id), "wb") as f:
            f.write(data)
        size = len(picture)
        group += struct.pack("<BBBBHHIH", size, size, len(palette), 0, 1, bpp, len(data), res_id)
    with open(os.path.join(out, "icon-group.bin"), "wb") as f:
        f.write(group)


if __name__ == "__main__":
    main()
