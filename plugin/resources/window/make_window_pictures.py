#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Draws the configuration window's pictures as PNG files: 301.png (bitmap
301: a thermostat face on the key colour 212/208/200, which the window
replaces by the button face colour) and the pictures of the help and log
buttons. The icon "WINDOW" is the program's icon (resources/icons).

Usage: make_window_pictures.py OUTPUT_FOLDER
"""
import os
import struct
import sys
import zlib

KEY = (212, 208, 200)


def write_png(path, width, height, pixel):
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            rows.extend(pixel(x + 0.5, y + 0.5))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", header))
        out.write(chunk(b"IDAT", zlib.compress(bytes(rows), 9)))
        out.write(chunk(b"IEND", b""))


def inside_rounded(x, y, left, top, right, bottom, radius):
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2 and left <= x <= right and top <= y <= bottom


def in_circle(x, y, cx, cy, r):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def thermometer(x, y, cx, top, bottom, width):
    bulb = in_circle(x, y, cx, bottom, width * 1.2)
    stem = abs(x - cx) <= width / 2 and top <= y <= bottom
    return bulb or stem or in_circle(x, y, cx, top, width / 2)


def picture_pixel(x, y):
    # A wall thermostat: a rounded case, a round dial with an arc, a display.
    if not inside_rounded(x, y, 4, 4, 60, 60, 9):
        return KEY + (255,)
    if inside_rounded(x, y, 4, 4, 60, 60, 9) and not inside_rounded(x, y, 6, 6, 58, 58, 7):
        return (120, 124, 132, 255)
    dist2 = (x - 32) ** 2 + (y - 34) ** 2
    if dist2 <= 16 ** 2:
        if dist2 >= 13 ** 2 and y < 44:
            return (230, 90, 40, 255) if x < 32 else (40, 110, 200, 255)
        if inside_rounded(x, y, 24, 29, 40, 39, 2):
            return (40, 60, 50, 255)
        return (235, 236, 238, 255)
    if inside_rounded(x, y, 14, 10, 50, 16, 2):
        return (90, 170, 110, 255)
    return (250, 250, 250, 255)


def help_pixel(x, y):
    # An "i" in a blue disc.
    if not in_circle(x, y, 12, 12, 11):
        return (0, 0, 0, 0)
    if in_circle(x, y, 12, 7, 1.8) or (abs(x - 12) <= 1.5 and 10 <= y <= 18):
        return (255, 255, 255, 255)
    return (30, 90, 170, 255)


def log_pixel(x, y):
    # A page with lines of text and a green and a red mark.
    if not inside_rounded(x, y, 4, 2, 20, 22, 1.5):
        return (0, 0, 0, 0)
    if not inside_rounded(x, y, 5, 3, 19, 21, 1):
        return (110, 115, 125, 255)
    for row, colour in ((7, (40, 160, 70)), (12, (40, 160, 70)), (17, (210, 50, 40))):
        if in_circle(x, y, 8, row, 1.6):
            return colour + (255,)
        if 11 <= x <= 17 and abs(y - row) < 0.8:
            return (120, 125, 135, 255)
    return (255, 255, 255, 255)


def main():
    folder = sys.argv[1]
    write_png(os.path.join(folder, "301.png"), 64, 64, picture_pixel)
    write_png(os.path.join(folder, "help.png"), 24, 24, help_pixel)
    write_png(os.path.join(folder, "log.png"), 24, 24, log_pixel)


if __name__ == "__main__":
    main()
