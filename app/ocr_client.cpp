#include "app/ocr_client.h"

#include <memory>
#include <utility>

#include "app/app_codec.h"
#include "engine_bridge/method_call.h"

OcrClient::OcrClient(AppHost& host) : host_(host) {}

void OcrClient::Recognize(const std::string& path, ReplyHandler on_reply) {
  flutter::ValueMap arguments;
  arguments.emplace(std::string(kOcrPathKey), path);
  const flutter::MethodCall<flutter::EncodableValue> call(
      std::string(kOcrRecognizeMethod),
      std::make_unique<flutter::EncodableValue>(std::move(arguments)));
  const std::unique_ptr<std::vector<uint8_t>> message = AppCodec().SerializeMethodCall(call);
  host_.Send(std::string(kOcrChannel), *message,
             [on_reply = std::move(on_reply)](std::span<const uint8_t> reply) {
               on_reply(DecodeMethodReply(reply));
             });
}
