#!/usr/bin/env python3
"""Draw the 46 demo slides ZUMIK01.DAT .. ZUMIK46.DAT.

Usage: make_slides.py OUTDIR

Every slide is a seeded mosaic (tesserae in grout) rendered by ImageMagick
from an MVG script. The .DAT files are really BMP, JPEG, PNG, GIF or TIFF,
and their sizes cover every placement case on a 1024x768 screen: smaller,
exact, panorama, upright, square, just over in one direction, and huge.
Each slide carries a label "No. NN  W x H" so the viewer can be checked.
Output is the same on every run.
"""
import colorsys
import math
import os
import random
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

CONVERT = "/usr/bin/convert"
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

# (width, height, format) for ZUMIK01 .. ZUMIK46, in slot order.
SLIDES = [
    (1024, 768, "BMP"), (640, 480, "JPEG"), (2000, 500, "PNG"),
    (500, 2000, "GIF"), (768, 768, "TIFF"), (1920, 1080, "BMP"),
    (1100, 600, "JPEG"), (800, 600, "PNG"), (3000, 800, "GIF"),
    (800, 1000, "TIFF"), (6000, 4000, "JPEG"), (1000, 1000, "BMP"),
    (1024, 500, "PNG"), (300, 300, "GIF"), (1280, 720, "TIFF"),
    (1200, 400, "BMP"), (600, 1400, "JPEG"), (1023, 767, "PNG"),
    (2048, 2048, "JPEG"), (8000, 5000, "JPEG"), (1024, 768, "GIF"),
    (700, 900, "TIFF"), (1600, 1200, "BMP"), (400, 300, "JPEG"),
    (2400, 600, "PNG"), (768, 1024, "GIF"), (1280, 1024, "TIFF"),
    (1000, 768, "BMP"), (1030, 700, "JPEG"), (900, 800, "PNG"),
    (1920, 1080, "GIF"), (500, 500, "TIFF"), (1366, 768, "BMP"),
    (4000, 1000, "JPEG"), (1024, 768, "PNG"), (1200, 1600, "GIF"),
    (2560, 1440, "TIFF"), (320, 240, "BMP"), (1440, 900, "JPEG"),
    (1080, 1920, "PNG"), (1000, 1000, "GIF"), (1024, 1000, "TIFF"),
    (1100, 600, "BMP"), (1920, 1200, "JPEG"), (640, 360, "PNG"),
    (1600, 1600, "TIFF"),
]

# ImageMagick output prefix and options per format. BMP3 keeps it 24-bit.
WRITERS = {
    "BMP": ("BMP3", ["-type", "TrueColor"]),
    "JPEG": ("JPEG", ["-quality", "90"]),
    "PNG": ("PNG24", ["-define", "png:exclude-chunks=date,time"]),
    "GIF": ("GIF", ["+dither", "-colors", "256"]),
    "TIFF": ("TIFF", ["-compress", "LZW"]),
}

R3 = math.sqrt(3)


def hexagon(cx, cy, r, start):
    return [(cx + r * math.cos(math.radians(start + 60 * k)),
             cy + r * math.sin(math.radians(start + 60 * k))) for k in range(6)]


def cairo_cell(e=0.2743):
    """Squares with a short bar, alternately across and down; each pentagon is
    one square's trapezoid plus the neighbour's triangle."""
    polys = []
    for i, j in ((0, 0), (1, 0), (0, 1), (1, 1)):
        x, y = i + 0.5, j + 0.5
        if (i + j) % 2 == 0:
            polys.append([(x - e, y), (x + e, y), (i + 1, j + 1), (x, y + 1 - e), (i, j + 1)])
            polys.append([(x + e, y), (x - e, y), (i, j), (x, y - 1 + e), (i + 1, j)])
        else:
            polys.append([(x, y + e), (x, y - e), (i + 1, j), (x + 1 - e, y), (i + 1, j + 1)])
            polys.append([(x, y - e), (x, y + e), (i, j + 1), (x - 1 + e, y), (i, j)])
    return polys


def rect(x, y, w, h):
    return [(x, y), (x + w, y), (x + w, y + h), (x, y + h)]


