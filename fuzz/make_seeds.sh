#!/usr/bin/env bash
# Writes the imaging fuzz targets' seed corpora: small files (a few dozen
# pixels a side, mostly under 4 KB, so the fuzzers stay fast) made by the
# real encoders (ImageMagick, libtiff's tiffcp and tiffset, libjpeg-turbo's
# cjpeg and jpegtran, libwebp's cwebp and img2webp, giflib's gifbuild) and,
# where no encoder writes the oddity, by hand. The same tools give the same
# bytes on every run: nothing random, no dates, no names of temporary files.
#
#   fuzz/make_seeds.sh OUT_DIR
#
# OUT_DIR/<target>/ gets the seeds of each imaging target: every file for
# image_header_fuzzer, the JPEGs, the PNGs, the TIFF, GIF, BMP and WebP files
# for the decoder of each, and pages of text among a few pictures for
# page_preparation_fuzzer. OUT_DIR is emptied first. The tools come with
# `scripts/install-deps.sh fuzz`.
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: fuzz/make_seeds.sh OUT_DIR" >&2
  exit 2
fi
mkdir -p "$1"
out=$(cd "$1" && pwd)
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
for tool in convert tiffcp tiffset cjpeg jpegtran cwebp img2webp gifbuild python3; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "make_seeds.sh: $tool is missing; run scripts/install-deps.sh fuzz" >&2
    exit 1
  fi
done
if [ ! -f "$font" ]; then
  echo "make_seeds.sh: $font is missing; run scripts/install-deps.sh fuzz" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
seeds=$work/seeds
mkdir -p "$seeds"
cd "$work"

# ImageMagick writes the time of writing into PNG (tIME, date: text) and
# profiles and comments elsewhere; none of it may reach a seed.
im() {
  convert "$@"
}
# Runs a tool that reports its success on standard error: its output is
# shown only when it fails.
quietly() {
  "$@" >"$work/quietly.log" 2>&1 || { cat "$work/quietly.log" >&2; return 1; }
}
clean=(-strip +set date:create +set date:modify -define png:exclude-chunks=date,time)

# -- Pictures every encoder starts from ---------------------------------------
# A colour picture with flat areas and edges, 24 x 16 so that a quarter turn
# shows (EXIF and TIFF orientations).
im -size 24x16 gradient:'#2060c0-#f0d020' -fill '#c02020' -draw 'rectangle 3,3 10,9' \
  -fill white -draw 'circle 17,8 20,8' -depth 8 "${clean[@]}" picture.ppm
im picture.ppm -colorspace gray -depth 8 "${clean[@]}" picture.pgm
im picture.ppm -alpha set -channel A -fx 'i/w' +channel -depth 8 "${clean[@]}" picture_alpha.png
# Two lines of lower-case text, as a page's fragment: what the page analysis
# looks for (characters, lines, ascenders and descenders).
im -size 200x44 xc:white -font "$font" -pointsize 14 -fill black \
  -annotate +6+17 'the quick brown fox' -annotate +6+37 'jumps over lazy dogs' \
  -colorspace gray -depth 8 "${clean[@]}" text.pgm
im text.pgm -threshold 50% -depth 1 "${clean[@]}" text.pbm
im text.pgm -background white -rotate 9 -depth 8 "${clean[@]}" text_tilted.pgm
# Text larger than recognition reads best, which the preparation scales down.
im -size 240x56 xc:white -font "$font" -pointsize 40 -fill black -annotate +4+42 'lazy dogs' \
  -threshold 50% -depth 1 "${clean[@]}" text_large.pbm
# Second pages and animation frames.
im -size 16x12 gradient:'#00a000-#ffffff' -depth 8 "${clean[@]}" frame2.ppm
im -size 16x12 xc:'#202080' -fill yellow -draw 'rectangle 2,2 8,8' -depth 8 "${clean[@]}" frame3.ppm

