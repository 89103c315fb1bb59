#ifndef PLATFORM_ENGINE_TESTING_ENGINE_TEST_H_
#define PLATFORM_ENGINE_TESTING_ENGINE_TEST_H_

// Starts engines over the test applications of this folder and plays the
// host: it listens on channels, sends with replies and runs the main
// thread's message loop, recording what arrives and on which thread.

#include <gtest/gtest.h>
#include <win32_desktop_control.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "engine_bridge/engine_api.h"

namespace engine_test {

// A message that reached one of the host's channels.
struct HostMessage {
  std::string channel;
  std::string bytes;
  DWORD thread_id;
};

// What one host reply callback was called with.
struct ReplyRecord {
  int calls = 0;
  bool null = false;
  std::string bytes;
  DWORD thread_id = 0;
};

inline std::string TestDataPath(const std::string& name) {
  return std::string(ENGINE_TEST_DATA) + "/" + name;
}

inline std::wstring Wide(const std::string& ascii) {
  return std::wstring(ascii.begin(), ascii.end());
}

class EngineTest : public testing::Test {
 protected:
  void SetUp() override { win32_desktop::ResetDesktop(); }

  void TearDown() override {
    DestroyController();
    if (engine_ != nullptr) {
      FlutterDesktopEngineDestroy(engine_);
    }
    win32_desktop::ResetDesktop();
  }

  // An engine over `app`, not started; the paths stay as given.
  FlutterDesktopEngineRef CreateEngine(
      const std::string& entrypoint = "",
      const std::vector<std::string>& arguments = {},
      const std::wstring& assets = Wide(TestDataPath("flutter_assets")),
      const std::wstring& icu = Wide(TestDataPath("icudtl.dat")),
      const std::wstring& app = Wide(TestDataPath("probe_app.so"))) {
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) {
      argv.push_back(argument.c_str());
    }
    FlutterDesktopEngineProperties properties = {};
    properties.assets_dir = assets.c_str();
    properties.icu_file = icu.c_str();
    properties.aot_file = app.c_str();
    properties.entrypoint = entrypoint.c_str();
    properties.entrypoint_argc = static_cast<int32_t>(argv.size());
    properties.entrypoint_argv = argv.empty() ? nullptr : argv.data();
    engine_ = FlutterDesktopEngineCreate(&properties);
    messenger_ = FlutterDesktopEngineGetMessenger(engine_);
    for (const auto& [channel, answer] : answers_) {
      FlutterDesktopMessengerSetCallback(messenger_, channel.c_str(), OnHostMessage, this);
    }
    return engine_;
  }

  // Hands the engine to a view controller; the engine reference stays
  // usable for lookups while the controller runs it.
  FlutterDesktopViewControllerRef StartEngine(int width = 640, int height = 480) {
    controller_ = FlutterDesktopViewControllerCreate(width, height, engine_);
    if (controller_ == nullptr) {
      engine_ = nullptr;
      messenger_ = nullptr;
    } else {
      taken_over_ = engine_;
      engine_ = nullptr;
    }
    return controller_;
  }

  // Starts the probe application and waits until its entry point reported.
  void StartProbe(const std::string& entrypoint = "") {
    Listen("probe/main");
    CreateEngine(entrypoint);
    ASSERT_NE(StartEngine(), nullptr);
    ASSERT_TRUE(PumpUntil([this] { return !MessagesOn("probe/main").empty(); }));
  }

  void DestroyController() {
    if (controller_ != nullptr) {
      FlutterDesktopViewControllerDestroy(controller_);
      controller_ = nullptr;
    }
  }

  // The engine a controller runs, for registrars and the like.
  FlutterDesktopEngineRef running_engine() const { return taken_over_; }
  HWND view_window() const {
    return FlutterDesktopViewGetHWND(FlutterDesktopViewControllerGetView(controller_));
  }

  // Records the channel's messages and answers each with `answer`, or leaves
  // them unanswered, keeping their handles in pending_responses_.
  void Listen(const std::string& channel, std::optional<std::string> answer = std::string()) {
    answers_[channel] = std::move(answer);
    if (messenger_ != nullptr) {
      FlutterDesktopMessengerSetCallback(messenger_, channel.c_str(), OnHostMessage, this);
    }
  }

