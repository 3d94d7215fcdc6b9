#!/usr/bin/env python3
"""Draws the program's icon: a printer with a report sheet going in and a
printed page with a table coming out. One list of shapes gives both the SVG
and the PNG sizes the windows use. Run: python3 make_icon.py (in this folder)."""

import struct
import zlib

# (kind, x, y, width, height, corner radius, colour) on a 64-unit grid.
SHAPES = [
    ("rect", 15, 3, 34, 30, 1, "#9aa5b1"),      # sheet going in: edge
    ("rect", 16, 4, 32, 28, 0, "#ffffff"),      # sheet
    ("rect", 19, 8, 20, 2, 0, "#1f3a68"),       # report lines
    ("rect", 19, 13, 26, 2, 0, "#1f3a68"),
    ("rect", 19, 18, 14, 2, 0, "#1f3a68"),
    ("rect", 4, 24, 56, 26, 5, "#2b4a7a"),      # printer body
    ("rect", 4, 24, 56, 6, 5, "#4f74ad"),       # its lid
    ("rect", 50, 33, 5, 5, 2, "#5ad06a"),       # power light
    ("rect", 12, 41, 40, 4, 1, "#101820"),      # paper slot
    ("rect", 15, 43, 34, 19, 1, "#9aa5b1"),     # printed page: edge
    ("rect", 16, 44, 32, 17, 0, "#ffffff"),     # printed page
    ("rect", 19, 47, 26, 1, 0, "#1f3a68"),      # its table: frame lines
    ("rect", 19, 57, 26, 1, 0, "#1f3a68"),
    ("rect", 19, 47, 1, 11, 0, "#1f3a68"),
    ("rect", 44, 47, 1, 11, 0, "#1f3a68"),
    ("rect", 31, 47, 1, 11, 0, "#1f3a68"),
    ("rect", 19, 52, 26, 1, 0, "#1f3a68"),
]


def rgb(colour):
    return tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5))


def inside(shape, x, y):
    _, left, top, width, height, radius, _ = shape
    if not (left <= x < left + width and top <= y < top + height):
        return False
    # Distance into a rounded corner, if the point lies in one.
    cx = min(max(x, left + radius), left + width - radius)
    cy = min(max(y, top + radius), top + height - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def pixel(size, px, py, samples=4):
    """Premultiplied colour of one pixel, averaged over samples x samples points."""
    total = [0.0, 0.0, 0.0, 0.0]
    for sy in range(samples):
        for sx in range(samples):
            x = (px + (sx + 0.5) / samples) * 64 / size
            y = (py + (sy + 0.5) / samples) * 64 / size
            colour = None
            for shape in SHAPES:
                if inside(shape, x, y):
                    colour = shape[6]
            if colour:
                r, g, b = rgb(colour)
                total[0] += r
                total[1] += g
                total[2] += b
                total[3] += 255
    n = samples * samples
    alpha = total[3] / n
    if alpha == 0:
        return (0, 0, 0, 0)
    return tuple(round(c / n * 255 / alpha) for c in total[:3]) + (round(alpha),)


def write_png(path, size):
    rows = b""
    for py in range(size):
        rows += b"\0" + b"".join(bytes(pixel(size, px, py)) for px in range(size))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                  chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def write_svg(path):
    lines = ['<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" '
             'viewBox="0 0 64 64">']
    for _, x, y, w, h, r, colour in SHAPES:
        lines.append(f'  <rect x="{x}" y="{y}" width="{w}" height="{h}" rx="{r}" '
                     f'fill="{colour}"/>')
    lines.append("</svg>")
    with open(path, "w") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    write_svg("kvalon-p.svg")
    for size in (32, 64):
        write_png(f"kvalon-p-{size}.png", size)
