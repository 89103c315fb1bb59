#include "engine_bridge/binary_messenger_impl.h"

#include <memory>
#include <utility>

#include "engine_bridge/incoming_responder.h"
#include "engine_bridge/shared_engine_messenger.h"
#include "engine_bridge/stopped_exception.h"

namespace flutter {

BinaryMessengerImpl::BinaryMessengerImpl(FlutterDesktopMessengerRef engine_messenger)
    : engine_messenger_(engine_messenger) {}

BinaryMessengerImpl::~BinaryMessengerImpl() = default;

void BinaryMessengerImpl::SendToChannel(const std::string& channel,
                                        const uint8_t* message,
                                        size_t message_size,
                                        ReplyCallback reply) {
  if (!reply) {
    FlutterDesktopMessengerSend(engine_messenger_, channel.c_str(), message, message_size);
    return;
  }
  auto held = std::make_unique<ReplyCallback>(std::move(reply));
  if (FlutterDesktopMessengerSendWithReply(engine_messenger_, channel.c_str(), message,
                                           message_size, &OnEngineReply, held.get())) {
    // The library owns it now and hands it back to OnEngineReply.
    held.release();
  }
}

void BinaryMessengerImpl::SetChannelHandler(const std::string& channel, RawMessageHandler handler) {
  if (!handler) {
    channel_handlers_.erase(channel);
    FlutterDesktopMessengerSetCallback(engine_messenger_, channel.c_str(), nullptr, nullptr);
    return;
  }
  auto entry = channel_handlers_.find(channel);
  if (entry == channel_handlers_.end()) {
    entry = channel_handlers_.emplace(channel, std::move(handler)).first;
  } else {
    entry->second = std::move(handler);
  }
  FlutterDesktopMessengerSetCallback(engine_messenger_, channel.c_str(), &OnEngineMessage,
                                     &entry->second);
}

void OnEngineMessage(FlutterDesktopMessengerRef messenger,
                     const FlutterDesktopMessage* message,
                     void* user_data) noexcept {
  try {
    const FlutterDesktopMessageResponseHandle* response_handle = message->response_handle;
    SharedEngineMessenger shared(FlutterDesktopMessengerAddRef(messenger));
    ReplyCallback reply = IncomingResponder(shared, response_handle);
    const auto& handler = *static_cast<const RawMessageHandler*>(user_data);
    handler(message->message, message->message_size, std::move(reply));
  } catch (...) {
    // Nothing may unwind into the library. The message is dropped; a method
    // result that was not answered has reported itself on its way out.
    ReportStoppedException("OnEngineMessage");
  }
}

void OnEngineReply(const uint8_t* reply, size_t reply_size, void* user_data) noexcept {
  const std::unique_ptr<ReplyCallback> callback(static_cast<ReplyCallback*>(user_data));
  try {
    (*callback)(reply, reply_size);
  } catch (...) {
    // Nothing may unwind into the library; the reply has been delivered as
    // far as it got.
    ReportStoppedException("OnEngineReply");
  }
}

}  // namespace flutter
