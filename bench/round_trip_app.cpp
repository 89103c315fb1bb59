// The application side of the round-trip benchmark, loaded by the stand-in
// engine as app.so. For each message on "bench/control" (one byte: 0 for the
// small call, 1 for the 1 MiB one) it sends the prepared method call on
// "bench/echo", and once the host's reply is back it answers the control
// message with the round trip's duration in nanoseconds (8 bytes, native
// order). The clock runs on the application thread only, so it measures
// exactly application → host handler → reply → application.

#include <chrono>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "codec/encodable_value.h"
#include "codec/standard_method_codec.h"
#include "engine_bridge/method_call.h"
#include "platform/engine/app_api.h"

namespace {

constexpr size_t kLargePayloadSize = size_t{1} << 20;

struct BenchApp {
  NorvalisAppHost host;
  std::vector<uint8_t> calls[2];
};

// One round trip in flight; the application thread runs one at a time.
struct RoundTrip {
  BenchApp* app;
  NorvalisAppResponse* control_response;
  std::chrono::steady_clock::time_point start;
};

std::vector<uint8_t> EncodeCall(flutter::EncodableValue arguments) {
  const flutter::MethodCall<> call("echo",
                                   std::make_unique<flutter::EncodableValue>(std::move(arguments)));
  return *flutter::CodecForSerializer(nullptr).SerializeMethodCall(call);
}

void OnEchoReply(const uint8_t*, size_t, void* user_data) {
  const auto end = std::chrono::steady_clock::now();
  std::unique_ptr<RoundTrip> trip(static_cast<RoundTrip*>(user_data));
  const int64_t nanoseconds =
      std::chrono::duration_cast<std::chrono::nanoseconds>(end - trip->start).count();
  uint8_t reply[sizeof(nanoseconds)];
  std::memcpy(reply, &nanoseconds, sizeof(reply));
  trip->app->host.respond(trip->app->host.engine, trip->control_response, reply, sizeof(reply));
}

void OnControl(const uint8_t* message,
               size_t message_size,
               NorvalisAppResponse* response,
               void* user_data) {
  auto* app = static_cast<BenchApp*>(user_data);
  const int kind = message_size == 1 && message[0] == 1 ? 1 : 0;
  const std::vector<uint8_t>& call = app->calls[kind];
  auto* trip = new RoundTrip{app, response, std::chrono::steady_clock::now()};
  app->host.send_message(app->host.engine, "bench/echo", call.data(), call.size(), OnEchoReply,
                         trip);
}

}  // namespace

extern "C" NORVALIS_APP_EXPORT void NorvalisAppMain(const NorvalisAppHost* host,
                                                    const char*,
                                                    int,
                                                    const char* const*) {
  // Lives as long as the process: the engine may deliver until it ends.
  static BenchApp app;
  app.host = *host;
  // About 100 bytes in all once framed.
  app.calls[0] = EncodeCall(flutter::EncodableValue(std::string(85, 'x')));
  app.calls[1] = EncodeCall(flutter::EncodableValue(std::vector<uint8_t>(kLargePayloadSize, 0x5A)));
  host->set_message_handler(host->engine, "bench/control", OnControl, &app);
}
