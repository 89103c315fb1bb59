#ifndef ENGINE_BRIDGE_BINARY_MESSENGER_H_
#define ENGINE_BRIDGE_BINARY_MESSENGER_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace flutter {

// The answer path of one message: called with the reply's bytes (`reply` may
// be null when `reply_size` is 0). May be empty.
using ReplyCallback = std::function<void(const uint8_t* reply, size_t reply_size)>;

// The handler of one channel. `message` is valid only during the call;
// `reply` answers it. May be empty.
using RawMessageHandler =
    std::function<void(const uint8_t* message, size_t message_size, ReplyCallback reply)>;

// Sends and receives byte messages by channel name (UTF-8). Main thread only.
class BinaryMessenger {
 public:
  BinaryMessenger() = default;
  BinaryMessenger(const BinaryMessenger&) = delete;
  BinaryMessenger& operator=(const BinaryMessenger&) = delete;
  virtual ~BinaryMessenger() = default;

  // `reply` runs at most once, with the application's answer; an empty one
  // asks for no answer.
  virtual void SendToChannel(const std::string& channel,
                             const uint8_t* message,
                             size_t message_size,
                             ReplyCallback reply) = 0;

  // Replaces the handler of `channel`; an empty one unregisters the channel.
  virtual void SetChannelHandler(const std::string& channel, RawMessageHandler handler) = 0;
};

}  // namespace flutter

#endif  // ENGINE_BRIDGE_BINARY_MESSENGER_H_