T = 1 / (1 + math.sqrt(2))
# name: (lattice a, lattice b, cell polygons, relative tile scale, angles)
TILINGS = {
    "squares": ((1, 0), (0, 1), [rect(0, 0, 1, 1)], 1.0, [0, 0, 45, 30]),
    "bricks": ((2, 0), (1, 1), [rect(0, 0, 2, 1)], 0.8, [0, 0, 90, 15]),
    "triangles": ((1, 0), (0.5, R3 / 2),
                  [[(0, 0), (1, 0), (0.5, R3 / 2)],
                   [(1, 0), (1.5, R3 / 2), (0.5, R3 / 2)]], 1.5, [0, 90]),
    "hexagons": ((1.5, R3 / 2), (0, R3), [hexagon(0, 0, 1, 0)], 0.55, [0, 30]),
    "blocks": ((R3, 0), (R3 / 2, 1.5), [
        [(0, 0), (R3 / 2, -0.5), (0, -1), (-R3 / 2, -0.5)],
        [(0, 0), (0, 1), (R3 / 2, 0.5), (R3 / 2, -0.5)],
        [(0, 0), (-R3 / 2, -0.5), (-R3 / 2, 0.5), (0, 1)]], 0.7, [0]),
    "herringbone": ((1, 1), (2, -2), [rect(0, 0, 2, 1), rect(2, -1, 1, 2)],
                    0.7, [45, 45, 0]),
    "cairo": ((2, 0), (0, 2), cairo_cell(), 1.1, [0, 45]),
    "octagons": ((1, 0), (0, 1), [
        [(T / 2, -0.5), (0.5, -T / 2), (0.5, T / 2), (T / 2, 0.5),
         (-T / 2, 0.5), (-0.5, T / 2), (-0.5, -T / 2), (-T / 2, -0.5)],
        [(0.5, T / 2), (1 - T / 2, 0.5), (0.5, 1 - T / 2), (T / 2, 0.5)]],
        0.6, [0, 45]),
    "basket": ((2, 2), (2, -2), [rect(0, 0, 2, 1), rect(0, 1, 2, 1),
                                 rect(2, 0, 1, 2), rect(3, 0, 1, 2)], 0.8, [0, 45]),
    "pythagoras": ((2, 1), (-1, 2), [rect(0, 0, 2, 2), rect(2, 0, 1, 1)],
                   0.6, [0, 0, 20]),
    "trihex": ((2, 0), (1, R3), [
        hexagon(0, 0, 1, 0), [(1, 0), (1.5, R3 / 2), (0.5, R3 / 2)],
        [(-0.5, R3 / 2), (0.5, R3 / 2), (0, R3)]], 0.5, [0, 90]),
    "rings": (None, None, None, 1.0, [0]),
}
ORDER = ["squares", "bricks", "hexagons", "cairo", "rings", "triangles",
         "blocks", "herringbone", "octagons", "basket", "pythagoras", "trihex"]


def lattice_tiles(name, w, h, s, angle, rnd):
    a, b, cell, _, _ = TILINGS[name]
    ca, sa = math.cos(math.radians(angle)), math.sin(math.radians(angle))
    ox, oy = rnd.uniform(0, s), rnd.uniform(0, s)
    cx, cy = w / 2, h / 2

    def to_px(u, v):
        x, y = u * s + ox, v * s + oy
        return cx + x * ca - y * sa, cy + x * sa + y * ca

    det = a[0] * b[1] - a[1] * b[0]
    ij = []
    for px, py in ((0, 0), (w, 0), (0, h), (w, h)):
        x, y = px - cx, py - cy
        u, v = (x * ca + y * sa - ox) / s, (-x * sa + y * ca - oy) / s
        ij.append(((u * b[1] - v * b[0]) / det, (v * a[0] - u * a[1]) / det))
    lo_i, hi_i = int(min(p[0] for p in ij)) - 3, int(max(p[0] for p in ij)) + 3
    lo_j, hi_j = int(min(p[1] for p in ij)) - 3, int(max(p[1] for p in ij)) + 3
    for i in range(lo_i, hi_i + 1):
        for j in range(lo_j, hi_j + 1):
            bu, bv = i * a[0] + j * b[0], i * a[1] + j * b[1]
            anchor = to_px(bu, bv)
            for k, poly in enumerate(cell):
                yield [to_px(bu + u, bv + v) for u, v in poly], anchor, k


