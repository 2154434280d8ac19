#!/usr/bin/env python3
"""Draws the grid's three roll-mode cursors as monochrome .cur files of 32 x 32 pixels, with
the same shapes drawn again at 48 x 48 and 64 x 64 for larger display scales.

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


def image(shapes, size):
    """One size of the cursor: the shapes, drawn on a 32 x 32 grid, sampled at size x size."""
    def at(x):
        # The 32 grid's pixel under the middle of pixel x of this size: the shapes are bounded
        # by whole pixels of that grid, and each larger size keeps those bounds sharp.
        return int((x + 0.5) * SIZE / size)

    inside = [[any(s(at(x), at(y)) for s in shapes) for x in range(size)] for y in range(size)]

    def outline(x, y):
        if inside[y][x]:
            return False
        return any(0 <= x + dx < size and 0 <= y + dy < size and inside[y + dy][x + dx]
                   for dx in (-1, 0, 1) for dy in (-1, 0, 1))

    stride = (size + 31) // 32 * 32
    xor_rows, and_rows = [], []
    for y in reversed(range(size)):  # bitmaps are stored bottom-up
        xor_bits = and_bits = 0
        for x in range(size):
            bit = 1 << (stride - 1 - x)
            if inside[y][x]:
                xor_bits |= bit  # white
            elif not outline(x, y):
                and_bits |= bit  # transparent
        for x in range(size, stride):
            and_bits |= 1 << (stride - 1 - x)
        xor_rows.append(xor_bits.to_bytes(stride // 8, "big"))
        and_rows.append(and_bits.to_bytes(stride // 8, "big"))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    return header + palette + b"".join(xor_rows) + b"".join(and_rows)


def cursor(shapes, sizes=(32, 48, 64)):
    """A .cur file with the cursor at each size (the system picks the one for its scale)."""
    images = [image(shapes, size) for size in sizes]
    directory = struct.pack("<HHH", 0, 2, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, data in zip(sizes, images):
        hot = [(2 * h + 1) * size // (2 * SIZE) for h in HOT]
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, hot[0], hot[1],
                                 len(data), offset)
        offset += len(data)
    return directory + b"".join(images)


if __name__ == "__main__":
    for name, shapes in (("roll.cur", (dot, up_arrow, down_arrow)),
                         ("rollup.cur", (dot, up_arrow)),
                         ("rolldown.cur", (dot, down_arrow))):
        with open(name, "wb") as f:
            f.write(cursor(shapes))
