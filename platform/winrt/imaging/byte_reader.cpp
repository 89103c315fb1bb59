#include "platform/winrt/imaging/byte_reader.h"

namespace winrt_layer {

bool ByteReader::Read(uint64_t offset, size_t length, uint64_t* value) const {
  if (length == 0 || length > sizeof(uint64_t) || !Has(offset, length)) {
    return false;
  }
  const BYTE* bytes = data_ + offset;
  uint64_t number = 0;
  for (size_t i = 0; i < length; ++i) {
    number = (number << 8) | bytes[order_ == Order::kBigEndian ? i : length - 1 - i];
  }
  *value = number;
  return true;
}

bool ByteReader::Read(uint64_t offset, size_t length, uint32_t* value) const {
  uint64_t number = 0;
  if (length > sizeof(uint32_t) || !Read(offset, length, &number)) {
    return false;
  }
  *value = static_cast<uint32_t>(number);
  return true;
}

}  // namespace winrt_layer
