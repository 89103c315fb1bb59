#ifndef APP_APP_HOST_H_
#define APP_APP_HOST_H_

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/engine/app_api.h"

// The engine's application interface with C++ callbacks. It keeps every
// callback it hands to the engine until the engine has run it, or until it
// is destroyed itself: the engine runs nothing after it has ended, so a
// reply still outstanding then is simply dropped here.
//
// Belongs to the application thread: every member is called there, and so
// are the callbacks.
class AppHost {
 public:
  // The host's answer to a message; empty when the answer was empty.
  using ReplyHandler = std::function<void(std::span<const uint8_t> reply)>;
  // A message from the host. The host's messages to the application are
  // notifications: each is answered empty once its handler has returned.
  using MessageHandler = std::function<void(std::span<const uint8_t> message)>;

  // `host` is copied; the engine behind it must outlive this object's use.
  explicit AppHost(const NorvalisAppHost& host);
  ~AppHost();

  AppHost(const AppHost&) = delete;
  AppHost& operator=(const AppHost&) = delete;

  // Sends `message` on `channel`; `on_reply` runs once with the answer.
  void Send(const std::string& channel, std::span<const uint8_t> message, ReplyHandler on_reply);

  // Routes the host's messages on `channel` to `handler`, replacing any
  // earlier one.
  void SetMessageHandler(const std::string& channel, MessageHandler handler);

  // Runs `callback` once after the next frame.
  void AfterNextFrame(std::function<void()> callback);

  // Asks the host to close its window, as the user would; the host then
  // ends the engine.
  void CloseWindow();

 private:
  // A callback that the engine holds by its address until it runs it.
  struct Pending {
    AppHost* owner;
    uint64_t id;
    ReplyHandler run;
  };
  // A channel's handler, at one address for as long as this object lives.
  struct Listener {
    AppHost* owner;
    MessageHandler handler;
  };

  Pending* AddPending(ReplyHandler run);
  // Takes the pending callback out of its owner, so it runs at most once.
  static std::unique_ptr<Pending> TakePending(void* user_data);

  static void OnReply(const uint8_t* reply, size_t reply_size, void* user_data) noexcept;
  static void OnFrame(void* user_data) noexcept;
  static void OnMessage(const uint8_t* message,
                        size_t message_size,
                        NorvalisAppResponse* response,
                        void* user_data) noexcept;

  NorvalisAppHost host_;
  uint64_t next_pending_id_ = 0;
  std::map<uint64_t, std::unique_ptr<Pending>> pending_;
  std::map<std::string, Listener> listeners_;
};

#endif  // APP_APP_HOST_H_
