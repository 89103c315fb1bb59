#include "app/method_reply.h"

#include "app/app_codec.h"
#include "engine_bridge/method_result.h"

namespace {

// Receives what the codec reads from an envelope.
class ReplyCapture : public flutter::MethodResult<flutter::EncodableValue> {
 public:
  explicit ReplyCapture(MethodReply& reply) : reply_(reply) {}

  void DeliverSuccess(const flutter::EncodableValue* result) override {
    reply_.kind = MethodReply::Kind::kSuccess;
    if (result != nullptr) {
      reply_.value = *result;
    }
  }
  void DeliverError(const std::string& code,
                    const std::string& message,
                    const flutter::EncodableValue* details) override {
    reply_.kind = MethodReply::Kind::kError;
    reply_.error_code = code;
    reply_.error_message = message;
    if (details != nullptr) {
      reply_.error_details = *details;
    }
  }
  void DeliverNotImplemented() override { reply_.kind = MethodReply::Kind::kNotImplemented; }

 private:
  MethodReply& reply_;
};

}  // namespace

MethodReply DecodeMethodReply(std::span<const uint8_t> reply) {
  MethodReply decoded;
  if (reply.empty()) {
    decoded.kind = MethodReply::Kind::kNotImplemented;
    return decoded;
  }
  ReplyCapture capture(decoded);
  try {
    if (!AppCodec().ParseReply(reply.data(), reply.size(), &capture)) {
      decoded.kind = MethodReply::Kind::kUndecodable;
    }
  } catch (const flutter::BadVariantAccess&) {
    // An error envelope whose code or message is not text.
    decoded = MethodReply();
  }
  return decoded;
}
