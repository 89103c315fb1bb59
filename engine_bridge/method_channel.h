#ifndef ENGINE_BRIDGE_METHOD_CHANNEL_H_
#define ENGINE_BRIDGE_METHOD_CHANNEL_H_

#include <string>
#include <utility>

#include "codec/encodable_value.h"
#include "codec/method_codec.h"
#include "engine_bridge/binary_messenger.h"
#include "engine_bridge/channel_call_adapter.h"

namespace flutter {

// Binds a channel name to a handler of the method calls that the application
// makes on it. Calls travel one way, from the application to the handler.
template <typename T = EncodableValue>
class MethodChannel {
 public:
  // Registers nothing yet. `messenger` must outlive every use of the channel;
  // `codec` must outlive the channel and every handler it installs.
  MethodChannel(BinaryMessenger* messenger, const std::string& name, const MethodCodec<T>* codec)
      : messenger_(messenger), name_(name), codec_(codec) {}
  MethodChannel(const MethodChannel&) = delete;
  MethodChannel& operator=(const MethodChannel&) = delete;
  // Leaves the installed handler on the messenger.
  ~MethodChannel() = default;

  // Replaces the channel's handler; an empty one unregisters the channel.
  void SetCallHandler(CallHandler<T> handler) {
    if (!handler) {
      messenger_->SetChannelHandler(name_, nullptr);
      return;
    }
    messenger_->SetChannelHandler(name_, ChannelCallAdapter<T>(std::move(handler), codec_, name_));
  }

 private:
  BinaryMessenger* messenger_;
  std::string name_;
  const MethodCodec<T>* codec_;
};

}  // namespace flutter

#endif  // ENGINE_BRIDGE_METHOD_CHANNEL_H_
