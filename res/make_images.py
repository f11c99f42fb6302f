#!/usr/bin/env python3
"""Draws the snake's ball, its mask and the application icon as PNG files.

Run from any directory; the images are written next to this script. Uses
the Python standard library only, so the pictures can be remade anywhere.
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
BALL_SIZE = 30
# Highlight colour, up and left of the centre, and the dark lower-right rim.
HIGHLIGHT = (135, 195, 242)
RIM = (52, 85, 108)
# Samples per pixel side when measuring how much of a pixel the disc covers.
SAMPLES = 8


def write_png(path, width, height, pixels, alpha):
    """pixels: rows of (r, g, b) or (r, g, b, a) tuples."""
    colour_type = 6 if alpha else 2
    raw = bytearray()
    for row in pixels:
        raw.append(0)  # no filter
        for px in row:
            raw.extend(px)

    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def coverage(x, y, size):
    """Share of pixel (x, y) inside the disc that fills a size x size square."""
    r = size / 2.0
    inside = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            px = x + (sx + 0.5) / SAMPLES - r
            py = y + (sy + 0.5) / SAMPLES - r
            if px * px + py * py <= r * r:
                inside += 1
    return inside / (SAMPLES * SAMPLES)


def shade(x, y, size):
    """The sphere's colour at pixel (x, y): bright up-left, dark down-right."""
    r = size / 2.0
    hx, hy = r * 0.65, r * 0.6  # the highlight
    d = math.hypot(x + 0.5 - hx, y + 0.5 - hy) / (r * 1.45)
    t = min(1.0, d) ** 1.3
    return tuple(round(h + (k - h) * t) for h, k in zip(HIGHLIGHT, RIM))


def mix(a, b, t):
    return tuple(round(p + (q - p) * t) for p, q in zip(a, b))


def ball_and_mask(size):
    ball, mask = [], []
    for y in range(size):
        ball_row, mask_row = [], []
        for x in range(size):
            c = coverage(x, y, size)
            if c >= 0.75:
                mask_row.append((255, 255, 255))
            elif c >= 0.25:
                mask_row.append((128, 128, 128))  # the grey rim
            else:
                mask_row.append((0, 0, 0))
            # Wherever the mask is black the ball must be pure white, or the
            # AND would darken what lies under the corners.
            if c < 0.25:
                ball_row.append((255, 255, 255))
            else:
                ball_row.append(mix((255, 255, 255), shade(x, y, size), c))
        ball.append(ball_row)
        mask.append(mask_row)
    return ball, mask


def icon(size):
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            c = coverage(x, y, size)
            r, g, b = shade(x, y, size)
            row.append((r, g, b, round(255 * c)))
        rows.append(row)
    return rows


def main():
    # The ball as drawn; the game draws it anew in the same way for scaled
    # screens (game/ball_picture.cpp).
    ball, mask = ball_and_mask(BALL_SIZE)
    write_png(os.path.join(HERE, "ball.png"), BALL_SIZE, BALL_SIZE, ball, False)
    write_png(os.path.join(HERE, "ball_mask.png"), BALL_SIZE, BALL_SIZE, mask, False)
    for size in (16, 32, 48, 256):
        write_png(os.path.join(HERE, "icon_%d.png" % size), size, size, icon(size), True)


if __name__ == "__main__":
    main()
