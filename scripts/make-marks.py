#!/usr/bin/env python3
"""Writes assets/q.bmp (a square) and assets/c.bmp (a circle).

Each is a 24-bit Windows bitmap drawn on a white background, so its top-left
pixel carries the background colour that the game repaints in the colour of the
answer box. The circle is a ring: its white inside does not touch the corner and
stays white on the board.
"""
import os
import struct
import sys

SIZE = 32
WHITE = (255, 255, 255)
SQUARE = (40, 110, 40)    # dark green
CIRCLE = (40, 40, 160)    # dark blue


def write_bmp(path, pixels):
    height = len(pixels)
    width = len(pixels[0])
    row_size = (width * 3 + 3) & ~3
    image = bytearray()
    for row in reversed(pixels):  # bottom-up rows
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (row_size - len(line))
        image += line
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(image), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + image)


def square():
    px = [[WHITE] * SIZE for _ in range(SIZE)]
    for y in range(6, SIZE - 6):
        for x in range(6, SIZE - 6):
            px[y][x] = SQUARE
    return px


def circle():
    px = [[WHITE] * SIZE for _ in range(SIZE)]
    c = (SIZE - 1) / 2
    for y in range(SIZE):
        for x in range(SIZE):
            d2 = (x - c) ** 2 + (y - c) ** 2
            if 6.5 ** 2 <= d2 <= 11 ** 2:
                px[y][x] = CIRCLE
    return px


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "assets")
    write_bmp(os.path.join(out, "q.bmp"), square())
    write_bmp(os.path.join(out, "c.bmp"), circle())


if __name__ == "__main__":
    main()
