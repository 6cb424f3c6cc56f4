#!/usr/bin/env python3
"""Draws the player's icons and bitmaps and writes them as .ico/.bmp: the
main window's icons and toolbar, and the playlist's row icons and arrows.

Everything is drawn here from simple shapes, so the files can be regenerated:
    python3 player/app/art/make_art.py player/app/win32/res player/playlist/win32/res
Only the Python standard library is used.
"""
import os
import struct
import sys

GREY = (192, 192, 192)       # toolbar background; the toolbar maps it to the button face
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
DARK = (64, 64, 64)
MID = (128, 128, 128)
BLUE = (0, 64, 160)
LBLUE = (96, 160, 232)
GREEN = (0, 128, 64)
RED = (192, 32, 32)
YELLOW = (240, 208, 64)
BROWN = (120, 72, 24)
IVORY = (250, 246, 230)


class Canvas:
    """A width x height picture of (r, g, b, a) pixels, origin top left."""

    def __init__(self, width, height, fill=(0, 0, 0, 0)):
        self.w, self.h = width, height
        self.px = [[fill for _ in range(width)] for _ in range(height)]

    def put(self, x, y, rgb, a=255):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = (rgb[0], rgb[1], rgb[2], a)

    def rect(self, x0, y0, x1, y1, rgb):
        """Filled rectangle, corners inclusive."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, rgb)

    def frame(self, x0, y0, x1, y1, rgb):
        for x in range(x0, x1 + 1):
            self.put(x, y0, rgb)
            self.put(x, y1, rgb)
        for y in range(y0, y1 + 1):
            self.put(x0, y, rgb)
            self.put(x1, y, rgb)

    def line(self, x0, y0, x1, y1, rgb):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.put(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), rgb)

    def tri_right(self, x0, yc, half, rgb):
        """Triangle pointing right: left edge at x0, 2*half+1 high."""
        for i in range(half + 1):
            self.rect(x0 + i, yc - half + i, x0 + i, yc + half - i, rgb)

    def tri_left(self, x1, yc, half, rgb):
        for i in range(half + 1):
            self.rect(x1 - i, yc - half + i, x1 - i, yc + half - i, rgb)

    def circle(self, cx, cy, r, rgb, filled=True):
        for y in range(cy - r, cy + r + 1):
            for x in range(cx - r, cx + r + 1):
                d = (x - cx) ** 2 + (y - cy) ** 2
                if filled and d <= r * r + r:
                    self.put(x, y, rgb)
                elif not filled and r * r - r <= d <= r * r + r:
                    self.put(x, y, rgb)

    def blit(self, other, ox, oy):
        for y in range(other.h):
            for x in range(other.w):
                p = other.px[y][x]
                if p[3]:
                    self.put(ox + x, oy + y, p[:3], p[3])


# ---- toolbar images, 16 x 15 each -------------------------------------------

def img_playlist(c):
    c.rect(2, 2, 13, 12, WHITE)
    c.frame(2, 2, 13, 12, DARK)
    for y in (4, 7, 10):
        c.rect(4, y, 5, y, BLUE)
        c.rect(7, y, 11, y, BLACK)


def img_prev(c):
    c.rect(2, 3, 3, 11, BLACK)
    c.tri_left(9, 7, 4, BLACK)
    c.tri_left(14, 7, 4, BLACK)


def img_play(c):
    c.tri_right(4, 7, 6, DARK)
    c.tri_right(5, 7, 4, GREEN)


def img_stop(c):
    c.rect(3, 3, 12, 12, RED)
    c.frame(3, 3, 12, 12, DARK)


def img_pause(c):
    c.rect(3, 2, 6, 12, BLUE)
    c.rect(9, 2, 12, 12, BLUE)
    c.frame(3, 2, 6, 12, DARK)
    c.frame(9, 2, 12, 12, DARK)


def img_next(c):
    c.tri_right(1, 7, 4, BLACK)
    c.tri_right(6, 7, 4, BLACK)
    c.rect(12, 3, 13, 11, BLACK)


def img_new(c):
    c.rect(3, 1, 11, 13, WHITE)
    c.frame(3, 1, 11, 13, DARK)
    c.line(9, 1, 11, 3, DARK)
    c.rect(10, 1, 11, 2, GREY)
    c.put(9, 2, DARK)
    c.put(9, 3, DARK)
    c.put(10, 3, DARK)


def img_open(c):
    c.rect(1, 4, 12, 12, YELLOW)
    c.frame(1, 4, 12, 12, BROWN)
    c.rect(2, 2, 6, 3, YELLOW)
    c.frame(1, 2, 6, 4, BROWN)
    c.line(3, 7, 15, 7, BROWN)
    c.line(3, 7, 1, 12, BROWN)
    c.line(15, 7, 12, 12, BROWN)


def img_save(c):
    c.rect(1, 1, 14, 13, BLUE)
    c.frame(1, 1, 14, 13, DARK)
    c.rect(4, 2, 11, 6, WHITE)
    c.rect(4, 9, 11, 13, MID)
    c.rect(8, 10, 9, 12, BLACK)


def img_clock(c):
    c.circle(7, 7, 6, WHITE)
    c.circle(7, 7, 6, DARK, filled=False)
    c.line(7, 7, 7, 3, BLACK)
    c.line(7, 7, 10, 9, RED)
    # the two arrows of the elapsed/remaining switch
    c.put(14, 1, BLACK)
    c.put(13, 0, BLACK)
    c.put(15, 2, BLACK)


def img_reset(c):
    # a keyboard with a circular arrow above it
    c.rect(1, 8, 14, 13, WHITE)
    c.frame(1, 8, 14, 13, DARK)
    for x in (4, 7, 10):
        c.rect(x, 8, x, 11, BLACK)
    c.circle(7, 4, 3, RED, filled=False)
    c.rect(9, 0, 11, 2, GREY)
    c.put(10, 1, RED)
    c.put(11, 2, RED)


def img_volume(c):
    c.rect(1, 5, 3, 9, DARK)
    for i in range(5):
        c.rect(4 + i, 5 - i, 4 + i, 9 + i, DARK)
    c.line(11, 4, 12, 5, BLUE)
    c.line(12, 6, 12, 8, BLUE)
    c.line(12, 9, 11, 10, BLUE)
    c.line(13, 2, 14, 4, BLUE)
    c.line(14, 5, 14, 9, BLUE)
    c.line(14, 10, 13, 12, BLUE)


TOOLBAR = [img_playlist, img_prev, img_play, img_stop, img_pause, img_next,
           img_new, img_open, img_save, img_clock, img_reset, img_volume]


def toolbar_strip():
    strip = Canvas(16 * len(TOOLBAR), 15, GREY + (255,))
    for i, draw in enumerate(TOOLBAR):
        tile = Canvas(16, 15)
        draw(tile)
        strip.blit(tile, 16 * i, 0)
    return strip


# ---- icons --------------------------------------------------------------------

def piano_icon(size):
    """A grand piano lid over a keyboard, with a note: the program's icon."""
    c = Canvas(size, size)
    s = size / 32.0

    def S(v):
        return int(round(v * s))

    c.rect(S(2), S(14), S(29), S(28), WHITE)
    c.frame(S(2), S(14), S(29), S(28), BLACK)
    keys = 8
    for k in range(1, keys):
        x = S(2) + k * (S(29) - S(2)) // keys
        c.rect(x, S(14), x, S(28), DARK)
    for k in (1, 2, 4, 5, 6):
        x = S(2) + k * (S(29) - S(2)) // keys
        c.rect(x - max(1, S(1)), S(14), x + max(0, S(1) - 1), S(22), BLACK)
    # lid
    for y in range(S(3), S(13)):
        c.rect(S(2), y, S(2) + (y - S(3)) * 2 + S(6), y, BROWN)
    # note
    c.circle(S(23), S(9), max(1, S(3)), BLUE)
    c.rect(S(25), S(1), S(25) + max(0, S(1) - 1), S(9), BLUE)
    c.line(S(25), S(1), S(29), S(4), BLUE)
    return c


