#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Draws the progress animation (resource 201): a ring of twelve dots with a
bright head that runs round, as a looping GIF with a transparent background.

Usage: make_progress_animation.py OUTPUT.gif
"""
import math
import struct
import sys

SIZE = 48
DOTS = 12
RADIUS = 17
DOT_RADIUS = 3.6
# Index 0 is transparent; then the ring from dim to bright.
PALETTE = [(255, 255, 255), (200, 208, 220), (150, 170, 200), (90, 125, 185), (30, 80, 170)]


def frame_pixels(frame):
    pixels = bytearray(SIZE * SIZE)
    for dot in range(DOTS):
        behind = (frame - dot) % DOTS
        shade = 4 - behind if behind < 3 else 1
        angle = 2 * math.pi * dot / DOTS - math.pi / 2
        cx = SIZE / 2 + RADIUS * math.cos(angle)
        cy = SIZE / 2 + RADIUS * math.sin(angle)
        for y in range(SIZE):
            for x in range(SIZE):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= DOT_RADIUS ** 2:
                    pixels[y * SIZE + x] = shade
    return bytes(pixels)


def lzw(pixels, min_code_size):
    clear = 1 << min_code_size
    end = clear + 1
    codes = []
    table = {bytes([i]): i for i in range(clear)}
    next_code = end + 1
    width = min_code_size + 1
    codes.append((clear, width))
    current = b""
    for value in pixels:
        candidate = current + bytes([value])
        if candidate in table:
            current = candidate
            continue
        codes.append((table[current], width))
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            codes.append((clear, width))
            table = {bytes([i]): i for i in range(clear)}
            next_code = end + 1
            width = min_code_size + 1
        current = bytes([value])
    codes.append((table[current], width))
    codes.append((end, width))
    out = bytearray()
    bits = 0
    count = 0
    for code, size in codes:
        bits |= code << count
        count += size
        while count >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            count -= 8
    if count:
        out.append(bits & 0xFF)
    return bytes(out)


def sub_blocks(data):
    out = bytearray()
    for start in range(0, len(data), 255):
        block = data[start:start + 255]
        out.append(len(block))
        out += block
    out.append(0)
    return bytes(out)


def gif(frames):
    colours = PALETTE + [(0, 0, 0)] * (8 - len(PALETTE))
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", SIZE, SIZE, 0xF2, 0, 0)
    for colour in colours:
        out += bytes(colour)
    out += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"  # loop for ever
    for pixels in frames:
        # 8/100 s per frame, background restored, index 0 transparent.
        out += b"\x21\xF9\x04" + struct.pack("<BHB", 0x09, 8, 0) + b"\x00"
        out += b"\x2C" + struct.pack("<HHHHB", 0, 0, SIZE, SIZE, 0)
        out.append(3)
        out += sub_blocks(lzw(pixels, 3))
    out += b"\x3B"
    return bytes(out)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    with open(sys.argv[1], "wb") as output:
        output.write(gif([frame_pixels(frame) for frame in range(DOTS)]))


if __name__ == "__main__":
    main()
