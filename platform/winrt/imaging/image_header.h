#ifndef PLATFORM_WINRT_IMAGING_IMAGE_HEADER_H_
#define PLATFORM_WINRT_IMAGING_IMAGE_HEADER_H_

#include <windef.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/winrt/runtime/runtime_error.h"

namespace winrt_layer {

enum class ImageFormat { kPng, kJpeg, kTiff, kBmp, kGif, kWebP };

// What the header of an encoded image says, read without decoding pixels.
struct ImageHeader {
  ImageFormat format = ImageFormat::kPng;
  uint32_t width = 0;
  uint32_t height = 0;
  // What each pixel counts against kMaxDecodedBytes: 1 for black and white,
  // 8 for the other JPEGs and PNGs (decoded to gray), more for a
  // progressive or multi-scan JPEG (its coefficients kept whole: 32 for
  // 4:2:0 color) and 40 for an interlaced PNG (kept whole in color), else
  // 32.
  uint32_t bits_per_pixel = 0;
  bool has_alpha = false;
  uint32_t frame_count = 1;

  uint64_t DecodedBytes() const;

  // The header of `content`, identified by its content. Failures:
  // WINCODEC_ERR_COMPONENTNOTFOUND for no format the runtime decodes
  // (empty content among them), WINCODEC_ERR_BADHEADER for a header that
  // cannot be read, WINCODEC_ERR_IMAGESIZEOUTOFRANGE, with a description,
  // for a frame larger than kMaxDecodedBytes.
  static RuntimeError Read(const std::vector<BYTE>& content, ImageHeader* header);
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_IMAGING_IMAGE_HEADER_H_
