#!/usr/bin/env python3
"""Draw the Pointerwright icons and write them as Windows .ico files.

usage: make_icons.py OUTDIR

Writes OUTDIR/app.ico (48x48, 32x32 and 16x16 images) and OUTDIR/small.ico
(one 16x16 image, used for the tray and window caption).

The artwork is a white mouse pointer with a dark outline on a teal rounded
square.  Everything is computed geometrically for each size and rendered
with a fixed supersampling grid, so the output is byte-for-byte identical on
every run.  Only the standard library is used.

Each image is stored as a 32-bit BGRA DIB (BITMAPINFOHEADER with the height
doubled, bottom-up rows, followed by a 1-bit AND mask with rows padded to
32 bits).  That is the classic icon layout Windows XP understands; PNG
compressed entries are deliberately not used.
"""

import os
import struct
import sys

# Solid background colour of the rounded square (#00A0A0).  Interior pixels
# carry exactly this value at full opacity, which makes the tray icon easy to
# locate on screen.
TEAL = (0x00, 0xA0, 0xA0)
WHITE = (0xFF, 0xFF, 0xFF)
OUTLINE = (0x10, 0x1C, 0x24)

# Classic arrow pointer outline in design units (tip at the origin, y down).
ARROW = [
    (0.0, 0.0),
    (0.0, 16.0),
    (4.0, 12.2),
    (6.9, 18.6),
    (9.6, 17.4),
    (6.8, 11.2),
    (12.0, 11.2),
]
ARROW_W = max(p[0] for p in ARROW)
ARROW_H = max(p[1] for p in ARROW)

SUPERSAMPLE = 4  # samples per pixel along each axis
NEIGHBOURS = tuple((dx, dy) for dy in (-1, 0, 1) for dx in (-1, 0, 1)
                   if dx or dy)
CRISP_MAX = 16   # sizes up to this use the pixel-exact pointer


def rounded_square_inside(px, py, lo, hi, radius):
    """True if (px, py) lies inside the square [lo, hi]^2 with round corners."""
    if px < lo or px > hi or py < lo or py > hi:
        return False
    cx = min(max(px, lo + radius), hi - radius)
    cy = min(max(py, lo + radius), hi - radius)
    dx = px - cx
    dy = py - cy
    return dx * dx + dy * dy <= radius * radius


def point_in_polygon(px, py, poly):
    """Even-odd rule point-in-polygon test."""
    inside = False
    n = len(poly)
    j = n - 1
    for i in range(n):
        xi, yi = poly[i]
        xj, yj = poly[j]
        if (yi > py) != (yj > py):
            xcross = xi + (py - yi) * (xj - xi) / (yj - yi)
            if px < xcross:
                inside = not inside
        j = i
    return inside


def distance_to_polygon_edge(px, py, poly):
    """Shortest distance from (px, py) to any edge of the polygon."""
    best = None
    n = len(poly)
    for i in range(n):
        ax, ay = poly[i]
        bx, by = poly[(i + 1) % n]
        ex = bx - ax
        ey = by - ay
        length2 = ex * ex + ey * ey
        t = ((px - ax) * ex + (py - ay) * ey) / length2
        t = min(max(t, 0.0), 1.0)
        dx = px - (ax + t * ex)
        dy = py - (ay + t * ey)
        d2 = dx * dx + dy * dy
        if best is None or d2 < best:
            best = d2
    return best ** 0.5


