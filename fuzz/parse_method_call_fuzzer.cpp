// Any message parses without fault; a call that parses survives its own
// encoding: it parses back to the same name, and unless a map key in its
// arguments holds a NaN, its encoding is stable.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "codec/encodable_value.h"
#include "codec/standard_method_codec.h"
#include "engine_bridge/method_call.h"
#include "fuzz/nan_map_keys.h"
#include "fuzz/quiet_diagnostics.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  norvalis_fuzz::SilenceCodecDiagnostics();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const flutter::StandardMethodCodec& codec = flutter::CodecForSerializer(nullptr);
  std::unique_ptr<flutter::MethodCall<flutter::EncodableValue>> call =
      codec.ParseMethodCall(data, size);
  if (call == nullptr) {
    return 0;
  }
  // The codec always supplies arguments, possibly the null value.
  if (call->args() == nullptr) {
    __builtin_trap();
  }
  std::unique_ptr<std::vector<uint8_t>> encoded = codec.SerializeMethodCall(*call);
  std::unique_ptr<flutter::MethodCall<flutter::EncodableValue>> again =
      codec.ParseMethodCall(encoded->data(), encoded->size());
  if (again == nullptr || again->method() != call->method()) {
    __builtin_trap();
  }
  if (*codec.SerializeMethodCall(*again) != *encoded &&
      !norvalis_fuzz::HasNanInMapKey(*call->args())) {
    __builtin_trap();
  }
  return 0;
}
