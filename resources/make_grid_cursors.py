#!/usr/bin/env python3
"""Draws the grid's header and indicator cursors as monochrome .cur files at 32 x 32, 48 x 48
and 64 x 64 pixels.

HORZSPLIT: a vertical bar with arrow heads to the left and the right (column resize grip).
VERTSPLIT: the same turned upright (row resize grip).
COLUMNNODRAG: a ring with a slash (a column cannot be dropped here).
INDICATORSELECT: an arrow pointing right (row selection in the indicator strip).
White shapes with a black outline, drawn by make_cursors.cursor; run from this folder.
"""
import make_cursors


def horz_split(x, y):
    bar = 15 <= x <= 16 and 8 <= y <= 23
    shaft = 15 <= y <= 16 and 6 <= x <= 25
    left = 4 <= x <= 9 and abs(y - 15.5) <= (x - 3.5)
    right = 22 <= x <= 27 and abs(y - 15.5) <= (27.5 - x)
    return bar or shaft or left or right


def vert_split(x, y):
    return horz_split(y, x)


def no_drag(x, y):
    d2 = (x - 15.5) ** 2 + (y - 15.5) ** 2
    ring = 64 <= d2 <= 121
    slash = abs((x - 15.5) - (y - 15.5)) <= 1.5 and d2 <= 100
    return ring or slash


def indicator_select(x, y):
    shaft = 13 <= y <= 18 and 6 <= x <= 17
    head = 17 <= x <= 26 and abs(y - 15.5) <= (26.5 - x)
    return shaft or head


if __name__ == "__main__":
    for name, shape in (("horzsplit.cur", horz_split), ("vertsplit.cur", vert_split),
                        ("columnnodrag.cur", no_drag),
                        ("indicatorselect.cur", indicator_select)):
        with open(name, "wb") as f:
            f.write(make_cursors.cursor((shape,)))
