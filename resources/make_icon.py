#!/usr/bin/env python3
"""Draws the application icon: a ward-rota calendar (a sheet with a header band
and two binder rings, and a 3 x 3 grid of shift cells: day shift amber, night
shift navy, rest green, rolling one place each day as the rota does).

Pure Python 3, no image library: every size is drawn with 4 x 4 supersampling
and written into one .ico, 32-bit BGRA DIBs up to 128 px and a PNG at 256 px.

    python3 resources/make_icon.py resources/tavomed.ico
"""
import struct
import sys
import zlib

SIZES = (16, 24, 32, 48, 64, 128, 256)
SUPERSAMPLE = 4

SHEET = (255, 255, 255)
OUTLINE = (0, 84, 120)
HEADER = (0, 122, 168)
RING = (44, 56, 66)
DAY = (242, 170, 30)      # D
NIGHT = (38, 60, 130)     # N
REST = (40, 160, 110)     # R
LETTER = (255, 255, 255)

# 5 x 7 letter shapes, drawn on the cells from 48 px up.
GLYPHS = {
    "D": ["1110.", "1..1.", "1...1", "1...1", "1...1", "1..1.", "1110."],
    "N": ["1...1", "11..1", "1.1.1", "1.1.1", "1..11", "1...1", "1...1"],
    "R": ["1111.", "1...1", "1...1", "1111.", "1.1..", "1..1.", "1...1"],
}
SHIFTS = "DNR"
SHIFT_COLOURS = {"D": DAY, "N": NIGHT, "R": REST}


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def shapes_for(size):
    """Shapes as (test, colour) in unit coordinates, painted in order."""
    shapes = []
    m = 0.04
    shapes.append((rounded_rect(m, 0.10, 1 - m, 1 - m, 0.10), OUTLINE))
    t = max(0.055, 1.2 / size)  # outline stays at least about a pixel wide
    shapes.append((rounded_rect(m + t, 0.10 + t, 1 - m - t, 1 - m - t, 0.08), SHEET))
    shapes.append((rect(m + t, 0.10 + t, 1 - m - t, 0.30), HEADER))
    for rx in (0.30, 0.70):
        shapes.append((rounded_rect(rx - 0.05, 0.02, rx + 0.05, 0.22, 0.04), RING))
    # Shift grid: rows are nurses, columns days; nurse i on day j works
    # shift (i + 2 j) mod 3.
    gx0, gy0, gx1, gy1 = m + t + 0.04, 0.34, 1 - m - t - 0.04, 1 - m - t - 0.04
    gap = max(0.035, 1.0 / size)
    corner = 0.02 if size >= 48 else 0.0
    for i in range(3):
        for j in range(3):
            letter = SHIFTS[(i + 2 * j) % 3]
            x0, x1 = cell_span(j, gx0, gx1, gap, size)
            y0, y1 = cell_span(i, gy0, gy1, gap, size)
            shapes.append((rounded_rect(x0, y0, x1, y1, corner), SHIFT_COLOURS[letter]))
            if size >= 48:
                shapes.extend(glyph_shapes(letter, x0, y0, x1 - x0, y1 - y0))
    return shapes


def cell_span(k, start, end, gap, size):
    """Start and end of cell k of three across [start, end). Up to 32 px the
    cells are whole pixels of equal size with one-pixel gaps, so they stay
    crisp and even."""
    if size > 32:
        cell = (end - start - 2 * gap) / 3
        a = start + k * (cell + gap)
        return a, a + cell
    first, last = round(start * size), round(end * size)
    cell = (last - first - 2) // 3
    a = first + (last - first - (3 * cell + 2)) // 2 + k * (cell + 1)
    return a / size, (a + cell) / size


def glyph_shapes(letter, x0, y0, cw, ch):
    rows = GLYPHS[letter]
    gh = ch * 0.64
    px = gh / 7
    gw = px * 5
    ox = x0 + (cw - gw) / 2
    oy = y0 + (ch - gh) / 2
    out = []
    for r, row in enumerate(rows):
        for c, bit in enumerate(row):
            if bit == "1":
                out.append((rect(ox + c * px, oy + r * px, ox + (c + 1) * px, oy + (r + 1) * px),
                            LETTER))
    return out


def render(size):
    """Rows top to bottom of (r, g, b, a)."""
    shapes = shapes_for(size)
    n = SUPERSAMPLE
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0]
            covered = 0
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n) / size
                    y = (py + (sy + 0.5) / n) / size
                    colour = None
                    for test, c in shapes:
                        if test(x, y):
                            colour = c
                    if colour is not None:
                        covered += 1
                        for k in range(3):
                            acc[k] += colour[k]
            if covered:
                row.append(tuple(round(a / covered) for a in acc) + (round(255 * covered / (n * n)),))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def dib(size, pixels):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    body = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            body += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(body) + bytes(mask)


def png(size, pixels):
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for p in row:
            raw += bytes(p)

    def chunk(kind, data):
        c = kind + data
        return struct.pack(">I", len(data)) + c + struct.pack(">I", zlib.crc32(c) & 0xFFFFFFFF)

    ihdr = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def main(path):
    images = []
    for size in SIZES:
        pixels = render(size)
        images.append((size, png(size, pixels) if size >= 256 else dib(size, pixels)))
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dim = size if size < 256 else 0
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "tavomed.ico")
