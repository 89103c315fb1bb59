#include "platform/winrt/imaging/tiff_header.h"

#include <cstddef>

namespace winrt_layer {
namespace {

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

}  // namespace

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

}  // namespace winrt_layer
