#!/usr/bin/env python3
"""Draws the program's icon and writes it as a Windows .ico file.

    tools/make_icon.py shell/resources/photos_norvalis.ico

The icon is a photo frame holding a picture with a sun and the letter N. It
is drawn at 256x256 (32 bpp, PNG-compressed, as Windows Vista and later read
it) and at 48x48, 32x32 and 16x16, each at 4, 8 and 32 bpp, so the shell finds
an image for every size and colour depth it asks for. The output depends on
nothing but this script, so running it again gives the same bytes.
"""

import struct
import sys
import zlib

# Shapes on a 256-unit square, painted in order; each is (test, colour).
OUTLINE = (0x2B, 0x3A, 0x4A)
FRAME = (0xF4, 0xF1, 0xEA)
SKY_TOP = (0x1C, 0x55, 0x86)
SKY_BOTTOM = (0x3A, 0x9A, 0xC8)
SUN = (0xF6, 0xB9, 0x3B)
LETTER = (0xFF, 0xFF, 0xFF)

# The 16 colours of the standard VGA palette, which 4 bpp images use.
VGA = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

# The images of the icon, in the order the directory lists them.
IMAGES = [(256, 32)] + [(size, bpp) for size in (48, 32, 16) for bpp in (4, 8, 32)]


def in_rounded_rect(x, y, left, top, right, bottom, radius):
    if not (left <= x <= right and top <= y <= bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def in_convex_polygon(x, y, points):
    """Whether (x, y) lies inside `points`, given clockwise on screen."""
    for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
        if (x1 - x0) * (y - y0) - (y1 - y0) * (x - x0) < 0:
            return False
    return True


# The letter: two stems and the diagonal joining the top of the left one to
# the foot of the right one.
LETTER_PARTS = [
    [(72, 68), (102, 68), (102, 196), (72, 196)],
    [(154, 68), (184, 68), (184, 196), (154, 196)],
    [(72, 68), (106, 68), (184, 196), (150, 196)],
]


def colour_at(x, y, detailed):
    """The RGBA colour of the point (x, y), or None where the icon is clear."""
    if not in_rounded_rect(x, y, 16, 16, 240, 240, 28):
        return None
    if not in_rounded_rect(x, y, 24, 24, 232, 232, 21):
        return OUTLINE
    if not in_rounded_rect(x, y, 42, 42, 214, 214, 8):
        return FRAME
    if any(in_convex_polygon(x, y, part) for part in LETTER_PARTS):
        return LETTER
    # The sun would be a smudge of a pixel or two in the smallest image.
    if detailed and (x - 190) ** 2 + (y - 74) ** 2 <= 17 * 17:
        return SUN
    t = (y - 42) / (214 - 42)
    return tuple(round(a + (b - a) * t) for a, b in zip(SKY_TOP, SKY_BOTTOM))


def render(size):
    """Rows of (r, g, b, a) pixels, top row first, 4x4 samples a pixel."""
    samples = 4
    detailed = size >= 32
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) * 256 / size
                    y = (py + (sy + 0.5) / samples) * 256 / size
                    colour = colour_at(x, y, detailed)
                    if colour is not None:
                        r += colour[0]
                        g += colour[1]
                        b += colour[2]
                        a += 1
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                n = samples * samples
                row.append((round(r / a), round(g / a), round(b / a), round(255 * a / n)))
        rows.append(row)
    return rows


def png(rows):
    size = len(rows)
    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((p - c) ** 2 for p, c in zip(palette[i], colour)))


def adaptive_palette(rows):
    """The 256 colours most used by the visible pixels, at 5 bits a channel."""
    counts = {}
    for row in rows:
        for r, g, b, a in row:
            if a >= 128:
                key = (r & 0xF8, g & 0xF8, b & 0xF8)
                counts[key] = counts.get(key, 0) + 1
    palette = sorted(counts, key=lambda c: (-counts[c], c))[:256]
    return palette + [(0, 0, 0)] * (256 - len(palette))


def padded(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def bitmap(rows, bpp):
    """A DIB as .ico files hold it: header, palette, colour rows, AND mask."""
    size = len(rows)
    bottom_up = rows[::-1]
    palette = []
    if bpp == 4:
        palette = VGA
    elif bpp == 8:
        palette = adaptive_palette(rows)

    colour = b""
    for row in bottom_up:
        if bpp == 32:
            line = bytes(c for r, g, b, a in row for c in (b, g, r, a))
        else:
            cache = {}
            indices = []
            for r, g, b, a in row:
                if a < 128:
                    indices.append(0)
                    continue
                key = (r, g, b)
                if key not in cache:
                    cache[key] = nearest(palette, key)
                indices.append(cache[key])
            if bpp == 8:
                line = bytes(indices)
            else:
                line = bytes((indices[i] << 4) | indices[i + 1] for i in range(0, size, 2))
        colour += padded(line)

    # The AND mask marks the transparent pixels; 32 bpp images carry their
    # own alpha, but older readers still use the mask.
    mask = b""
    for row in bottom_up:
        bits = 0
        line = bytearray()
        for i, pixel in enumerate(row):
            bits = (bits << 1) | (pixel[3] < 128)
            if i % 8 == 7:
                line.append(bits)
                bits = 0
        mask += padded(bytes(line))

    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bpp, 0,
                         len(colour) + len(mask), 0, 0, len(palette), 0)
    quads = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + quads + colour + mask


def icon():
    renders = {}
    entries = []
    for size, bpp in IMAGES:
        if size not in renders:
            renders[size] = render(size)
        data = png(renders[size]) if size == 256 else bitmap(renders[size], bpp)
        entries.append((size, bpp, data))

    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for size, bpp, data in entries:
        colours = 16 if bpp == 4 else 0
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bpp, len(data),
                           offset)
        offset += len(data)
    return out + b"".join(data for _, _, data in entries)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: tools/make_icon.py OUTPUT.ico")
    with open(sys.argv[1], "wb") as f:
        f.write(icon())


if __name__ == "__main__":
    main()
