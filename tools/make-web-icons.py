#!/usr/bin/python3
"""Draws the page's PNG icons (web/icon-192.png, web/icon-512.png) to match web/icon.svg:
six white balls on the page's blue. Run again only when the icon changes."""
import pathlib
import struct
import sys
import zlib

BLUE, WHITE = (0x0b, 0x4f, 0x9c), (0xff, 0xff, 0xff)
# Ball centres and radius on a 96-unit square, as in icon.svg.
BALLS = [(24, 36), (48, 36), (72, 36), (24, 62), (48, 62), (72, 62)]
RADIUS = 10


def pixel(x, y):
    for cx, cy in BALLS:
        if (x - cx) ** 2 + (y - cy) ** 2 <= RADIUS ** 2:
            return WHITE
    return BLUE


def png(size):
    rows = []
    for row in range(size):
        y = (row + 0.5) * 96 / size
        line = bytearray([0])
        for column in range(size):
            line.extend(pixel((column + 0.5) * 96 / size, y))
        rows.append(bytes(line))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


folder = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "web")
for size in (192, 512):
    (folder / ("icon-%d.png" % size)).write_bytes(png(size))