# -- JPEG ------------------------------------------------------------------------
cjpeg -quality 80 -outfile "$seeds/colour.jpg" picture.ppm
cjpeg -grayscale -quality 80 -outfile "$seeds/grey.jpg" picture.ppm
cjpeg -sample 1x1 -quality 90 -outfile "$seeds/colour_444.jpg" picture.ppm
cjpeg -sample 2x1 -optimize -outfile "$seeds/colour_422_optimized.jpg" picture.ppm
cjpeg -progressive -outfile "$seeds/progressive.jpg" picture.ppm
cjpeg -progressive -grayscale -outfile "$seeds/progressive_grey.jpg" picture.ppm
cjpeg -arithmetic -outfile "$seeds/arithmetic.jpg" picture.ppm
cjpeg -arithmetic -progressive -outfile "$seeds/arithmetic_progressive.jpg" picture.ppm
cjpeg -restart 1 -outfile "$seeds/restart_every_row.jpg" picture.ppm
cjpeg -restart 2B -outfile "$seeds/restart_every_2_blocks.jpg" picture.ppm
cjpeg -restart 1B -arithmetic -outfile "$seeds/restart_arithmetic.jpg" picture.ppm
cjpeg -dct float -smooth 20 -outfile "$seeds/smoothed.jpg" picture.ppm
jpegtran -progressive -restart 1 -outfile "$seeds/progressive_restart.jpg" "$seeds/colour.jpg"
jpegtran -arithmetic -outfile "$seeds/arithmetic_from_huffman.jpg" "$seeds/grey.jpg"
jpegtran -rotate 90 -trim -outfile "$seeds/rotated_by_jpegtran.jpg" "$seeds/colour.jpg"
im picture.ppm -colorspace CMYK -quality 80 "${clean[@]}" "$seeds/cmyk.jpg"
cjpeg -grayscale -quality 85 -outfile "$work/text.jpg" text.pgm
cjpeg -grayscale -quality 85 -outfile "$seeds/text_tilted.jpg" text_tilted.pgm

# -- PNG -------------------------------------------------------------------------
im picture.ppm "${clean[@]}" "PNG24:$seeds/colour.png"
im picture.pgm "${clean[@]}" "$seeds/grey.png"
im picture_alpha.png "${clean[@]}" "PNG32:$seeds/colour_alpha.png"
im picture.ppm -colors 16 "${clean[@]}" "PNG8:$seeds/palette.png"
im picture.ppm -depth 16 "${clean[@]}" "PNG48:$seeds/colour_16_bit.png"
im picture.pgm -depth 16 "${clean[@]}" -define png:bit-depth=16 -define png:color-type=0 \
  "$seeds/grey_16_bit.png"
im picture.ppm -interlace PNG "${clean[@]}" "PNG24:$seeds/interlaced.png"
im picture.pgm -interlace PNG "${clean[@]}" "$seeds/interlaced_grey.png"
im picture.pgm -alpha set -channel A -fx 'j/h' +channel "${clean[@]}" \
  -define png:color-type=4 "$seeds/grey_alpha.png"
im picture.pgm -depth 2 "${clean[@]}" -define png:bit-depth=2 -define png:color-type=0 \
  "$seeds/grey_2_bit.png"
im text.pbm "${clean[@]}" "$seeds/text_bw.png"
im text.pgm "${clean[@]}" "$seeds/text.png"
im text.pgm -rotate 180 "${clean[@]}" "$seeds/text_upside_down.png"
im text.pbm -rotate 90 "${clean[@]}" "$seeds/text_vertical_bw.png"
im text_large.pbm "${clean[@]}" "$seeds/text_large_bw.png"

