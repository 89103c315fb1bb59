#ifndef CODEC_BYTE_STREAM_WRITER_H_
#define CODEC_BYTE_STREAM_WRITER_H_

#include <cstddef>
#include <cstdint>

namespace flutter {

// The sink the standard serializer encodes to.
class ByteStreamWriter {
 public:
  ByteStreamWriter() = default;
  ByteStreamWriter(const ByteStreamWriter&) = delete;
  ByteStreamWriter& operator=(const ByteStreamWriter&) = delete;
  virtual ~ByteStreamWriter() = default;

  virtual void PutByte(uint8_t byte) = 0;
  virtual void PutBytes(const uint8_t* source, size_t count) = 0;

  // Appends zero bytes up to the next multiple of `alignment` (never 0),
  // counted from the start of the message.
  virtual void PadToAlignment(uint8_t alignment) = 0;
};

}  // namespace flutter

#endif  // CODEC_BYTE_STREAM_WRITER_H_
