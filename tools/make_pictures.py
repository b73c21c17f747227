#!/usr/bin/env python3
"""Draws the pictures of the two programs and writes them as Windows resources.

resources/preview.bmp  152 x 112, 8 bits per pixel, at most 231 palette colours:
                       sea and sky at dusk with the caption "Rotaveil".
resources/rotaveil.ico 32 x 32, 16 colours: the screen saver's icon.
resources/rvtray.ico   32 x 32, 16 colours: the tray companion's icon.

Only the standard library is used, so the pictures can be made anew anywhere:
    python3 tools/make_pictures.py
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "resources")

# A 5 x 7 font for the caption, one string of 7 rows of 5 bits per letter.
FONT = {
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "o": ["00000", "00000", "01110", "10001", "10001", "10001", "01110"],
    "t": ["01000", "01000", "11100", "01000", "01000", "01001", "00110"],
    "a": ["00000", "00000", "01110", "00001", "01111", "10001", "01111"],
    "v": ["00000", "00000", "10001", "10001", "10001", "01010", "00100"],
    "e": ["00000", "00000", "01110", "10001", "11111", "10000", "01110"],
    "i": ["00100", "00000", "01100", "00100", "00100", "00100", "01110"],
    "l": ["01100", "00100", "00100", "00100", "00100", "00100", "01110"],
}


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def preview_pixels(width, height):
    horizon = 62
    sky_top, sky_low = (18, 24, 74), (246, 170, 110)
    sea_high, sea_deep = (36, 82, 128), (8, 26, 58)
    sun_x, sun_y, sun_r = 104, horizon - 6, 13
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            if y < horizon:
                colour = lerp(sky_top, sky_low, (y / (horizon - 1)) ** 1.4)
                d = math.hypot(x - sun_x, y - sun_y)
                if d <= sun_r:
                    colour = (255, 226, 150)
                elif d <= sun_r + 6:
                    colour = lerp((255, 214, 140), colour, (d - sun_r) / 6)
            else:
                t = (y - horizon) / (height - horizon)
                colour = lerp(sea_high, sea_deep, t)
                # The sun's glitter on the waves, and the waves themselves.
                wave = math.sin(x * 0.35 + y * 1.7) + math.sin(x * 0.11 - y * 0.9)
                if abs(x - sun_x) < 16 - t * 8 and wave > 1.1 - t:
                    colour = lerp(colour, (255, 210, 140), 0.7 - t * 0.4)
                elif wave > 1.5:
                    colour = lerp(colour, (120, 160, 200), 0.35)
            row.append(colour)
        rows.append(row)
    # Caption bar with the program's name.
    text = "Rotaveil"
    scale = 2
    text_width = len(text) * 6 * scale - scale
    left = (width - text_width) // 2
    top = height - 7 * scale - 6
    for y in range(top - 3, top + 7 * scale + 3):
        for x in range(width):
            rows[y][x] = lerp(rows[y][x], (0, 0, 0), 0.55)
    for index, letter in enumerate(text):
        glyph = FONT[letter]
        for gy, bits in enumerate(glyph):
            for gx, bit in enumerate(bits):
                if bit == "1":
                    for sy in range(scale):
                        for sx in range(scale):
                            px = left + index * 6 * scale + gx * scale + sx
                            py = top + gy * scale + sy
                            rows[py][px] = (250, 244, 226)
    return rows


def quantise(rows, limit):
    """Reduces the colours to at most limit by merging the closest ones."""
    def key(c, shift):
        return tuple((v >> shift) << shift for v in c)
    for shift in range(0, 8):
        palette = sorted({key(c, shift) for row in rows for c in row})
        if len(palette) <= limit:
            index = {c: i for i, c in enumerate(palette)}
            return palette, [[index[key(c, shift)] for c in row] for row in rows]
    raise SystemExit("cannot reduce the palette")


def write_bmp8(path, rows, palette):
    height, width = len(rows), len(rows[0])
    stride = (width + 3) & ~3
    pixels = b"".join(bytes(row) + b"\0" * (stride - width) for row in reversed(rows))
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels),
                       2835, 2835, len(palette), len(palette))
    offset = 14 + len(info) + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(header + info + colours + pixels)


VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, NAVY, TEAL, SILVER, GREY, YELLOW, BLUE, CYAN, WHITE = 0, 4, 6, 7, 8, 11, 12, 14, 15


def icon_pixels(accent):
    """A small screen showing sea and sky, with a turning arrow around it.
    None marks a transparent pixel."""
    size = 32
    px = [[None] * size for _ in range(size)]
    # The turning arrow: an arc around the screen in the accent colour.
    for y in range(size):
        for x in range(size):
            d = math.hypot(x - 15.5, y - 15.5)
            angle = math.degrees(math.atan2(y - 15.5, x - 15.5)) % 360
            if 13.0 <= d <= 15.4 and not 300 <= angle <= 350:
                px[y][x] = accent
    for (x, y) in [(27, 5), (28, 6), (29, 7), (30, 8), (24, 6), (25, 7), (26, 8), (27, 9),
                   (28, 9), (29, 9), (30, 9), (26, 5), (25, 5), (24, 5), (23, 5)]:
        px[y][x] = accent
    # The screen: frame, sky, sun, sea.
    for y in range(8, 24):
        for x in range(7, 25):
            if y in (8, 23) or x in (7, 24):
                px[y][x] = BLACK
            elif y < 15:
                px[y][x] = NAVY if y < 11 else BLUE
            elif y == 15:
                px[y][x] = CYAN
            else:
                px[y][x] = TEAL if (x + y) % 5 else CYAN
    for (x, y) in [(18, 12), (19, 12), (17, 13), (18, 13), (19, 13), (20, 13), (18, 14), (19, 14)]:
        px[y][x] = YELLOW
    return px


def write_ico4(path, px):
    size = len(px)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor = b""
    mask = b""
    for row in reversed(px):
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, value in enumerate(row):
            colour = 0 if value is None else value
            if x % 2 == 0:
                line[x // 2] |= colour << 4
            else:
                line[x // 2] |= colour
            if value is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += bytes(line)
        mask += bytes(bits)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in VGA)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(mask),
                       0, 0, 16, 0)
    image = info + colours + xor + mask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(header + entry + image)


def main():
    rows = preview_pixels(152, 112)
    palette, indices = quantise(rows, 231)
    write_bmp8(os.path.join(OUT, "preview.bmp"), indices, palette)
    write_ico4(os.path.join(OUT, "rotaveil.ico"), icon_pixels(SILVER))
    write_ico4(os.path.join(OUT, "rvtray.ico"), icon_pixels(YELLOW))
    print("palette of the preview picture: %d colours" % len(palette))


if __name__ == "__main__":
    main()