  // Sends `text` to the application with a reply recorded in the result.
  ReplyRecord* SendToApp(const std::string& channel,
                         const std::string& text,
                         bool* accepted = nullptr) {
    replies_.push_back(std::make_unique<ReplyRecord>());
    ReplyRecord* record = replies_.back().get();
    const bool sent = FlutterDesktopMessengerSendWithReply(
        messenger_, channel.c_str(), reinterpret_cast<const uint8_t*>(text.data()), text.size(),
        OnReply, record);
    if (accepted != nullptr) {
      *accepted = sent;
    }
    return record;
  }

  // Sends a command to the probe application and waits for its "ok".
  void Command(const std::string& command) {
    ReplyRecord* reply = SendToApp("probe/command", command);
    ASSERT_TRUE(PumpUntil([reply] { return reply->calls > 0; })) << command;
    ASSERT_EQ(reply->bytes, "ok");
  }

  // Runs the main thread's message loop until `condition` holds, for up to
  // five seconds.
  static bool PumpUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition()) {
      if (std::chrono::steady_clock::now() > deadline) {
        return false;
      }
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }

  static void PumpFor(std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    PumpUntil([end] { return std::chrono::steady_clock::now() >= end; });
  }

  // When this returns, the work queued on either side before it has run and
  // what it sent has arrived: the first echo's answer comes after the main
  // thread's earlier tasks, the second one's after the application's.
  void Flush() {
    for (int round = 0; round < 2; ++round) {
      ReplyRecord* echo = SendToApp("probe/echo", "flush");
      ASSERT_TRUE(PumpUntil([echo] { return echo->calls > 0; }));
    }
  }

  std::vector<std::string> MessagesOn(const std::string& channel) const {
    std::vector<std::string> texts;
    for (const HostMessage& message : host_messages_) {
      if (message.channel == channel) {
        texts.push_back(message.bytes);
      }
    }
    return texts;
  }

  static DWORD MainThread() { return win32_desktop::CurrentThreadId(); }

  FlutterDesktopEngineRef engine_ = nullptr;
  FlutterDesktopEngineRef taken_over_ = nullptr;
  FlutterDesktopViewControllerRef controller_ = nullptr;
  FlutterDesktopMessengerRef messenger_ = nullptr;
  std::vector<HostMessage> host_messages_;
  std::vector<const FlutterDesktopMessageResponseHandle*> pending_responses_;
  // The order of the host's events that tests compare.
  std::vector<std::string> events_;

 private:
  static void OnHostMessage(FlutterDesktopMessengerRef messenger,
                            const FlutterDesktopMessage* message,
                            void* user_data) {
    auto* self = static_cast<EngineTest*>(user_data);
    const std::string bytes(reinterpret_cast<const char*>(message->message), message->message_size);
    self->host_messages_.push_back({message->channel, bytes, win32_desktop::CurrentThreadId()});
    self->events_.push_back(std::string(message->channel) + ":" + bytes);
    const std::optional<std::string>& answer = self->answers_[message->channel];
    if (!answer.has_value()) {
      self->pending_responses_.push_back(message->response_handle);
      return;
    }
    FlutterDesktopMessengerSendResponse(messenger, message->response_handle,
                                        reinterpret_cast<const uint8_t*>(answer->data()),
                                        answer->size());
  }

  static void OnReply(const uint8_t* data, size_t size, void* user_data) {
    auto* record = static_cast<ReplyRecord*>(user_data);
    ++record->calls;
    record->null = data == nullptr;
    record->bytes = data != nullptr ? std::string(reinterpret_cast<const char*>(data), size) : "";
    record->thread_id = win32_desktop::CurrentThreadId();
  }

  std::map<std::string, std::optional<std::string>> answers_;
  std::vector<std::unique_ptr<ReplyRecord>> replies_;
};

}  // namespace engine_test

#endif  // PLATFORM_ENGINE_TESTING_ENGINE_TEST_H_
