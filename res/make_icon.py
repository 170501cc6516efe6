#!/usr/bin/env python3
"""Writes default_icon.ico: one 64x64 image at 32 bits per pixel with alpha.

The picture is a blue rounded square with a white arrow pointing down. Run it again
after changing the drawing; the output depends on nothing but this script.
"""
import struct
import sys

SIZE = 64


def inside_rounded_square(x, y, margin=2, radius=12):
    lo, hi = margin, SIZE - 1 - margin
    if not (lo <= x <= hi and lo <= y <= hi):
        return False
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def inside_arrow(x, y):
    shaft = 26 <= x <= 37 and 12 <= y <= 34
    head = 34 <= y <= 50 and abs(x - 31.5) <= (50 - y) * 1.1
    tray = 13 <= x <= 50 and 53 <= y <= 56
    return shaft or head or tray


def pixel(x, y):
    """BGRA of the pixel at (x, y), y counted from the top."""
    if not inside_rounded_square(x, y):
        return (0, 0, 0, 0)
    if inside_arrow(x, y):
        return (255, 255, 255, 255)
    shade = 200 - y
    return (shade, 110, 30, 255)


def icon_bytes():
    rows = []
    for y in reversed(range(SIZE)):  # bitmaps are stored bottom-up
        rows.append(b"".join(bytes(pixel(x, y)) for x in range(SIZE)))
    colours = b"".join(rows)
    mask = bytes(SIZE * SIZE // 8)  # all zero: the alpha channel alone decides
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(colours) + len(mask), 0, 0, 0, 0)
    image = header + colours + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "default_icon.ico"
    with open(out, "wb") as f:
        f.write(icon_bytes())
