// Sends the OCR channel calls that the application itself never makes: one
// without arguments, one whose path is a number, one of an unknown method
// and bytes that hold no call, one after the other; prints each reply as
// decoded, then closes the window.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_codec.h"
#include "app/app_host.h"
#include "app/method_reply.h"
#include "app/ocr_client.h"
#include "app/print_line.h"
#include "engine_bridge/method_call.h"
#include "tests/apps/test_app_lines.h"

namespace {

// A method name that is the number 1 (int32), and no arguments.
const std::vector<uint8_t> kCallNamedByNumber = {0x03, 0x01, 0x00, 0x00, 0x00, 0x00};

std::optional<AppHost> app_host;

std::string Describe(const MethodReply& reply) {
  switch (reply.kind) {
    case MethodReply::Kind::kSuccess:
      return std::string(kSuccessReply) + std::to_string(reply.value.Index());
    case MethodReply::Kind::kError:
      return std::string(kErrorReply) + reply.error_code + ": " + reply.error_message +
             std::string(reply.error_details.IsNull() ? kWithoutDetails : kWithDetails);
    case MethodReply::Kind::kNotImplemented:
      return std::string(kNotImplementedReply);
    case MethodReply::Kind::kUndecodable:
      break;
  }
  return std::string(kUndecodableReply);
}

std::vector<uint8_t> EncodeCall(std::string_view method,
                                std::unique_ptr<flutter::EncodableValue> arguments) {
  const flutter::MethodCall<flutter::EncodableValue> call(std::string(method),
                                                          std::move(arguments));
  return *AppCodec().SerializeMethodCall(call);
}

// Sends `message` on the OCR channel, prints `label` and the reply, then
// runs `next`.
void SendAndPrint(std::string_view label,
                  const std::vector<uint8_t>& message,
                  std::function<void()> next) {
  app_host->Send(std::string(kOcrChannel), message, [label, next](std::span<const uint8_t> reply) {
    PrintLine(std::string(label) + ": " + Describe(DecodeMethodReply(reply)));
    next();
  });
}

void SendCalls() {
  flutter::ValueMap numeric_path;
  numeric_path.emplace(std::string(kOcrPathKey), int32_t{42});
  const std::vector<uint8_t> without_arguments = EncodeCall(kOcrRecognizeMethod, nullptr);
  const std::vector<uint8_t> with_numeric_path = EncodeCall(
      kOcrRecognizeMethod, std::make_unique<flutter::EncodableValue>(std::move(numeric_path)));
  const std::vector<uint8_t> unknown_method =
      EncodeCall("Recognize", std::make_unique<flutter::EncodableValue>(flutter::ValueMap()));

  SendAndPrint(kCallWithoutArguments, without_arguments, [=] {
    SendAndPrint(kCallWithNumericPath, with_numeric_path, [=] {
      SendAndPrint(kCallOfUnknownMethod, unknown_method, [] {
        SendAndPrint(kMalformedCall, kCallNamedByNumber, [] { app_host->CloseWindow(); });
      });
    });
  });
}

}  // namespace

extern "C" NORVALIS_APP_EXPORT void NorvalisAppMain(const NorvalisAppHost* host,
                                                    const char*,
                                                    int,
                                                    const char* const*) noexcept {
  try {
    app_host.emplace(*host);
    SendCalls();
  } catch (...) {
  }
}
