#!/usr/bin/env python3
"""Draws Quillbox's icons and writes them as 32 x 32, 16-colour .ico files beside this script.

Run it again after changing a picture; the .ico files are committed.
"""
import os
import struct

# The standard 16-colour palette, index: (r, g, b).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_RED, GREY, SILVER, YELLOW, BLUE, NAVY, WHITE, BROWN = 0, 1, 8, 7, 11, 12, 4, 15, 3
CLEAR = None  # transparent


def canvas():
    return [[CLEAR] * 32 for _ in range(32)]


def rect(img, x0, y0, x1, y1, colour):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            img[y][x] = colour


def frame(img, x0, y0, x1, y1, colour):
    for x in range(x0, x1 + 1):
        img[y0][x] = img[y1][x] = colour
    for y in range(y0, y1 + 1):
        img[y][x0] = img[y][x1] = colour


def line(img, x0, y0, x1, y1, colour):
    steps = max(abs(x1 - x0), abs(y1 - y0))
    for i in range(steps + 1):
        img[round(y0 + (y1 - y0) * i / steps)][round(x0 + (x1 - x0) * i / steps)] = colour


def quill(img, colour=BLUE):
    # A feather from the top right to a nib at the lower left.
    for i in range(14):
        width = 1 + min(i, 13 - i) // 3
        rect(img, 29 - i, 2 + i, min(31, 29 - i + width), min(31, 2 + i + width), colour)
    line(img, 29, 2, 14, 17, NAVY)
    line(img, 14, 17, 10, 23, BLACK)


def main_icon():
    """A clipboard holding a sheet of text, with a quill writing on it."""
    img = canvas()
    rect(img, 3, 4, 24, 30, BROWN)
    frame(img, 3, 4, 24, 30, BLACK)
    rect(img, 6, 8, 21, 28, WHITE)
    frame(img, 6, 8, 21, 28, GREY)
    rect(img, 9, 2, 18, 6, SILVER)
    frame(img, 9, 2, 18, 6, BLACK)
    for y in (12, 15, 18, 21, 24):
        line(img, 8, y, 19 if y != 24 else 14, y, NAVY)
    quill(img)
    return img


def prompt_icon():
    """A blank sheet with a quill: a name is to be written."""
    img = canvas()
    rect(img, 5, 3, 22, 29, WHITE)
    frame(img, 5, 3, 22, 29, BLACK)
    line(img, 8, 25, 16, 25, NAVY)
    quill(img, DARK_RED)
    return img


def about_icon():
    """A round "i" for version information."""
    img = canvas()
    for y in range(32):
        for x in range(32):
            d = (x - 15.5) ** 2 + (y - 15.5) ** 2
            if d <= 14.5 ** 2:
                img[y][x] = BLUE if d <= 13 ** 2 else NAVY
    rect(img, 14, 7, 17, 10, WHITE)
    rect(img, 14, 13, 17, 24, WHITE)
    rect(img, 12, 24, 19, 25, WHITE)
    return img


def ico(img):
    size = 32
    xor = bytearray()
    mask = bytearray()
    for row in reversed(img):  # bottom-up rows
        for x in range(0, size, 2):
            hi = row[x] if row[x] is not None else 0
            lo = row[x + 1] if row[x + 1] is not None else 0
            xor.append((hi << 4) | lo)
        bits = 0
        for x in range(size):
            bits = (bits << 1) | (1 if row[x] is None else 0)
        mask += struct.pack(">I", bits)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    image = header + palette + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 22)
    return directory + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, draw in (("quillbox", main_icon), ("filename", prompt_icon), ("versioninfo", about_icon)):
        with open(os.path.join(here, name + ".ico"), "wb") as out:
            out.write(ico(draw()))


if __name__ == "__main__":
    main()
