#include "codec/byte_buffer_stream_writer.h"

namespace flutter {

ByteBufferStreamWriter::ByteBufferStreamWriter(std::vector<uint8_t>* output) : output_(output) {}

ByteBufferStreamWriter::~ByteBufferStreamWriter() = default;

void ByteBufferStreamWriter::PutByte(uint8_t byte) {
  output_->push_back(byte);
}

void ByteBufferStreamWriter::PutBytes(const uint8_t* source, size_t count) {
  if (count != 0) {
    output_->insert(output_->end(), source, source + count);
  }
}

void ByteBufferStreamWriter::PadToAlignment(uint8_t alignment) {
  size_t remainder = output_->size() % alignment;
  if (remainder != 0) {
    for (size_t i = remainder; i < alignment; ++i) {
      PutByte(0);
    }
  }
}

}  // namespace flutter