def layout(size):
    """Compute the geometry of one icon size in pixel coordinates."""
    # The 16 px image fills its whole cell so the tray shows a solid tile;
    # larger sizes keep a small margin around the rounded square.
    margin = 0.0 if size <= 16 else float(size // 24)
    radius = size * 0.22
    if size <= CRISP_MAX:
        # Pixel-exact pointer: the polygon is the white interior only (the
        # outline ring is added around it), and the tip sits on a pixel
        # corner so edges land cleanly on the grid.
        scale = (size * 0.70) / ARROW_H
        ox = float(int((size - ARROW_W * scale) / 2.0))
        oy = float(int((size - ARROW_H * scale) / 2.0))
    else:
        scale = 0.70 * size / ARROW_H
        ox = (size - ARROW_W * scale) / 2.0 - size * 0.02
        oy = (size - ARROW_H * scale) / 2.0
    poly = [(ox + x * scale, oy + y * scale) for (x, y) in ARROW]
    # Outline thickness: roughly one pixel at 16 px, growing gently.
    outline = max(1.0, size / 20.0)
    return margin, radius, poly, outline


def render_crisp_pointer(size, poly):
    """Pixel-exact pointer for tiny icons.

    Antialiasing a one-pixel outline at 16 px turns the pointer to mush, so
    small sizes use point sampling instead: pixels whose centres fall inside
    the polygon are white, and the ring of pixels touching them (8-connected)
    becomes the outline.  Returns a top-down grid holding a colour for each
    pointer pixel and None elsewhere.
    """
    inner = [[point_in_polygon(x + 0.5, y + 0.5, poly) for x in range(size)]
             for y in range(size)]
    grid = [[None] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            if inner[y][x]:
                grid[y][x] = WHITE
                continue
            for dx, dy in NEIGHBOURS:
                yy = y + dy
                xx = x + dx
                if 0 <= yy < size and 0 <= xx < size and inner[yy][xx]:
                    grid[y][x] = OUTLINE
    return grid


def render(size):
    """Return rows (top-down) of (r, g, b, a) tuples for one icon size."""
    margin, radius, poly, outline = layout(size)
    crisp = render_crisp_pointer(size, poly) if size <= CRISP_MAX else None
    lo = margin
    hi = size - margin
    half_in = outline * 0.55   # part of the outline drawn inside the shape
    half_out = outline * 0.45  # part drawn outside it
    n = SUPERSAMPLE
    offsets = [(k + 0.5) / n for k in range(n)]
    total = n * n
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            sum_a = 0
            sum_r = sum_g = sum_b = 0
            for oyk in offsets:
                py = y + oyk
                for oxk in offsets:
                    px = x + oxk
                    if not rounded_square_inside(px, py, lo, hi, radius):
                        continue
                    if crisp is not None:
                        colour = crisp[y][x] or TEAL
                    else:
                        inside = point_in_polygon(px, py, poly)
                        dist = distance_to_polygon_edge(px, py, poly)
                        if inside:
                            colour = OUTLINE if dist < half_in else WHITE
                        elif dist < half_out:
                            colour = OUTLINE
                        else:
                            colour = TEAL
                    sum_a += 1
                    sum_r += colour[0]
                    sum_g += colour[1]
                    sum_b += colour[2]
            if sum_a == 0:
                row.append((0, 0, 0, 0))
            else:
                # Straight (non-premultiplied) alpha, as icons expect.
                r = (sum_r + sum_a // 2) // sum_a
                g = (sum_g + sum_a // 2) // sum_a
                b = (sum_b + sum_a // 2) // sum_a
                a = (sum_a * 255 + total // 2) // total
                row.append((r, g, b, a))
        rows.append(row)
    return rows


def dib_image(size):
    """Encode one icon image: BITMAPINFOHEADER + BGRA XOR bitmap + AND mask."""
    rows = render(size)
    xor = bytearray()
    for row in reversed(rows):  # DIBs are stored bottom-up
        for (r, g, b, a) in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, (_r, _g, _b, a) in enumerate(row):
            if a == 0:  # transparent pixel: set the AND bit
                line[x >> 3] |= 0x80 >> (x & 7)
        mask += line
    header = struct.pack(
        "<IiiHHIIiiII",
        40,              # biSize
        size,            # biWidth
        size * 2,        # biHeight: XOR bitmap + AND mask
        1,               # biPlanes
        32,              # biBitCount
        0,               # biCompression = BI_RGB
        len(xor) + len(mask),  # biSizeImage
        0, 0,            # biXPelsPerMeter, biYPelsPerMeter
        0, 0,            # biClrUsed, biClrImportant
    )
    return bytes(header + xor + mask)


def ico_file(sizes):
    """Build a complete .ico file containing one image per entry in sizes."""
    images = [dib_image(s) for s in sizes]
    count = len(images)
    out = bytearray(struct.pack("<HHH", 0, 1, count))  # ICONDIR
    offset = 6 + 16 * count
    for size, data in zip(sizes, images):
        dim = 0 if size >= 256 else size
        out += struct.pack(
            "<BBBBHHII",
            dim, dim,     # bWidth, bHeight
            0,            # bColorCount (no palette)
            0,            # bReserved
            1,            # wPlanes
            32,           # wBitCount
            len(data),    # dwBytesInRes
            offset,       # dwImageOffset
        )
        offset += len(data)
    for data in images:
        out += data
    return bytes(out)


def write_file(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_icons.py OUTDIR\n")
        return 2
    outdir = argv[1]
    os.makedirs(outdir, exist_ok=True)
    write_file(os.path.join(outdir, "app.ico"), ico_file([48, 32, 16]))
    write_file(os.path.join(outdir, "small.ico"), ico_file([16]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
