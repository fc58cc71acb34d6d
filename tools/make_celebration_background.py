#!/usr/bin/env python3
"""Draws the celebration window's background picture: a night sky over a lit city by the
water, written as a 24-bit bottom-up BMP (the program takes it in as a bitmap resource).
Usage: make_celebration_background.py OUTPUT.bmp"""
import random
import struct
import sys

WIDTH, HEIGHT = 520, 380
HORIZON = 270  # first row of the water


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def draw():
    rng = random.Random(2026)  # fixed: the same picture on every build
    sky_top, sky_low = (8, 10, 40), (70, 30, 90)
    pixels = [[lerp(sky_top, sky_low, y / HORIZON) for _ in range(WIDTH)] for y in range(HEIGHT)]

    for _ in range(260):  # stars, brighter ones rarer
        x, y = rng.randrange(WIDTH), rng.randrange(HORIZON - 80)
        v = rng.choice((140, 170, 200, 255))
        pixels[y][x] = (v, v, min(255, v + 20))

    cx, cy, r = 430, 60, 26  # the moon with a soft rim
    for y in range(cy - r - 3, cy + r + 4):
        for x in range(cx - r - 3, cx + r + 4):
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            if d <= r:
                pixels[y][x] = (250, 240, 200)
            elif d <= r + 3:
                pixels[y][x] = lerp(pixels[y][x], (250, 240, 200), (r + 3 - d) / 4)

    x = 0  # the skyline: buildings of random width and height with lit windows
    while x < WIDTH:
        w, h = rng.randrange(22, 60), rng.randrange(40, 150)
        shade = rng.randrange(18, 40)
        for yy in range(HORIZON - h, HORIZON):
            for xx in range(x, min(WIDTH, x + w)):
                pixels[yy][xx] = (shade, shade, shade + 12)
        for wy in range(HORIZON - h + 6, HORIZON - 6, 9):
            for wx in range(x + 4, min(WIDTH, x + w) - 4, 8):
                if rng.random() < 0.45:
                    lit = rng.choice(((255, 220, 120), (255, 240, 180), (200, 230, 255)))
                    for yy in range(wy, wy + 4):
                        for xx in range(wx, wx + 3):
                            pixels[yy][xx] = lit
        x += w + rng.randrange(0, 6)

    for y in range(HORIZON, HEIGHT):  # water: the city mirrored, darker and rippled
        t = (y - HORIZON) / (HEIGHT - HORIZON)
        src = HORIZON - 1 - (y - HORIZON)
        for x in range(WIDTH):
            sx = min(WIDTH - 1, max(0, x + int(3 * ((y * 7 + x // 9) % 5 - 2) * (1 - t))))
            pixels[y][x] = lerp(pixels[src][sx], (5, 15, 45), 0.45 + 0.4 * t)
    return pixels


def write_bmp(path, pixels):
    row_size = (WIDTH * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(pixels):  # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (row_size - len(line))
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    write_bmp(sys.argv[1], draw())
