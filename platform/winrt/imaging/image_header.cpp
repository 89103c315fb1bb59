#include "platform/winrt/imaging/image_header.h"

#include <leptonica/allheaders.h>
#include <winerror.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/winrt/imaging/image_limits.h"
#include "platform/winrt/imaging/jpeg_codec.h"
#include "platform/winrt/imaging/leptonica_image.h"

namespace winrt_layer {
namespace {

// findFileFormatBuffer reads this many bytes, whatever the content's size.
constexpr size_t kSignatureBytes = 12;

constexpr wchar_t kTooLargeMessageStart[] = L"The image is ";
constexpr wchar_t kTooLargeMessageMiddle[] = L" pixels: decoded, it would take more than the ";
constexpr wchar_t kTooLargeMessageEnd[] = L" MiB the decoder allows.";
constexpr uint32_t kBlackAndWhiteBits = 1;
// JPEG and PNG are decoded to grey; Leptonica decodes the other formats in
// colour.
constexpr uint32_t kGreyBits = 8;
constexpr uint32_t kOtherBits = 32;
// An interlaced PNG arrives in passes over the whole image, which is kept
// in colour with alpha until the grey frame is made.
constexpr uint32_t kInterlacedPngBits = 8 + 32;
// The interlace method in a PNG: the signature, IHDR's length and type, then
// width, height, depth, colour type, compression and filter.
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

uint32_t ReadLittleEndian16(const BYTE* bytes) {
  return bytes[0] | (uint32_t{bytes[1]} << 8);
}

// Moves past a chain of data sub-blocks; false when it runs off the end.
bool SkipSubBlocks(const std::vector<BYTE>& content, size_t* position) {
  while (*position < content.size()) {
    size_t length = content[(*position)++];
    if (length == 0) {
      return true;
    }
    *position += length;
  }
  return false;
}

size_t ColorTableBytes(BYTE packed_fields) {
  return (packed_fields & 0x80) != 0 ? 3 * (size_t{1} << ((packed_fields & 0x07) + 1)) : 0;
}

// GIF's blocks, walked without decoding: the frame count and where the
// first frame ends. Leptonica would decode every frame to read a header.
RuntimeError ReadGifHeader(const std::vector<BYTE>& content, ImageHeader* header) {
  constexpr size_t kScreenDescriptorEnd = 13;
  if (content.size() < kScreenDescriptorEnd) {
    return {WINCODEC_ERR_BADHEADER, {}};
  }
  header->width = ReadLittleEndian16(&content[6]);
  header->height = ReadLittleEndian16(&content[8]);
  size_t position = kScreenDescriptorEnd + ColorTableBytes(content[10]);
  header->screen_end = std::min(position, content.size());
  header->frame_count = 0;
  while (position < content.size()) {
    BYTE introducer = content[position++];
    if (introducer == 0x21 && position < content.size()) {
      ++position;  // The extension's label.
      if (!SkipSubBlocks(content, &position)) {
        break;
      }
    } else if (introducer == 0x2C && position + 9 <= content.size()) {
      size_t start = position - 1;
      uint32_t width = ReadLittleEndian16(&content[position + 4]);
      uint32_t height = ReadLittleEndian16(&content[position + 6]);
      position += 9 + ColorTableBytes(content[position + 8]);
      ++position;  // The LZW code size.
      if (!SkipSubBlocks(content, &position)) {
        break;
      }
      if (++header->frame_count == 1) {
        header->first_frame_start = start;
        header->first_frame_end = position;
        header->width = std::max(header->width, width);
        header->height = std::max(header->height, height);
      }
    } else {
      break;
    }
  }
  if (header->frame_count == 0) {
    return {WINCODEC_ERR_BADIMAGE, {}};
  }
  header->bits_per_pixel = kOtherBits;
  return {};
}

uint64_t ReadUnsigned(const std::vector<BYTE>& content,
                      size_t position,
                      size_t size,
                      bool big_endian) {
  uint64_t value = 0;
  for (size_t i = 0; i < size; ++i) {
    uint64_t byte = content[position + (big_endian ? i : size - 1 - i)];
    value = (value << 8) | byte;
  }
  return value;
}

// The pages of a TIFF (classic or BigTIFF): the chain of its image file
// directories, walked without decoding. A link that leaves the content ends
// the count; a chain that loops is cut at kMaxPages.
uint32_t CountTiffPages(const std::vector<BYTE>& content) {
  constexpr uint32_t kMaxPages = 1u << 16;
  if (content.size() < 8) {
    return 0;
  }
  bool big_endian = content[0] == 'M';
  bool big_tiff = ReadUnsigned(content, 2, 2, big_endian) == 43;
  size_t offset_size = big_tiff ? 8 : 4;
  size_t count_size = big_tiff ? 8 : 2;
  size_t entry_size = big_tiff ? 20 : 12;
  size_t header_size = big_tiff ? 16 : 8;
  if (content.size() < header_size) {
    return 0;
  }
  uint64_t offset = ReadUnsigned(content, big_tiff ? 8 : 4, offset_size, big_endian);
  uint32_t pages = 0;
  while (offset != 0 && pages < kMaxPages && offset + count_size <= content.size()) {
    uint64_t entries = ReadUnsigned(content, static_cast<size_t>(offset), count_size, big_endian);
    uint64_t next = offset + count_size + entries * entry_size;
    if (entries > content.size() || next + offset_size > content.size()) {
      break;
    }
    ++pages;
    offset = ReadUnsigned(content, static_cast<size_t>(next), offset_size, big_endian);
  }
  return pages;
}

uint32_t ReadLittleEndian32(const BYTE* bytes) {
  return ReadLittleEndian16(bytes) | (ReadLittleEndian16(bytes + 2) << 16);
}

// The BMP file and bitmap headers. Leptonica would decode the whole bitmap
// to read them.
RuntimeError ReadBmpHeader(const std::vector<BYTE>& content, ImageHeader* header) {
  constexpr size_t kInfoStart = 14;
  constexpr size_t kCoreHeaderSize = 12;
  constexpr size_t kInfoHeaderSize = 40;
  if (content.size() < kInfoStart + 4) {
    return {WINCODEC_ERR_BADHEADER, {}};
  }
  uint32_t info_size = ReadLittleEndian32(&content[kInfoStart]);
  if (info_size == kCoreHeaderSize && content.size() >= kInfoStart + kCoreHeaderSize) {
    header->width = ReadLittleEndian16(&content[kInfoStart + 4]);
    header->height = ReadLittleEndian16(&content[kInfoStart + 6]);
  } else if (info_size >= kInfoHeaderSize && content.size() >= kInfoStart + kInfoHeaderSize) {
    auto width = static_cast<int32_t>(ReadLittleEndian32(&content[kInfoStart + 4]));
    auto height = static_cast<int32_t>(ReadLittleEndian32(&content[kInfoStart + 8]));
    // A negative height is a bitmap stored top-down.
    if (width <= 0 || height == 0 || height == INT32_MIN) {
      return {WINCODEC_ERR_BADHEADER, {}};
    }
    header->width = static_cast<uint32_t>(width);
    header->height = static_cast<uint32_t>(height < 0 ? -height : height);
  } else {
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
    bool interlaced = content.size() > kPngInterlaceOffset && content[kPngInterlaceOffset] != 0;
    header->bits_per_pixel = interlaced ? kInterlacedPngBits : kGreyBits;
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
