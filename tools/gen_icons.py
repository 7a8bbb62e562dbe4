#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Draws the program icons into res/*.png.

orvo-16/32/48/128.png: the main icon, a few balls on a small grey board;
orvo.svg: the same board as scalable shapes for the desktop's icon theme.
hero-32.png: the gold trophy of the name-entry dialog.
orvo.ico, hero.ico: the same pictures for the Windows resources, one entry
per size (16 to 256 pixels for the main icon).

Each size is drawn from the same shapes, not scaled down, so that the small
icons stay sharp: shapes are signed-distance functions in a unit square,
sampled several times per pixel. Standard library only (PNG through zlib);
the pixels are the same on every run.
"""

import math
import os
import struct
import sys
import zlib

SUBSAMPLES = 4

# Ball colours as in the game's sprite strip: (own colour, darkest shade).
BLUE = ((0, 64, 191), (0, 8, 32))
GREEN = ((48, 168, 15), (16, 32, 0))
RED = ((223, 0, 0), (95, 0, 0))
YELLOW = ((207, 168, 0), (64, 48, 0))
MAGENTA = ((191, 0, 176), (16, 8, 15))

OUTLINE = (48, 48, 48)
SQUARE_EVEN = (0x70, 0x70, 0x70)
SQUARE_ODD = (0x90, 0x90, 0x90)


def mix(a, b, t):
    return tuple(p + (q - p) * t for p, q in zip(a, b))


def clamp01(v):
    return max(0.0, min(1.0, v))


# Signed distances: negative inside.

def circle(x, y, cx, cy, r):
    return math.hypot(x - cx, y - cy) - r


def rounded_box(x, y, left, top, right, bottom, radius):
    cx, cy = (left + right) / 2.0, (top + bottom) / 2.0
    hx, hy = (right - left) / 2.0 - radius, (bottom - top) / 2.0 - radius
    dx, dy = abs(x - cx) - hx, abs(y - cy) - hy
    outside = math.hypot(max(dx, 0.0), max(dy, 0.0))
    return outside + min(max(dx, dy), 0.0) - radius


def sphere_colour_base(x, y, cx, cy, r, ball):
    """The game's ball shading in miniature: lit from the upper left."""
    colour, dark = ball
    nx, ny = (x - cx) / r, (y - cy) / r
    nz = math.sqrt(max(0.0, 1.0 - nx * nx - ny * ny))
    light = (-0.5, -0.5, 0.71)
    diffuse = ((nx * light[0] + ny * light[1] + nz * light[2]) + 1.0) / 2.0
    return mix(dark, colour, clamp01(diffuse * 1.6 - 0.2))


def sphere_colour(x, y, cx, cy, r, ball):
    """The shading with the gloss of a light above and left of the ball."""
    base = sphere_colour_base(x, y, cx, cy, r, ball)
    nx, ny = (x - cx) / r, (y - cy) / r
    hx, hy = nx + 0.3, ny + 0.3
    gloss = clamp01(1.0 - math.hypot(hx, hy) / 0.38) ** 1.5
    return mix(base, (255, 255, 255), gloss)


class Layer:
    """A filled shape with an optional outline of a given width."""

    def __init__(self, distance, colour, outline=None, width=0.0):
        self.distance = distance
        self.colour = colour
        self.outline = outline
        self.width = width

    def sample(self, x, y):
        d = self.distance(x, y)
        if d <= 0.0 and (self.outline is None or d < -self.width):
            return self.colour(x, y)
        if self.outline is not None and d <= 0.0:
            return self.outline
        return None


def render(size, layers):
    """RGBA rows; coverage of each pixel becomes its alpha."""
    rows = []
    step = 1.0 / (size * SUBSAMPLES)
    for py in range(size):
        row = []
        for px in range(size):
            total = [0.0, 0.0, 0.0]
            hits = 0
            for sy in range(SUBSAMPLES):
                for sx in range(SUBSAMPLES):
                    x = (px * SUBSAMPLES + sx + 0.5) * step
                    y = (py * SUBSAMPLES + sy + 0.5) * step
                    colour = None
                    for layer in layers:
                        colour = layer.sample(x, y) or colour
                    if colour is not None:
                        hits += 1
                        for i in range(3):
                            total[i] += colour[i]
            n = SUBSAMPLES * SUBSAMPLES
            if hits:
                rgb = tuple(int(c / hits + 0.5) for c in total)
                row.append(rgb + (int(255 * hits / n + 0.5),))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


