#include "platform/winrt/imaging/bmp_header.h"

#include <cstddef>

#include "platform/winrt/imaging/byte_order.h"

namespace winrt_layer {

bool ReadBmpSize(const std::vector<BYTE>& content, uint32_t* width, uint32_t* height) {
  constexpr size_t kInfoStart = 14;
  constexpr size_t kCoreHeaderSize = 12;
  constexpr size_t kInfoHeaderSize = 40;
  if (content.size() < kInfoStart + 4) {
    return false;
  }
  uint32_t info_size = ReadLittleEndian32(&content[kInfoStart]);
  if (info_size == kCoreHeaderSize && content.size() >= kInfoStart + kCoreHeaderSize) {
    *width = ReadLittleEndian16(&content[kInfoStart + 4]);
    *height = ReadLittleEndian16(&content[kInfoStart + 6]);
    return true;
  }
  if (info_size >= kInfoHeaderSize && content.size() >= kInfoStart + kInfoHeaderSize) {
    auto signed_width = static_cast<int32_t>(ReadLittleEndian32(&content[kInfoStart + 4]));
    auto signed_height = static_cast<int32_t>(ReadLittleEndian32(&content[kInfoStart + 8]));
    // A negative height is a bitmap stored top-down.
    if (signed_width <= 0 || signed_height == 0 || signed_height == INT32_MIN) {
      return false;
    }
    *width = static_cast<uint32_t>(signed_width);
    *height = static_cast<uint32_t>(signed_height < 0 ? -signed_height : signed_height);
    return true;
  }
  return false;
}

}  // namespace winrt_layer
