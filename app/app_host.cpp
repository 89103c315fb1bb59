#include "app/app_host.h"

#include <utility>

AppHost::AppHost(const NorvalisAppHost& host) : host_(host) {}

AppHost::~AppHost() = default;

void AppHost::Send(const std::string& channel,
                   std::span<const uint8_t> message,
                   ReplyHandler on_reply) {
  Pending* pending = AddPending(std::move(on_reply));
  host_.send_message(host_.engine, channel.c_str(), message.data(), message.size(), OnReply,
                     pending);
}

void AppHost::SetMessageHandler(const std::string& channel, MessageHandler handler) {
  const auto [listener, added] = listeners_.try_emplace(channel, Listener{this, nullptr});
  listener->second.handler = std::move(handler);
  if (added) {
    host_.set_message_handler(host_.engine, channel.c_str(), OnMessage, &listener->second);
  }
}

void AppHost::AfterNextFrame(std::function<void()> callback) {
  Pending* pending =
      AddPending([callback = std::move(callback)](std::span<const uint8_t>) { callback(); });
  host_.add_post_frame_callback(host_.engine, OnFrame, pending);
}

void AppHost::CloseWindow() {
  host_.close_window(host_.engine);
}

AppHost::Pending* AppHost::AddPending(ReplyHandler run) {
  const uint64_t id = next_pending_id_++;
  auto pending = std::make_unique<Pending>(Pending{this, id, std::move(run)});
  Pending* address = pending.get();
  pending_.emplace(id, std::move(pending));
  return address;
}

std::unique_ptr<AppHost::Pending> AppHost::TakePending(void* user_data) {
  auto* pending = static_cast<Pending*>(user_data);
  return std::move(pending->owner->pending_.extract(pending->id).mapped());
}

void AppHost::OnReply(const uint8_t* reply, size_t reply_size, void* user_data) noexcept {
  try {
    const std::unique_ptr<Pending> pending = TakePending(user_data);
    pending->run(std::span<const uint8_t>(reply, reply == nullptr ? 0 : reply_size));
  } catch (...) {
    // The application's own failure; the engine must not see it.
  }
}

void AppHost::OnFrame(void* user_data) noexcept {
  OnReply(nullptr, 0, user_data);
}

void AppHost::OnMessage(const uint8_t* message,
                        size_t message_size,
                        NorvalisAppResponse* response,
                        void* user_data) noexcept {
  auto* listener = static_cast<Listener*>(user_data);
  try {
    listener->handler(std::span<const uint8_t>(message, message == nullptr ? 0 : message_size));
  } catch (...) {
    // Answered all the same, below: the host must not wait for ever.
  }
  const NorvalisAppHost& host = listener->owner->host_;
  host.respond(host.engine, response, nullptr, 0);
}
