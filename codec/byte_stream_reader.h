#ifndef CODEC_BYTE_STREAM_READER_H_
#define CODEC_BYTE_STREAM_READER_H_

#include <cstddef>
#include <cstdint>

namespace flutter {

// The source the standard serializer decodes from. Reading past the end is not
// an error for the caller: the reader reports it and yields nothing.
class ByteStreamReader {
 public:
  ByteStreamReader() = default;
  ByteStreamReader(const ByteStreamReader&) = delete;
  ByteStreamReader& operator=(const ByteStreamReader&) = delete;
  virtual ~ByteStreamReader() = default;

  // The next byte, or 0 when none is left.
  virtual uint8_t TakeByte() = 0;

  // Copies the next `count` bytes to `destination`; when fewer are left it
  // copies nothing and leaves `destination` as it was.
  virtual void TakeBytes(uint8_t* destination, size_t count) = 0;

  // Advances to the next multiple of `alignment` (never 0), counted from the
  // start of the message. No bounds check.
  virtual void SkipToAlignment(uint8_t alignment) = 0;

  // Checks that at least `count` bytes are left before a declared size is
  // trusted. When they are not, reports it, moves to the end (so the reader is
  // exhausted) and returns false.
  virtual bool Require(uint64_t count) = 0;

  // Hands out the next `count` bytes in place, without copying, and advances
  // past them. When fewer are left, behaves as a failed Require and returns
  // false. `*view` stays valid as long as the message bytes do.
  virtual bool TakeView(uint64_t count, const uint8_t** view) = 0;

  // Moves to the end without a report: what remains will not be decoded.
  virtual void SkipToEnd() = 0;
};

}  // namespace flutter

#endif  // CODEC_BYTE_STREAM_READER_H_
