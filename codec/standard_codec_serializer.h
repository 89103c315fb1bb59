#ifndef CODEC_STANDARD_CODEC_SERIALIZER_H_
#define CODEC_STANDARD_CODEC_SERIALIZER_H_

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "codec/byte_stream_reader.h"
#include "codec/byte_stream_writer.h"
#include "codec/encodable_value.h"

namespace flutter {

// Turns values into the standard message encoding and back. Stateless, so one
// instance serves every thread. Nested values go through the same virtual
// operations, so a derived serializer that adds kinds is reached at any depth.
class StandardCodecSerializer {
 public:
  // Lists and maps nested deeper than this read as null and end decoding. At
  // 128 levels decoding, copying, comparing and destroying a value take well
  // under a quarter of a 1 MiB stack, even in sanitizer builds; real
  // application payloads nest a handful of levels.
  static constexpr int kMaxNestingDepth = 128;

  // The largest size the size field can express.
  static constexpr uint64_t kMaxSize = 0xFFFFFFFF;

  static constexpr std::string_view kUnknownTypeDiagnostic =
      "Unknown type in StandardCodecSerializer::ReadValueOfType: ";
  static constexpr std::string_view kTooDeepDiagnostic =
      "Lists and maps nested too deeply in StandardCodecSerializer::ReadValueOfType";
  static constexpr std::string_view kCustomTypeDiagnostic =
      "Unhandled custom type in StandardCodecSerializer::WriteValue. "
      "Custom types require codec extensions.";
  static constexpr std::string_view kTooLargeDiagnostic =
      "Size too large in StandardCodecSerializer::WriteValue: ";

  StandardCodecSerializer();
  StandardCodecSerializer(const StandardCodecSerializer&) = delete;
  StandardCodecSerializer& operator=(const StandardCodecSerializer&) = delete;
  virtual ~StandardCodecSerializer();

  // Appends the encoding of `value`.
  virtual void WriteValue(const EncodableValue& value, ByteStreamWriter* stream) const;

  // Decodes the payload of one value whose type byte the caller has taken.
  virtual EncodableValue ReadValueOfType(uint8_t type, ByteStreamReader* stream) const;

  // Reads one complete value: its type byte, then its payload.
  EncodableValue ReadValue(ByteStreamReader* stream) const;

 protected:
  // The variable-length size field: one byte below 254, 254 and two bytes up
  // to 65535, else 255 and four bytes. `size` must be at most kMaxSize.
  static void WriteSize(uint64_t size, ByteStreamWriter* stream);
  static uint32_t ReadSize(ByteStreamReader* stream);

 private:
  template <typename T>
  static void WriteTypedList(const std::vector<T>& list, ByteStreamWriter* stream);
  template <typename T>
  static std::vector<T> ReadTypedList(ByteStreamReader* stream);
};

// The process-wide standard serializer, created on first use and never
// destroyed.
const StandardCodecSerializer& SharedSerializer();

}  // namespace flutter

#endif  // CODEC_STANDARD_CODEC_SERIALIZER_H_