def ring_tiles(w, h, s, rnd):
    """Opus circumactum: rings of tiles round a point, outermost covering
    the far corner."""
    cx, cy = w * rnd.uniform(0.3, 0.7), h * rnd.uniform(0.3, 0.7)
    far = max(math.hypot(x - cx, y - cy) for x in (0, w) for y in (0, h))
    yield [(cx + 0.6 * s * math.cos(k * math.pi / 8),
            cy + 0.6 * s * math.sin(k * math.pi / 8)) for k in range(16)], (cx, cy), 0
    r0, k = 0.6 * s, 1
    while r0 < far:
        r1 = r0 + s
        n = max(6, round(2 * math.pi * (r0 + r1) / 2 / s))
        phase = rnd.random()
        for t in range(n):
            a0, a1 = 2 * math.pi * (t + phase) / n, 2 * math.pi * (t + 1 + phase) / n
            am = (a0 + a1) / 2
            pts = [(r0, a0), (r1, a0), (r1, am), (r1, a1), (r0, a1), (r0, am)]
            poly = [(cx + r * math.cos(q), cy + r * math.sin(q)) for r, q in pts]
            yield poly, poly[2], k
        r0, k = r1, k + 1


def inset(poly, d):
    """Shrink a polygon by d along each edge normal, leaving grout showing."""
    area = sum(x0 * y1 - x1 * y0 for (x0, y0), (x1, y1) in zip(poly, poly[1:] + poly[:1]))
    sign = 1 if area > 0 else -1
    out, n = [], len(poly)
    for i in range(n):
        (xp, yp), (x, y), (xn, yn) = poly[i - 1], poly[i], poly[(i + 1) % n]
        normals = []
        for ex, ey in ((x - xp, y - yp), (xn - x, yn - y)):
            ln = math.hypot(ex, ey) or 1
            normals.append((-ey * sign / ln, ex * sign / ln))
        (n1x, n1y), (n2x, n2y) = normals
        k = d / max(0.2, 1 + n1x * n2x + n1y * n2y)
        out.append((x + (n1x + n2x) * k, y + (n1y + n2y) * k))
    new = sum(x0 * y1 - x1 * y0 for (x0, y0), (x1, y1) in zip(out, out[1:] + out[:1]))
    return out if new * area > 0 and abs(new) > 0.15 * abs(area) else None


def make_palette(rnd):
    hue = rnd.random()
    offsets = rnd.choice([(0, 0.06, -0.06, 0.12), (0, 0.5, 0.04, 0.54),
                          (0, 1 / 3, 2 / 3), (0, 0.42, 0.58), (0, 0.02, 0.08),
                          (0.05, 0.1, 0.55, 0.0)])
    sat = rnd.uniform(0.3, 0.62)
    n = rnd.randint(4, 6)
    cols = []
    for i in range(n):
        h = (hue + offsets[i % len(offsets)] + rnd.uniform(-0.02, 0.02)) % 1
        light = 0.2 + 0.6 * i / (n - 1) + rnd.uniform(-0.04, 0.04)
        # Very dark and very light stones are naturally greyer.
        s = sat * (1 - 0.8 * abs(light - 0.5)) * rnd.uniform(0.85, 1.15)
        cols.append(colorsys.hls_to_rgb(h, light, s))
    # Walk dark -> light -> dark so neighbouring bands blend.
    cols += cols[-2:0:-1]
    dark = rnd.random() < 0.6
    grout = colorsys.hls_to_rgb(hue, 0.12 if dark else 0.85, 0.1)
    return cols, grout


def motif(rnd, w, h, s):
    """Pick a pattern mapping a tile position to a colour band."""
    kind = rnd.choice(["rings", "diamond", "waves", "stripes", "rosette", "scatter", "checker"])
    cx, cy = w * rnd.uniform(0.25, 0.75), h * rnd.uniform(0.25, 0.75)
    band = s * rnd.uniform(1.4, 3.2)
    th = rnd.uniform(0, math.pi)
    amp, lam = rnd.uniform(0.5, 2) * band, rnd.uniform(3, 8) * band
    petals = rnd.choice([6, 8, 12])

    def f(x, y):
        dx, dy = x - cx, y - cy
        if kind == "rings":
            return math.hypot(dx, dy) / band
        if kind == "diamond":
            return (abs(dx) + abs(dy)) / band
        if kind == "waves":
            return (dy + amp * math.sin(dx / lam * 2 * math.pi)) / band
        if kind == "stripes":
            return (dx * math.cos(th) + dy * math.sin(th)) / band
        if kind == "rosette":
            r = math.hypot(dx, dy) / band
            return r + 1.5 * abs(math.sin(petals / 2 * math.atan2(dy, dx)))
        if kind == "checker":
            return math.floor(x / (band * 2)) + math.floor(y / (band * 2)) * 2
        return rnd.random() * 4
    return f


