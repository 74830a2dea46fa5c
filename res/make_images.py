#!/usr/bin/env python3
"""Draws the editor's pictures into this folder, as 8-bit PNG files (Qt keeps a 16-bit one
at 16 bits, which costs time each time it is drawn). The main window's logo is a PPM file: it is
read at every start, and Qt reads a PPM in a sixth of the time it takes to decode the same PNG.

tree-images.png is pixel art written directly; the logos and the window icon are drawn with
ImageMagick (convert) and the DejaVu fonts. Run it from anywhere: python3 res/make_images.py
"""
import os
import struct
import subprocess
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
CONVERT = "/usr/bin/convert"
BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
SERIF_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"


def write_png(path, width, height, pixels):
    """pixels: rows of (r, g, b, a) tuples."""
    raw = b"".join(b"\x00" + b"".join(struct.pack("4B", *p) for p in row) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", header))
        out.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        out.write(chunk(b"IEND", b""))


# 12 by 12 each: a folder, then the S, F and I tiles of String, Float and Integer fields, then the
# tile of a key the editor does not know.
FOLDER = [
    "............",
    "............",
    ".oooo.......",
    "oyyyyo......",
    "ooooooooooo.",
    "oYYYYYYYYYYo",
    "oYyyyyyyyyyo",
    "oYyyyyyyyyyo",
    "oYyyyyyyyyyo",
    "oYyyyyyyyyyo",
    "oyyyyyyyyyyo",
    ".oooooooooo.",
]
TILE = [
    "............",
    ".gggggggggg.",
    ".gwwwwwwwwg.",
    ".gwwwwwwwwg.",
    ".gwwwwwwwwg.",
    ".gwwwwwwwwg.",
    ".gwwwwwwwwg.",
    ".gwwwwwwwwg.",
    ".gwwwwwwwwg.",
    ".gwwwwwwwwg.",
    ".gggggggggg.",
    "............",
]
# A key the editor does not know: a tile with a broken border, as something outside the schema.
OTHER_TILE = [
    "............",
    ".gg.gg.gg.g.",
    ".gwwwwwwwww.",
    ".wwwwwwwwwg.",
    ".gwwwwwwwwg.",
    ".gwwwwwwwww.",
    ".wwwwwwwwwg.",
    ".gwwwwwwwwg.",
    ".gwwwwwwwww.",
    ".wwwwwwwwwg.",
    ".g.gg.gg.gg.",
    "............",
]
LETTERS = {
    "?": [".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."],
    "S": [".###.", "#...#", "#....", ".###.", "....#", "#...#", ".###."],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "I": ["..###", "...#.", "...#.", "...#.", "...#.", "...#.", "..###"],
}
COLOURS = {
    ".": (0, 0, 0, 0),
    "o": (150, 108, 20, 255),
    "y": (246, 204, 70, 255),
    "Y": (255, 234, 150, 255),
    "g": (128, 128, 128, 255),
    "w": (255, 255, 255, 255),
}
LETTER_COLOURS = {
    "S": (30, 70, 170, 255),
    "F": (20, 120, 50, 255),
    "I": (170, 40, 30, 255),
    "?": (120, 60, 150, 255),
}


def tree_images():
    images = [[[COLOURS[c] for c in row] for row in FOLDER]]
    for letter in "SFI?":
        tile = [[COLOURS[c] for c in row] for row in (OTHER_TILE if letter == "?" else TILE)]
        for y, row in enumerate(LETTERS[letter]):
            for x, c in enumerate(row):
                if c == "#":
                    tile[3 + y][3 + x] = LETTER_COLOURS[letter]
        images.append(tile)
    rows = [sum((image[y] for image in images), []) for y in range(12)]
    write_png(os.path.join(HERE, "tree-images.png"), 12 * len(images), 12, rows)


def convert(*args):
    subprocess.run([CONVERT, *args], check=True)


TANK = (
    "fill #1b1f17 "
    "roundrectangle {x0},{y3} {x1},{y4} 3,3 "
    "polygon {x2},{y3} {x5},{y3} {x6},{y2} {x7},{y2} {x8},{y3} "
    "rectangle {x9},{y1} {x10},{y1b}"
)


def tank(x, y, s):
    """A small tank facing right, its tracks' bottom-left corner at x, y, scaled by s."""
    p = lambda v: round(v * s)
    return TANK.format(
        x0=x, x1=x + p(40), y3=y - p(9), y4=y,
        x2=x + p(4), x5=x + p(34), x6=x + p(28), x7=x + p(12), x8=x + p(6), y2=y - p(17),
        x9=x + p(26), x10=x + p(48), y1=y - p(15), y1b=y - p(13),
    )


def logo():
    out = os.path.join(HERE, "logo.ppm")
    convert(
        "-size", "252x144", "gradient:#1c2a4c-#e39a45",
        "-fill", "#f6e7b0", "-draw", "circle 196,70 196,58",
        "-fill", "#4a5a30", "-draw", "path 'M 0,104 Q 50,78 110,92 T 252,84 L 252,144 L 0,144 Z'",
        "-fill", "#2c3a1e", "-draw", "path 'M 0,118 Q 80,98 150,112 T 252,108 L 252,144 L 0,144 Z'",
        "-draw", tank(86, 92, 1.0),
        "-fill", "#11160c", "-draw", "rectangle 0,122 252,144",
        "-font", SERIF_BOLD, "-pointsize", "17", "-fill", "#f2e2b8",
        "-gravity", "south", "-annotate", "+0+3", "BRINDLEMOOR",
        "-gravity", "northwest", "-font", BOLD, "-pointsize", "9", "-fill", "#f2e2b8",
        "-annotate", "+8+6", "TANK WORKS",
        "-strip", "-depth", "8", "PPM:" + out,
    )


def about_logo():
    out = os.path.join(HERE, "about-logo.png")
    convert(
        "-size", "150x48", "gradient:#1c2a4c-#b8733a",
        "-fill", "#2c3a1e", "-draw", "path 'M 0,40 Q 40,30 80,36 T 150,34 L 150,48 L 0,48 Z'",
        "-draw", tank(8, 38, 0.7),
        "-font", SERIF_BOLD, "-pointsize", "11", "-fill", "#f2e2b8",
        "-annotate", "+47+26", "BRINDLEMOOR",
        "-strip", "-depth", "8", "PNG24:" + out,
    )


def icon():
    out = os.path.join(HERE, "tarnwick.png")
    convert(
        "-size", "64x64", "xc:none",
        "-fill", "#3d5226", "-stroke", "#1b2410", "-strokewidth", "2",
        "-draw", "roundrectangle 2,2 61,61 10,10",
        "-stroke", "none", "-fill", "#e39a45", "-draw", "rectangle 4,52 59,56",
        "-draw", tank(8, 52, 1.05).replace("#1b1f17", "#f2e2b8"),
        "-font", BOLD, "-pointsize", "26", "-fill", "#f2e2b8",
        "-gravity", "north", "-annotate", "+0+3", "T",
        "-strip", "-depth", "8", "PNG32:" + out,
    )


if __name__ == "__main__":
    tree_images()
    logo()
    about_logo()
    icon()
