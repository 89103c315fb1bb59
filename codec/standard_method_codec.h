#ifndef CODEC_STANDARD_METHOD_CODEC_H_
#define CODEC_STANDARD_METHOD_CODEC_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "codec/encodable_value.h"
#include "codec/method_codec.h"
#include "codec/standard_codec_serializer.h"

namespace flutter {

// The standard framing: a call is the method name as a string value followed
// by the arguments; a success envelope is 00 and the result; an error envelope
// is 01, the code, the message (null when empty) and the details.
class StandardMethodCodec : public MethodCodec<EncodableValue> {
 public:
  static constexpr std::string_view kNameNotStringDiagnostic =
      "Invalid method call; method name is not a string.";

  // `serializer` is not owned and must outlive the codec.
  explicit StandardMethodCodec(const StandardCodecSerializer* serializer);
  ~StandardMethodCodec() override;

  std::unique_ptr<MethodCall<EncodableValue>> ParseMethodCall(const uint8_t* message,
                                                              size_t size) const override;
  std::unique_ptr<std::vector<uint8_t>> SerializeMethodCall(
      const MethodCall<EncodableValue>& call) const override;
  std::unique_ptr<std::vector<uint8_t>> SerializeSuccessReply(
      const EncodableValue* result) const override;
  std::unique_ptr<std::vector<uint8_t>> SerializeErrorReply(
      const std::string& code,
      const std::string& message,
      const EncodableValue* details) const override;
  // Throws BadVariantAccess, before `result` is called, when an error
  // envelope's code is not a string or its message neither a string nor null.
  bool ParseReply(const uint8_t* reply,
                  size_t size,
                  MethodResult<EncodableValue>* result) const override;

 private:
  const StandardCodecSerializer* serializer_;
};

// The one codec bound to `serializer` (null: SharedSerializer()). Codecs are
// created on first request and live until the process ends.
const StandardMethodCodec& CodecForSerializer(const StandardCodecSerializer* serializer);

}  // namespace flutter

#endif  // CODEC_STANDARD_METHOD_CODEC_H_
