#!/usr/bin/env python3
"""Draws the program's two pictures into res/: the icon and the notice picture.

res/Lumivar.ico: icon IDI_LUMIVAR, a white power symbol on a round blue badge, 32x32
and 16x16, 16 colours each with an AND mask.
res/Notice.bmp: bitmap IDB_NOTICE, the countdown window's background, 313x198, 256
colours, RLE8. The window paints white text on its dark top and bottom bands
and purple text on the light middle.

With --hicolor, it draws the same icon in full colour with soft edges instead,
at the sizes of the desktop's icon theme, as <DIR>/<N>x<N>/apps/lumivar.png
(the build does this for the Linux desktop entry).

With --check, it writes nothing: it fails, naming the file, when a picture in
RES_FOLDER is not what this script draws (the tests run it so).

Usage: make_assets.py [--check] [RES_FOLDER] | make_assets.py --hicolor DIR.
Standard library only; the output depends on nothing but this script, so
running it again gives the same bytes.
"""

import math
import os
import struct
import sys
import zlib

SAMPLES = 4  # per pixel and axis, for smooth edges

# Picture drawing: shapes are functions (x, y) -> inside, in pixel units with
# (0, 0) at the top-left corner of the top-left pixel.


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r, width, gap_degrees=0.0):
    """A circle's outline, open by gap_degrees around straight up, with round ends."""
    half = width / 2
    ends = []
    if gap_degrees:
        for sign in (-1, 1):
            angle = math.radians(-90 + sign * gap_degrees / 2)
            ends.append(disc(cx + r * math.cos(angle), cy + r * math.sin(angle), half))

    def inside(x, y):
        if abs(math.hypot(x - cx, y - cy) - r) <= half:
            # Angle from straight up, 0 to 180 either way.
            off = abs(math.degrees(math.atan2(x - cx, -(y - cy))))
            if off >= gap_degrees / 2:
                return True
        return any(end(x, y) for end in ends)

    return inside


def capsule(x0, y0, x1, y1, width):
    half = width / 2

    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= half

    return inside


