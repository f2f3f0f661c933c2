#!/usr/bin/env python3
"""Writes the installer's icon: one 32 x 32 image of 16 colours, an object
movie's turning arrow drawn on a disc, as a .ico file (so no binary picture is
kept in the source tree)."""
import math
import struct
import sys

PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
           (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255),
           (0, 255, 255), (255, 255, 255)]


def pixel(x, y):
    dx, dy = x - 15.5, y - 15.5
    r = math.hypot(dx, dy)
    if r > 15:
        return None  # transparent
    angle = math.degrees(math.atan2(dy, dx)) % 360
    if 9 <= r <= 12 and 30 <= angle <= 320:
        return 9  # the red arrow's arc
    if r <= 5:
        return 11  # the object
    return 12 if r > 14 else 15


def main(path):
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(32)):  # bottom-up rows
        row = bytearray()
        bits = 0
        maskrow = bytearray()
        for x in range(32):
            p = pixel(x, y)
            index = 0 if p is None else p
            if x % 2 == 0:
                bits = index << 4
            else:
                row.append(bits | index)
            if x % 8 == 0:
                maskrow.append(0)
            if p is None:
                maskrow[-1] |= 0x80 >> (x % 8)
        xor += row
        mask += maskrow
    header = struct.pack('<IiiHHIIiiII', 40, 32, 64, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    image = header + palette + bytes(xor) + bytes(mask)
    directory = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', 32, 32, 16, 0, 1, 4, len(image), 22)
    with open(path, 'wb') as out:
        out.write(directory + image)


if __name__ == '__main__':
    main(sys.argv[1])