def small_icon():
    c = Canvas(16, 16)
    c.rect(1, 7, 14, 14, WHITE)
    c.frame(1, 7, 14, 14, BLACK)
    for x in (4, 7, 10):
        c.rect(x, 7, x, 14, DARK)
        c.rect(x - 1, 7, x, 10, BLACK)
    c.circle(11, 4, 2, BLUE)
    c.rect(13, 0, 13, 4, BLUE)
    c.tri_right(2, 3, 3, GREEN)
    return c


# ---- playlist row icons, 20 x 20, and the arrow buttons' bitmaps ------------------

def folder_icon():
    c = Canvas(20, 20)
    c.rect(1, 4, 8, 6, YELLOW)
    c.frame(1, 4, 8, 6, BROWN)
    c.rect(1, 6, 18, 16, YELLOW)
    c.frame(1, 6, 18, 16, BROWN)
    c.line(2, 8, 17, 8, (255, 236, 150))
    return c


def keyboard(c, y0, y1, lit=()):
    """A small keyboard of six white keys; keys in lit are pressed (blue)."""
    c.rect(1, y0, 18, y1, WHITE)
    c.frame(1, y0, 18, y1, BLACK)
    for k in range(6):
        x0 = 1 + k * 3
        if k in lit:
            c.rect(x0 + 1, y0 + 1, x0 + 2, y1 - 1, LBLUE)
        if k:
            c.rect(x0, y0, x0, y1, DARK)
    for k in (1, 2, 4, 5):
        x = 1 + k * 3
        c.rect(x - 1, y0, x, y0 + (y1 - y0) * 3 // 5, BLACK)


def piano_disk_icon(plus=False, doc=False):
    """A floppy disk with a keyboard label: a catalog disk."""
    c = Canvas(20, 20)
    body = GREEN if doc else BLUE
    c.rect(1, 1, 18, 18, body)
    c.frame(1, 1, 18, 18, DARK)
    c.rect(5, 1, 14, 6, MID)
    c.rect(11, 2, 12, 5, DARK)
    keyboard(c, 10, 17)
    if plus:
        c.rect(15, 0, 19, 4, YELLOW)
        c.rect(17, 0, 17, 4, RED)
        c.rect(15, 2, 19, 2, RED)
    return c


def keys_icon(size, frame):
    """The playing row's animation: a keyboard of five white keys in which
    key `frame` (0 to 4) is down, with a note over it."""
    c = Canvas(size, size)
    s = size / 20.0

    def S(v):
        return int(round(v * s))

    top, bottom = S(9), size - 1
    c.rect(0, top, size - 1, bottom, WHITE)
    edges = [int(round(k * (size - 1) / 5.0)) for k in range(6)]
    c.rect(edges[frame] + 1, top + 1, edges[frame + 1] - 1, bottom - 1, LBLUE)
    c.frame(0, top, size - 1, bottom, DARK)
    for x in edges[1:5]:
        c.rect(x, top, x, bottom, DARK)
    black = max(1, S(1))
    for k in (1, 2, 4):
        x = edges[k]
        c.rect(x - black, top, x + black - 1, top + (bottom - top) * 3 // 5, BLACK)
    # the note over the pressed key
    cx = min((edges[frame] + edges[frame + 1]) // 2, size - 1 - S(3))
    cy = top - S(3)
    c.circle(cx, cy, max(1, S(2)), BLUE)
    stem = cx + max(1, S(2))
    c.rect(stem, max(0, cy - S(6)), stem, cy, BLUE)
    return c


def missing_icon():
    """An exclamation mark in a red triangle: the file is not there."""
    c = Canvas(20, 20)
    for y in range(2, 19):
        half = (y - 2) * 9 // 16
        c.rect(9 - half, y, 10 + half, y, RED)
    c.rect(9, 7, 10, 13, WHITE)
    c.rect(9, 15, 10, 16, WHITE)
    return c


def arrow_bitmap(up):
    """The move buttons' arrows, 9 x 9 on the button face grey."""
    c = Canvas(9, 9, GREY + (255,))
    for i in range(5):
        y = 2 + i if up else 6 - i
        c.rect(4 - i, y, 4 + i, y, BLACK)
    return c


# ---- file writers ---------------------------------------------------------------

def bmp8_bytes(canvas):
    """8-bit bottom-up BMP file with a colour table. The toolbar maps its
    colours through that table (grey to the button face), which it cannot do
    for a bitmap without one."""
    colours = []
    index = {}
    for row in canvas.px:
        for p in row:
            if p[:3] not in index:
                index[p[:3]] = len(colours)
                colours.append(p[:3])
    assert len(colours) <= 256
    row_size = (canvas.w + 3) & ~3
    data = bytearray()
    for y in range(canvas.h - 1, -1, -1):
        line = bytearray(index[canvas.px[y][x][:3]] for x in range(canvas.w))
        line += b"\0" * (row_size - len(line))
        data += line
    table = b"".join(bytes((b, g, r, 0)) for (r, g, b) in colours)
    header = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 8, 0, len(data), 2835, 2835,
                         len(colours), len(colours))
    offset = 14 + len(header) + len(table)
    filehdr = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return filehdr + header + table + bytes(data)


def bmp_bytes(canvas):
    """24-bit bottom-up BMP file."""
    row = (canvas.w * 3 + 3) & ~3
    data = bytearray()
    for y in range(canvas.h - 1, -1, -1):
        line = bytearray()
        for x in range(canvas.w):
            r, g, b, _ = canvas.px[y][x]
            line += bytes((b, g, r))
        line += b"\0" * (row - len(line))
        data += line
    header = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    filehdr = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(data), 0, 0, 14 + len(header))
    return filehdr + header + bytes(data)


def icon_image(canvas):
    """One icon image: 32-bit BGRA colour plus the 1-bit AND mask."""
    xor = bytearray()
    for y in range(canvas.h - 1, -1, -1):
        for x in range(canvas.w):
            r, g, b, a = canvas.px[y][x]
            xor += bytes((b, g, r, a))
    mask_row = ((canvas.w + 31) // 32) * 4
    mask = bytearray()
    for y in range(canvas.h - 1, -1, -1):
        bits = bytearray(mask_row)
        for x in range(canvas.w):
            if canvas.px[y][x][3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def ico_bytes(canvases):
    images = [icon_image(c) for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, img in zip(canvases, images):
        out += struct.pack("<BBBBHHII", c.w % 256, c.h % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    for img in images:
        out += img
    return out


def write_all(outdir, files):
    os.makedirs(outdir, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(outdir, name), "wb") as f:
            f.write(data)


def main():
    here = os.path.dirname(__file__)
    appdir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "win32", "res")
    listdir = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "..", "playlist", "win32", "res")
    write_all(appdir, {
        "toolbar.bmp": bmp8_bytes(toolbar_strip()),
        "player.ico": ico_bytes([piano_icon(32), piano_icon(16)]),
        "small.ico": ico_bytes([small_icon()]),
    })
    files = {
        "folder.ico": ico_bytes([folder_icon()]),
        "piano.ico": ico_bytes([piano_disk_icon()]),
        "pianoplus.ico": ico_bytes([piano_disk_icon(plus=True)]),
        "pianodoc.ico": ico_bytes([piano_disk_icon(doc=True)]),
        "missing.ico": ico_bytes([missing_icon()]),
        "arrowup.bmp": bmp_bytes(arrow_bitmap(True)),
        "arrowdown.bmp": bmp_bytes(arrow_bitmap(False)),
    }
    # the playing row's animation, also shown by the About box
    for n in range(5):
        files["keys%d.ico" % n] = ico_bytes([keys_icon(20, n), keys_icon(16, n), keys_icon(32, n)])
    write_all(listdir, files)


if __name__ == "__main__":
    main()
