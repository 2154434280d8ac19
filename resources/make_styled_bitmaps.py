#!/usr/bin/env python3
"""Draws the styled controls' bitmaps: the check box's mark and the buttons' glyphs.

Run it from anywhere; it rewrites the .bmp files next to itself. The pictures are drawn here
from simple shapes, so every pixel of them is ours.

check.bmp: 8 x 8, 4 bits per pixel in the standard 16-colour palette, the mark black on a
magenta background (the bottom-left pixel's colour, which the check box leaves out).

glyph_*.bmp: 24-bit; magenta is the background, which the buttons leave out. Edges are
smoothed against the buttons' own blue-grey, so they blend with the gradient behind them.

Each picture is drawn again from its shapes for the larger display scales (check_120.bmp,
glyph_find_144.bmp, ...: 120, 144, 168 and 192 DPI), never stretched from the small one.
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
MAGENTA = (255, 0, 255)
# The middle of the buttons' rest gradient (white to RGB 175, 190, 209).
BEHIND = (215, 223, 232)

# The check mark, row by row from the top: the columns that carry the mark.
CHECK_ROWS = [[], [7], [6, 7], [1, 5, 6, 7], [1, 2, 4, 5, 6], [1, 2, 3, 4, 5], [2, 3, 4], [3]]

# The standard 16-colour palette in its usual order.
PALETTE16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
             (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
             (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def write_bmp(path, width, height, bits, palette, rows):
    """rows[y] is a bytes object of the packed pixels of row y (top first)."""
    stride = (width * bits + 31) // 32 * 4
    image = b"".join(row + b"\0" * (stride - len(row)) for row in reversed(rows))
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(image), 2835, 2835,
                       len(palette), 0)
    with open(path, "wb") as f:
        f.write(header + info + table + image)


# The display scales the pictures are drawn for besides 96 DPI, and their file suffixes.
SCALES = [(120, 1.25), (144, 1.5), (168, 1.75), (192, 2.0)]


def check_mark(x, y):
    """The mark of CHECK_ROWS as a shape: two bands three pixels high, down and then up."""
    left = 1 <= x < 4 and x + 2 <= y < x + 5
    right = 4 <= x < 8 and 8 - x <= y < 11 - x
    return left or right


def write_check_pixels(name, size, inside):
    black, magenta = PALETTE16.index((0, 0, 0)), PALETTE16.index(MAGENTA)
    rows = []
    for y in range(size):
        pixels = [black if inside(x, y) else magenta for x in range(size)]
        pixels += [magenta] * (size % 2)
        rows.append(bytes((pixels[i] << 4) | pixels[i + 1] for i in range(0, len(pixels), 2)))
    write_bmp(os.path.join(HERE, name), size, size, 4, PALETTE16, rows)


def write_check():
    write_check_pixels("check.bmp", 8, lambda x, y: x in CHECK_ROWS[y])
    for dpi, scale in SCALES:
        # A pixel is marked when most of it lies inside the shape, so the mark stays crisp.
        def inside(px, py, scale=scale):
            hits = sum(check_mark((px + (sx + 0.5) / 4) / scale, (py + (sy + 0.5) / 4) / scale)
                       for sx in range(4) for sy in range(4))
            return hits >= 8
        write_check_pixels("check_%d.bmp" % dpi, round(8 * scale), inside)


# ---- glyphs: shapes tested per sub-sample, the last shape that covers a sample wins ----------

def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, outer, inner):
    return lambda x, y: inner * inner < (x - cx) ** 2 + (y - cy) ** 2 <= outer * outer


def box(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def polygon(points):
    def inside(x, y):
        hit = False
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                hit = not hit
        return hit
    return inside


def bar(ax, ay, bx, by, half):
    """A thick line from a to b with rounded ends."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        px, py = ax + t * dx - x, ay + t * dy - y
        return px * px + py * py <= half * half
    return inside


