#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Draws the application icon at every size the desktop asks for.

The design is the 32 x 32, 16-colour window icon (ui/resources/velmora.xpm):
a small web page in a browser window. Its shapes are given here on that
32-unit grid. Each size places them on its own pixel grid: every edge falls on
a whole pixel, lines keep a weight that suits the size instead of growing with
it, and nothing is smoothed, so every rendition stays as crisp as the window
icon and keeps its 16 colours. At 32 px the drawing is the window icon, pixel
for pixel (checked on every run).

    packaging/icons/make_icons.py [OUT_DIR]

writes OUT_DIR/hicolor/NxN/apps/ID.png for N in 48, 64, 128, 256 and
OUT_DIR/hicolor/scalable/apps/ID.svg; OUT_DIR defaults to this folder.
Only the standard library is used, and the output is the same on every run.
"""

import os
import struct
import sys
import zlib

ICON_ID = "invalid.velmora.velmora"
SIZES = (48, 64, 128, 256)
HERE = os.path.dirname(os.path.abspath(__file__))
WINDOW_ICON = os.path.join(HERE, "..", "..", "ui", "resources", "velmora.xpm")

BLACK = (0x00, 0x00, 0x00)
NAVY = (0x00, 0x00, 0x80)
MAROON = (0x80, 0x00, 0x00)
SILVER = (0xC0, 0xC0, 0xC0)
GREY = (0x80, 0x80, 0x80)
RED = (0xFF, 0x00, 0x00)
CYAN = (0x00, 0xFF, 0xFF)
WHITE = (0xFF, 0xFF, 0xFF)

# Shapes on the 32-unit grid, painted in order: ("rect", x0, y0, x1, y1, colour)
# fills a box; ("dot", ...) is a round spot that fills its box; ("stroke", x0,
# y0, x1, y1, colour) is a line of the size's weight along the given centre
# line, with square ends; ("cross", ...) marks a button's box as the close
# button. At 32 px every stroke is one pixel wide, on the pixels its centre
# line runs through, and the cross is the button's middle pixel.
TEXT_LINES = ((17, 29), (19, 26), (21, 29), (23, 23), (25, 28), (27, 29), (29, 20))
LINK_BARS = (17, 20, 23, 26)


def design():
    shapes = [
        ("rect", 1, 1, 31, 6, NAVY),  # title bar
        ("rect", 19, 2, 22, 5, SILVER),  # its three buttons
        ("rect", 23, 2, 26, 5, SILVER),
        ("rect", 27, 2, 30, 5, SILVER),
        ("cross", 27, 2, 30, 5, BLACK),
        ("rect", 1, 6, 31, 9, SILVER),  # tool bar with the address field
        ("rect", 2, 7, 30, 8, WHITE),
        ("rect", 1, 9, 31, 10, GREY),
        ("rect", 1, 10, 31, 16, CYAN),  # heading strip
        ("dot", 3, 12, 5, 14, RED),
        ("dot", 27, 12, 29, 14, RED),
        ("stroke", 8.5, 11.5, 8.5, 14.5, BLACK),  # H
        ("stroke", 10.5, 11.5, 10.5, 14.5, BLACK),
        ("stroke", 8.5, 12.5, 10.5, 12.5, BLACK),
        ("stroke", 12.5, 11.5, 14.5, 11.5, BLACK),  # T
        ("stroke", 13.5, 11.5, 13.5, 14.5, BLACK),
        ("stroke", 16.5, 11.5, 16.5, 14.5, BLACK),  # M
        ("stroke", 20.5, 11.5, 20.5, 14.5, BLACK),
        ("stroke", 16.5, 11.5, 18.5, 13.5, BLACK),
        ("stroke", 20.5, 11.5, 18.5, 13.5, BLACK),
        ("stroke", 22.5, 11.5, 22.5, 14.5, BLACK),  # L
        ("stroke", 22.5, 14.5, 24.5, 14.5, BLACK),
        ("rect", 1, 16, 31, 31, WHITE),  # the page
    ]
    shapes += [("rect", 2, y, 9, y + 2, MAROON) for y in LINK_BARS]
    shapes += [("stroke", 11.5, y + 0.5, end - 0.5, y + 0.5, BLACK) for y, end in TEXT_LINES]
    return shapes


def weight(size):
    """Line weight in pixels: one up to 64 px, then slowly heavier."""
    return max(1, round(size / 48))


class Rendition:
    """One size: the pixels and the same picture as SVG elements."""

    def __init__(self, size):
        self.size = size
        self.w = weight(size)
        self.pixels = [[BLACK] * size for _ in range(size)]  # the frame shows where nothing is drawn
        self.svg = ['<rect width="%d" height="%d" fill="#000000"/>' % (size, size)]

    def at(self, u):
        """Pixel position of grid line u: the frame keeps the line weight, the
        inside shares the rest."""
        if u <= 1:
            return u * self.w
        if u >= 31:
            return self.size - (32 - u) * self.w
        return self.w + (u - 1) * (self.size - 2 * self.w) / 30

    def px(self, u):
        return int(self.at(u) + 0.5)

    def fill(self, x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(self.size, y1)):
            row = self.pixels[y]
            for x in range(max(0, x0), min(self.size, x1)):
                row[x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        box = (self.px(x0), self.px(y0), self.px(x1), self.px(y1))
        self.fill(*box, colour)
        self.svg.append('<rect x="%d" y="%d" width="%d" height="%d" fill="%s"/>'
                        % (box[0], box[1], box[2] - box[0], box[3] - box[1], hexcolour(colour)))

    def dot(self, x0, y0, x1, y1, colour):
        bx0, by0, bx1, by1 = self.px(x0), self.px(y0), self.px(x1), self.px(y1)
        cx, cy, r = (bx0 + bx1) / 2, (by0 + by1) / 2, (bx1 - bx0) / 2
        for y in range(by0, by1):
            for x in range(bx0, bx1):
                # up to 3 px across a spot is a square, as on the window icon
                if r <= 1.5 or (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.pixels[y][x] = colour
        self.svg.append('<circle cx="%g" cy="%g" r="%g" fill="%s"/>' % (cx, cy, r, hexcolour(colour)))

    def cross(self, x0, y0, x1, y1, colour):
        cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
        # in units; below 64 px a cross has no room, and a spot stands for it
        half = 0.45 if self.size < 64 else 0.8
        w = max(1, self.w - 1)
        self.stroke(cx - half, cy - half, cx + half, cy + half, colour, w)
        self.stroke(cx - half, cy + half, cx + half, cy - half, colour, w)

    def stroke(self, x0, y0, x1, y1, colour, w=None):
        w = w or self.w
        half = w / 2
        ax, ay, bx, by = self.at(x0), self.at(y0), self.at(x1), self.at(y1)
        if ay == by:  # across
            left, right = int(min(ax, bx) - half + 0.5), int(max(ax, bx) + half + 0.5)
            top = int(ay - half + 0.5)
            self.fill(left, top, right, top + w, colour)
        elif ax == bx:  # down
            top, bottom = int(min(ay, by) - half + 0.5), int(max(ay, by) + half + 0.5)
            left = int(ax - half + 0.5)
            self.fill(left, top, left + w, bottom, colour)
        else:
            # slanted: a run of w pixels in every pixel row, a clean staircase
            top, bottom = int(min(ay, by) - half + 0.5), int(max(ay, by) + half + 0.5)
            for y in range(top, bottom):
                t = min(1.0, max(0.0, (y + 0.5 - ay) / (by - ay)))
                left = int(ax + t * (bx - ax) - half + 0.5)
                self.fill(left, y, left + w, y + 1, colour)
        self.svg.append('<line x1="%g" y1="%g" x2="%g" y2="%g" stroke="%s" stroke-width="%d" '
                        'stroke-linecap="square"/>' % (ax, ay, bx, by, hexcolour(colour), w))


def hexcolour(colour):
    return "#%02X%02X%02X" % colour


def draw(size):
    r = Rendition(size)
    for kind, x0, y0, x1, y1, colour in design():
        getattr(r, kind)(x0, y0, x1, y1, colour)
    return r


def png(r):
    raw = b"".join(b"\x00" + bytes(v for px in row for v in px) for row in r.pixels)
    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data))
    header = struct.pack(">IIBBBBB", r.size, r.size, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def read_xpm(path):
    with open(path, encoding="ascii") as f:
        rows = [line.strip().rstrip(",").strip('"') for line in f if line.strip().startswith('"')]
    width, height, ncolours, _ = (int(v) for v in rows[0].split())
    palette = {}
    for line in rows[1:1 + ncolours]:
        palette[line[0]] = tuple(int(line[-6:][i:i + 2], 16) for i in (0, 2, 4))
    return [[palette[ch] for ch in row] for row in rows[1 + ncolours:1 + ncolours + height]]


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else HERE
    if draw(32).pixels != read_xpm(WINDOW_ICON):
        sys.exit("make_icons: the design no longer draws the window icon at 32 px")
    for size in SIZES:
        path = os.path.join(out, "hicolor", "%dx%d" % (size, size), "apps", ICON_ID + ".png")
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(png(draw(size)))
    # The scalable picture has the largest rendition's geometry.
    path = os.path.join(out, "hicolor", "scalable", "apps", ICON_ID + ".svg")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write('<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
                'viewBox="0 0 256 256" shape-rendering="crispEdges">\n')
        for element in draw(256).svg:
            f.write("  " + element + "\n")
        f.write("</svg>\n")


if __name__ == "__main__":
    main()
