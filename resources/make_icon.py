#!/usr/bin/env python3
"""Draws the program icon (16x16 and 32x32, 32-bit with alpha) and writes
tamsolocalc.ico next to this script: a dark rounded tile with a white axis,
a green wave and an amber equals sign. Run it again after changing the design."""
import math
import os
import struct


def pixel_colour(x, y, size):
    """RGBA of one pixel, with (0, 0) at the top-left corner."""
    s = size / 32.0
    radius = 6 * s
    # Rounded tile: outside the rounded corners is transparent.
    cx = min(max(x + 0.5, radius), size - radius)
    cy = min(max(y + 0.5, radius), size - radius)
    if math.hypot(x + 0.5 - cx, y + 0.5 - cy) > radius:
        return (0, 0, 0, 0)
    # Equals sign in the top-right corner.
    if 20 * s <= x < 29 * s and (4 * s <= y < 6 * s or 8 * s <= y < 10 * s):
        return (255, 176, 32, 255)
    # One period of a wave over the lower part of the tile.
    wave_y = 20 * s - 7 * s * math.sin((x + 0.5) / size * 2 * math.pi)
    if abs(y + 0.5 - wave_y) <= 1.3 * s:
        return (48, 232, 96, 255)
    # Horizontal axis.
    if abs(y + 0.5 - 20 * s) <= 0.5 * max(s, 1):
        return (200, 200, 200, 255)
    return (16, 24, 40, 255)


def icon_image(size):
    """BITMAPINFOHEADER, bottom-up BGRA rows and the AND mask of one image."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    mask_rows = []
    mask_stride = ((size + 31) // 32) * 4
    for y in reversed(range(size)):
        row = bytearray()
        mask = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = pixel_colour(x, y, size)
            row += bytes((b, g, r, a))
            if a == 0:
                mask[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
        mask_rows.append(bytes(mask))
    return header + b"".join(rows) + b"".join(mask_rows)


def main():
    sizes = [16, 32]
    images = [icon_image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "tamsolocalc.ico")
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
