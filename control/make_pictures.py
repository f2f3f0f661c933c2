#!/usr/bin/env python3
"""Draws the control's pictures at build time, so no binary picture is kept in
the source tree: a cube with a curved arrow turning round it, as a 16 x 15
toolbox bitmap of 16 colours (toolbox.bmp) and an icon with a 32 x 32 and a
16 x 16 image of 16 colours (zel.ico).

    make_pictures.py OUTPUT_FOLDER
"""
import math
import os
import struct
import sys

PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
           (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255),
           (0, 255, 255), (255, 255, 255)]
SILVER, RED, BLUE, NAVY, CYAN = 7, 9, 12, 4, 14

# The cube's three visible faces, in a unit square with y downwards.
TOP = [(0.50, 0.04), (0.82, 0.19), (0.50, 0.34), (0.18, 0.19)]
LEFT = [(0.18, 0.19), (0.50, 0.34), (0.50, 0.70), (0.18, 0.55)]
RIGHT = [(0.50, 0.34), (0.82, 0.19), (0.82, 0.55), (0.50, 0.70)]
# The arrow runs along the front half of an ellipse round the cube's foot and
# points up at its left end: the object turns.
ARC_CENTRE, ARC_RX, ARC_RY = (0.5, 0.66), 0.42, 0.24
HEAD = [(-0.02, 0.67), (0.18, 0.67), (0.08, 0.44)]


def inside(polygon, x, y):
    result = False
    for (x0, y0), (x1, y1) in zip(polygon, polygon[1:] + polygon[:1]):
        if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
            result = not result
    return result


def on_arc(x, y, half_width):
    dx, dy = (x - ARC_CENTRE[0]) / ARC_RX, (y - ARC_CENTRE[1]) / ARC_RY
    if dy < 0:
        return False
    radius = math.hypot(dx, dy)
    return abs(radius - 1) * min(ARC_RX, ARC_RY) <= half_width


def colour(x, y, pixel):
    """Palette index at unit position (x, y), or None where the picture is empty."""
    if inside(HEAD, x, y) or on_arc(x, y, max(0.6 * pixel, 0.035)):
        return RED
    for face, index in ((TOP, CYAN), (LEFT, BLUE), (RIGHT, NAVY)):
        if inside(face, x, y):
            return index
    return None


def draw(width, height):
    """Rows top to bottom of palette indices (None: empty)."""
    pixel = 1 / max(width, height)
    return [[colour((column + 0.5) / width, (row + 0.5) / height, pixel) for column in range(width)]
            for row in range(height)]


def packed_rows(rows, empty):
    """4-bit rows, bottom-up, each padded to 4 bytes as a DIB wants."""
    data = bytearray()
    for row in reversed(rows):
        indices = [empty if p is None else p for p in row]
        if len(indices) % 2:
            indices.append(0)
        line = bytes((indices[i] << 4) | indices[i + 1] for i in range(0, len(indices), 2))
        data += line + bytes(-len(line) % 4)
    return bytes(data)


def mask_rows(rows):
    """1-bit AND mask, bottom-up: set where the picture is empty."""
    data = bytearray()
    for row in reversed(rows):
        line = bytearray((len(row) + 7) // 8)
        for x, p in enumerate(row):
            if p is None:
                line[x // 8] |= 0x80 >> (x % 8)
        data += line + bytes(-len(line) % 4)
    return bytes(data)


def info_header(width, height, image_size):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 0)


def palette():
    return b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)


def bitmap(width, height):
    """A .bmp file; the empty part is the toolbox's usual silver."""
    bits = packed_rows(draw(width, height), SILVER)
    offset = 14 + 40 + 16 * 4
    return struct.pack('<2sIHHI', b'BM', offset + len(bits), 0, 0, offset) + info_header(width, height, len(bits)) \
        + palette() + bits


def icon(sizes):
    """A .ico file with one 16-colour image per size; the empty part is transparent."""
    images = []
    for size in sizes:
        rows = draw(size, size)
        xor, mask = packed_rows(rows, 0), mask_rows(rows)
        # An icon image's header counts the XOR and AND halves in its height.
        images.append(info_header(size, 2 * size, len(xor) + len(mask)) + palette() + xor + mask)
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        directory += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return directory + b''.join(images)


def main(folder):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, 'toolbox.bmp'), 'wb') as out:
        out.write(bitmap(16, 15))
    with open(os.path.join(folder, 'zel.ico'), 'wb') as out:
        out.write(icon([32, 16]))


if __name__ == '__main__':
    if len(sys.argv) != 2:
        sys.exit('usage: make_pictures.py OUTPUT_FOLDER')
    main(sys.argv[1])
