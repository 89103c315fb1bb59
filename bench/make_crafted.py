#!/usr/bin/env python3
"""Writes the crafted inputs of the OCR benchmark into OUT_DIR: one file per
kind of hostile or textless image, at the sizes the imaging layer lets
through (10000 pixels a side, 64 MiB a file, 96 MiB decoded, JPEG and PNG
counted at a byte a pixel, the other formats at four), and walls of dense
small print.

    bench/make_crafted.py OUT_DIR

Beside the images, crafted.tsv lists each file, its class and whether it
holds text ("text") or none by intent ("no-text"); a wall's text is in
NAME.txt. Hostile bytes are laid out here by hand; the noise photo and the
walls come from ImageMagick (Debian's convert, DejaVu fonts). The same
ImageMagick writes the same files: every random choice is seeded.
"""

import math
import os
import struct
import subprocess
import sys
import zlib

CONVERT = "/usr/bin/convert"
LIMIT_SIDE = 10000
# The most pixels a format counted at four bytes a pixel may declare
# (96 MiB / 4): a square of this side is just under.
COLOR_SIDE = 5016


class Lcg:
    """Numbers that stay the same from one Python to the next."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self, bound):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return (self.state >> 8) % bound


# ---------------------------------------------------------------- JPEG


def segment(marker, payload=b""):
    return struct.pack(">BBH", 0xFF, marker, len(payload) + 2) + payload


def canonical_codes(lengths):
    """Huffman codes as bit strings from (symbol, length) pairs sorted by
    length, the way a DHT segment defines them."""
    codes = {}
    code = 0
    length = 1
    for symbol, symbol_length in lengths:
        while length < symbol_length:
            code <<= 1
            length += 1
        codes[symbol] = format(code, "0%db" % length)
        code += 1
    return codes


# Small tables of our own: the DC categories 0 to 11, four bits each; for
# the AC coefficients, an end of block and nonzero values up to 3.
DC_LENGTHS = [(s, 4) for s in range(12)]
AC_LENGTHS = [(0x00, 2), (0x01, 2), (0x02, 3)]
DC_CODES = canonical_codes(DC_LENGTHS)
AC_CODES = canonical_codes(AC_LENGTHS)


def dht(table_class, table_id, lengths):
    counts = [0] * 16
    for _, length in lengths:
        counts[length - 1] += 1
    return segment(0xC4, bytes([table_class << 4 | table_id]) + bytes(counts)
                   + bytes(symbol for symbol, _ in lengths))


def jpeg_head(sof, width, height, exif=b""):
    """SOI to the tables, for one gray component; `sof` is the frame
    marker (0xC0 baseline, 0xC2 progressive, 0xC9 arithmetic)."""
    head = b"\xff\xd8" + segment(0xE0, b"JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00")
    if exif:
        head += segment(0xE1, exif)
    # DC quantized by 8, so that a DC value is a gray level around 128.
    head += segment(0xDB, b"\x00" + bytes([8] + [16] * 63))
    head += segment(sof, struct.pack(">BHHB", 8, height, width, 1) + b"\x01\x11\x00")
    if sof != 0xC9:
        head += dht(0, 0, DC_LENGTHS) + dht(1, 0, AC_LENGTHS)
    return head


def sos(start=0, end=63, approximation=0):
    return segment(0xDA, bytes([1, 1, 0x00, start, end, approximation]))


def value_bits(value):
    size = abs(value).bit_length()
    if size == 0:
        return 0, ""
    return size, format(value if value > 0 else value + (1 << size) - 1, "0%db" % size)


class ScanWriter:
    """Entropy-coded bytes from bit strings: whole bytes as they fill,
    0xFF followed by a stuffed zero."""

    def __init__(self):
        self.out = bytearray()
        self.pending = ""

    def add(self, bits):
        bits = self.pending + bits
        whole = len(bits) // 8 * 8
        if whole:
            chunk = int(bits[:whole], 2).to_bytes(whole // 8, "big")
            self.out += chunk.replace(b"\xff", b"\xff\x00")
        self.pending = bits[whole:]

    def finish(self):
        if self.pending:
            self.add("1" * (8 - len(self.pending)))
        return bytes(self.out)


def gray_scan(width, height, dc_of, ac_of=None):
    """A one-component scan of DC levels `dc_of(column, row)` per block
    (-128 to 127 around mid-gray), and, with `ac_of`, the first AC
    coefficients of each block (nonzero, -3 to 3). Without `ac_of` it is
    a progressive first DC scan too, blocks carrying no AC part."""
    blocks_x = (width + 7) // 8
    blocks_y = (height + 7) // 8
    writer = ScanWriter()
    previous = 0
    dc_parts = {}
    for diff in range(-255, 256):
        size, bits = value_bits(diff)
        dc_parts[diff] = DC_CODES[size] + bits
    ac_parts = {}
    for value in (-3, -2, -1, 1, 2, 3):
        size, bits = value_bits(value)
        ac_parts[value] = AC_CODES[size] + bits
    end_of_block = AC_CODES[0x00]
    for by in range(blocks_y):
        parts = []
        for bx in range(blocks_x):
            dc = dc_of(bx, by)
            parts.append(dc_parts[dc - previous])
            previous = dc
            if ac_of is not None:
                for value in ac_of(bx, by):
                    parts.append(ac_parts[value])
                parts.append(end_of_block)
        writer.add("".join(parts))
    return writer.finish()


def exif_orientation(orientation):
    """An EXIF APP1 payload holding only the orientation tag."""
    ifd = struct.pack("<H", 1) + struct.pack("<HHII", 0x0112, 3, 1, orientation) + b"\x00" * 4
    return b"Exif\x00\x00" + b"II*\x00" + struct.pack("<I", 8) + ifd


def broken_exif():
    """EXIF whose directory is damaged every way a reader might trip on:
    more entries than the segment holds, an orientation of 9 stored as
    LONGs far past the end, and a next directory pointing back at itself."""
    entries = struct.pack("<HHII", 0x0112, 4, 0xFFFFFFFF, 0xFFFFFFF8)
    entries += struct.pack("<HHII", 0x8769, 4, 1, 0xFFFFFFF0)
    entries += struct.pack("<HHII", 0x0112, 3, 1, 9)
    ifd = struct.pack("<H", 0x7FFF) + entries + struct.pack("<I", 8)
    return b"Exif\x00\x00" + b"II*\x00" + struct.pack("<I", 8) + ifd


def photo_field(width, height, seed, coarse=True):
    """DC levels and AC values of a photo-like mosaic: smooth light and
    shade, no shapes; `coarse` adds a strong grain, as of gravel or cloth,
    else a faint one, as of a sensor."""
    random = Lcg(seed)
    blocks_x = (width + 7) // 8
    blocks_y = (height + 7) // 8
    across = [int(30 * math.sin(bx / 37.0) + 18 * math.sin(bx / 11.3)) for bx in range(blocks_x)]
    down = [int(26 * math.cos(by / 53.0) + 12 * math.sin(by / 7.9)) for by in range(blocks_y)]
    spread = 6 if coarse else 1
    grain = [random.next(2 * spread + 1) - spread for _ in range(4099)]
    values = (-3, -2, -1, 1, 2, 3) if coarse else (-1, 1)
    if coarse:
        ac = [(values[random.next(6)], values[random.next(6)]) for _ in range(4093)]
    else:
        # Most blocks flat, the rest one faint wave.
        ac = [(values[random.next(2)],) if random.next(3) == 0 else () for _ in range(4093)]

    def dc_of(bx, by):
        return max(-128, min(127, across[bx] + down[by] + grain[(bx * 31 + by * 17) % 4099]))

    def ac_of(bx, by):
        return ac[(bx * 7 + by * 13) % 4093]

    return dc_of, ac_of


def write_jpegs(out, manifest):
    side = LIMIT_SIDE
    flat = gray_scan(side, side, lambda bx, by: 127, lambda bx, by: ())
    noise_dc, noise_ac = photo_field(side, side, 7, coarse=False)
    noise = gray_scan(side, side, noise_dc, noise_ac)
    texture_dc, texture_ac = photo_field(side, side, 29)
    texture = gray_scan(side, side, texture_dc, texture_ac)

    baseline = jpeg_head(0xC0, side, side)
    write(out, "jpeg_blank_10000.jpg", baseline + sos() + flat + b"\xff\xd9")
    manifest.append(("jpeg_blank_10000.jpg", "blank", "no-text"))
    write(out, "jpeg_noise_10000.jpg", baseline + sos() + noise + b"\xff\xd9")
    manifest.append(("jpeg_noise_10000.jpg", "photo-noise", "no-text"))
    write(out, "jpeg_texture_10000.jpg", baseline + sos() + texture + b"\xff\xd9")
    manifest.append(("jpeg_texture_10000.jpg", "photo-texture", "no-text"))

    # A restart interval of one block and nothing but the markers: no
    # encoder writes it, and each interval could stand for any size.
    restarts = baseline + segment(0xDD, struct.pack(">H", 1)) + sos()
    restarts += bytes(b for n in range(32) for b in (0xFF, 0xD0 + n % 8)) + b"\xff\xd9"
    write(out, "jpeg_restart_markers_only.jpg", restarts)
    manifest.append(("jpeg_restart_markers_only.jpg", "jpeg-restart-only", "no-text"))

    write(out, "jpeg_eoi_after_sos.jpg", baseline + sos() + b"\xff\xd9")
    manifest.append(("jpeg_eoi_after_sos.jpg", "jpeg-eoi-after-sos", "no-text"))

    write(out, "jpeg_cut_short.jpg", baseline + sos() + noise[:2048])
    manifest.append(("jpeg_cut_short.jpg", "jpeg-cut-short", "no-text"))

    # Arithmetic coding with the default conditioning, and no data at all.
    write(out, "jpeg_arithmetic_no_data.jpg", jpeg_head(0xC9, side, side) + sos() + b"\xff\xd9")
    manifest.append(("jpeg_arithmetic_no_data.jpg", "jpeg-arithmetic", "no-text"))

    # The largest gray progressive frame the decoder takes (its
    # coefficients count two bytes a pixel more): one DC scan with data,
    # then 400 AC scans with none.
    progressive_side = 5792
    dc_of, _ = photo_field(progressive_side, progressive_side, 11)
    progressive = jpeg_head(0xC2, progressive_side, progressive_side)
    progressive += sos(0, 0, 0) + gray_scan(progressive_side, progressive_side, dc_of)
    progressive += sos(1, 63, 0) * 400 + b"\xff\xd9"
    write(out, "jpeg_progressive_400_empty_scans.jpg", progressive)
    manifest.append(("jpeg_progressive_400_empty_scans.jpg", "jpeg-empty-scans", "no-text"))

    # Orientations that turn the image across its diagonal; blank, so that
    # what they cost is the turning.
    for orientation in (5, 7):
        name = "jpeg_exif_%d_10000.jpg" % orientation
        write(out, name, jpeg_head(0xC0, side, side, exif_orientation(orientation))
              + sos() + flat + b"\xff\xd9")
        manifest.append((name, "exif-orientation", "no-text"))

    small = 1200
    dc_of, ac_of = photo_field(small, small, 3)
    write(out, "jpeg_broken_exif.jpg", jpeg_head(0xC0, small, small, broken_exif())
          + sos() + gray_scan(small, small, dc_of, ac_of) + b"\xff\xd9")
    manifest.append(("jpeg_broken_exif.jpg", "broken-exif", "no-text"))


# ---------------------------------------------------------------- PNG


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(width, height, depth, rows, interlace=0, cut=None):
    """A gray PNG of the filter-less rows `rows` yields (each without its
    filter byte); with `cut`, only that many bytes of compressed data
    follow, in an IDAT declaring more, and the file ends there."""
    head = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, 0, 0, 0, interlace))
    compressor = zlib.compressobj(9)
    data = bytearray()
    for row in rows:
        data += compressor.compress(b"\x00" + row)
        if cut is not None and len(data) > cut:
            break
    if cut is not None:
        data = bytes(data[:cut])
        return head + struct.pack(">I", 1 << 20) + b"IDAT" + data
    data += compressor.flush()
    return head + chunk(b"IDAT", bytes(data)) + chunk(b"IEND", b"")


def photo_rows(width, height, seed, variants=16):
    """Rows of a gray photo-like texture: a few random rows over a vertical
    gradient, picked in turn so that the data compresses."""
    random = Lcg(seed)
    base = [bytes(150 + random.next(60) for _ in range(width)) for _ in range(variants)]
    for y in range(height):
        shade = y * 40 // height
        yield base[(y * 7 + y // 5) % variants].translate(bytes(max(0, v - shade) for v in range(256)))


def adam7(width, height, rows_of):
    """The rows of the seven interlace passes, from `rows_of(y)`."""
    passes = ((0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2))
    for x0, y0, dx, dy in passes:
        if x0 >= width or y0 >= height:
            continue
        for y in range(y0, height, dy):
            yield rows_of(y)[x0::dx]


def write_pngs(out, manifest):
    side = LIMIT_SIDE
    white = b"\xff" * side
    write(out, "png_blank_10000.png", png(side, side, 8, (white for _ in range(side))))
    manifest.append(("png_blank_10000.png", "blank", "no-text"))

    write(out, "png_16bit_10000.png", png(side, side, 16, (b"\xff" * 2 * side for _ in range(side))))
    manifest.append(("png_16bit_10000.png", "png-16-bit", "no-text"))

    # An interlaced PNG counts five bytes a pixel: this is the largest
    # square the decoder takes.
    interlaced = 4480
    rows = list(photo_rows(interlaced, interlaced, 5, variants=8))
    write(out, "png_interlaced_limit.png", png(interlaced, interlaced, 8, adam7(interlaced, interlaced, rows.__getitem__), interlace=1))
    manifest.append(("png_interlaced_limit.png", "png-interlaced", "no-text"))

    write(out, "png_truncated_100mp.png", png(side, side, 8, photo_rows(side, side, 9), cut=4096))
    manifest.append(("png_truncated_100mp.png", "truncated", "no-text"))

    write(out, "png_blank_1000.png", png(1000, 1000, 8, (b"\xff" * 1000 for _ in range(1000))))
    manifest.append(("png_blank_1000.png", "blank", "no-text"))


# ---------------------------------------------------------------- TIFF

SHORT, LONG = 3, 4


def tiff(entries, data):
    """A little-endian TIFF: the header, `data` (offsets in entries count
    from its start, at 8), then one directory of `entries`, (tag, type,
    values), the last; values that do not fit an entry follow it."""
    ifd_offset = 8 + len(data)
    ifd_offset += ifd_offset % 2
    extra_offset = ifd_offset + 2 + 12 * len(entries) + 4
    table = bytearray(struct.pack("<H", len(entries)))
    extra = bytearray()
    for tag, kind, values in sorted(entries):
        packed = b"".join(struct.pack("<H" if kind == SHORT else "<I", v) for v in values)
        if len(packed) <= 4:
            table += struct.pack("<HHI", tag, kind, len(values)) + packed.ljust(4, b"\x00")
        else:
            table += struct.pack("<HHII", tag, kind, len(values), extra_offset + len(extra))
            extra += packed
    table += struct.pack("<I", 0)
    head = b"II*\x00" + struct.pack("<I", ifd_offset)
    return head + data + b"\x00" * (ifd_offset - 8 - len(data)) + bytes(table) + bytes(extra)


def image_entries(width, height, samples, bits, compression, photometric, offsets, counts, rows_per_strip):
    entries = [
        (256, LONG, [width]), (257, LONG, [height]), (258, SHORT, [bits] * samples),
        (259, SHORT, [compression]), (262, SHORT, [photometric]), (273, LONG, offsets),
        (277, SHORT, [samples]), (278, LONG, [rows_per_strip]), (279, LONG, counts),
    ]
    if samples > 1:
        entries.append((284, SHORT, [1]))
    return entries


def strips(rows, rows_per_strip, compress):
    data = bytearray()
    offsets = []
    counts = []
    pending = []
    for row in rows:
        pending.append(row)
        if len(pending) == rows_per_strip:
            block = compress(b"".join(pending))
            offsets.append(8 + len(data))
            counts.append(len(block))
            data += block
            pending = []
    if pending:
        block = compress(b"".join(pending))
        offsets.append(8 + len(data))
        counts.append(len(block))
        data += block
    return bytes(data), offsets, counts


def rgb_rows(width, height, seed):
    """Color rows of the same texture: each channel the gray row shifted."""
    for row in photo_rows(width, height, seed, variants=8):
        yield bytes(b for triple in zip(row, row[1:] + row[:1], row[2:] + row[:2]) for b in triple)


def packbits_white(byte_count):
    """A row of `byte_count` equal bytes 0x00 (white, MinIsWhite) in
    PackBits runs of 128."""
    out = bytearray()
    while byte_count:
        run = min(128, byte_count)
        out += bytes([257 - run if run > 1 else 0, 0x00])
        byte_count -= run
    return bytes(out)


def write_tiffs(out, manifest):
    deflate = lambda block: zlib.compress(block, 6)
    side = COLOR_SIDE

    # Color near the decoder's limit, in strips of 16 rows.
    rows = list(rgb_rows(side, 64, 13))
    data, offsets, counts = strips((rows[y % 64] for y in range(side)), 16, deflate)
    write(out, "tiff_rgb_limit.tif", tiff(image_entries(side, side, 3, 8, 8, 2, offsets, counts, 16), data))
    manifest.append(("tiff_rgb_limit.tif", "tiff-rgb", "no-text"))

    # Tiled color near the limit, 256 x 256 tiles.
    tiles_x, tiles_y, tile = 20, 19, 256
    width, height = tiles_x * tile, tiles_y * tile
    tile_rows = list(rgb_rows(tile, tile, 17))
    tile_bytes = deflate(b"".join(tile_rows))
    data = tile_bytes * (tiles_x * tiles_y)
    offsets = [8 + i * len(tile_bytes) for i in range(tiles_x * tiles_y)]
    counts = [len(tile_bytes)] * (tiles_x * tiles_y)
    entries = [e for e in image_entries(width, height, 3, 8, 8, 2, [0], [0], 0) if e[0] not in (273, 278, 279)]
    entries += [(322, SHORT, [tile]), (323, SHORT, [tile]), (324, LONG, offsets), (325, LONG, counts)]
    write(out, "tiff_tiled_limit.tif", tiff(entries, data))
    manifest.append(("tiff_tiled_limit.tif", "tiff-tiled", "no-text"))

    # Every row's strip is the same bytes.
    white_row = b"\xff" * side
    entries = image_entries(side, side, 1, 8, 1, 1, [8] * side, [side] * side, 1)
    write(out, "tiff_shared_strip.tif", tiff(entries, white_row))
    manifest.append(("tiff_shared_strip.tif", "tiff-shared-strip", "no-text"))

    # Cut short: the strips declare the whole image, the file holds 4 KiB.
    entries = image_entries(side, side, 3, 8, 1, 2, [8], [side * side * 3], side)
    write(out, "tiff_truncated_rgb_25mp.tif", tiff(entries, next(rgb_rows(side, 1, 19))[:4096]))
    manifest.append(("tiff_truncated_rgb_25mp.tif", "truncated", "no-text"))
    limit = LIMIT_SIDE
    row_bytes = limit // 8
    entries = image_entries(limit, limit, 1, 1, 1, 0, [8], [row_bytes * limit], limit)
    write(out, "tiff_truncated_bilevel_100mp.tif", tiff(entries, b"\x00" * 4096))
    manifest.append(("tiff_truncated_bilevel_100mp.tif", "truncated", "no-text"))

    # Black and white at the size limit, blank, in PackBits strips.
    data, offsets, counts = strips((packbits_white(row_bytes) for _ in range(limit)), 100, lambda block: block)
    write(out, "tiff_bilevel_blank_100mp.tif", tiff(image_entries(limit, limit, 1, 1, 32773, 0, offsets, counts, 100), data))
    manifest.append(("tiff_bilevel_blank_100mp.tif", "blank", "no-text"))

    # Two directories, each naming the other as the next: the second is a
    # copy of the first's entries, whose values it shares.
    small = 64
    pixels = b"\xff" * (small * small)
    looped = bytearray(tiff(image_entries(small, small, 1, 8, 1, 1, [8], [len(pixels)], small), pixels))
    first = struct.unpack("<I", looped[4:8])[0]
    next_at = first + 2 + 12 * struct.unpack("<H", looped[first:first + 2])[0]
    looped += b"\x00" * (len(looped) % 2)
    second = len(looped)
    looped += looped[first:next_at] + struct.pack("<I", first)
    struct.pack_into("<I", looped, next_at, second)
    write(out, "tiff_ifd_loop.tif", bytes(looped))
    manifest.append(("tiff_ifd_loop.tif", "tiff-ifd-loop", "no-text"))

    write(out, "bigtiff_next_ifd_wraps.tif", bigtiff_next_wraps())
    manifest.append(("bigtiff_next_ifd_wraps.tif", "bigtiff-offset-wrap", "no-text"))


def bigtiff_next_wraps():
    """A BigTIFF of one valid 4 x 4 page whose next directory is at
    2^64 - 8: an offset plus a size that wraps."""
    pixels = b"\xff" * 16
    entries = [(256, 3, 4), (257, 3, 4), (258, 3, 8), (259, 3, 1), (262, 3, 1),
               (273, 16, 16), (277, 3, 1), (278, 3, 4), (279, 16, 16)]
    ifd = struct.pack("<Q", len(entries))
    for tag, kind, value in entries:
        ifd += struct.pack("<HHQQ", tag, kind, 1, value)
    ifd += struct.pack("<Q", (1 << 64) - 8)
    return b"II+\x00" + struct.pack("<HHQ", 8, 0, 32) + pixels + ifd


# ---------------------------------------------------------------- GIF


class LzwWriter:
    """GIF's variable-width codes, least significant bit first, in
    sub-blocks of 255 bytes."""

    def __init__(self, minimum):
        self.minimum = minimum
        self.bits = 0
        self.count = 0
        self.out = bytearray()

    def code(self, value, width):
        self.bits |= value << self.count
        self.count += width
        while self.count >= 8:
            self.out.append(self.bits & 0xFF)
            self.bits >>= 8
            self.count -= 8

    def finish(self):
        if self.count:
            self.out.append(self.bits & 0xFF)
        blocks = bytearray([self.minimum])
        for i in range(0, len(self.out), 255):
            piece = self.out[i:i + 255]
            blocks += bytes([len(piece)]) + piece
        return bytes(blocks + b"\x00")


def lzw_run(color, pixels, minimum=2):
    """LZW of `pixels` pixels all of `color`, as an encoder writes them:
    each code stands for one pixel more than the code before (the k-th
    code after a clear for k pixels), and the table starts over before it
    fills."""
    clear = 1 << minimum
    first_free = clear + 2
    writer = LzwWriter(minimum)
    writer.code(clear, minimum + 1)
    emitted = 0
    while pixels > 0:
        length = min(emitted + 1, pixels)
        # The decoder's width for this code: its table holds first_free +
        # emitted - 1 entries once it has read the code before.
        width = min(12, max(minimum + 1, (first_free + emitted - 1).bit_length()))
        writer.code(color if length == 1 else first_free + length - 2, width)
        pixels -= length
        emitted += 1
        if first_free + emitted >= 4000 and pixels > 0:
            writer.code(clear, width)
            emitted = 0
    width = min(12, max(minimum + 1, (first_free + emitted - 1).bit_length()))
    writer.code(clear + 1, width)
    return writer.finish()


def gif(width, height, frames, global_colors=2):
    """A GIF of `frames` (list of (color, delay) full frames)."""
    size = global_colors.bit_length() - 2
    table = bytearray()
    for i in range(global_colors):
        level = 255 - i * 255 // max(1, global_colors - 1)
        table += bytes([level, level, level])
    out = b"GIF89a" + struct.pack("<HHBBB", width, height, 0x80 | size, 0, 0) + bytes(table)
    if len(frames) > 1:
        out += b"\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00"
    for color, delay in frames:
        if len(frames) > 1:
            out += b"\x21\xf9\x04\x00" + struct.pack("<H", delay) + b"\x00\x00"
        out += b"\x2c" + struct.pack("<HHHHB", 0, 0, width, height, 0)
        out += lzw_run(color, width * height, max(2, size + 1))
    return out + b"\x3b"


def write_gifs(out, manifest):
    write(out, "gif_lzw_bomb.gif", gif(COLOR_SIDE, COLOR_SIDE, [(0, 0)]))
    manifest.append(("gif_lzw_bomb.gif", "gif-lzw-bomb", "no-text"))
    write(out, "gif_2000_frames.gif", gif(640, 480, [(i % 2, 2) for i in range(2000)]))
    manifest.append(("gif_2000_frames.gif", "gif-frames", "no-text"))


# ---------------------------------------------------------------- BMP


def bmp(width, height, bits, compression, palette, pixels, colors_used=None):
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(pixels),
                       2835, 2835, len(palette) // 4 if colors_used is None else colors_used, 0)
    offset = 14 + len(info) + len(palette)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + palette + pixels


def write_bmps(out, manifest):
    gray = bytes(b for v in range(256) for b in (v, v, v, 0))
    side = COLOR_SIDE
    # RLE8: each row in encoded runs of 255 white pixels, then the end of
    # the line; the end of the bitmap after the last.
    row = bytearray()
    left = side
    while left:
        run = min(255, left)
        row += bytes([run, 255])
        left -= run
    row += b"\x00\x00"
    pixels = bytes(row) * side + b"\x00\x01"
    write(out, "bmp_rle8.bmp", bmp(side, side, 8, 1, gray, pixels))
    manifest.append(("bmp_rle8.bmp", "bmp-rle", "no-text"))

    small = 64
    write(out, "bmp_huge_colour_table.bmp", bmp(small, small, 8, 0, gray, b"\xff" * small * small, colors_used=0x7FFFFFFF))
    manifest.append(("bmp_huge_colour_table.bmp", "colour-table", "no-text"))


# ---------------------------------------------------------------- WebP


class LsbBits:
    def __init__(self):
        self.value = 0
        self.count = 0

    def put(self, value, width):
        self.value |= value << self.count
        self.count += width

    def bytes(self):
        return self.value.to_bytes((self.count + 7) // 8, "little")


def vp8l_header(bits, width, height):
    bits.put(0x2F, 8)
    bits.put(width - 1, 14)
    bits.put(height - 1, 14)
    bits.put(0, 1)  # no alpha
    bits.put(0, 3)  # version


def riff_webp(kind, payload, declared=None):
    body = kind + struct.pack("<I", len(payload) if declared is None else declared) + payload
    if len(payload) % 2 and declared is None:
        body += b"\x00"
    return b"RIFF" + struct.pack("<I", 4 + len(body) if declared is None else 4 + 8 + declared) + b"WEBP" + body


def write_webps(out, manifest):
    side = COLOR_SIDE
    # Lossless, every prefix code a single symbol: each pixel takes no bits
    # at all, so a few bytes stand for the whole frame, white.
    bits = LsbBits()
    vp8l_header(bits, side, side)
    bits.put(0, 1)  # no transform
    bits.put(0, 1)  # no color cache
    bits.put(0, 1)  # no meta prefix codes
    for symbol in (255, 255, 255, 255):  # green, red, blue, alpha
        bits.put(1, 1)  # simple code
        bits.put(0, 1)  # one symbol
        bits.put(1, 1)  # of eight bits
        bits.put(symbol, 8)
    bits.put(1, 1)  # distance: simple, one symbol, one bit: 0
    bits.put(0, 1)
    bits.put(0, 1)
    bits.put(0, 1)
    write(out, "webp_lossless_25mp.webp", riff_webp(b"VP8L", bits.bytes()))
    manifest.append(("webp_lossless_25mp.webp", "webp-lossless-bomb", "no-text"))

    # Lossless again, cut short: its first prefix code is a normal one whose
    # lengths the file does not hold.
    bits = LsbBits()
    vp8l_header(bits, side, side)
    bits.put(0, 1)
    bits.put(0, 1)
    bits.put(0, 1)
    bits.put(0, 1)  # green: a normal code
    bits.put(15, 4)  # 19 code length codes follow
    random = Lcg(23)
    for _ in range(19):
        bits.put(random.next(8), 3)
    payload = bits.bytes() + bytes(random.next(256) for _ in range(64))
    write(out, "webp_truncated_25mp.webp", riff_webp(b"VP8L", payload, declared=1 << 20))
    manifest.append(("webp_truncated_25mp.webp", "truncated", "no-text"))


# ---------------------------------------------------------------- ImageMagick


def convert(*arguments):
    subprocess.run([CONVERT, *arguments], check=True)


def write_photo(out, manifest):
    # A 12 MP photograph of nothing: clouds of color, blurred, with grain.
    convert("-seed", "41", "-size", "4000x3000", "plasma:fractal", "-blur", "0x2",
            "-attenuate", "0.4", "+noise", "Gaussian", "-quality", "88",
            os.path.join(out, "photo_noise_12mp.jpg"))
    manifest.append(("photo_noise_12mp.jpg", "photo-noise", "no-text"))


WORDS = ("amount total receipt window photo library engine harbour ferry ticket "
         "number station morning evening market bread coffee orange keys desk "
         "open closed price paid change card cash date time seven twelve").split()


def write_wall(out, manifest, name, side, point, lines, seed):
    """A page of `side` pixels filled with `lines` lines of random words at
    `point` pixels, as dense as the font allows."""
    random = Lcg(seed)
    leading = point * 14 // 10
    # DejaVu Sans averages a little over half its size a character.
    per_line = (side - point) * 100 // (point * 54)
    text = []
    draw = []
    for line in range(lines):
        words = []
        while sum(len(w) + 1 for w in words) < per_line:
            words.append(WORDS[random.next(len(WORDS))])
        words.pop()
        text.append(" ".join(words))
        draw += ["-annotate", "+%d+%d" % (point // 2, point + line * leading), text[-1]]
    convert("-size", "%dx%d" % (side, side), "xc:white", "-font", "DejaVu-Sans", "-pointsize", str(point),
            "-fill", "black", *draw, "-colorspace", "Gray", "-depth", "8",
            # No time stamps: the same text makes the same bytes.
            "-define", "png:exclude-chunks=date,time", os.path.join(out, name + ".png"))
    with open(os.path.join(out, name + ".txt"), "w", encoding="utf-8") as f:
        f.write("\n".join(text) + "\n")
    manifest.append((name + ".png", "text-wall", "text"))


def write_walls(out, manifest):
    # The last one's layout analysis, which the recognition budget cannot
    # interrupt, takes half the budget on an idle machine and all of it on
    # a busy one: how late the budget's answer comes.
    for name, side, point in (("wall_800", 800, 14), ("wall_1200", 1200, 14), ("wall_2500", 2500, 14),
                              ("wall_2500_dense", 2500, 12), ("wall_3000_10px", 3000, 10)):
        write_wall(out, manifest, name, side, point, (side - point) // (point * 14 // 10), side)


# ----------------------------------------------------------------


def write(out, name, data):
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)


def main():
    if len(sys.argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    manifest = []
    for part in (write_jpegs, write_pngs, write_tiffs, write_gifs, write_bmps, write_webps, write_photo, write_walls):
        part(out, manifest)
        sys.stderr.write("%s: done\n" % part.__name__)
    with open(os.path.join(out, "crafted.tsv"), "w", encoding="utf-8") as f:
        f.write("file\tclass\tkind\n")
        for entry in manifest:
            f.write("\t".join(entry) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
