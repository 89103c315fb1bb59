#ifndef ENGINE_BRIDGE_BINARY_MESSENGER_IMPL_H_
#define ENGINE_BRIDGE_BINARY_MESSENGER_IMPL_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "engine_bridge/binary_messenger.h"
#include "engine_bridge/engine_api.h"

namespace flutter {

// The messenger over the engine library's. Every incoming message gets a
// reply callback whose first call is the message's one response.
class BinaryMessengerImpl : public BinaryMessenger {
 public:
  // `engine_messenger` is not owned.
  explicit BinaryMessengerImpl(FlutterDesktopMessengerRef engine_messenger);
  // Leaves the library's callbacks in place: the library's engine must have
  // ended before this messenger goes.
  ~BinaryMessengerImpl() override;

  void SendToChannel(const std::string& channel,
                     const uint8_t* message,
                     size_t message_size,
                     ReplyCallback reply) override;
  void SetChannelHandler(const std::string& channel, RawMessageHandler handler) override;

 private:
  FlutterDesktopMessengerRef engine_messenger_;
  // The library holds the address of each stored handler, so a handler is
  // replaced in place and never moves while its entry exists. std::string
  // orders by char_traits<char>, which compares bytes as unsigned values,
  // a shorter prefix first. Never holds an empty handler.
  std::map<std::string, RawMessageHandler, std::less<>> channel_handlers_;
};

// Given to the library for every registered channel; `user_data` is the
// address of a RawMessageHandler stored in a BinaryMessengerImpl.
void OnEngineMessage(FlutterDesktopMessengerRef messenger,
                     const FlutterDesktopMessage* message,
                     void* user_data) noexcept;

// Given to the library with a sent message; `user_data` is a heap-held
// ReplyCallback, which this consumes.
void OnEngineReply(const uint8_t* reply, size_t reply_size, void* user_data) noexcept;

}  // namespace flutter

#endif  // ENGINE_BRIDGE_BINARY_MESSENGER_IMPL_H_