class Board:
    """Where the board, its squares and its balls lie in the unit square."""

    def __init__(self, size):
        # At 16 pixels a 3 x 3 board would turn to mush; two by two still reads.
        if size <= 16:
            self.cells = 2
            self.balls = [(0, 0, RED), (1, 1, BLUE), (0, 1, YELLOW)]
        else:
            self.cells = 3
            self.balls = [(0, 0, RED), (1, 1, RED), (2, 2, RED), (0, 2, BLUE),
                          (2, 0, GREEN), (1, 2, YELLOW)]
        pixel = 1.0 / size
        margin = 0.5 * pixel if size <= 16 else 0.04
        self.left, self.right = margin, 1.0 - margin
        self.radius = 0.12
        self.outline = max(pixel, 0.025)
        self.inner = self.left + self.outline
        self.cell = (self.right - self.outline - self.inner) / self.cells

    def ball_circles(self):
        """(cx, cy, r, ball) of each ball."""
        for row, col, ball in self.balls:
            yield (self.inner + (col + 0.5) * self.cell, self.inner + (row + 0.5) * self.cell,
                   self.cell * 0.42, ball)


def board_icon(size):
    board = Board(size)
    cells, left, right = board.cells, board.left, board.right
    outline, inner, cell = board.outline, board.inner, board.cell

    def square_colour(x, y):
        col = min(cells - 1, int((x - inner) / cell))
        row = min(cells - 1, int((y - inner) / cell))
        return SQUARE_EVEN if (row + col) % 2 == 0 else SQUARE_ODD

    layers = [Layer(lambda x, y: rounded_box(x, y, left, left, right, right, board.radius),
                    square_colour, OUTLINE, outline)]
    for cx, cy, r, ball in board.ball_circles():
        layers.append(Layer(
            lambda x, y, cx=cx, cy=cy, r=r: circle(x, y, cx, cy, r),
            lambda x, y, cx=cx, cy=cy, r=r, ball=ball: sphere_colour(x, y, cx, cy, r, ball)))
    return render(size, layers)


def trophy_distance(x, y):
    # Bowl: the lower half of a circle topped by a flat rim.
    bowl = max(circle(x, y, 0.5, 0.22, 0.32), 0.08 - y, y - 0.54)
    handle_ring = lambda cx: abs(circle(x, y, cx, 0.34, 0.11)) - 0.035
    handles = min(max(handle_ring(0.2), x - 0.3), max(handle_ring(0.8), 0.7 - x))
    stem = rounded_box(x, y, 0.44, 0.5, 0.56, 0.74, 0.02)
    plinth = rounded_box(x, y, 0.3, 0.72, 0.7, 0.8, 0.02)
    base = rounded_box(x, y, 0.22, 0.8, 0.78, 0.94, 0.03)
    return min(bowl, handles, stem, plinth, base)


def trophy_colour(x, y):
    # A polished cylinder: bright band left of centre, darker towards the right.
    shine = math.cos((x - 0.4) * 4.0)
    gold_dark, gold, gold_light = (150, 100, 0), (240, 190, 20), (255, 245, 190)
    if shine > 0.85:
        return mix(gold, gold_light, (shine - 0.85) / 0.15)
    return mix(gold_dark, gold, clamp01(shine / 0.85))


def star_distance(x, y, cx=0.5, cy=0.29, outer=0.17, inner=0.07):
    """Five-pointed star, approximated by the distance to its polygon's edges."""
    points = []
    for i in range(10):
        r = outer if i % 2 == 0 else inner
        a = -math.pi / 2 + i * math.pi / 5
        points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    inside = False
    best = float('inf')
    for i in range(10):
        (x1, y1), (x2, y2) = points[i], points[(i + 1) % 10]
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            inside = not inside
        ex, ey = x2 - x1, y2 - y1
        t = clamp01(((x - x1) * ex + (y - y1) * ey) / (ex * ex + ey * ey))
        best = min(best, math.hypot(x - x1 - t * ex, y - y1 - t * ey))
    return -best if inside else best


def hero_icon(size):
    outline = max(1.0 / size, 0.03)
    return render(size, [
        Layer(trophy_distance, trophy_colour, (90, 55, 0), outline),
        Layer(star_distance, lambda x, y: (200, 40, 20), (120, 20, 0), 0.7 / size),
    ])


def hex_colour(rgb):
    return '#%02x%02x%02x' % tuple(int(c + 0.5) for c in rgb)


