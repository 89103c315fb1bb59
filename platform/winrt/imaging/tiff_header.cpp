#include "platform/winrt/imaging/tiff_header.h"

#include <cstddef>

#include "platform/winrt/imaging/byte_reader.h"

namespace winrt_layer {

uint32_t CountTiffPages(const std::vector<BYTE>& content) {
  constexpr uint32_t kMaxPages = 1u << 16;
  constexpr uint32_t kBigTiffVersion = 43;
  if (content.size() < 8) {
    return 0;
  }
  ByteReader reader(content, content[0] == 'M' ? ByteReader::Order::kBigEndian
                                               : ByteReader::Order::kLittleEndian);
  uint32_t version = 0;
  reader.Read(2, 2, &version);
  bool big_tiff = version == kBigTiffVersion;
  size_t offset_size = big_tiff ? 8 : 4;
  size_t count_size = big_tiff ? 8 : 2;
  uint64_t entry_size = big_tiff ? 20 : 12;
  uint64_t offset = 0;
  if (!reader.Read(big_tiff ? 8 : 4, offset_size, &offset)) {
    return 0;
  }
  uint32_t pages = 0;
  while (offset != 0 && pages < kMaxPages) {
    // A directory: its entry count, its entries, and the offset of the next.
    uint64_t entries = 0;
    uint64_t table_bytes = 0;
    uint64_t next = 0;
    if (!reader.Read(offset, count_size, &entries) ||
        !CheckedMultiply(entries, entry_size, &table_bytes) ||
        !CheckedAdd(offset, count_size, &next) || !CheckedAdd(next, table_bytes, &next) ||
        !reader.Read(next, offset_size, &offset)) {
      break;
    }
    ++pages;
  }
  return pages;
}

}  // namespace winrt_layer