# -- TIFF ------------------------------------------------------------------------
im picture.ppm -depth 8 -compress none "${clean[@]}" picture.tif
im picture.pgm -depth 8 -compress none "${clean[@]}" grey.tif
im text.pbm -compress none "${clean[@]}" text_bw.tif
im frame2.ppm -depth 8 -compress none "${clean[@]}" frame2.tif
tiffcp -s -r 4 picture.tif "$seeds/strips.tiff"
tiffcp -8 -B -c zip picture.tif "$seeds/bigtiff_big_endian.tiff"
tiffcp -8 -L -c lzw grey.tif "$seeds/bigtiff_little_endian.tiff"
tiffcp -8 -B -c g4 text_bw.tif "$seeds/bigtiff_big_endian_g4.tiff"
tiffcp picture.tif frame2.tif grey.tif "$seeds/three_pages.tiff"
tiffcp -8 -L picture.tif frame2.tif "$seeds/bigtiff_two_pages.tiff"
tiffcp -t -w 16 -l 16 picture.tif "$seeds/tiled.tiff"
tiffcp -B -t -w 16 -l 16 -c lzw:2 grey.tif "$seeds/tiled_lzw_big_endian.tiff"
tiffcp -8 -t -w 16 -l 16 -c zip text_bw.tif "$seeds/bigtiff_tiled_bw.tiff"
tiffcp -c g3 text_bw.tif "$seeds/g3.tiff"
tiffcp -c g3:2d:fill text_bw.tif "$seeds/g3_2d.tiff"
tiffcp -c g4 text_bw.tif "$seeds/g4.tiff"
tiffcp -c lzw picture.tif "$seeds/lzw.tiff"
tiffcp -c lzw:2 picture.tif "$seeds/lzw_predictor.tiff"
tiffcp -c zip grey.tif "$seeds/deflate.tiff"
tiffcp -c zip:2 -p separate picture.tif "$seeds/deflate_planes_separate.tiff"
tiffcp -c jpeg:75 picture.tif "$seeds/jpeg_ycbcr.tiff"
tiffcp -c jpeg:r:75 picture.tif "$seeds/jpeg_rgb.tiff"
tiffcp -c jpeg grey.tif "$seeds/jpeg_grey.tiff"
tiffcp -c packbits text_bw.tif "$seeds/packbits_bw.tiff"
im picture.ppm -colors 16 -type Palette -compress none "${clean[@]}" "$seeds/palette.tiff"
im picture.ppm -depth 16 -compress none "${clean[@]}" "$seeds/colour_16_bit.tiff"
im picture_alpha.png -depth 8 -compress lzw "${clean[@]}" "$seeds/colour_alpha.tiff"
tiffcp picture.tif "$seeds/orientation_6.tiff"
tiffset -s Orientation 6 "$seeds/orientation_6.tiff"
tiffcp -c g4 text_bw.tif "$work/text_g4.tiff"

# -- WebP ------------------------------------------------------------------------
im picture.ppm "${clean[@]}" picture.png
im frame2.ppm "${clean[@]}" frame2.png
im frame3.ppm "${clean[@]}" frame3.png
cwebp -quiet -lossless picture.png -o "$seeds/lossless.webp"
cwebp -quiet -lossless -z 9 picture_alpha.png -o "$seeds/lossless_alpha.webp"
cwebp -quiet -q 40 picture.png -o "$seeds/lossy.webp"
cwebp -quiet -q 60 -alpha_q 50 picture_alpha.png -o "$seeds/lossy_alpha.webp"
cwebp -quiet -q 70 -sharp_yuv -segments 1 picture.png -o "$seeds/lossy_one_segment.webp"
quietly img2webp -loop 0 -d 100 -lossless frame2.png -lossy frame3.png -o "$seeds/animated.webp"
quietly img2webp -loop 2 -d 40 -mixed frame3.png frame2.png frame3.png \
  -o "$seeds/animated_mixed.webp"
cwebp -quiet -q 80 text_tilted.pgm -o "$seeds/text_tilted.webp"

# -- GIF -------------------------------------------------------------------------
im picture.ppm -colors 32 "${clean[@]}" "$seeds/colour.gif"
im picture.ppm -colors 8 -interlace GIF "${clean[@]}" "$seeds/interlaced.gif"
im -delay 10 -loop 0 frame2.ppm frame3.ppm -page 16x12+4+3 \( frame3.ppm -resize 8x6 \) \
  -colors 16 "${clean[@]}" "$seeds/animated.gif"