def coverage(shape, px, py):
    hits = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            hits += shape(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
    return hits / (SAMPLES * SAMPLES)


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


class Canvas:
    def __init__(self, width, height, fill=(0, 0, 0)):
        self.width, self.height = width, height
        self.pixels = [[tuple(map(float, fill))] * width for _ in range(height)]

    def rows(self, top, bottom, colour_of_row):
        for y in range(max(0, top), min(self.height, bottom)):
            self.pixels[y] = [colour_of_row(y)] * self.width

    def paint(self, shape, box, colour, opacity=1.0):
        left, top, right, bottom = (int(math.floor(v)) for v in box)
        for y in range(max(0, top), min(self.height, bottom + 1)):
            for x in range(max(0, left), min(self.width, right + 1)):
                c = coverage(shape, x, y) * opacity
                if c:
                    self.pixels[y][x] = mix(self.pixels[y][x], colour, c)


# Colour reduction: median cut over the colours used, weighted by pixel count.


def median_cut(histogram, count):
    boxes = [sorted(histogram.items())]
    while len(boxes) < count:
        splittable = [b for b in boxes if len(b) > 1]
        if not splittable:
            break

        def extent(box):
            return max(max(c[0][i] for c in box) - min(c[0][i] for c in box) for i in range(3))

        box = max(splittable, key=lambda b: (extent(b) * math.sqrt(sum(n for _, n in b)), b[0]))
        boxes.remove(box)
        channel = max(range(3), key=lambda i: max(c[0][i] for c in box) - min(c[0][i] for c in box))
        box.sort(key=lambda entry: (entry[0][channel], entry[0]))
        total = sum(n for _, n in box)
        running, cut = 0, 1
        for i, (_, n) in enumerate(box[:-1]):
            running += n
            cut = i + 1
            if running * 2 >= total:
                break
        boxes += [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        total = sum(n for _, n in box)
        palette.append(tuple(round(sum(c[i] * n for c, n in box) / total) for i in range(3)))
    return sorted(set(palette))


def quantise(canvas, count, mask=None):
    """Palette of at most count colours and the canvas as rows of indices."""
    histogram = {}
    for y, row in enumerate(canvas.pixels):
        for x, colour in enumerate(row):
            if mask is None or mask[y][x]:
                key = tuple(round(v) for v in colour)
                histogram[key] = histogram.get(key, 0) + 1
    palette = median_cut(histogram, count)
    nearest = {}
    for colour in histogram:
        nearest[colour] = min(range(len(palette)),
                              key=lambda i: sum((palette[i][k] - colour[k]) ** 2 for k in range(3)))
    indices = [[nearest.get(tuple(round(v) for v in colour), 0) for colour in row]
               for row in canvas.pixels]
    return palette, indices


# Icon IDI_LUMIVAR


BADGE_TOP = (92, 168, 240)
BADGE_BOTTOM = (22, 82, 178)
BADGE_RIM = (14, 46, 110)
SYMBOL = (255, 255, 255)


def draw_icon(size):
    canvas = Canvas(size, size)
    centre = size / 2
    radius = size / 2 - 0.25
    canvas.rows(0, size, lambda y: mix(BADGE_TOP, BADGE_BOTTOM, y / (size - 1)))
    rim = ring(centre, centre, radius - 0.6, 1.2 if size > 16 else 1.0)
    canvas.paint(rim, (0, 0, size, size), BADGE_RIM)
    stroke = max(size * 0.09, 1.8)  # thinner strokes blur away at 16 pixels
    arc = size * 0.25
    canvas.paint(ring(centre, centre + size * 0.03, arc, stroke, 80),
                 (0, 0, size, size), SYMBOL)
    canvas.paint(capsule(centre, centre - size * 0.29, centre, centre - size * 0.02, stroke),
                 (0, 0, size, size), SYMBOL)
    badge = disc(centre, centre, radius)
    opaque = [[coverage(badge, x, y) >= 0.5 for x in range(size)] for y in range(size)]
    return canvas, opaque


def icon_image(size):
    canvas, opaque = draw_icon(size)
    # Index 0 is black: with the AND mask set it leaves the screen untouched.
    palette, indices = quantise(canvas, 15, opaque)
    palette = [(0, 0, 0)] + palette + [(0, 0, 0)] * (15 - len(palette))
    xor = bytearray()
    and_mask = bytearray()
    for y in reversed(range(size)):  # bottom-up rows
        row = [indices[y][x] + 1 if opaque[y][x] else 0 for x in range(size)]
        xor += bytes((row[x] << 4) | row[x + 1] for x in range(0, size, 2))
        xor += bytes(-len(xor) % 4)
        bits = 0
        line = bytearray()
        for x in range(size):
            bits = (bits << 1) | (0 if opaque[y][x] else 1)
            if x % 8 == 7:
                line.append(bits)
                bits = 0
        and_mask += line + bytes(-len(line) % 4)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(and_mask),
                         0, 0, 16, 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + colours + bytes(xor) + bytes(and_mask)


def make_icon():
    images = [icon_image(32), icon_image(16)]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, image in zip((32, 16), images):
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return directory + entries + b"".join(images)


# The desktop icons


HICOLOR_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def png(width, height, rows):
    """A truecolour PNG with alpha from rows of (r, g, b, a) tuples."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b"".join(b"\x00" + bytes(v for pixel in row for v in pixel) for row in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def hicolor_icon(size):
    canvas, _ = draw_icon(size)
    badge = disc(size / 2, size / 2, size / 2 - 0.25)
    rows = [[tuple(round(v) for v in canvas.pixels[y][x]) + (round(255 * coverage(badge, x, y)),)
             for x in range(size)] for y in range(size)]
    return png(size, size, rows)


def write_hicolor(folder):
    for size in HICOLOR_SIZES:
        directory = os.path.join(folder, f"{size}x{size}", "apps")
        os.makedirs(directory, exist_ok=True)
        with open(os.path.join(directory, "lumivar.png"), "wb") as stream:
            stream.write(hicolor_icon(size))


# Bitmap IDB_NOTICE


NOTICE_WIDTH, NOTICE_HEIGHT = 313, 198
BAND_DARK = (52, 16, 66)
BAND_LIGHT = (94, 34, 112)
ACCENT = (196, 120, 206)
PAPER_TOP = (253, 251, 255)
PAPER_BOTTOM = (236, 228, 245)
WATERMARK = (214, 196, 228)
TOP_BAND, BOTTOM_BAND = 44, 168  # the white texts sit at y 16 and 180


def steps(a, b, t, levels=24):
    """A gradient in few levels, so that rows repeat and compress."""
    return mix(a, b, round(t * (levels - 1)) / (levels - 1))


def draw_notice():
    canvas = Canvas(NOTICE_WIDTH, NOTICE_HEIGHT)
    h = NOTICE_HEIGHT
    canvas.rows(0, TOP_BAND, lambda y: steps(BAND_DARK, BAND_LIGHT, y / (TOP_BAND - 1)))
    canvas.rows(TOP_BAND, TOP_BAND + 2, lambda y: ACCENT)
    canvas.rows(TOP_BAND + 2, BOTTOM_BAND - 2,
                lambda y: steps(PAPER_TOP, PAPER_BOTTOM, (y - TOP_BAND) / (BOTTOM_BAND - TOP_BAND)))
    canvas.rows(BOTTOM_BAND - 2, BOTTOM_BAND, lambda y: ACCENT)
    canvas.rows(BOTTOM_BAND, h,
                lambda y: steps(BAND_LIGHT, BAND_DARK, (y - BOTTOM_BAND) / (h - 1 - BOTTOM_BAND)))
    # A clock face left of the countdown line, which is painted from (100, 120).
    cx, cy, r = 66, 127, 19
    box = (cx - r - 3, cy - r - 3, cx + r + 3, cy + r + 3)
    canvas.paint(ring(cx, cy, r, 3.0), box, WATERMARK)
    for tick in range(12):
        angle = math.radians(tick * 30)
        inner = r - (6 if tick % 3 == 0 else 4)
        canvas.paint(capsule(cx + inner * math.sin(angle), cy - inner * math.cos(angle),
                             cx + (r - 2.5) * math.sin(angle), cy - (r - 2.5) * math.cos(angle),
                             1.6), box, WATERMARK)
    canvas.paint(capsule(cx, cy, cx, cy - r + 7, 2.4), box, WATERMARK)
    canvas.paint(capsule(cx, cy, cx + 9, cy + 4, 2.4), box, WATERMARK)
    canvas.paint(disc(cx, cy, 2.4), box, WATERMARK)
    # A small power symbol at the right of the top band, clear of the key hint.
    px, py = 288, 22
    symbol = (212, 170, 224)
    canvas.paint(ring(px, py + 1, 9, 2.6, 80), (px - 14, py - 14, px + 14, py + 14), symbol)
    canvas.paint(capsule(px, py - 10, px, py - 1, 2.6), (px - 14, py - 14, px + 14, py + 14),
                 symbol)
    return canvas


def rle8_row(row):
    """One row in BI_RLE8: runs as (count, index), others in absolute mode."""
    out = bytearray()
    i, n = 0, len(row)
    while i < n:
        run = 1
        while i + run < n and run < 255 and row[i + run] == row[i]:
            run += 1
        if run >= 2:
            out += bytes((run, row[i]))
            i += run
            continue
        # Literal stretch: up to the next run of three or more.
        end = i
        while end < n and end - i < 255:
            if end + 2 < n and row[end] == row[end + 1] == row[end + 2]:
                break
            end += 1
        literal = row[i:end]
        if len(literal) < 3:  # absolute mode needs at least three pixels
            for index in literal:
                out += bytes((1, index))
        else:
            out += bytes((0, len(literal))) + bytes(literal) + bytes(len(literal) % 2)
        i = end
    return out + b"\x00\x00"  # end of line


def make_notice():
    palette, indices = quantise(draw_notice(), 256)
    palette += [(0, 0, 0)] * (256 - len(palette))
    data = b"".join(rle8_row(indices[y]) for y in reversed(range(NOTICE_HEIGHT))) + b"\x00\x01"
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    offset = 14 + 40 + len(colours)
    pixels_per_metre = 3779  # 96 per inch
    info = struct.pack("<IiiHHIIiiII", 40, NOTICE_WIDTH, NOTICE_HEIGHT, 1, 8, 1, len(data),
                       pixels_per_metre, pixels_per_metre, 256, 0)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return header + info + colours + data


def main(argv):
    if argv[:1] == ["--hicolor"] and len(argv) == 2:
        write_hicolor(argv[1])
        return 0
    check = argv[:1] == ["--check"]
    argv = argv[check:]
    here = os.path.dirname(os.path.abspath(__file__))
    folder = argv[0] if argv else os.path.join(here, "..", "res")
    differ = []
    for name, content in (("Lumivar.ico", make_icon()), ("Notice.bmp", make_notice())):
        path = os.path.join(folder, name)
        if check:
            with open(path, "rb") as stream:
                if stream.read() != content:
                    differ.append(path)
            continue
        with open(path, "wb") as stream:
            stream.write(content)
    for path in differ:
        print(f"{path} is not what {os.path.basename(__file__)} draws: run it again", file=sys.stderr)
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
