#include "platform/winrt/imaging/png_codec.h"

#include <png.h>

#include <cstring>
#include <functional>
#include <new>

namespace winrt_layer {
namespace {

// Everything the decoding touches after setjmp lives here, outside the
// frame that calls setjmp, so that it is well defined after a longjmp.
struct PngDecoding {
  const std::vector<BYTE>* content = nullptr;
  size_t position = 0;
  png_structp png = nullptr;
  png_infop info = nullptr;
  PIX* pix = nullptr;
  std::vector<png_byte> pixels;
  std::vector<png_bytep> rows;
  std::function<bool()> stop_requested;
};

// Five bytes each: the name and its terminator.
constexpr png_byte kSkippedChunks[] = "eXIf\0iCCP\0iTXt\0pCAL\0sCAL\0sPLT\0tEXt\0zTXt";

void FailPng(png_structp png, png_const_charp) noexcept {
  png_longjmp(png, 1);
}

void IgnorePngWarning(png_structp, png_const_charp) noexcept {}

void ReadPngBytes(png_structp png, png_bytep bytes, size_t count) noexcept {
  auto* decoding = static_cast<PngDecoding*>(png_get_io_ptr(png));
  if (count > decoding->content->size() - decoding->position) {
    png_error(png, "truncated");
  }
  std::memcpy(bytes, decoding->content->data() + decoding->position, count);
  decoding->position += count;
}

// Lays a sample with opacity `alpha` on white.
png_byte OnWhite(png_byte value, png_byte alpha) {
  return static_cast<png_byte>((value * alpha + 255 * (255 - alpha) + 127) / 255);
}

void StoreRow(PIX* pix, l_uint32 y, const png_byte* row, int channels, bool black_and_white) {
  l_uint32* line = pixGetData(pix) + y * pixGetWpl(pix);
  l_uint32 width = pixGetWidth(pix);
  for (l_uint32 x = 0; x < width; ++x) {
    if (black_and_white) {
      // PNG's 0 is black; Leptonica's 1 is.
      if ((row[x / 8] & (0x80 >> (x % 8))) == 0) {
        SET_DATA_BIT(line, x);
      }
      continue;
    }
    const png_byte* pixel = row + x * channels;
    switch (channels) {
      case 1:
        SET_DATA_BYTE(line, x, pixel[0]);
        break;
      case 2:
        SET_DATA_BYTE(line, x, OnWhite(pixel[0], pixel[1]));
        break;
      case 3:
        SET_DATA_BYTE(line, x, Luminance(pixel[0], pixel[1], pixel[2]));
        break;
      default:
        SET_DATA_BYTE(line, x,
                      Luminance(OnWhite(pixel[0], pixel[3]), OnWhite(pixel[1], pixel[3]),
                                OnWhite(pixel[2], pixel[3])));
    }
  }
}

// Reads the whole image into decoding->pix; false when libpng fails.
bool DecodeInto(PngDecoding* decoding) {
  decoding->png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, decoding, FailPng, IgnorePngWarning);
  if (decoding->png == nullptr) {
    return false;
  }
  decoding->info = png_create_info_struct(decoding->png);
  if (decoding->info == nullptr || setjmp(png_jmpbuf(decoding->png)) != 0) {
    return false;
  }
  png_structp png = decoding->png;
  png_infop info = decoding->info;
  png_set_read_fn(png, decoding, ReadPngBytes);
  // libpng allocates what a text, profile or palette-suggestion chunk
  // declares before reading it, whatever the file's size; none of them
  // matters here, so they are skipped unread.
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kSkippedChunks,
                              static_cast<int>(sizeof(kSkippedChunks) / 5));
  png_read_info(png, info);
  int color_type = png_get_color_type(png, info);
  // Black and white stays 1 bit per pixel, as its header was counted, with
  // or without transparency; a transparent black leaves only white.
  bool black_and_white = color_type == PNG_COLOR_TYPE_GRAY && png_get_bit_depth(png, info) == 1;
  png_color_16p transparent = nullptr;
  bool black_is_transparent = black_and_white &&
                              png_get_tRNS(png, info, nullptr, nullptr, &transparent) != 0 &&
                              transparent != nullptr && transparent->gray == 0;
  if (!black_and_white) {
    png_set_palette_to_rgb(png);
    png_set_tRNS_to_alpha(png);
    png_set_expand_gray_1_2_4_to_8(png);
    png_set_strip_16(png);
  }
  int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  int channels = png_get_channels(png, info);
  png_uint_32 width = png_get_image_width(png, info);
  png_uint_32 height = png_get_image_height(png, info);
  decoding->pix =
      pixCreate(static_cast<l_int32>(width), static_cast<l_int32>(height), black_and_white ? 1 : 8);
  if (decoding->pix == nullptr) {
    png_error(png, "no memory");
  }
  png_uint_32 x_resolution = 0;
  png_uint_32 y_resolution = 0;
  int unit = PNG_RESOLUTION_UNKNOWN;
  if (png_get_pHYs(png, info, &x_resolution, &y_resolution, &unit) != 0 &&
      unit == PNG_RESOLUTION_METER) {
    pixSetResolution(decoding->pix, static_cast<l_int32>(x_resolution * 254 / 10000),
                     static_cast<l_int32>(y_resolution * 254 / 10000));
  }
  size_t row_bytes = png_get_rowbytes(png, info);
  // An interlaced image arrives in passes over every row: it is kept whole.
  size_t kept_rows = passes > 1 ? height : 1;
  decoding->pixels.resize(row_bytes * kept_rows);
  decoding->rows.resize(kept_rows);
  for (size_t y = 0; y < kept_rows; ++y) {
    decoding->rows[y] = decoding->pixels.data() + y * row_bytes;
  }
  if (passes > 1) {
    png_read_image(png, decoding->rows.data());
    for (png_uint_32 y = 0; y < height; ++y) {
      StoreRow(decoding->pix, y, decoding->rows[y], channels, black_and_white);
    }
  } else {
    for (png_uint_32 y = 0; y < height; ++y) {
      if (decoding->stop_requested && decoding->stop_requested()) {
        png_error(png, "stopped");
      }
      png_read_row(png, decoding->rows[0], nullptr);
      StoreRow(decoding->pix, y, decoding->rows[0], channels, black_and_white);
    }
  }
  if (black_is_transparent) {
    pixClearAll(decoding->pix);
  }
  // What follows the pixels is not read: a file cut after them still
  // gives its image.
  return true;
}

}  // namespace

ScopedPix DecodePng(const std::vector<BYTE>& content, const std::function<bool()>& stop_requested) {
  PngDecoding decoding;
  decoding.content = &content;
  decoding.stop_requested = stop_requested;
  bool decoded = false;
  try {
    decoded = DecodeInto(&decoding);
  } catch (const std::bad_alloc&) {
    decoded = false;
  }
  if (decoding.png != nullptr) {
    png_destroy_read_struct(&decoding.png, &decoding.info, nullptr);
  }
  if (!decoded) {
    pixDestroy(&decoding.pix);
    return nullptr;
  }
  return ScopedPix(decoding.pix);
}

}  // namespace winrt_layer
