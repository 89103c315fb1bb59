#include "platform/winrt/imaging/bmp_header.h"

#include <cstddef>

#include "platform/winrt/imaging/byte_reader.h"

namespace winrt_layer {

bool ReadBmpSize(const std::vector<BYTE>& content, uint32_t* width, uint32_t* height) {
  constexpr size_t kInfoStart = 14;
  constexpr uint32_t kCoreHeaderSize = 12;
  constexpr uint32_t kInfoHeaderSize = 40;
  ByteReader reader(content);
  uint32_t info_size = 0;
  if (!reader.Read(kInfoStart, 4, &info_size)) {
    return false;
  }
  if (info_size == kCoreHeaderSize && reader.Has(kInfoStart, kCoreHeaderSize)) {
    return reader.Read(kInfoStart + 4, 2, width) && reader.Read(kInfoStart + 6, 2, height);
  }
  uint32_t stored_width = 0;
  uint32_t stored_height = 0;
  if (info_size < kInfoHeaderSize || !reader.Has(kInfoStart, kInfoHeaderSize) ||
      !reader.Read(kInfoStart + 4, 4, &stored_width) ||
      !reader.Read(kInfoStart + 8, 4, &stored_height)) {
    return false;
  }
  auto signed_width = static_cast<int32_t>(stored_width);
  auto signed_height = static_cast<int32_t>(stored_height);
  // A negative height is a bitmap stored top-down.
  if (signed_width <= 0 || signed_height == 0 || signed_height == INT32_MIN) {
    return false;
  }
  *width = static_cast<uint32_t>(signed_width);
  *height = static_cast<uint32_t>(signed_height < 0 ? -signed_height : signed_height);
  return true;
}

}  // namespace winrt_layer
