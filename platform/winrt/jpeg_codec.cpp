#include "platform/winrt/jpeg_codec.h"

// jpeglib.h needs size_t and FILE declared first.
#include <stdio.h>

#include <jpeglib.h>
#include <setjmp.h>

namespace winrt_layer {
namespace {

// Everything the decoding touches after setjmp lives here, outside the
// frame that calls setjmp, so that it is well defined after a longjmp.
struct JpegDecoding {
  jpeg_decompress_struct info;
  jpeg_error_mgr errors;
  jmp_buf failed;
  PIX* pix = nullptr;
};

void FailJpeg(j_common_ptr info) noexcept {
  longjmp(reinterpret_cast<JpegDecoding*>(info->client_data)->failed, 1);
}

// Warnings and traces are dropped; the result tells what became of the file.
void IgnoreJpegMessage(j_common_ptr) noexcept {}

void StartJpeg(JpegDecoding* decoding, const std::vector<uint8_t>& content) {
  decoding->info.err = jpeg_std_error(&decoding->errors);
  decoding->errors.error_exit = FailJpeg;
  decoding->errors.output_message = IgnoreJpegMessage;
  decoding->info.client_data = decoding;
  jpeg_create_decompress(&decoding->info);
  jpeg_mem_src(&decoding->info, content.data(), static_cast<unsigned long>(content.size()));
}

uint8_t Clamp(int value) {
  return static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

// Reads the header and the pixels into decoding->pix; false when libjpeg
// fails.
bool DecodeInto(JpegDecoding* decoding, const std::vector<uint8_t>& content) {
  StartJpeg(decoding, content);
  if (setjmp(decoding->failed) != 0) {
    jpeg_destroy_decompress(&decoding->info);
    return false;
  }
  jpeg_decompress_struct* info = &decoding->info;
  jpeg_read_header(info, TRUE);
  bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
  info->out_color_space = info->num_components == 1 ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(info);
  int depth = info->output_components == 1 ? 8 : 32;
  decoding->pix = pixCreate(static_cast<l_int32>(info->output_width),
                            static_cast<l_int32>(info->output_height), depth);
  if (decoding->pix == nullptr) {
    jpeg_destroy_decompress(info);
    return false;
  }
  if (info->density_unit == 1) {
    pixSetResolution(decoding->pix, info->X_density, info->Y_density);
  } else if (info->density_unit == 2) {
    pixSetResolution(decoding->pix, info->X_density * 254 / 100, info->Y_density * 254 / 100);
  }
  JSAMPARRAY row = (*info->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE,
                                              info->output_width * info->output_components, 1);
  l_uint32* data = pixGetData(decoding->pix);
  l_int32 words_per_line = pixGetWpl(decoding->pix);
  while (info->output_scanline < info->output_height) {
    l_uint32* line = data + info->output_scanline * words_per_line;
    jpeg_read_scanlines(info, row, 1);
    const JSAMPLE* samples = row[0];
    for (JDIMENSION x = 0; x < info->output_width; ++x) {
      if (depth == 8) {
        SET_DATA_BYTE(line, x, samples[x]);
        continue;
      }
      const JSAMPLE* pixel = samples + x * info->output_components;
      int r = pixel[0];
      int g = pixel[1];
      int b = pixel[2];
      if (cmyk) {
        // Adobe writes CMYK inverted: each value is the ink left out.
        r = pixel[0] * pixel[3] / 255;
        g = pixel[1] * pixel[3] / 255;
        b = pixel[2] * pixel[3] / 255;
      }
      composeRGBPixel(Clamp(r), Clamp(g), Clamp(b), line + x);
    }
  }
  jpeg_finish_decompress(info);
  jpeg_destroy_decompress(info);
  return true;
}

bool ReadHeaderInto(JpegDecoding* decoding, const std::vector<uint8_t>& content) {
  StartJpeg(decoding, content);
  if (setjmp(decoding->failed) != 0) {
    jpeg_destroy_decompress(&decoding->info);
    return false;
  }
  jpeg_read_header(&decoding->info, TRUE);
  return true;
}

}  // namespace

bool ReadJpegHeader(const std::vector<uint8_t>& content,
                    uint32_t* width,
                    uint32_t* height,
                    uint32_t* components) {
  JpegDecoding decoding;
  if (!ReadHeaderInto(&decoding, content)) {
    return false;
  }
  *width = decoding.info.image_width;
  *height = decoding.info.image_height;
  *components = static_cast<uint32_t>(decoding.info.num_components);
  jpeg_destroy_decompress(&decoding.info);
  return true;
}

ScopedPix DecodeJpeg(const std::vector<uint8_t>& content) {
  JpegDecoding decoding;
  if (!DecodeInto(&decoding, content)) {
    pixDestroy(&decoding.pix);
    return nullptr;
  }
  return ScopedPix(decoding.pix);
}

}  // namespace winrt_layer
