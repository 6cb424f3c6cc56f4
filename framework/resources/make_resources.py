#!/usr/bin/env python3
"""Draws the framework's own icon and cursor and writes them as .ico/.cur.

BLANKICON: a fully transparent icon (16x16 and 32x32) that stands for
"no icon" wherever an icon must be drawn.
QFITALICCURSOR: a slanted text cursor (an italic I-beam), hot spot in its
middle.
TESTICON: a small framed square used only by the framework's tests.

Usage: make_resources.py OUTPUT_DIR
"""
import struct
import sys
from pathlib import Path


def mono_image(width, height, pixels, mask):
    """A 1-bit image: header, two-colour palette, XOR bits, AND bits.

    pixels[y][x] is 1 for white, mask[y][x] is 1 for transparent; rows
    are stored bottom-up, each padded to 4 bytes.
    """
    def rows(bits):
        out = b""
        stride = ((width + 31) // 32) * 4
        for y in reversed(range(height)):
            row = bytearray(stride)
            for x in range(width):
                if bits[y][x]:
                    row[x // 8] |= 0x80 >> (x % 8)
            out += bytes(row)
        return out

    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<II", 0x00000000, 0x00FFFFFF)
    return header + palette + rows(pixels) + rows(mask)


def color_image(width, height, colour_at, opaque_at):
    """A 32-bit image with an AND mask; colour_at(x, y) gives 0xRRGGBB."""
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b""
    for y in reversed(range(height)):
        for x in range(width):
            rgb = colour_at(x, y)
            alpha = 255 if opaque_at(x, y) else 0
            xor += struct.pack("<BBBB", rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF, alpha)
    stride = ((width + 31) // 32) * 4
    mask = b""
    for y in reversed(range(height)):
        row = bytearray(stride)
        for x in range(width):
            if not opaque_at(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(row)
    return header + xor + mask


def container(kind, images):
    """kind 1: icon, 2: cursor. images: (width, height, bpp, hotspot, data)."""
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for width, height, bpp, hotspot, data in images:
        colours = 2 if bpp == 1 else 0
        if kind == 1:
            planes, bits = 1, bpp
        else:
            planes, bits = hotspot
        out += struct.pack("<BBBBHHII", width % 256, height % 256, colours, 0, planes, bits, len(data),
                           offset + len(body))
        body += data
    return out + body


def blank_icon():
    images = []
    for size in (16, 32):
        empty = [[0] * size for _ in range(size)]
        clear = [[1] * size for _ in range(size)]
        images.append((size, size, 1, None, mono_image(size, size, empty, clear)))
    return container(1, images)


def italic_cursor():
    size = 32
    ink = [[0] * size for _ in range(size)]
    # Serifs at top and bottom, a stem leaning one pixel right every four rows.
    def dot(x, y):
        if 0 <= x < size and 0 <= y < size:
            ink[y][x] = 1
    top, bottom = 6, 25
    for y in range(top, bottom + 1):
        lean = (bottom - y) // 4
        dot(14 + lean, y)
    for dx in range(-3, 3):
        dot(14 + (bottom - top) // 4 + dx + 1, top)
        dot(14 + dx, bottom)
    # Black ink on a transparent ground: XOR 0 and AND 0 where drawn.
    pixels = [[0] * size for _ in range(size)]
    mask = [[0 if ink[y][x] else 1 for x in range(size)] for y in range(size)]
    return container(2, [(size, size, 1, (16, 16), mono_image(size, size, pixels, mask))])


def test_icon():
    size = 32

    def colour(x, y):
        edge = x in (0, size - 1) or y in (0, size - 1)
        return 0x000080 if edge else 0x40C040

    return container(1, [(size, size, 32, None, color_image(size, size, colour, lambda x, y: True))])


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    out.mkdir(parents=True, exist_ok=True)
    (out / "blankicon.ico").write_bytes(blank_icon())
    (out / "qfitalic.cur").write_bytes(italic_cursor())
    (out / "testicon.ico").write_bytes(test_icon())


if __name__ == "__main__":
    main()
