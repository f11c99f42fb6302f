#!/usr/bin/env python3
"""Turns the game's PNG pictures into what the Windows resource script takes:
the ball and its mask as 24-bit BMP files and the icon as one .ico with
every size.

Usage: make_images.py RES_DIR OUT_DIR
Standard library only, like res/make_images.py that draws the PNG files.
"""
import glob
import os
import struct
import sys
import zlib


def read_png(path):
    """(width, height, rows of (r, g, b, a)) of an 8-bit RGB or RGBA PNG."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit("%s: not a PNG file" % path)
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, tag = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if tag == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif tag == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        sys.exit("%s: only 8-bit RGB or RGBA without interlacing" % path)
    bpp = 4 if colour == 6 else 3
    raw = zlib.decompress(idat)
    stride = width * bpp
    rows, prev = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + a) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + b) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 0xFF
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else b if pb <= pc else c
                line[i] = (line[i] + pred) & 0xFF
        rows.append([tuple(line[x * bpp:x * bpp + 3]) + ((line[x * bpp + 3],) if bpp == 4 else (255,))
                     for x in range(width)])
        prev = line
    return width, height, rows


def dib_rows(rows, alpha):
    """Bottom-up BGR(A) rows padded to 4 bytes, as a device-independent bitmap stores them."""
    out = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b, a in row:
            line += bytes((b, g, r, a)) if alpha else bytes((b, g, r))
        line += b"\0" * (-len(line) % 4)
        out += line
    return bytes(out)


def write_bmp(path, rows):
    pixels = dib_rows(rows, False)
    info = struct.pack("<IiiHHIIiiII", 40, len(rows[0]), len(rows), 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + len(info) + len(pixels), 0, 0, 14 + len(info)))
        f.write(info + pixels)


def icon_image(path):
    """An icon entry: 32-bit colour with alpha and an all-clear AND mask, or the PNG as it is at 256."""
    width, height, rows = read_png(path)
    if width >= 256:
        with open(path, "rb") as f:
            return width, height, f.read()
    pixels = dib_rows(rows, True)
    mask = b"\0" * (((width + 31) // 32 * 4) * height)
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return width, height, info + pixels + mask


def write_ico(path, pngs):
    images = sorted((icon_image(p) for p in pngs), key=lambda image: image[0])
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for width, height, blob in images:
        out += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(blob for _, _, blob in images))


def main():
    res, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    for name in ("ball", "ball_mask"):
        _, _, rows = read_png(os.path.join(res, name + ".png"))
        write_bmp(os.path.join(out, name + ".bmp"), rows)
    write_ico(os.path.join(out, "wrigglet.ico"), glob.glob(os.path.join(res, "icon_*.png")))


if __name__ == "__main__":
    main()