def hexcol(rgb):
    return "#%02x%02x%02x" % tuple(max(0, min(255, round(c * 255))) for c in rgb)


def build_mvg(num, w, h):
    rnd = random.Random(4099 * num + 17)
    name = ORDER[(num - 1) % len(ORDER)]
    rel, angles = TILINGS[name][3:]
    detail = max(1.0, (max(w, h) / 2000) ** 0.5)
    s = max(w, h) / rnd.uniform(16, 34) / detail * rel
    s = max(s, 8.0)
    grout_w = max(1.0, s * rnd.uniform(0.05, 0.09) * (2 if name == "pythagoras" else 1))
    cols, grout = make_palette(rnd)
    f = motif(rnd, w, h, s)
    if name == "rings":
        tiles = ring_tiles(w, h, s, rnd)
    else:
        tiles = lattice_tiles(name, w, h, s, rnd.choice(angles), rnd)
    out = ["viewbox 0 0 %d %d" % (w, h), "fill %s" % hexcol(grout),
           "rectangle 0,0 %d,%d" % (w, h)]
    for poly, anchor, k in tiles:
        xs, ys = [p[0] for p in poly], [p[1] for p in poly]
        if max(xs) < 0 or min(xs) > w or max(ys) < 0 or min(ys) > h:
            continue
        if name == "blocks":        # one colour per cube, faces lit differently
            x, y = anchor
            shade = (1.25, 0.95, 0.65)[k]
        else:
            x, y = sum(xs) / len(xs), sum(ys) / len(ys)
            shade = 1.0
        idx = int(math.floor(f(x, y)))
        if rnd.random() < 0.04:     # the odd stray tessera
            idx += rnd.randint(1, 3)
        shade *= 1 + rnd.uniform(-0.07, 0.07)
        rgb = [min(1.0, c * shade) for c in cols[idx % len(cols)]]
        pts = inset(poly, grout_w / 2)
        if pts:
            out.append("fill %s" % hexcol(rgb))
            out.append("polygon " + " ".join("%.1f,%.1f" % p for p in pts))
    return "\n".join(out) + "\n", name


def render(num, outdir):
    w, h, fmt = SLIDES[num - 1]
    mvg, name = build_mvg(num, w, h)
    text = "No. %02d  %d x %d" % (num, w, h)
    if h > w:                       # upright: two lines keep the label wide enough
        text = "No. %02d\n%d x %d" % (num, w, h)
    chars = max(len(line) for line in text.split("\n"))
    pt = max(12, min(0.032 * max(w, h), 0.8 * w / (0.7 * chars), 0.12 * h))
    pad, margin = round(pt * 0.35), round(pt * 0.5)
    box = "#141414c0"
    prefix, opts = WRITERS[fmt]
    path = os.path.join(outdir, "ZUMIK%02d.DAT" % num)
    cmd = [CONVERT, "mvg:-",
           "(", "-background", box, "-fill", "#ffffff", "-font", FONT,
           "-pointsize", "%.1f" % pt, "label:" + text,
           "-compose", "Copy", "-bordercolor", box, "-border", "%dx%d" % (pad, pad),
           ")", "-compose", "Over", "-gravity", "northwest",
           "-geometry", "+%d+%d" % (margin, margin), "-composite",
           "-alpha", "off", "-strip"] + opts + ["%s:%s" % (prefix, path)]
    res = subprocess.run(cmd, input=mvg.encode(), capture_output=True)
    ok = res.returncode == 0 and os.path.exists(path)
    msg = "%s  %-4s  %5d x %-5d %s" % (os.path.basename(path), fmt, w, h, name)
    if not ok:
        msg += "  FAILED: " + res.stderr.decode(errors="replace").strip()
    return ok, msg


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_slides.py OUTDIR")
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    nums = range(1, len(SLIDES) + 1)
    # Biggest first so the two workers finish together.
    order = sorted(nums, key=lambda n: -SLIDES[n - 1][0] * SLIDES[n - 1][1])
    with ThreadPoolExecutor(max_workers=2) as pool:
        results = dict(zip(order, pool.map(lambda n: render(n, outdir), order)))
    for n in nums:
        print(results[n][1])
    failed = [n for n in nums if not results[n][0]]
    if failed:
        sys.exit("%d slide(s) failed" % len(failed))


if __name__ == "__main__":
    main()