im picture_alpha.png -colors 8 "${clean[@]}" "$seeds/transparent.gif"
# giflib's own encoder, from its text form of the file ImageMagick wrote.
gifbuild -d "$seeds/animated.gif" >animated.txt
gifbuild animated.txt >"$seeds/animated_giflib.gif"
im text.pbm "${clean[@]}" "$seeds/text.gif"

# -- BMP -------------------------------------------------------------------------
im picture.ppm "${clean[@]}" "BMP3:$seeds/colour_24_bit.bmp"
im picture.ppm -colors 16 -type Palette "${clean[@]}" "BMP3:$seeds/palette_8_bit.bmp"
im picture.ppm -colors 16 -type Palette -compress RLE "${clean[@]}" "BMP3:$seeds/rle8.bmp"
im picture_alpha.png "${clean[@]}" "BMP:$seeds/bitfields_32_bit_alpha.bmp"
im picture.ppm -define bmp:subtype=RGB565 "${clean[@]}" "BMP:$seeds/bitfields_565.bmp"
im text.pbm -type bilevel "${clean[@]}" "BMP3:$seeds/text_bw.bmp"

# -- Byte-level oddities no encoder writes -------------------------------------
python3 - "$seeds" "$work" <<'PYTHON'
import struct
import sys
import zlib

seeds, work = sys.argv[1], sys.argv[2]


def write(name, data):
    with open(f"{seeds}/{name}", "wb") as f:
        f.write(data)


def read(name):
    with open(name, "rb") as f:
        return f.read()


# JPEG: an APP1 EXIF segment right after SOI, in either byte order.
def exif(orientation, little, next_ifd=0, ifd_offset=8, count=1):
    e = "<" if little else ">"
    tiff = (b"II*\0" if little else b"MM\0*") + struct.pack(e + "I", ifd_offset)
    tiff += struct.pack(e + "H", count)
    tiff += struct.pack(e + "HHIHH", 0x0112, 3, 1, orientation, 0)
    tiff += struct.pack(e + "I", next_ifd)
    body = b"Exif\0\0" + tiff
    return b"\xff\xe1" + struct.pack(">H", len(body) + 2) + body


def with_segment(jpeg, segment):
    return jpeg[:2] + segment + jpeg[2:]


colour = read(f"{seeds}/colour.jpg")
for orientation in range(1, 9):
    write(f"exif_{orientation}.jpg", with_segment(colour, exif(orientation, little=False)))
for orientation in (5, 7):
    write(f"exif_{orientation}_intel.jpg", with_segment(colour, exif(orientation, little=True)))
