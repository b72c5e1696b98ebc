#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Draws the activity log's row icons: a green dot for a command row and a red
dot for an error row, 16 x 16 RGBA PNG files with soft edges.

Usage: make_log_icons.py OUTPUT_FOLDER
"""
import os
import struct
import sys
import zlib

SIZE = 16
RADIUS = 6.5
SAMPLES = 4  # per axis, for the soft edge
# Key: (fill, rim)
DOTS = {
    "Green": ((46, 170, 60), (20, 100, 30)),
    "Red": ((215, 45, 40), (130, 20, 20)),
}


def coverage(x, y, radius):
    centre = SIZE / 2
    inside = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            px = x + (sx + 0.5) / SAMPLES - centre
            py = y + (sy + 0.5) / SAMPLES - centre
            if px * px + py * py <= radius * radius:
                inside += 1
    return inside / (SAMPLES * SAMPLES)


def pixel(x, y, fill, rim):
    outer = coverage(x, y, RADIUS)
    inner = coverage(x, y, RADIUS - 1.2)
    # A small highlight up and to the left gives the dot some depth.
    highlight = coverage(x + 2, y + 2, 2.0) * 0.45
    if outer == 0:
        return (0, 0, 0, 0)
    blend = inner / outer
    colour = [rim[i] + (fill[i] - rim[i]) * blend for i in range(3)]
    colour = [c + (255 - c) * highlight for c in colour]
    return tuple(int(round(c)) for c in colour) + (int(round(255 * outer)),)


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(fill, rim):
    rows = b""
    for y in range(SIZE):
        rows += b"\x00" + b"".join(bytes(pixel(x, y, fill, rim)) for x in range(SIZE))
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9))
            + chunk(b"IEND", b""))


def main():
    folder = sys.argv[1]
    for key, (fill, rim) in DOTS.items():
        with open(os.path.join(folder, key + ".png"), "wb") as out:
            out.write(png(fill, rim))


if __name__ == "__main__":
    main()
