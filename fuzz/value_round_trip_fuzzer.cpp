// Whatever value decodes from the input, its encoding decodes completely and,
// unless a map key holds a NaN, encodes again to the same bytes.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "codec/byte_buffer_stream_reader.h"
#include "codec/byte_buffer_stream_writer.h"
#include "codec/encodable_value.h"
#include "codec/standard_codec_serializer.h"
#include "fuzz/nan_map_keys.h"
#include "fuzz/quiet_diagnostics.h"

namespace {

std::vector<uint8_t> Encode(const flutter::EncodableValue& value) {
  std::vector<uint8_t> bytes;
  flutter::ByteBufferStreamWriter writer(&bytes);
  flutter::SharedSerializer().WriteValue(value, &writer);
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  norvalis_fuzz::SilenceCodecDiagnostics();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const flutter::StandardCodecSerializer& serializer = flutter::SharedSerializer();
  flutter::ByteBufferStreamReader input(data, size);
  const flutter::EncodableValue value = serializer.ReadValue(&input);
  const std::vector<uint8_t> encoded = Encode(value);

  flutter::ByteBufferStreamReader reader(encoded.data(), encoded.size());
  const flutter::EncodableValue decoded = serializer.ReadValue(&reader);
  if (reader.position() != encoded.size()) {
    __builtin_trap();
  }
  if (Encode(decoded) != encoded && !norvalis_fuzz::HasNanInMapKey(value)) {
    __builtin_trap();
  }
  return 0;
}
