#include "platform/winrt/imaging/exif_orientation.h"

#include <cstring>

namespace winrt_layer {
namespace {

constexpr uint8_t kMarkerStart = 0xFF;
constexpr uint8_t kStartOfImage = 0xD8;
constexpr uint8_t kStartOfScan = 0xDA;
constexpr uint8_t kEndOfImage = 0xD9;
constexpr uint8_t kApp1 = 0xE1;
constexpr char kExifSignature[] = "Exif\0";  // With the terminator: 6 bytes.
constexpr size_t kExifSignatureSize = sizeof(kExifSignature);
constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kShortType = 3;
constexpr size_t kEntrySize = 12;

// The EXIF block: a TIFF structure of its own, with offsets from its start.
class TiffBlock {
 public:
  TiffBlock(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  // 1 to 8, or 0 when the block holds no readable orientation.
  uint32_t Orientation() const {
    if (size_ < 8 || (std::memcmp(data_, "II", 2) != 0 && std::memcmp(data_, "MM", 2) != 0)) {
      return 0;
    }
    big_endian_ = data_[0] == 'M';
    uint32_t directory = 0;
    if (!Read(2, 2, nullptr) || Value(2, 2) != 42 || !Read(4, 4, &directory)) {
      return 0;
    }
    uint32_t entries = 0;
    if (!Read(directory, 2, &entries)) {
      return 0;
    }
    for (uint32_t i = 0; i < entries; ++i) {
      uint64_t entry = uint64_t{directory} + 2 + uint64_t{i} * kEntrySize;
      uint32_t tag = 0;
      uint32_t type = 0;
      uint32_t value = 0;
      if (!Read(entry, 2, &tag) || !Read(entry + 2, 2, &type) || !Read(entry + 8, 2, &value)) {
        return 0;
      }
      if (tag == kOrientationTag) {
        return type == kShortType && value >= 1 && value <= 8 ? value : 0;
      }
    }
    return 0;
  }

 private:
  // The `size`-byte number at `offset`; false when it lies past the end.
  bool Read(uint64_t offset, size_t size, uint32_t* value) const {
    if (offset > size_ || size > size_ - offset) {
      return false;
    }
    if (value != nullptr) {
      *value = Value(static_cast<size_t>(offset), size);
    }
    return true;
  }

  uint32_t Value(size_t offset, size_t size) const {
    uint32_t value = 0;
    for (size_t i = 0; i < size; ++i) {
      value = (value << 8) | data_[offset + (big_endian_ ? i : size - 1 - i)];
    }
    return value;
  }

  const uint8_t* data_;
  size_t size_;
  mutable bool big_endian_ = false;
};

}  // namespace

uint32_t ReadJpegOrientation(const std::vector<uint8_t>& content) {
  if (content.size() < 4 || content[0] != kMarkerStart || content[1] != kStartOfImage) {
    return 1;
  }
  size_t position = 2;
  // The segments before the image data, each a marker and a length that
  // counts itself.
  while (position + 4 <= content.size() && content[position] == kMarkerStart) {
    uint8_t marker = content[position + 1];
    if (marker == kMarkerStart) {
      ++position;  // Fill byte.
      continue;
    }
    if (marker == kStartOfScan || marker == kEndOfImage) {
      break;
    }
    size_t length = (size_t{content[position + 2]} << 8) | content[position + 3];
    if (length < 2 || length > content.size() - position - 2) {
      break;
    }
    const uint8_t* segment = &content[position + 4];
    size_t segment_size = length - 2;
    if (marker == kApp1 && segment_size > kExifSignatureSize &&
        std::memcmp(segment, kExifSignature, kExifSignatureSize) == 0) {
      uint32_t orientation =
          TiffBlock(segment + kExifSignatureSize, segment_size - kExifSignatureSize).Orientation();
      // Only the first EXIF block counts, as in viewers.
      return orientation != 0 ? orientation : 1;
    }
    position += 2 + length;
  }
  return 1;
}

ScopedPix ApplyOrientation(ScopedPix pix, uint32_t orientation) {
  PIX* source = pix.get();
  switch (orientation) {
    case 2:
      return ScopedPix(pixFlipLR(nullptr, source));
    case 3:
      return ScopedPix(pixRotate180(nullptr, source));
    case 4:
      return ScopedPix(pixFlipTB(nullptr, source));
    case 5: {
      // Transposed: a quarter turn clockwise, then mirrored.
      ScopedPix turned(pixRotate90(source, 1));
      return turned ? ScopedPix(pixFlipLR(nullptr, turned.get())) : nullptr;
    }
    case 6:
      return ScopedPix(pixRotate90(source, 1));
    case 7: {
      ScopedPix turned(pixRotate90(source, -1));
      return turned ? ScopedPix(pixFlipLR(nullptr, turned.get())) : nullptr;
    }
    case 8:
      return ScopedPix(pixRotate90(source, -1));
    default:
      return pix;
  }
}

}  // namespace winrt_layer
