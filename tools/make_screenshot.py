#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Draws the README's picture of the game: plays docs/screenshot.trace
through orvo-trace, whose `snapshot` writes the client area pixel for pixel,
and stores that as docs/screenshot.png.

usage: make_screenshot.py ORVO_TRACE            rewrite docs/screenshot.png
       make_screenshot.py ORVO_TRACE --check DIR
           draw it into DIR/screenshot.png and fail (exit 1) if its pixels
           differ from those of docs/screenshot.png
"""
import os
import struct
import subprocess
import sys
import tempfile
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SCRIPT = os.path.join(ROOT, "docs", "screenshot.trace")
PICTURE = os.path.join(ROOT, "docs", "screenshot.png")
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def snapshot(trace):
    """Plays the script and returns (width, height, RGB bytes)."""
    with tempfile.TemporaryDirectory() as work:
        ppm = os.path.join(work, "shot.ppm")
        with open(SCRIPT, encoding="ascii") as f:
            script = f.read()
        script += "\nsnapshot " + ppm + "\n"
        run = subprocess.run([trace], input=script.encode("ascii"),
                             stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        if run.returncode != 0 or run.stderr:
            sys.exit("orvo-trace failed on %s: %s" % (SCRIPT, run.stderr.decode(errors="replace")))
        with open(ppm, "rb") as f:
            data = f.read()
    # orvo-trace writes "P6\nW H\n255\n" and nothing else in the header.
    magic, size, maxval, pixels = data.split(b"\n", 3)
    width, height = (int(n) for n in size.split())
    if magic != b"P6" or maxval != b"255" or len(pixels) != width * height * 3:
        sys.exit("unexpected PPM from orvo-trace")
    return width, height, pixels


def chunk(kind, body):
    return (struct.pack(">I", len(body)) + kind + body +
            struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))


def encode_png(width, height, pixels):
    """8-bit RGB, no interlace, every row unfiltered: small enough for a
    board of flat colours, and the same bytes for the same pixels."""
    stride = width * 3
    raw = b"".join(b"\0" + pixels[y * stride:(y + 1) * stride] for y in range(height))
    return (PNG_SIGNATURE +
            chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))


def decode_png(data):
    """(width, height, RGB bytes) of an 8-bit RGB PNG without interlace,
    whatever filters its rows use, so that a recompressed file still
    compares by its pixels."""
    if not data.startswith(PNG_SIGNATURE):
        raise ValueError("not a PNG file")
    pos, idat, header = len(PNG_SIGNATURE), b"", None
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
    if header is None or header[2:] != (8, 2, 0, 0, 0):
        raise ValueError("not an 8-bit RGB PNG without interlace")
    width, height = header[0], header[1]
    raw, stride, bpp = zlib.decompress(idat), width * 3, 3
    out, prev = bytearray(), bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, row = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for x in range(stride):
            a = row[x - bpp] if x >= bpp else 0
            b = prev[x]
            c = prev[x - bpp] if x >= bpp else 0
            if kind == 1:
                row[x] = (row[x] + a) & 0xFF
            elif kind == 2:
                row[x] = (row[x] + b) & 0xFF
            elif kind == 3:
                row[x] = (row[x] + (a + b) // 2) & 0xFF
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                row[x] = (row[x] + pred) & 0xFF
            elif kind != 0:
                raise ValueError("unknown PNG filter %d" % kind)
        out += row
        prev = row
    return width, height, bytes(out)


def main(argv):
    if len(argv) == 2:
        trace, out = argv[1], PICTURE
    elif len(argv) == 4 and argv[2] == "--check":
        trace, out = argv[1], os.path.join(argv[3], "screenshot.png")
        os.makedirs(argv[3], exist_ok=True)
    else:
        sys.exit(__doc__.split("\n\n", 1)[1].rstrip())
    width, height, pixels = snapshot(trace)
    with open(out, "wb") as f:
        f.write(encode_png(width, height, pixels))
    if out == PICTURE:
        return 0
    with open(PICTURE, "rb") as f:
        kept = decode_png(f.read())
    if kept != (width, height, pixels):
        print("docs/screenshot.png no longer shows what docs/screenshot.trace draws "
              "(the new picture is %s); run tools/make_screenshot.py with orvo-trace "
              "to redraw it" % out)
        return 1
    print("docs/screenshot.png matches docs/screenshot.trace")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
