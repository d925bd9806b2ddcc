#!/usr/bin/env python3
"""Draws Quelmo's application icon and writes res/Quelmo.ico (16 to 128 pixels, 32-bit).

The motif is the monitor window in small: a bar gauge on the left and a load graph on the
right, on a dark rounded square. Pure Python (no imaging library), so the icon can be rebuilt
anywhere: python3 res/make-icon.py
"""
import math
import os
import struct

# The window and tray sizes, and the larger pictures of the About window (81 pixels at 96 DPI,
# more at larger display scales): each is drawn from the image nearest to it.
SIZES = (16, 32, 48, 64, 80, 96, 128)
SUPERSAMPLE = 4

BACKGROUND = (27, 42, 74)     # dark navy
BORDER = (86, 110, 160)
SLOT = (12, 20, 38)
GAUGE = (108, 212, 120)       # green fill of the bar gauge
GRID = (52, 70, 108)
GRAPH = (166, 202, 240)       # the graph's sky blue

# The graph's points in unit coordinates (x right, y down).
GRAPH_POINTS = [(0.40, 0.70), (0.52, 0.52), (0.62, 0.62), (0.74, 0.30), (0.86, 0.42)]


def inside_rounded_rect(x, y, left, top, right, bottom, radius):
    if x < left or x > right or y < top or y > bottom:
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def distance_to_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def sample(x, y, size):
    """Colour and opacity of one point in unit coordinates."""
    px = 1.0 / size  # one pixel in unit coordinates
    if not inside_rounded_rect(x, y, 0.0, 0.0, 1.0, 1.0, 0.18):
        return None
    colour = BACKGROUND
    if not inside_rounded_rect(x, y, px, px, 1.0 - px, 1.0 - px, 0.18 - px):
        colour = BORDER
    # Bar gauge: a slot with its lower 60 % filled.
    slot = (0.14, 0.16, 0.30, 0.84)
    if slot[0] <= x <= slot[2] and slot[1] <= y <= slot[3]:
        level = slot[3] - 0.6 * (slot[3] - slot[1])
        colour = GAUGE if y >= level else SLOT
    # Graph area: two faint grid lines, then the line itself.
    if 0.38 <= x <= 0.88:
        for grid_y in (0.36, 0.60):
            if abs(y - grid_y) <= max(px * 0.5, 0.012):
                colour = GRID
        width = max(1.0 * px, 0.075) / 2
        for (ax, ay), (bx, by) in zip(GRAPH_POINTS, GRAPH_POINTS[1:]):
            if distance_to_segment(x, y, ax, ay, bx, by) <= width:
                colour = GRAPH
    # A baseline under the graph.
    if 0.38 <= x <= 0.88 and abs(y - 0.84) <= max(px * 0.5, 0.02):
        colour = BORDER
    return colour


def render(size):
    """Rows of (r, g, b, a), top row first."""
    rows = []
    n = SUPERSAMPLE
    for row in range(size):
        line = []
        for col in range(size):
            r = g = b = count = 0
            for sy in range(n):
                for sx in range(n):
                    c = sample((col + (sx + 0.5) / n) / size, (row + (sy + 0.5) / n) / size, size)
                    if c is not None:
                        r, g, b, count = r + c[0], g + c[1], b + c[2], count + 1
            if count == 0:
                line.append((0, 0, 0, 0))
            else:
                line.append((r // count, g // count, b // count, round(255 * count / (n * n))))
        rows.append(line)
    return rows


def icon_image(size):
    """A 32-bit DIB as icons hold it: header, BGRA rows bottom-up, then the AND mask."""
    rows = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for line in reversed(rows) for (r, g, b, a) in line)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for line in reversed(rows):
        bits = bytearray(mask_stride)
        for col, (_, _, _, a) in enumerate(line):
            if a == 0:
                bits[col // 8] |= 0x80 >> (col % 8)
        mask += bits
    return header + pixels + bytes(mask)


def main():
    images = [icon_image(size) for size in SIZES]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, image in zip(SIZES, images):
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "Quelmo.ico")
    with open(out, "wb") as f:
        f.write(directory + entries + b"".join(images))
    print("wrote", out)


if __name__ == "__main__":
    main()