write("exif_orientation_9.jpg", with_segment(colour, exif(9, little=False)))
write("exif_ifd_past_the_end.jpg", with_segment(colour, exif(6, little=True, ifd_offset=0x7FFFFFF0)))
write("exif_ifd_links_to_itself.jpg", with_segment(colour, exif(8, little=False, next_ifd=8)))
write("exif_entry_count_past_the_end.jpg", with_segment(colour, exif(3, little=True, count=0xFFFF)))
text = read(f"{work}/text.jpg")
write("text_exif_6.jpg", with_segment(text, exif(6, little=False)))
write("colour_cut_short.jpg", colour[: len(colour) * 2 // 3])
# A scan's data replaced by restart markers only, under a restart interval.
sos = colour.index(b"\xff\xda")
sos_end = sos + 2 + struct.unpack(">H", colour[sos + 2 : sos + 4])[0]
dri = b"\xff\xdd\x00\x04\x00\x01"
restarts = b"".join(bytes([0xFF, 0xD0 + i % 8]) for i in range(24))
write("restart_markers_only.jpg", colour[:2] + dri + colour[2:sos_end] + restarts + b"\xff\xd9")
write("ends_after_start_of_scan.jpg", colour[:sos_end] + b"\xff\xd9")


# PNG: chunks written by hand.
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


png = read(f"{seeds}/grey.png")
signature, rest = png[:8], png[8:]
chunks = []
while rest:
    length = struct.unpack(">I", rest[:4])[0]
    chunks.append((rest[4:8], rest[8 : 8 + length]))
    rest = rest[12 + length :]
ihdr = dict(chunks)[b"IHDR"]
idat = b"".join(data for kind, data in chunks if kind == b"IDAT")
write("idat_cut_short.png", signature + chunk(b"IHDR", ihdr) + chunk(b"IDAT", idat[: len(idat) // 2]))
write("no_iend.png", signature + chunk(b"IHDR", ihdr) + chunk(b"IDAT", idat))
bad_crc = bytearray(signature + chunk(b"IHDR", ihdr) + chunk(b"IDAT", idat) + chunk(b"IEND", b""))
bad_crc[-20] ^= 0xFF
write("idat_bad_crc.png", bytes(bad_crc))
split = [idat[i : i + 7] for i in range(0, len(idat), 7)]
write(
    "idat_in_small_chunks_text_after.png",
    signature
    + chunk(b"IHDR", ihdr)
    + chunk(b"tEXt", b"Comment\0seed")
    + b"".join(chunk(b"IDAT", part) for part in split)
    + chunk(b"zTXt", b"k\0\0" + zlib.compress(b"v" * 64))
    + chunk(b"IEND", b""),
)
# Rows whose filter type is out of range.
raw = zlib.decompress(idat)
row = len(raw) // 16
bad_filter = bytes(b if i % row else 7 for i, b in enumerate(raw))
write(
    "filter_type_7.png",
    signature + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(bad_filter)) + chunk(b"IEND", b""),
)


# TIFF: a classic file of one 8-bit grey strip, written entry by entry.
def tiff(width, height, pixels, next_ifd=None, strip_offset=None, little=True, rows_per_strip=None):
    e = "<" if little else ">"
    header = (b"II*\0" if little else b"MM\0*") + struct.pack(e + "I", 8)
    entries = [
        (256, 4, 1, width),
        (257, 4, 1, height),
        (258, 3, 1, 8),
        (259, 3, 1, 1),
        (262, 3, 1, 1),
        (273, 4, 1, 0),
        (277, 3, 1, 1),
        (278, 4, 1, height if rows_per_strip is None else rows_per_strip),
        (279, 4, 1, len(pixels)),
    ]
    ifd_size = 2 + 12 * len(entries) + 4
    data_offset = 8 + ifd_size
    ifd = struct.pack(e + "H", len(entries))
    for tag, kind, count, value in entries:
        if tag == 273:
            value = data_offset if strip_offset is None else strip_offset
        packed = struct.pack(e + "H", value) + b"\0\0" if kind == 3 else struct.pack(e + "I", value)
        ifd += struct.pack(e + "HHI", tag, kind, count) + packed
    ifd += struct.pack(e + "I", 0 if next_ifd is None else next_ifd)
    return header + ifd + pixels


grey = bytes((x * 16 + y * 8) & 0xFF for y in range(8) for x in range(12))
write("ifd_links_to_itself.tiff", tiff(12, 8, grey, next_ifd=8))
write("strip_past_the_end.tiff", tiff(12, 8, grey, strip_offset=0x10000, little=False))
write("strip_shorter_than_declared.tiff", tiff(12, 8, grey[:40]))
write("rows_per_strip_zero.tiff", tiff(12, 8, grey, rows_per_strip=0))


# BMP: headers and pixel data written by hand.
def bmp(width, height, bits, compression, pixels, palette=b"", masks=b"", info_size=40, colours=None):
    header_size = 14 + info_size + len(masks) + len(palette)
    if colours is None:
        colours = len(palette) // 4
    info = struct.pack(
        "<IiiHHIIiiII", info_size, width, height, 1, bits, compression, len(pixels), 2835, 2835,
        colours, 0,
    )
    info += b"\0" * (info_size - len(info))
    file_header = b"BM" + struct.pack("<IHHI", header_size + len(pixels), 0, 0, header_size)
    return file_header + info + masks + palette + pixels


grey_palette = b"".join(bytes([i * 17, i * 17, i * 17, 0]) for i in range(16))
# RLE8: runs, an absolute run, a delta, ends of lines and of the bitmap.
rle8 = (
    b"\x04\x01\x03\x05\x00\x00"
    b"\x00\x03\x07\x08\x09\x00\x02\x00\x00\x00\x00"
    b"\x00\x02\x02\x01\x03\x0a\x00\x00"
    b"\x08\x0f\x00\x01"
)
write("rle8_delta.bmp", bmp(8, 6, 8, 1, rle8, grey_palette))
rle4 = b"\x08\x1e\x00\x00\x04\xab\x00\x04\x12\x34\x00\x00\x06\x5f\x00\x00\x08\xc3\x00\x01"
write("rle4.bmp", bmp(8, 4, 4, 2, rle4, grey_palette))
write("rle8_runs_past_the_row.bmp", bmp(4, 4, 8, 1, b"\xff\x03\xff\x04\x00\x01", grey_palette))
rows = b"".join(bytes((x * 30 + y * 60) & 0xFF for x in range(3 * 5)) + b"\0" for y in range(4))
write("top_down_24_bit.bmp", bmp(5, -4, 24, 0, rows))
rgb565 = b"".join(struct.pack("<H", (x * 6) << 11 | (y * 12) << 5 | 31) for y in range(4) for x in range(4))
masks565 = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
write("bitfields_565_top_down.bmp", bmp(4, -4, 16, 3, rgb565, masks=masks565))
pixels32 = b"".join(bytes([x * 60, y * 60, 128, 255]) for y in range(3) for x in range(3))
masks32 = struct.pack("<III", 0x00FF0000, 0x0000FF00, 0x000000FF)
write("bitfields_32_bit.bmp", bmp(3, 3, 32, 3, pixels32, masks=masks32))
write("colour_table_count_huge.bmp", bmp(4, 4, 8, 0, bytes(16), grey_palette, colours=0x7FFFFFFF))
core = struct.pack("<IHHHH", 12, 4, 2, 1, 24)
core_pixels = bytes(range(24))
write("os2_core_header.bmp", b"BM" + struct.pack("<IHHI", 26 + len(core_pixels), 0, 0, 26) + core + core_pixels)


# GIF and WebP: what their encoders never write.
gif = read(f"{seeds}/animated.gif")
write("animated_cut_short.gif", gif[: len(gif) * 3 // 4])
webp = read(f"{seeds}/lossy.webp")
write("riff_size_past_the_end.webp", webp[:4] + struct.pack("<I", 0x7FFFFFF0) + webp[8:])
write("lossy_cut_short.webp", webp[: len(webp) // 2])
lossless = read(f"{seeds}/lossless.webp")
write("lossless_cut_short.webp", lossless[: len(lossless) * 2 // 3])
PYTHON

# -- Each target's share ---------------------------------------------------------
rm -rf "$out"
for target in image_header_fuzzer jpeg_decoder_fuzzer png_decoder_fuzzer \
              leptonica_decoder_fuzzer page_preparation_fuzzer; do
  mkdir -p "$out/$target"
done
cp "$seeds"/* "$out/image_header_fuzzer/"
cp "$seeds"/*.jpg "$out/jpeg_decoder_fuzzer/"
cp "$seeds"/*.png "$out/png_decoder_fuzzer/"
cp "$seeds"/*.tiff "$seeds"/*.gif "$seeds"/*.bmp "$seeds"/*.webp "$out/leptonica_decoder_fuzzer/"
cp "$work/text_g4.tiff" "$out/page_preparation_fuzzer/text_g4.tiff"
cp "$seeds"/text* "$seeds"/colour.png "$seeds"/grey.jpg "$seeds"/exif_6.jpg \
  "$seeds"/tiled.tiff "$seeds"/animated.gif "$seeds"/lossy.webp "$seeds"/top_down_24_bit.bmp \
  "$out/page_preparation_fuzzer/"
