#!/usr/bin/env python3
"""Draws Geofill's icon and pictures as PNG files; run it again after changing a shape.

Standard library only. Shapes are sampled 4 x 4 per pixel, except the window icon, which is drawn
in the 16 colours of the classic system palette; the other pictures keep full colour.
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SS = 4  # samples per pixel along each axis

# The 16-colour system palette, followed by one transparent entry for the background.
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
TRANSPARENT = len(PALETTE16)


def png(path, width, height, rows, palette=None, transparent_index=None):
    """Writes rows of (r, g, b, a) tuples, or of palette indices when a palette is given."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = bytearray()
    for row in rows:
        raw.append(0)  # no filter
        if palette:
            raw.extend(bytes(row))
        else:
            for px in row:
                raw.extend(bytes(px))
    if palette:
        header = struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0)
        extra = chunk(b"PLTE", b"".join(bytes(c) for c in palette))
        if transparent_index is not None:
            alphas = bytes(0 if i == transparent_index else 255 for i in range(len(palette)))
            extra += chunk(b"tRNS", alphas)
    else:
        header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
        extra = b""
    data = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + extra
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(data)


def render(width, height, layers, ss=SS):
    """layers: list of (colour, inside(x, y)) painted in order; x, y in pixel units."""
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(ss):
                for sx in range(ss):
                    x = px + (sx + 0.5) / ss
                    y = py + (sy + 0.5) / ss
                    colour = None
                    for c, inside in layers:
                        if inside(x, y):
                            colour = c
                    if colour is not None:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 255
            n = ss * ss
            a = acc[3] / n
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                k = 255 / acc[3]
                row.append((round(acc[0] * k), round(acc[1] * k), round(acc[2] * k), round(a)))
        rows.append(row)
    return rows


# Shape helpers; all take pixel coordinates.
def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def segment(x0, y0, x1, y1, w):
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= w / 2
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, hole):
    return lambda x, y: shape(x, y) and not hole(x, y)


def pin(cx, top, r):
    """A map pin: a disc with a point below it and a hole in the middle."""
    tip = top + r * 3.1
    body = union(circle(cx, top + r, r),
                 polygon([(cx - r * 0.86, top + r * 1.5), (cx + r * 0.86, top + r * 1.5),
                          (cx, tip)]))
    return body, circle(cx, top + r, r * 0.42)


def to_palette(rows):
    def nearest(px):
        if px[3] < 128:
            return TRANSPARENT
        best, bi = None, 0
        for i, c in enumerate(PALETTE16):
            d = sum((a - b) ** 2 for a, b in zip(px[:3], c))
            if best is None or d < best:
                best, bi = d, i
        return bi
    return [[nearest(px) for px in row] for row in rows]


def icon(size):
    s = size / 32
    sheet = polygon([(4 * s, 6 * s), (24 * s, 6 * s), (28 * s, 10 * s), (28 * s, 29 * s),
                     (4 * s, 29 * s)])
    lines = union(*(rect(8 * s, (13 + 4 * k) * s, 24 * s, (14.5 + 4 * k) * s) for k in range(4)))
    body, hole = pin(20 * s, 1 * s, 6.5 * s)
    outline = union(circle(20 * s, 7.5 * s, 7.7 * s),
                    polygon([(20 * s - 7 * s, 11 * s), (20 * s + 7 * s, 11 * s),
                             (20 * s, 23.5 * s)]))
    layers = [
        ((0, 0, 0), sheet),
        ((255, 255, 255), polygon([(5 * s, 7 * s), (23.5 * s, 7 * s), (27 * s, 10.5 * s),
                                   (27 * s, 28 * s), (5 * s, 28 * s)])),
        ((0, 128, 128), lines),
        ((0, 0, 0), outline),
        ((255, 0, 0), body),
        ((255, 255, 255), hole),
    ]
    # One sample a pixel: blended edges have no good match among 16 colours.
    return to_palette(render(size, size, layers, ss=1))


def open_button():
    # An open folder, kept inside a margin so a small button's bevel does not cover it.
    back = polygon([(3, 6), (8, 6), (9.5, 7.5), (17, 7.5), (17, 17), (3, 17)])
    front = polygon([(5, 10), (20, 10), (17, 17), (3, 17)])
    paper = rect(6, 8.5, 15.5, 12)
    return render(22, 22, [
        ((96, 72, 0), back),
        ((214, 170, 40), minus(back, union(segment(3, 6, 8, 6, 1.4), segment(3, 6, 3, 17, 1.4)))),
        ((255, 255, 255), paper),
        ((96, 72, 0), front),
        ((250, 210, 80), polygon([(5.7, 10.8), (19, 10.8), (16.4, 16.2), (3.9, 16.2)])),
    ])


def image1():
    # A piece of map: land, a river, two roads, a dotted track with waypoints and a pin.
    w, h = 79, 44
    river = lambda x, y: abs(y - (30 + 6 * math.sin(x / 9))) < 2.6
    track = [(6, 36), (16, 26), (27, 31), (38, 18), (50, 22), (60, 12)]
    dots = union(*(circle(x, y, 1.0)
                   for (x0, y0), (x1, y1) in zip(track, track[1:])
                   for t in (0.25, 0.5, 0.75)
                   for x, y in [(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t)]))
    waypoints = union(*(circle(x, y, 2.0) for x, y in track[:-1]))
    body, hole = pin(62, 1, 4.6)
    inner = rect(1, 1, w - 1, h - 1)
    return render(w, h, [
        ((64, 64, 64), rect(0, 0, w, h)),
        ((236, 240, 214), inner),
        ((200, 226, 170), union(ellipse(14, 10, 13, 8), ellipse(70, 36, 14, 9))),
        ((110, 160, 220), lambda x, y: river(x, y) and inner(x, y)),
        ((250, 250, 250), union(segment(1, 14, 78, 6, 3.2), segment(44, 1, 34, 43, 3.2))),
        ((190, 150, 110), union(segment(1, 14, 78, 6, 1.2), segment(44, 1, 34, 43, 1.2))),
        ((40, 40, 140), dots),
        ((40, 40, 140), waypoints),
        ((255, 255, 255), union(*(circle(x, y, 0.9) for x, y in track[:-1]))),
        ((90, 0, 0), union(circle(62, 5.6, 5.4),
                           polygon([(56.6, 8), (67.4, 8), (62, 15.6)]))),
        ((220, 30, 30), body),
        ((255, 255, 255), hole),
    ])


def main():
    for size in (32, 16):
        png(os.path.join(HERE, "icons", f"geofill-{size}.png"), size, size, icon(size),
            palette=PALETTE16 + [(0, 0, 0)], transparent_index=TRANSPARENT)
    png(os.path.join(HERE, "pictures", "open.png"), 22, 22, open_button())
    png(os.path.join(HERE, "pictures", "image1.png"), 79, 44, image1())


if __name__ == "__main__":
    main()
