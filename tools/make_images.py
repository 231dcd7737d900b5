#!/usr/bin/env python3
"""Draws the program's pictures and writes them into src/res/.

Standard library only (struct), so anyone can regenerate them; the results are
committed and the build never runs this script.

    python3 tools/make_images.py [output-dir]

Flags are 36 x 22, 24-bit, with a one-pixel dark frame (so the bottom-left
pixel, which picture buttons take as the transparent colour, is frame colour
and never a flag colour). The small glyphs keep their background colour in the
bottom-left pixel for the same reason.
"""
import math
import os
import struct
import sys

# ---------------------------------------------------------------- writers


def bmp24(width, height, pixel):
    """A 24-bit BMP file; pixel(x, y) gives (r, g, b) with y = 0 at the top."""
    row_size = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return header + info + data


def and_mask(width, height, opaque):
    """1-bit mask rows (bottom-up, 32-bit aligned): 1 = transparent."""
    row_size = ((width + 31) // 32) * 4
    out = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray(row_size)
        for x in range(width):
            if not opaque(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def icon_image32(width, height, rgba):
    """One icon image: BITMAPINFOHEADER (double height), BGRA rows, AND mask."""
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for y in range(height - 1, -1, -1):
        for x in range(width):
            r, g, b, a = rgba(x, y)
            xor += bytes((b, g, r, a))
    return info + bytes(xor) + and_mask(width, height, lambda x, y: rgba(x, y)[3] >= 128)


def ico(images):
    """images: list of (width, height, rgba)."""
    blobs = [icon_image32(w, h, f) for (w, h, f) in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (w, h, _), blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def cur_mono(width, height, hotspot, art):
    """A monochrome cursor from ASCII art: '#' black, '.' white, ' ' transparent."""
    def at(x, y):
        return art[y][x] if y < len(art) and x < len(art[y]) else " "

    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    row_size = ((width + 31) // 32) * 4
    xor = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray(row_size)
        for x in range(width):
            if at(x, y) == ".":
                row[x // 8] |= 0x80 >> (x % 8)
        xor += row
    mask = and_mask(width, height, lambda x, y: at(x, y) != " ")
    blob = info + palette + bytes(xor) + mask
    out = struct.pack("<HHH", 0, 2, 1)
    out += struct.pack("<BBBBHHII", width, height, 0, 0, hotspot[0], hotspot[1], len(blob), 22)
    return out + blob


# ---------------------------------------------------------------- flags

FLAG_W, FLAG_H = 36, 22
FRAME = (64, 64, 64)
WHITE = (255, 255, 255)


def framed(inner):
    """Wraps inner(x, y, w, h) (coordinates inside the frame) with the frame."""
    def pixel(x, y):
        if x == 0 or y == 0 or x == FLAG_W - 1 or y == FLAG_H - 1:
            return FRAME
        return inner(x - 1, y - 1, FLAG_W - 2, FLAG_H - 2)
    return pixel


def vertical_tricolour(a, b, c):
    def inner(x, y, w, h):
        third = x * 3 // w
        return (a, b, c)[third]
    return framed(inner)


def horizontal_bands(bands):
    """bands: list of (colour, weight) from the top."""
    total = sum(weight for _, weight in bands)

    def inner(x, y, w, h):
        pos = (y + 0.5) * total / h
        acc = 0
        for colour, weight in bands:
            acc += weight
            if pos < acc:
                return colour
        return bands[-1][0]
    return framed(inner)


def union_flag():
    navy, red = (1, 33, 105), (200, 16, 46)

    def inner(x, y, w, h):
        cx, cy = (w - 1) / 2, (h - 1) / 2
        px, py = x - cx, y - cy
        # Upright cross: white with a red centre.
        if abs(py) <= 1.5 or abs(px) <= 1.5:
            return red
        if abs(py) <= 3.5 or abs(px) <= 3.5:
            return WHITE
        # Diagonals: white bands with a thin red line along their middle.
        slope = h / w
        d = min(abs(py - slope * px), abs(py + slope * px)) / math.hypot(1, slope)
        if d <= 1.0:
            return red
        if d <= 2.6:
            return WHITE
        return navy
    return framed(inner)


def nordic_cross(field, cross):
    def inner(x, y, w, h):
        cy = (h - 1) / 2
        cx = w * 5 / 16 + 0.5
        if abs(y - cy) <= 2 or abs(x - cx) <= 2:
            return cross
        return field
    return framed(inner)


def portugal():
    green, red, yellow = (0, 102, 0), (255, 0, 0), (255, 224, 0)

    def inner(x, y, w, h):
        split = w * 2 / 5
        d = math.hypot(x + 0.5 - split, y + 0.5 - h / 2)
        if d <= 2.6:
            return WHITE if d <= 1.2 else red
        if d <= 4.6:
            return yellow
        return green if x + 0.5 < split else red
    return framed(inner)


def spain():
    red, yellow, arms = (170, 21, 27), (241, 191, 0), (160, 90, 20)
    bands = horizontal_bands([(red, 1), (yellow, 2), (red, 1)])

    def pixel(x, y):
        # A small emblem on the hoist side of the yellow band.
        if 9 <= x <= 12 and 8 <= y <= 13:
            return arms if (x, y) not in ((9, 8), (12, 8)) else yellow
        return bands(x, y)
    return pixel


FLAGS = {
    "flag_english.bmp": union_flag(),
    "flag_french.bmp": vertical_tricolour((0, 85, 164), WHITE, (239, 65, 53)),
    "flag_german.bmp": horizontal_bands([((0, 0, 0), 1), ((221, 0, 0), 1), ((255, 206, 0), 1)]),
    "flag_italian.bmp": vertical_tricolour((0, 146, 70), WHITE, (206, 43, 55)),
    "flag_spanish.bmp": spain(),
    "flag_swedish.bmp": nordic_cross((0, 106, 167), (254, 204, 0)),
    "flag_portuguese.bmp": portugal(),
    "flag_dutch.bmp": horizontal_bands([((174, 28, 40), 1), (WHITE, 1), ((33, 70, 139), 1)]),
}

# ---------------------------------------------------------------- small glyphs

LIGHT_BLUE = (128, 128, 255)  # the main window's colour: the upgrade glyph sits on it
SILVER = (192, 192, 192)      # the drive selector's background


def from_art(art, palette, background):
    def pixel(x, y):
        ch = art[y][x] if y < len(art) and x < len(art[y]) else " "
        return palette.get(ch, background)
    return pixel


UPGRADE_ART = [
    "                ",
    "       yy       ",
    "       yy       ",
    "      yYYy      ",
    "      yYYy      ",
    " yyyyyyYYyyyyyy ",
    "  yYYYYYYYYYYy  ",
    "   yYYYYYYYYy   ",
    "    yYYYYYYy    ",
    "    yYYYYYYy    ",
    "   yYYYyyYYYy   ",
    "   yYYy  yYYy   ",
    "  yYYy    yYYy  ",
    "  yYy      yYy  ",
    "  yy        yy  ",
    "                ",
]

OK_ART = [
    "                ",
    "                ",
    "             g  ",
    "            gG  ",
    "           gGg  ",
    "          gGg   ",
    "  g      gGg    ",
    "  Gg    gGg     ",
    "  gGg  gGg      ",
    "   gGggGg       ",
    "    gGGg        ",
    "     gg         ",
    "                ",
    "                ",
    "                ",
    "                ",
]

DRIVE_ART = {
    "drive_floppy.bmp": [
        "                ",
        " kkkkkkkkkkkkkk ",
        " kbbwwwwwwwwbbk ",
        " kbbwwwwwwwwbbk ",
        " kbbwwwwwwwwbbk ",
        " kbbwwwwwwwwbbk ",
        " kbbbbbbbbbbbbk ",
        " kbbbbbbbbbbbbk ",
        " kbbbdddddddbbk ",
        " kbbbddkkdddbbk ",
        " kbbbddkkdddbbk ",
        " kbbbddkkdddbbk ",
        " kbbbdddddddbbk ",
        " kkkkkkkkkkkkkk ",
        "                ",
        "                ",
    ],
    "drive_fixed.bmp": [
        "                ",
        "                ",
        "                ",
        "                ",
        "  kkkkkkkkkkkk  ",
        " kwwwwwwwwwwwwk ",
        " kggggggggggggk ",
        " kggggggggggggk ",
        " kggggggggglLgk ",
        " kggggggggggggk ",
        " kkkkkkkkkkkkkk ",
        "                ",
        "                ",
        "                ",
        "                ",
        "                ",
    ],
    "drive_network.bmp": [
        "                ",
        "                ",
        "  kkkkkkkkkkkk  ",
        " kwwwwwwwwwwwwk ",
        " kggggggggggggk ",
        " kggggggggglLgk ",
        " kkkkkkkkkkkkkk ",
        "       kk       ",
        "       kk       ",
        "       kk       ",
        " kkkkkkkkkkkkkk ",
        "                ",
        "   bbb    bbb   ",
        "   bwb    bwb   ",
        "   bbb    bbb   ",
        "                ",
    ],
    "drive_cdrom.bmp": [
        "                ",
        "     kkkkkk     ",
        "   kkwwwwwwkk   ",
        "  kwwwwaaawwwk  ",
        "  kwwwaaaaawwk  ",
        " kwwwwwwwwwwwwk ",
        " kwwwwkkkkwwwwk ",
        " kwwwwk  kwwwwk ",
        " kwwwwk  kwwwwk ",
        " kwwwwkkkkwwwwk ",
        " kwwaawwwwwwwwk ",
        "  kwwaaawwwwwk  ",
        "  kwwwwwwwwwwk  ",
        "   kkwwwwwwkk   ",
        "     kkkkkk     ",
        "                ",
    ],
    "drive_ram.bmp": [
        "                ",
        "                ",
        "                ",
        "                ",
        " kkkkkkkkkkkkkk ",
        " kggggggggggggk ",
        " kgKKgKKgKKgKKk ",
        " kgKKgKKgKKgKKk ",
        " kggggggggggggk ",
        " kkkkkkkkkkkkkk ",
        "  y y y y y y   ",
        "  y y y y y y   ",
        "                ",
        "                ",
        "                ",
        "                ",
    ],
}

GLYPH_PALETTE = {
    "y": (176, 112, 0), "Y": (255, 215, 0),
    "g": (0, 110, 0), "G": (40, 200, 40),
    "k": (0, 0, 0), "w": (250, 250, 250), "b": (40, 70, 160), "d": (200, 200, 200),
    "l": (0, 160, 0), "L": (0, 255, 0), "a": (120, 200, 255), "K": (30, 30, 30),
}
DRIVE_PALETTE = dict(GLYPH_PALETTE, g=(128, 128, 128))

# ---------------------------------------------------------------- icon and cursor


def app_icon(size):
    """A small monitor: blue screen with three rising lime bars."""
    s = size / 32.0

    def rgba(x, y):
        fx, fy = (x + 0.5) / s, (y + 0.5) / s  # in 32-pixel units
        if 2 <= fx < 30 and 3 <= fy < 23:      # case
            if 4.5 <= fx < 27.5 and 5.5 <= fy < 20.5:  # screen
                for left, top in ((7, 15), (13, 11), (19, 7)):
                    if left <= fx < left + 4.5 and top <= fy < 18.5:
                        return (0, 255, 0, 255)
                return (40, 60, 220, 255)
            return (70, 70, 80, 255)
        if 13 <= fx < 19 and 23 <= fy < 27:    # neck
            return (70, 70, 80, 255)
        if 8 <= fx < 24 and 27 <= fy < 29.5:   # foot
            return (70, 70, 80, 255)
        return (0, 0, 0, 0)
    return rgba


HAND_ART = [
    "      ##                        ",
    "     #..#                       ",
    "     #..#                       ",
    "     #..#                       ",
    "     #..#                       ",
    "     #..###                     ",
    "     #..#..###                  ",
    "     #..#..#..##                ",
    "     #..#..#..#.#               ",
    "  ## #..#..#..#..#              ",
    " #..##........#..#              ",
    " #...#...........#              ",
    "  #..#...........#              ",
    "   #.............#              ",
    "   #.............#              ",
    "    #...........#               ",
    "    #...........#               ",
    "     #.........#                ",
    "     #.........#                ",
    "     ###########                ",
]

# ---------------------------------------------------------------- main


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "src", "res")
    files = {}
    for name, pixel in FLAGS.items():
        files[name] = bmp24(FLAG_W, FLAG_H, pixel)
    files["upgrade_glyph.bmp"] = bmp24(16, 16, from_art(UPGRADE_ART, GLYPH_PALETTE, LIGHT_BLUE))
    files["ok_glyph.bmp"] = bmp24(16, 16, from_art(OK_ART, GLYPH_PALETTE, SILVER))
    for name, art in DRIVE_ART.items():
        files[name] = bmp24(16, 16, from_art(art, DRIVE_PALETTE, SILVER))
    files["toolbar1.ico"] = ico([(32, 32, app_icon(32)), (16, 16, app_icon(16))])
    files["hand.cur"] = cur_mono(32, 32, (6, 0), HAND_ART)
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
    print("wrote %d files to %s" % (len(files), os.path.normpath(out)))


if __name__ == "__main__":
    main()
