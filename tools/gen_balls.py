#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Draws the ball sprite strip res/balls.bmp.

Eight 28 x 28 frames side by side: frame 0 is the mask (a black disc on
white), frames 1..7 are the seven balls on black. The board draws a ball by
ANDing the mask and XORing the ball, so each ball must fill the disc exactly
and leave everything else black.

Each ball is a sphere lit from the upper left. One brightness value per pixel
picks a colour on a ramp that runs from the ball's darkest shade (on the
lower-right rim) through its own colour (at the frame's centre) to a lighter
tint; a specular lobe then blends towards white around (10, 10).

Standard library only; the output is the same byte for byte on every run.
"""

import math
import os
import struct
import sys

FRAME = 28
FRAMES = 8

# Pixels per mask row, top to bottom; each row is centred in the frame.
ROW_WIDTHS = [0, 8, 12, 16, 18, 20, 22, 22, 24, 24] + [26] * 8 + \
             [24, 24, 22, 22, 20, 18, 16, 12, 8, 0]

# (centre colour, darkest colour) for frames 1..7.
BALLS = [
    ((0, 64, 191), (0, 8, 32)),        # blue
    ((48, 168, 15), (16, 32, 0)),      # green
    ((0, 160, 160), (0, 31, 31)),      # cyan
    ((223, 0, 0), (95, 0, 0)),         # red
    ((191, 0, 176), (16, 8, 15)),      # magenta
    ((207, 168, 0), (64, 48, 0)),      # yellow
    ((160, 160, 160), (31, 31, 31)),   # silver
]

WHITE = (255, 255, 255)
CENTRE_PIXEL = (14, 14)
HIGHLIGHT_PIXEL = (10, 10)

# The disc's geometric centre lies on the corner shared by pixels 13 and 14.
DISC_CENTRE = FRAME / 2.0
DISC_RADIUS = 13.0

# How far the lit side moves towards the tint above the ball's own colour.
TINT_AMOUNT = 0.35
# Shape of the dark side: below 1 keeps the ball's colour over most of it
# and saves the deep shade for the rim.
SHADOW_GAMMA = 0.75
# The specular lobe: pure white where it exceeds CORE, fading out at EDGE.
SPECULAR_POWER = 30.0
SPECULAR_CORE = 0.85
SPECULAR_EDGE = 0.06


def normalize(v):
    length = math.sqrt(sum(c * c for c in v))
    return tuple(c / length for c in v)


def pixel_normal(x, y):
    """Surface normal of the sphere seen through pixel (x, y)."""
    nx = (x + 0.5 - DISC_CENTRE) / DISC_RADIUS
    ny = (y + 0.5 - DISC_CENTRE) / DISC_RADIUS
    nz = math.sqrt(max(0.0, 1.0 - nx * nx - ny * ny))
    return (nx, ny, nz)


# The half vector points at the highlight pixel, so the specular peak sits
# exactly there; the light is the viewer's direction mirrored about it.
HALF = pixel_normal(*HIGHLIGHT_PIXEL)
VIEW = (0.0, 0.0, 1.0)
LIGHT = normalize(tuple(2.0 * HALF[2] * h - v for h, v in zip(HALF, VIEW)))


def dot(a, b):
    return sum(p * q for p, q in zip(a, b))


def in_disc(x, y):
    width = ROW_WIDTHS[y]
    left = (FRAME - width) // 2
    return left <= x < left + width


def disc_pixels():
    return [(x, y) for y in range(FRAME) for x in range(FRAME) if in_disc(x, y)]


def brightness(x, y):
    """Wrapped diffuse light: never flat black, darkest opposite the light."""
    n = pixel_normal(x, y)
    wrapped = (dot(n, LIGHT) + 1.0) / 2.0
    # Limb darkening: the rim turns away from the viewer.
    return wrapped * wrapped * (0.8 + 0.2 * n[2])


def specular(x, y):
    n = pixel_normal(x, y)
    lobe = max(0.0, dot(n, HALF)) ** SPECULAR_POWER
    if lobe >= SPECULAR_CORE:
        return 1.0
    if lobe <= SPECULAR_EDGE:
        return 0.0
    t = (lobe - SPECULAR_EDGE) / (SPECULAR_CORE - SPECULAR_EDGE)
    return t * t * (3.0 - 2.0 * t)


def mix(a, b, t):
    return tuple(p + (q - p) * t for p, q in zip(a, b))


def to_byte(v):
    return max(0, min(255, int(math.floor(v + 0.5))))


def ball_pixels(centre, darkest):
    """Colour of every disc pixel of one ball, as a dict (x, y) -> (r, g, b)."""
    pixels = disc_pixels()
    light = {p: brightness(*p) for p in pixels}
    low = min(light.values())
    mid = light[CENTRE_PIXEL]
    high = max(light.values())
    tint = mix(centre, WHITE, TINT_AMOUNT)
    out = {}
    for p in pixels:
        b = light[p]
        if b <= mid:
            base = mix(darkest, centre, ((b - low) / (mid - low)) ** SHADOW_GAMMA)
        else:
            base = mix(centre, tint, (b - mid) / (high - mid))
        colour = mix(base, WHITE, specular(*p))
        out[p] = tuple(to_byte(c) for c in colour)
    return out


def luminance(rgb):
    r, g, b = rgb
    return 299 * r + 587 * g + 114 * b


def check_ball(pixels, centre, darkest):
    """Refuses to write a strip that breaks what the board relies on."""
    assert pixels[CENTRE_PIXEL] == centre, (pixels[CENTRE_PIXEL], centre)
    assert pixels[HIGHLIGHT_PIXEL] == WHITE
    assert all(c != (0, 0, 0) for c in pixels.values())
    least = min(luminance(c) for c in pixels.values())
    for (x, y), c in pixels.items():
        if luminance(c) == least:
            assert c == darkest, (c, darkest)
            assert x >= 14 and y >= 14
            assert not all(in_disc(x + dx, y + dy)
                           for dx, dy in ((1, 0), (0, 1), (-1, 0), (0, -1)))


def build_strip():
    """Rows of (r, g, b), top row first."""
    strip = [[(0, 0, 0)] * (FRAME * FRAMES) for _ in range(FRAME)]
    for y in range(FRAME):
        for x in range(FRAME):
            strip[y][x] = (0, 0, 0) if in_disc(x, y) else WHITE
    for k, (centre, darkest) in enumerate(BALLS, start=1):
        pixels = ball_pixels(centre, darkest)
        check_ball(pixels, centre, darkest)
        for (x, y), colour in pixels.items():
            strip[y][FRAME * k + x] = colour
    return strip


def encode_bmp(rows):
    """Uncompressed 24-bit bottom-up BMP with a BITMAPINFOHEADER."""
    width = len(rows[0])
    height = len(rows)
    stride = (width * 3 + 3) & ~3
    body = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        body += line
    offset = 14 + 40
    file_header = struct.pack('<2sIHHI', b'BM', offset + len(body), 0, 0, offset)
    # 2835 pixels per metre is 72 dpi.
    info_header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0,
                              len(body), 2835, 2835, 0, 0)
    return file_header + info_header + bytes(body)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'res', 'balls.bmp')
    with open(target, 'wb') as f:
        f.write(encode_bmp(build_strip()))


if __name__ == '__main__':
    main()
