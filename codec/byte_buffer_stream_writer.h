#ifndef CODEC_BYTE_BUFFER_STREAM_WRITER_H_
#define CODEC_BYTE_BUFFER_STREAM_WRITER_H_

#include <cstddef>
#include <cstdint>
#include <vector>

#include "codec/byte_stream_writer.h"

namespace flutter {

// Appends to a byte array owned by the caller; the array's length is the write
// position, so alignment counts from its first byte.
class ByteBufferStreamWriter : public ByteStreamWriter {
 public:
  explicit ByteBufferStreamWriter(std::vector<uint8_t>* output);
  ~ByteBufferStreamWriter() override;

  void PutByte(uint8_t byte) override;
  void PutBytes(const uint8_t* source, size_t count) override;
  void PadToAlignment(uint8_t alignment) override;

 private:
  std::vector<uint8_t>* output_;
};

}  // namespace flutter

#endif  // CODEC_BYTE_BUFFER_STREAM_WRITER_H_
