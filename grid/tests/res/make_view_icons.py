#!/usr/bin/env python3
"""Draws the icons the grid's view tests show in a playlist-like grid.

FOLDER: a yellow folder. PIANO: three white and two black keys.
MISSING: a red exclamation mark on white. Each 20x20, 32 bits.

Usage: make_view_icons.py OUTPUT_DIR
"""
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[3] / "framework" / "resources"))
from make_resources import color_image, container  # noqa: E402

SIZE = 20


def icon(colour, opaque):
    return container(1, [(SIZE, SIZE, 32, None, color_image(SIZE, SIZE, colour, opaque))])


def folder():
    def inside(x, y):
        return (3 <= y <= 16 and 1 <= x <= 18) or (1 <= y <= 3 and 1 <= x <= 8)

    def colour(x, y):
        edge = not (inside(x - 1, y) and inside(x + 1, y) and inside(x, y - 1) and inside(x, y + 1))
        return 0x806000 if edge else 0xF0C840

    return icon(colour, inside)


def piano():
    def colour(x, y):
        if x in (1, 18) or y in (2, 17) or (x in (7, 12) and y > 2):
            return 0x000000
        if y <= 11 and (5 <= x <= 8 or 11 <= x <= 14):
            return 0x101010
        return 0xFFFFFF

    return icon(colour, lambda x, y: 1 <= x <= 18 and 2 <= y <= 17)


def missing():
    def colour(x, y):
        if 8 <= x <= 11 and (3 <= y <= 11 or 14 <= y <= 16):
            return 0xD00000
        return 0xFFFFFF

    def opaque(x, y):
        return (x - 9.5) ** 2 + (y - 9.5) ** 2 <= 90

    return icon(colour, opaque)


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    out.mkdir(parents=True, exist_ok=True)
    (out / "folder.ico").write_bytes(folder())
    (out / "piano.ico").write_bytes(piano())
    (out / "missing.ico").write_bytes(missing())


if __name__ == "__main__":
    main()
