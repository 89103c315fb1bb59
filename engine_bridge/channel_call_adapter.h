#ifndef ENGINE_BRIDGE_CHANNEL_CALL_ADAPTER_H_
#define ENGINE_BRIDGE_CHANNEL_CALL_ADAPTER_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "codec/diagnostic.h"
#include "codec/encodable_value.h"
#include "codec/method_codec.h"
#include "engine_bridge/binary_messenger.h"
#include "engine_bridge/engine_method_result.h"
#include "engine_bridge/method_call.h"
#include "engine_bridge/method_result.h"

namespace flutter {

// The handler of a method channel. It answers through `result`, now or later
// (keeping it), on the main thread.
template <typename T = EncodableValue>
using CallHandler =
    std::function<void(const MethodCall<T>& call, std::unique_ptr<MethodResult<T>> result)>;

// The raw handler a method channel installs on its messenger. It holds its
// own copies, so it keeps working after the channel object has gone.
template <typename T = EncodableValue>
class ChannelCallAdapter {
 public:
  // Followed by the channel name, as it is.
  static constexpr std::string_view kUndecodableMessageDiagnostic =
      "Unable to construct method call from message on channel ";

  // `handler` must not be empty; `codec` is not owned and must outlive the
  // adapter and every result it makes.
  ChannelCallAdapter(CallHandler<T> handler, const MethodCodec<T>* codec, std::string channel_name)
      : handler_(std::move(handler)), codec_(codec), channel_name_(std::move(channel_name)) {}

  // Every message is answered through a method result, even one that does
  // not decode: that one gets an empty reply and never reaches the handler.
  void operator()(const uint8_t* message, size_t message_size, ReplyCallback reply) const {
    auto result = std::make_unique<EngineMethodResult<T>>(std::move(reply), codec_);
    const std::unique_ptr<MethodCall<T>> call = codec_->ParseMethodCall(message, message_size);
    if (!call) {
      std::string line(kUndecodableMessageDiagnostic);
      line += channel_name_;
      WriteDiagnosticLine(line);
      result->NotImplemented();
      return;
    }
    handler_(*call, std::move(result));
  }

 private:
  CallHandler<T> handler_;
  const MethodCodec<T>* codec_;
  std::string channel_name_;
};

}  // namespace flutter

#endif  // ENGINE_BRIDGE_CHANNEL_CALL_ADAPTER_H_
