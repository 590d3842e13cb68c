#!/usr/bin/python3
"""Writes resources/background.bmp: the 800x600 picture behind the main window.

A soft yellow-green band leaning right on white, with the title "Zazud Rared"
in red across the top.  Run:  /usr/bin/python3 tools/make_background.py [out.bmp]
"""
import os
import struct
import sys

from PIL import Image, ImageDraw, ImageFont

WIDTH, HEIGHT = 800, 600
PIXELS_PER_METRE = 2834

# Band colour by horizontal distance from the centre line.
BAND = [
    (0, (162, 210, 15)),
    (40, (172, 215, 40)),
    (80, (186, 221, 75)),
    (120, (200, 228, 114)),
    (160, (214, 235, 149)),
    (200, (229, 242, 187)),
    (240, (243, 249, 224)),
    (280, (254, 255, 251)),
    (287, (255, 255, 255)),
]

TITLE = "Zazud Rared"
TITLE_RGB = (222, 15, 15)
FONT = "/usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf"
INK_LEFT, INK_RIGHT = 231, 551      # inclusive ink columns
CAP_TOP, BASELINE = 28, 75          # first row of the capitals, last row above the baseline


def band_centre(y):
    # 2 px right every 7 rows, rounded to the nearest step: row 0 -> 125, row 599 -> 297.
    return 125 + 2 * ((y + 3) // 7)


def band_colour(d):
    if d >= BAND[-1][0]:
        return BAND[-1][1]
    for (d0, c0), (d1, c1) in zip(BAND, BAND[1:]):
        if d < d1:
            t = (d - d0) / (d1 - d0)
            return tuple(int(a + (b - a) * t + 0.5) for a, b in zip(c0, c1))
    raise AssertionError(d)


def background():
    colours = [band_colour(d) for d in range(WIDTH + 1)]
    img = Image.new("RGB", (WIDTH, HEIGHT))
    px = img.load()
    for y in range(HEIGHT):
        c = band_centre(y)
        for x in range(WIDTH):
            px[x, y] = colours[abs(x - c)]
    return img


def title_coverage():
    """Coverage mask (mode L, full picture size) of the title fitted to its box."""
    size = 400
    font = ImageFont.truetype(FONT, size)
    big = Image.new("L", (size * 8, size * 2), 0)
    ImageDraw.Draw(big).text((size // 2, size // 2), TITLE, fill=255, font=font)
    left, _, right, bottom = big.getbbox()
    # Capital height from the "Z" alone, which sits flat on the baseline.
    zmask = Image.new("L", big.size, 0)
    ImageDraw.Draw(zmask).text((size // 2, size // 2), TITLE[0], fill=255, font=font)
    _, ztop, _, zbottom = zmask.getbbox()

    # Map source columns [left, right) onto target [INK_LEFT, INK_RIGHT + 1) and
    # source rows [ztop, zbottom) onto [CAP_TOP, BASELINE + 1).
    sx = (right - left) / (INK_RIGHT + 1 - INK_LEFT)
    sy = (zbottom - ztop) / (BASELINE + 1 - CAP_TOP)
    x0, x1 = INK_LEFT - 4, INK_RIGHT + 5
    y0, y1 = CAP_TOP - 12, BASELINE + 12
    box = (left + (x0 - INK_LEFT) * sx, ztop + (y0 - CAP_TOP) * sy,
           left + (x1 - INK_LEFT) * sx, ztop + (y1 - CAP_TOP) * sy)
    small = big.resize((x1 - x0, y1 - y0), Image.LANCZOS, box=box)
    # Drop resampling ringing outside the ink columns.
    small = small.point(lambda v: 0 if v < 3 else v)
    sp = small.load()
    for y in range(small.height):
        for x in range(small.width):
            if not INK_LEFT <= x0 + x <= INK_RIGHT:
                sp[x, y] = 0
    mask = Image.new("L", (WIDTH, HEIGHT), 0)
    mask.paste(small, (x0, y0))
    return mask


def compose():
    img = background()
    mask = title_coverage()
    px, mp = img.load(), mask.load()
    for y in range(HEIGHT):
        for x in range(WIDTH):
            a = mp[x, y]
            if a:
                bg = px[x, y]
                px[x, y] = tuple((b * (255 - a) + t * a + 127) // 255
                                 for b, t in zip(bg, TITLE_RGB))
    return img


def bmp_bytes(img):
    row_size = (WIDTH * 3 + 3) & ~3
    image_size = row_size * HEIGHT
    offset = 14 + 40
    data = bytearray()
    data += struct.pack("<2sIHHI", b"BM", offset + image_size, 0, 0, offset)
    data += struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, image_size,
                        PIXELS_PER_METRE, PIXELS_PER_METRE, 0, 0)
    raw = img.tobytes()  # RGB, top row first
    pad = bytes(row_size - WIDTH * 3)
    for y in range(HEIGHT - 1, -1, -1):
        row = bytearray(raw[y * WIDTH * 3:(y + 1) * WIDTH * 3])
        row[0::3], row[2::3] = row[2::3], row[0::3]  # RGB -> BGR
        data += row + pad
    return bytes(data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "background.bmp")
    with open(out, "wb") as f:
        f.write(bmp_bytes(compose()))


if __name__ == "__main__":
    main()