def board_svg():
    """The large board as scalable shapes: the same board, squares and balls,
    with the balls' shading and gloss sampled into radial gradients."""
    board = Board(128)
    scale = 128.0

    def n(v):
        return ('%.3f' % (v * scale)).rstrip('0').rstrip('.')

    left, right, outline = board.left, board.right, board.outline
    inner_right = right - outline
    parts = [
        '<svg xmlns="http://www.w3.org/2000/svg" width="128" height="128" viewBox="0 0 128 128">',
        '<defs>',
        '<clipPath id="board"><rect x="%s" y="%s" width="%s" height="%s" rx="%s"/></clipPath>'
        % (n(board.inner), n(board.inner), n(inner_right - board.inner),
           n(inner_right - board.inner), n(board.radius - outline)),
    ]
    shapes = []
    for i, (cx, cy, r, ball) in enumerate(board.ball_circles()):
        # The shading runs from the lit point, up and left of the centre,
        # to the far edge of the ball, down and right.
        lit = 0.5 * r
        fx, fy = cx - lit, cy - lit
        reach = math.hypot(cx + r / math.sqrt(2.0) - fx, cy + r / math.sqrt(2.0) - fy)
        stops = []
        for k in range(9):
            t = k / 8.0
            d = t * reach / math.sqrt(2.0)
            x, y = fx + d, fy + d
            if math.hypot(x - cx, y - cy) > r:
                x = y = cx + r / math.sqrt(2.0) - 1e-9
            base = sphere_colour_base(x, y, cx, cy, r, ball)
            stops.append('<stop offset="%.3f" stop-color="%s"/>' % (t, hex_colour(base)))
        parts.append('<radialGradient id="ball%d" gradientUnits="userSpaceOnUse" cx="%s" cy="%s" '
                     'r="%s">%s</radialGradient>' % (i, n(fx), n(fy), n(reach), ''.join(stops)))
        gloss = []
        for k in range(5):
            t = k / 4.0
            gloss.append('<stop offset="%.2f" stop-color="#ffffff" stop-opacity="%.3f"/>'
                         % (t, (1.0 - t) ** 1.5))
        parts.append('<radialGradient id="gloss%d" gradientUnits="userSpaceOnUse" cx="%s" cy="%s" '
                     'r="%s">%s</radialGradient>'
                     % (i, n(cx - 0.3 * r), n(cy - 0.3 * r), n(0.38 * r), ''.join(gloss)))
        shapes.append('<circle cx="%s" cy="%s" r="%s" fill="url(#ball%d)"/>' % (n(cx), n(cy), n(r), i))
        shapes.append('<circle cx="%s" cy="%s" r="%s" fill="url(#gloss%d)"/>' % (n(cx), n(cy), n(r), i))
    parts.append('</defs>')
    parts.append('<rect x="%s" y="%s" width="%s" height="%s" rx="%s" fill="%s"/>'
                 % (n(left), n(left), n(right - left), n(right - left), n(board.radius),
                    hex_colour(OUTLINE)))
    squares = []
    for row in range(board.cells):
        for col in range(board.cells):
            colour = SQUARE_EVEN if (row + col) % 2 == 0 else SQUARE_ODD
            squares.append('<rect x="%s" y="%s" width="%s" height="%s" fill="%s"/>'
                           % (n(board.inner + col * board.cell), n(board.inner + row * board.cell),
                              n(board.cell), n(board.cell), hex_colour(colour)))
    parts.append('<g clip-path="url(#board)">%s</g>' % ''.join(squares))
    parts.extend(shapes)
    parts.append('</svg>')
    return '\n'.join(parts) + '\n'


def encode_png(rows):
    height, width = len(rows), len(rows[0])
    raw = b''.join(b'\0' + bytes(v for px in row for v in px) for row in rows)

    def chunk(tag, data):
        return struct.pack('>I', len(data)) + tag + data + \
            struct.pack('>I', zlib.crc32(tag + data) & 0xFFFFFFFF)

    header = struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)
    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + \
        chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')


def encode_bmp_image(rows):
    """A 32-bit BGRA image with its AND mask, as icons of up to 48 pixels are kept."""
    size = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    # Rows bottom-up; the mask's rows are padded to four bytes.
    pixels = b''.join(bytes((b, g, r, a)) for row in reversed(rows)
                      for (r, g, b, a) in row)
    stride = (size + 31) // 32 * 4
    mask = b''
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + pixels + mask


def encode_ico(images):
    """An .ico with one entry per image: uncompressed up to 48 pixels, PNG
    above, as the system's large views expect (a 256-pixel bitmap alone
    would be a quarter of a megabyte)."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for rows in images:
        size = len(rows)
        blob = encode_png(rows) if size > 48 else encode_bmp_image(rows)
        entries.append(struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32,
                                   len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack('<HHH', 0, 1, len(images)) + b''.join(entries) + b''.join(blobs)


ICONS = [
    ('orvo-16.png', lambda: board_icon(16)),
    ('orvo-32.png', lambda: board_icon(32)),
    ('orvo-48.png', lambda: board_icon(48)),
    ('orvo-128.png', lambda: board_icon(128)),
    ('hero-32.png', lambda: hero_icon(32)),
]

WINDOWS_ICONS = [
    # Title bar and notification area, Start menu, desktop and Explorer's
    # views up to its largest.
    ('orvo.ico', lambda: [board_icon(size) for size in (16, 24, 32, 48, 256)]),
    ('hero.ico', lambda: [hero_icon(32)]),
]


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'res')
    for name, draw in ICONS:
        with open(os.path.join(target, name), 'wb') as f:
            f.write(encode_png(draw()))
    for name, draw in WINDOWS_ICONS:
        with open(os.path.join(target, name), 'wb') as f:
            f.write(encode_ico(draw()))
    with open(os.path.join(target, 'orvo.svg'), 'w', encoding='ascii', newline='\n') as f:
        f.write(board_svg())


if __name__ == '__main__':
    main()
