#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Draws the application icon (a wall thermostat with its dial and motion
sensor) at every size the desktop theme asks for, as rm42xx-config-SIZE.png.

Standard library only: shapes are measured per pixel on a supersampled grid
and written as 8-bit RGBA PNG. Run from this folder; the output is committed.
"""
import math
import struct
import zlib

SIZES = (16, 32, 48, 64, 128, 256)
SUPERSAMPLE = 4

BODY = (236, 239, 243)
BODY_EDGE = (70, 80, 94)
DIAL = (44, 52, 64)
ARC_COLD = (52, 140, 220)
ARC_WARM = (236, 112, 48)
NEEDLE = (250, 250, 250)
LENS = (30, 34, 40)


def rounded_box(x, y, left, top, right, bottom, radius):
    """True inside the rectangle with rounded corners (unit square coordinates)."""
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2 and left <= x <= right and top <= y <= bottom


def colour_at(x, y):
    """The colour of the point (x, y) of the unit square, or None outside the icon."""
    if not rounded_box(x, y, 0.06, 0.02, 0.94, 0.98, 0.16):
        return None
    if not rounded_box(x, y, 0.11, 0.07, 0.89, 0.93, 0.12):
        return BODY_EDGE
    dx, dy = x - 0.5, y - 0.45
    distance = math.hypot(dx, dy)
    if 0.24 <= distance <= 0.32:
        # Angles run from straight down towards the right. The scale goes from
        # lower left (cold) over the top to lower right (warm), leaving a gap
        # at the bottom.
        angle = (math.degrees(math.atan2(dx, dy)) + 360.0) % 360.0
        if 40.0 <= angle <= 320.0:
            share = (320.0 - angle) / 280.0
            return tuple(round(c + (w - c) * share) for c, w in zip(ARC_COLD, ARC_WARM))
        return BODY
    if distance < 0.22:
        # A needle set a little past the middle of the scale.
        needle_angle = math.radians(150.0)
        along = dx * math.sin(needle_angle) + dy * math.cos(needle_angle)
        across = abs(dx * math.cos(needle_angle) - dy * math.sin(needle_angle))
        if 0.0 <= along <= 0.18 and across <= 0.025:
            return NEEDLE
        return DIAL
    if math.hypot(x - 0.5, y - 0.83) <= 0.055:
        return LENS
    return BODY


def draw(size):
    """RGBA rows of the icon at one size, each pixel averaged over its samples."""
    rows = []
    step = 1.0 / (size * SUPERSAMPLE)
    for py in range(size):
        row = bytearray()
        for px in range(size):
            red = green = blue = alpha = 0
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    colour = colour_at((px * SUPERSAMPLE + sx + 0.5) * step,
                                       (py * SUPERSAMPLE + sy + 0.5) * step)
                    if colour is not None:
                        red += colour[0]
                        green += colour[1]
                        blue += colour[2]
                        alpha += 1
            if alpha:
                row += bytes((red // alpha, green // alpha, blue // alpha,
                              255 * alpha // SUPERSAMPLE ** 2))
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return rows


def png(width, height, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    pixels = b"".join(b"\x00" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(pixels, 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    for size in SIZES:
        with open(f"rm42xx-config-{size}.png", "wb") as out:
            out.write(png(size, size, draw(size)))
