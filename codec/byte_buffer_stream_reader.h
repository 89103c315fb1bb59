#ifndef CODEC_BYTE_BUFFER_STREAM_READER_H_
#define CODEC_BYTE_BUFFER_STREAM_READER_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "codec/byte_stream_reader.h"

namespace flutter {

// Reads the bytes of one message. The bytes are borrowed and must outlive the
// reader. Every failed read writes kInvalidReadDiagnostic on standard error.
class ByteBufferStreamReader : public ByteStreamReader {
 public:
  static constexpr std::string_view kInvalidReadDiagnostic =
      "Invalid read in StandardCodecByteStreamReader";

  ByteBufferStreamReader(const uint8_t* data, size_t size);
  ~ByteBufferStreamReader() override;

  uint8_t TakeByte() override;
  void TakeBytes(uint8_t* destination, size_t count) override;
  void SkipToAlignment(uint8_t alignment) override;
  bool Require(uint64_t count) override;
  bool TakeView(uint64_t count, const uint8_t** view) override;
  void SkipToEnd() override;

  // Offset of the next byte to read. Never decreases; may pass the size after
  // SkipToAlignment.
  uint64_t position() const { return position_; }

 private:
  uint64_t Remaining() const { return position_ < size_ ? size_ - position_ : 0; }
  void FailDeclaredSize();

  const uint8_t* data_;
  uint64_t size_;
  uint64_t position_ = 0;
};

}  // namespace flutter

#endif  // CODEC_BYTE_BUFFER_STREAM_READER_H_