def shade(top, bottom, y0, y1):
    """A colour that runs from top to bottom between the rows y0 and y1."""
    def colour(x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
    return colour


def render(width, height, layers, samples=4, scale=1.0):
    """width and height are the picture's size at this scale; the shapes are drawn at 96 DPI."""
    rows = []
    for py in range(height):
        row = bytearray()
        for px in range(width):
            total, hits = [0, 0, 0], 0
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) / scale
                    y = (py + (sy + 0.5) / samples) / scale
                    found = None
                    for shape, colour in layers:
                        if shape(x, y):
                            # A colour function may leave a sample to the shapes below.
                            found = (colour(x, y) if callable(colour) else colour) or found
                    if found:
                        hits += 1
                        total = [t + c for t, c in zip(total, found)]
            cover = hits / (samples * samples)
            if cover < 0.25:
                pixel = MAGENTA
            else:
                mean = [t / hits for t in total]
                pixel = tuple(round(m * cover + b * (1 - cover)) for m, b in zip(mean, BEHIND))
            row += bytes((pixel[2], pixel[1], pixel[0]))
        rows.append(bytes(row))
    return rows


def write_glyph(name, width, height, layers):
    sizes = [(name + ".bmp", 1.0)] + [("%s_%d.bmp" % (name, dpi), s) for dpi, s in SCALES]
    for file, scale in sizes:
        w, h = round(width * scale), round(height * scale)
        rows = render(w, h, layers, scale=scale)
        assert rows[h - 1][0:3] == bytes((255, 0, 255)), "the bottom-left pixel must be magenta"
        write_bmp(os.path.join(HERE, file), w, h, 24, [], rows)


DARK = (46, 66, 98)          # outlines
STEEL = (78, 108, 150)       # bodies
LIGHT = (150, 180, 215)      # lit faces
GLASS_TOP, GLASS_BOTTOM = (238, 244, 252), (176, 200, 230)


def find_glyph():
    # A magnifying glass: a framed lens with a highlight and a handle to the lower right.
    return [
        (bar(12.2, 12.2, 17.6, 17.6, 2.2), DARK),
        (bar(12.6, 12.6, 17.2, 17.2, 1.3), STEEL),
        (disc(8.5, 8.5, 7.2), DARK),
        (disc(8.5, 8.5, 6.2), STEEL),
        (disc(8.5, 8.5, 4.8), shade(GLASS_TOP, GLASS_BOTTOM, 4, 13)),
        (ring(8.5, 8.5, 4.0, 2.9), lambda x, y: (255, 255, 255) if x + y < 15 else None),
    ]


def arrow_glyph(right):
    # A block arrow with a darker rim, lit from above.
    points = [(1.5, 6.0), (8.5, 6.0), (8.5, 2.0), (14.8, 8.0), (8.5, 14.0), (8.5, 10.0),
              (1.5, 10.0)]
    inner = [(2.7, 7.1), (9.6, 7.1), (9.6, 4.6), (13.2, 8.0), (9.6, 11.4), (9.6, 8.9),
             (2.7, 8.9)]
    if not right:
        points = [(16 - x, y) for x, y in points]
        inner = [(16 - x, y) for x, y in inner]
    return [
        (polygon(points), DARK),
        (polygon(inner), shade(LIGHT, STEEL, 3, 12)),
    ]


def exit_glyph():
    # A door standing ajar with an arrow leaving through it.
    return [
        (box(2.0, 1.0, 10.0, 14.0), DARK),
        (box(3.0, 2.0, 9.0, 13.0), (232, 238, 246)),
        (polygon([(3.0, 2.0), (7.5, 3.5), (7.5, 14.0), (3.0, 13.0)]), DARK),
        (polygon([(3.8, 3.2), (6.8, 4.2), (6.8, 13.2), (3.8, 12.2)]), shade(LIGHT, STEEL, 3, 13)),
        (box(5.6, 8.0, 6.3, 9.0), DARK),
        (polygon([(8.0, 7.0), (11.5, 7.0), (11.5, 4.5), (15.5, 8.5), (11.5, 12.5), (11.5, 10.0),
                  (8.0, 10.0)]), DARK),
        (polygon([(9.0, 7.9), (12.4, 7.9), (12.4, 6.7), (14.2, 8.5), (12.4, 10.3), (12.4, 9.1),
                  (9.0, 9.1)]), (110, 170, 120)),
    ]


def main():
    write_check()
    write_glyph("glyph_find", 20, 20, find_glyph())
    write_glyph("glyph_next", 16, 16, arrow_glyph(True))
    write_glyph("glyph_back", 16, 16, arrow_glyph(False))
    write_glyph("glyph_exit", 16, 16, exit_glyph())


if __name__ == "__main__":
    main()
