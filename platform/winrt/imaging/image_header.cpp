#include "platform/winrt/imaging/image_header.h"

#include <leptonica/allheaders.h>
#include <winerror.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/winrt/imaging/bmp_header.h"
#include "platform/winrt/imaging/byte_reader.h"
#include "platform/winrt/imaging/gif_codec.h"
#include "platform/winrt/imaging/image_limits.h"
#include "platform/winrt/imaging/jpeg_codec.h"
#include "platform/winrt/imaging/leptonica_image.h"
#include "platform/winrt/imaging/tiff_header.h"

namespace winrt_layer {
namespace {

// findFileFormatBuffer reads this many bytes, whatever the content's size.
constexpr size_t kSignatureBytes = 12;

constexpr wchar_t kTooLargeMessageStart[] = L"The image is ";
constexpr wchar_t kTooLargeMessageMiddle[] = L" pixels: decoded, it would take more than the ";
constexpr wchar_t kTooLargeMessageEnd[] = L" MiB the decoder allows.";
constexpr uint32_t kBlackAndWhiteBits = 1;
// JPEG and PNG are decoded to gray; Leptonica decodes the other formats in
// color.
constexpr uint32_t kGrayBits = 8;
constexpr uint32_t kOtherBits = 32;
// An interlaced PNG arrives in passes over the whole image, which is kept
// in color with alpha until the gray frame is made.
constexpr uint32_t kInterlacedPngBits = 8 + 32;
// The interlace method in a PNG: the signature, IHDR's length and type, then
// width, height, depth, color type, compression and filter.
constexpr size_t kPngInterlaceOffset = 8 + 8 + 12;

bool FormatOf(l_int32 leptonica_format, ImageFormat* format) {
  switch (leptonica_format) {
    case IFF_PNG:
      *format = ImageFormat::kPng;
      return true;
    case IFF_JFIF_JPEG:
      *format = ImageFormat::kJpeg;
      return true;
    case IFF_BMP:
      *format = ImageFormat::kBmp;
      return true;
    case IFF_GIF:
      *format = ImageFormat::kGif;
      return true;
    case IFF_WEBP:
      *format = ImageFormat::kWebP;
      return true;
    default:
      if (L_FORMAT_IS_TIFF(leptonica_format)) {
        *format = ImageFormat::kTiff;
        return true;
      }
      return false;
  }
}

RuntimeError ReadGifHeader(const std::vector<BYTE>& content, ImageHeader* header) {
  GifLayout layout;
  RuntimeError error = ReadGifLayout(content, &layout);
  if (FAILED(error.code)) {
    return error;
  }
  header->width = layout.width;
  header->height = layout.height;
  header->frame_count = layout.frame_count;
  header->bits_per_pixel = kOtherBits;
  return {};
}

RuntimeError ReadBmpHeader(const std::vector<BYTE>& content, ImageHeader* header) {
  if (!ReadBmpSize(content, &header->width, &header->height)) {
    return {WINCODEC_ERR_BADHEADER, {}};
  }
  header->bits_per_pixel = kOtherBits;
  return {};
}

RuntimeError ReadJpegImageHeader(const std::vector<BYTE>& content, ImageHeader* header) {
  if (!ReadJpegHeader(content, &header->width, &header->height, &header->bits_per_pixel)) {
    return {WINCODEC_ERR_BADHEADER, {}};
  }
  return {};
}

RuntimeError ReadLeptonicaHeader(const std::vector<BYTE>& content, ImageHeader* header) {
  l_int32 format = 0;
  l_int32 width = 0;
  l_int32 height = 0;
  l_int32 bits_per_sample = 0;
  l_int32 samples_per_pixel = 0;
  l_int32 has_colormap = 0;
  if (pixReadHeaderMem(content.data(), content.size(), &format, &width, &height, &bits_per_sample,
                       &samples_per_pixel, &has_colormap) != 0 ||
      width <= 0 || height <= 0 || bits_per_sample <= 0) {
    return {WINCODEC_ERR_BADHEADER, {}};
  }
  header->width = static_cast<uint32_t>(width);
  header->height = static_cast<uint32_t>(height);
  if (samples_per_pixel == 1 && has_colormap == 0 && bits_per_sample == 1) {
    header->bits_per_pixel = kBlackAndWhiteBits;
  } else if (header->format != ImageFormat::kPng) {
    header->bits_per_pixel = kOtherBits;
  } else {
    uint32_t interlace_method = 0;
    bool interlaced = ByteReader(content).Read(kPngInterlaceOffset, 1, &interlace_method) &&
                      interlace_method != 0;
    header->bits_per_pixel = interlaced ? kInterlacedPngBits : kGrayBits;
  }
  header->has_alpha = samples_per_pixel == 2 || samples_per_pixel == 4;
  if (header->format == ImageFormat::kTiff) {
    header->frame_count = CountTiffPages(content);
    if (header->frame_count == 0) {
      return {WINCODEC_ERR_BADHEADER, {}};
    }
  }
  return {};
}

}  // namespace

uint64_t ImageHeader::DecodedBytes() const {
  return (uint64_t{width} * height * bits_per_pixel + 7) / 8;
}

RuntimeError ImageHeader::Read(const std::vector<BYTE>& content, ImageHeader* header) {
  SetUpLeptonica();
  *header = ImageHeader();
  if (content.empty()) {
    return {WINCODEC_ERR_COMPONENTNOTFOUND, {}};
  }
  BYTE signature[kSignatureBytes] = {};
  std::memcpy(signature, content.data(), std::min(content.size(), kSignatureBytes));
  l_int32 leptonica_format = IFF_UNKNOWN;
  if (findFileFormatBuffer(signature, &leptonica_format) != 0 ||
      !FormatOf(leptonica_format, &header->format)) {
    return {WINCODEC_ERR_COMPONENTNOTFOUND, {}};
  }
  RuntimeError error;
  switch (header->format) {
    case ImageFormat::kGif:
      error = ReadGifHeader(content, header);
      break;
    case ImageFormat::kJpeg:
      error = ReadJpegImageHeader(content, header);
      break;
    case ImageFormat::kBmp:
      error = ReadBmpHeader(content, header);
      break;
    default:
      error = ReadLeptonicaHeader(content, header);
  }
  if (FAILED(error.code)) {
    return error;
  }
  if (header->width == 0 || header->height == 0) {
    return {WINCODEC_ERR_BADHEADER, {}};
  }
  if (header->DecodedBytes() > kMaxDecodedBytes) {
    return {WINCODEC_ERR_IMAGESIZEOUTOFRANGE,
            kTooLargeMessageStart + std::to_wstring(header->width) + L" x " +
                std::to_wstring(header->height) + kTooLargeMessageMiddle +
                std::to_wstring(kMaxDecodedBytes >> 20) + kTooLargeMessageEnd};
  }
  return {};
}

}  // namespace winrt_layer
