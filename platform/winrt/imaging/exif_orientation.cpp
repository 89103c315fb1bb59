#include "platform/winrt/imaging/exif_orientation.h"

#include <cstring>
#include <utility>

#include "platform/winrt/imaging/byte_reader.h"

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

// The orientation in an EXIF block, a TIFF structure of its own with
// offsets from its start: 1 to 8, or 0 when the block holds no readable
// orientation.
uint32_t ReadExifOrientation(const uint8_t* data, size_t size) {
  if (size < 8 || (std::memcmp(data, "II", 2) != 0 && std::memcmp(data, "MM", 2) != 0)) {
    return 0;
  }
  ByteReader block(
      data, size,
      data[0] == 'M' ? ByteReader::Order::kBigEndian : ByteReader::Order::kLittleEndian);
  uint32_t version = 0;
  uint32_t directory = 0;
  uint32_t entries = 0;
  if (!block.Read(2, 2, &version) || version != 42 || !block.Read(4, 4, &directory) ||
      !block.Read(directory, 2, &entries)) {
    return 0;
  }
  for (uint64_t i = 0; i < entries; ++i) {
    uint64_t entry = 0;
    uint32_t tag = 0;
    uint32_t type = 0;
    uint32_t value = 0;
    if (!CheckedMultiply(i, kEntrySize, &entry) ||
        !CheckedAdd(entry, uint64_t{directory} + 2, &entry) || !block.Read(entry, 2, &tag) ||
        !block.Read(entry + 2, 2, &type) || !block.Read(entry + 8, 2, &value)) {
      return 0;
    }
    if (tag == kOrientationTag) {
      return type == kShortType && value >= 1 && value <= 8 ? value : 0;
    }
  }
  return 0;
}

}  // namespace

uint32_t ReadJpegOrientation(const std::vector<uint8_t>& content) {
  ByteReader reader(content, ByteReader::Order::kBigEndian);
  uint32_t start = 0;
  if (!reader.Read(0, 2, &start) || start != (kMarkerStart << 8 | kStartOfImage)) {
    return 1;
  }
  uint64_t position = 2;
  // The segments before the image data, each a marker and a length that
  // counts itself.
  uint32_t marker_start = 0;
  uint32_t marker = 0;
  uint32_t length = 0;
  while (reader.Read(position, 1, &marker_start) && marker_start == kMarkerStart &&
         reader.Read(position + 1, 1, &marker) && reader.Read(position + 2, 2, &length)) {
    if (marker == kMarkerStart) {
      ++position;  // Fill byte.
      continue;
    }
    if (marker == kStartOfScan || marker == kEndOfImage || length < 2 ||
        !reader.Has(position + 2, length)) {
      break;
    }
    const uint8_t* segment = content.data() + position + 4;
    size_t segment_size = length - 2;
    if (marker == kApp1 && segment_size > kExifSignatureSize &&
        std::memcmp(segment, kExifSignature, kExifSignatureSize) == 0) {
      uint32_t orientation =
          ReadExifOrientation(segment + kExifSignatureSize, segment_size - kExifSignatureSize);
      // Only the first EXIF block counts, as in viewers.
      return orientation != 0 ? orientation : 1;
    }
    position += 2 + length;
  }
  return 1;
}

ScopedPix ApplyOrientation(ScopedPix pix, uint32_t orientation) {
  // Flips and half turns are made in place, and a quarter turn is mirrored
  // in place once the stored image is gone: a decoded photo at the size
  // limit is the largest block the process holds, and a third copy of it
  // would break the memory budget.
  PIX* source = pix.get();
  switch (orientation) {
    case 2:
      return pixFlipLR(source, source) != nullptr ? std::move(pix) : nullptr;
    case 3:
      return pixRotate180(source, source) != nullptr ? std::move(pix) : nullptr;
    case 4:
      return pixFlipTB(source, source) != nullptr ? std::move(pix) : nullptr;
    case 5:
    case 7: {
      // Transposed: a quarter turn (clockwise for 5), then mirrored.
      ScopedPix turned(pixRotate90(source, orientation == 5 ? 1 : -1));
      pix.reset();
      return turned && pixFlipLR(turned.get(), turned.get()) != nullptr ? std::move(turned)
                                                                        : nullptr;
    }
    case 6:
      return ScopedPix(pixRotate90(source, 1));
    case 8:
      return ScopedPix(pixRotate90(source, -1));
    default:
      return pix;
  }
}

}  // namespace winrt_layer
