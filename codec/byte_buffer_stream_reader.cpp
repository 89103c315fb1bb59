#include "codec/byte_buffer_stream_reader.h"

#include <algorithm>
#include <cstring>

#include "codec/diagnostic.h"

namespace flutter {

ByteBufferStreamReader::ByteBufferStreamReader(const uint8_t* data, size_t size)
    : data_(data), size_(size) {}

ByteBufferStreamReader::~ByteBufferStreamReader() = default;

uint8_t ByteBufferStreamReader::TakeByte() {
  if (position_ < size_) {
    return data_[position_++];
  }
  WriteDiagnosticLine(kInvalidReadDiagnostic);
  return 0;
}

void ByteBufferStreamReader::TakeBytes(uint8_t* destination, size_t count) {
  // position_ may already be past size_, so compare without subtracting.
  if (position_ > size_ || count > size_ - position_) {
    WriteDiagnosticLine(kInvalidReadDiagnostic);
    return;
  }
  if (count != 0) {
    std::memcpy(destination, data_ + position_, count);
  }
  position_ += count;
}

void ByteBufferStreamReader::SkipToAlignment(uint8_t alignment) {
  uint64_t remainder = position_ % alignment;
  if (remainder != 0) {
    position_ += alignment - remainder;
  }
}

bool ByteBufferStreamReader::Require(uint64_t count) {
  if (count > Remaining()) {
    FailDeclaredSize();
    return false;
  }
  return true;
}

bool ByteBufferStreamReader::TakeView(uint64_t count, const uint8_t** view) {
  // Past the end even an empty view fails, as TakeBytes does.
  if (position_ > size_ || count > size_ - position_) {
    FailDeclaredSize();
    return false;
  }
  *view = data_ + position_;
  position_ += count;
  return true;
}

void ByteBufferStreamReader::SkipToEnd() {
  position_ = std::max(position_, size_);
}

void ByteBufferStreamReader::FailDeclaredSize() {
  WriteDiagnosticLine(kInvalidReadDiagnostic);
  SkipToEnd();
}

}  // namespace flutter
