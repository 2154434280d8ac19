#!/usr/bin/env python3
"""Draws the grid's three roll-mode cursors as 32 x 32 monochrome .cur files.

ROLL shows a dot between an up and a down arrow head, ROLLUP the dot and the up arrow head,
ROLLDOWN the dot and the down arrow head: white shapes with a black outline, the hot spot on
the dot. Run it from this folder to write roll.cur, rollup.cur and rolldown.cur.
"""
import struct

SIZE = 32
HOT = (16, 16)


def dot(x, y):
    return (x - 16) ** 2 + (y - 16) ** 2 <= 9


def up_arrow(x, y):
    # Apex at (16, 4), base on row 11 from 9 to 23.
    return 4 <= y <= 11 and abs(x - 16) <= (y - 4)


def down_arrow(x, y):
    return 21 <= y <= 28 and abs(x - 16) <= (28 - y)


def cursor(shapes):
    inside = [[any(s(x, y) for s in shapes) for x in range(SIZE)] for y in range(SIZE)]

    def outline(x, y):
        if inside[y][x]:
            return False
        return any(0 <= x + dx < SIZE and 0 <= y + dy < SIZE and inside[y + dy][x + dx]
                   for dx in (-1, 0, 1) for dy in (-1, 0, 1))

    xor_rows, and_rows = [], []
    for y in reversed(range(SIZE)):  # bitmaps are stored bottom-up
        xor_bits = and_bits = 0
        for x in range(SIZE):
            bit = 1 << (SIZE - 1 - x)
            if inside[y][x]:
                xor_bits |= bit  # white
            elif not outline(x, y):
                and_bits |= bit  # transparent
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    image = header + palette + b"".join(xor_rows) + b"".join(and_rows)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, HOT[0], HOT[1], len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    for name, shapes in (("roll.cur", (dot, up_arrow, down_arrow)),
                         ("rollup.cur", (dot, up_arrow)),
                         ("rolldown.cur", (dot, down_arrow))):
        with open(name, "wb") as f:
            f.write(cursor(shapes))
