// Any reply parses without fault and keeps the result's contract: one answer
// for a recognized envelope, none otherwise, none before a bad variant access.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <variant>

#include "codec/encodable_value.h"
#include "codec/standard_method_codec.h"
#include "engine_bridge/method_result.h"
#include "fuzz/quiet_diagnostics.h"

namespace {

// Counts the answers it is handed and keeps nothing else.
class CountingResult : public flutter::MethodResult<flutter::EncodableValue> {
 public:
  int answers() const { return answers_; }

  void DeliverSuccess(const flutter::EncodableValue* result) override {
    // A success that reads as null arrives without a value.
    if (result != nullptr && result->IsNull()) {
      __builtin_trap();
    }
    ++answers_;
  }
  void DeliverError(const std::string&,
                    const std::string&,
                    const flutter::EncodableValue* details) override {
    if (details != nullptr && details->IsNull()) {
      __builtin_trap();
    }
    ++answers_;
  }
  void DeliverNotImplemented() override { __builtin_trap(); }

 private:
  int answers_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  norvalis_fuzz::SilenceCodecDiagnostics();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const flutter::StandardMethodCodec& codec = flutter::CodecForSerializer(nullptr);
  // An empty reply reads its envelope byte as 0, a success.
  const uint8_t envelope = size == 0 ? 0 : data[0];
  CountingResult result;
  bool recognized;
  try {
    recognized = codec.ParseReply(data, size, &result);
  } catch (const std::bad_variant_access& error) {
    // Only an error envelope whose code or message has the wrong kind throws,
    // with the fixed text, and before the result hears anything.
    if (envelope != 1 || std::strcmp(error.what(), "bad variant access") != 0 ||
        result.answers() != 0) {
      __builtin_trap();
    }
    return 0;
  }
  if (result.answers() != (recognized ? 1 : 0) || recognized != (envelope <= 1)) {
    __builtin_trap();
  }
  return 0;
}
