#!/usr/bin/env python3
"""Draw the Tessaro application icon.

Usage: make_icon.py OUTPUT.ico

Writes one .ico with two 32x32 images: 16 colours (4 bpp, standard Windows
palette) and 256 colours (8 bpp). Both fully opaque. The motif is a diamond
rosette of small square tesserae set in dark grout. Output is byte-identical
on every run (fixed seed, no timestamps).
"""
import random
import struct
import sys

SIZE = 32
TILE = 3
# Eight 3 px tiles, 1 px grout between them and no border; the one spare
# pixel widens the centre grout so the rosette stays symmetric.
STARTS = [0, 4, 8, 12, 17, 21, 25, 29]

# Standard 16-colour Windows palette, index order matters.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
       (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
       (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
       (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER, GREY, RED, LIME, \
    YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(16)

# Tile classes by ring (Manhattan distance from the centre, in tiles):
# true colour, then the 16-colour (face, highlight, shadow) reduction.
RINGS = {
    1: ((236, 184, 42), (YELLOW, WHITE, OLIVE)),     # gold heart
    2: ((196, 44, 38), (RED, RED, MAROON)),          # red ring
    3: ((238, 226, 196), (WHITE, WHITE, SILVER)),    # cream ring
    4: ((38, 84, 184), (BLUE, AQUA, NAVY)),          # cobalt rim
}
CORNER = ((32, 122, 112), (TEAL, AQUA, TEAL))        # teal field outside
GROUT = ((44, 38, 34), BLACK)


def clamp(v):
    return max(0, min(255, int(round(v))))


def shade(rgb, f):
    return tuple(clamp(c * f) for c in rgb)


def draw():
    """Return two 32x32 pixel grids: true-colour RGB and VGA indices."""
    rnd = random.Random(1977)
    rgb = [[GROUT[0]] * SIZE for _ in range(SIZE)]
    vga = [[GROUT[1]] * SIZE for _ in range(SIZE)]
    mid = (len(STARTS) - 1) / 2
    for ty, oy in enumerate(STARTS):
        for tx, ox in enumerate(STARTS):
            ring = int(abs(tx - mid) + abs(ty - mid))
            base, (face, hi, lo) = RINGS.get(ring, CORNER)
            # Real tesserae never match exactly: nudge each tile a little.
            base = shade(base, 1 + rnd.uniform(-0.07, 0.07))
            for py in range(TILE):
                for px in range(TILE):
                    x, y = ox + px, oy + py
                    if px + py == 0:            # light catches top-left
                        c, v = shade(base, 1.25), hi
                    elif px + py == 4:          # bottom-right in shadow
                        c, v = shade(base, 0.72), lo
                    else:
                        c, v = base, face
                    rgb[y][x], vga[y][x] = c, v
    return rgb, vga


def dib(bpp, palette, index_rows):
    """BITMAPINFOHEADER + palette + bottom-up XOR bitmap + zero AND mask."""
    xor = bytearray()
    for row in reversed(index_rows):
        if bpp == 4:
            line = bytes((row[i] << 4) | row[i + 1] for i in range(0, SIZE, 2))
        else:
            line = bytes(row)
        xor += line + b"\0" * (-len(line) % 4)
    and_mask = b"\0" * (((SIZE + 31) // 32) * 4 * SIZE)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, bpp, 0,
                         len(xor) + len(and_mask), 0, 0, 0, 0)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    pal += b"\0" * (4 * (1 << bpp) - len(pal))
    return header + pal + bytes(xor) + and_mask


def build():
    rgb, vga = draw()
    colours = sorted({c for row in rgb for c in row})
    assert len(colours) <= 256
    lookup = {c: i for i, c in enumerate(colours)}
    images = [(16, 4, dib(4, VGA, vga)),
              (0, 8, dib(8, colours, [[lookup[c] for c in row] for row in rgb]))]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for ncol, bpp, data in images:
        out += struct.pack("<BBBBHHII", SIZE, SIZE, ncol, 0, 1, bpp,
                           len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, _, data in images)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_icon.py OUTPUT.ico")
    with open(sys.argv[1], "wb") as f:
        f.write(build())


if __name__ == "__main__":
    main()
