#ifndef ENGINE_BRIDGE_RECORDING_ENGINE_LIBRARY_H_
#define ENGINE_BRIDGE_RECORDING_ENGINE_LIBRARY_H_

// A recording engine library for unit tests. Link a test binary with
// `recording_engine_library` instead of `flutter_windows`: it defines every
// function of engine_api.h, logs each call and behaves as the knobs say.
//
//   RecordingEngineLibrary& engine = RecordingEngineLibrary::Get();
//   engine.Reset();                                  // in SetUp
//   engine.set_view_controller_create_fails(true);   // arrange
//   ... run the code under test ...
//   EXPECT_EQ(engine.CallCount("FlutterDesktopEngineDestroy"), 0u);
//
// calls() holds one entry per call: the function name, plus ":" and the
// plugin name for FlutterDesktopEngineGetPluginRegistrar and ":" and the
// channel for the messenger functions that take one. Other doubles append
// their own entries with Record().
//
// The application side is played by the test: DeliverMessage() sends a
// message to the callback set for a channel, responses() lists the answers,
// sent() lists what the host sent and AnswerSend() replies to it. DrawFrame()
// stands for the next frame. The view controller's view is a real, hidden
// window of the platform layer; destroying the controller destroys it.
//
// Everything happens on the calling thread; nothing is locked. Reset() ends
// whatever is left (windows included) and restores the default knobs; it
// must not run while bridge objects made before it are still alive.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine_bridge/engine_api.h"

class RecordingEngineLibrary {
 public:
  // A deep copy of what FlutterDesktopEngineCreate received.
  struct Properties {
    std::wstring assets_dir;
    std::wstring icu_file;
    std::wstring aot_file;
    // Absent when the pointer was null.
    std::optional<std::string> entrypoint;
    int32_t entrypoint_argc = 0;
    bool entrypoint_argv_null = true;
    // The first `entrypoint_argc` texts, when the array was not null.
    std::vector<std::string> entrypoint_args;
    int32_t engine_setting_1 = 0;
    int32_t engine_setting_2 = 0;
  };

  // One FlutterDesktopMessengerSetCallback call, as it was made.
  struct CallbackRegistration {
    std::string channel;
    FlutterDesktopMessageCallback callback = nullptr;
    void* user_data = nullptr;
  };

  // One FlutterDesktopMessengerSendResponse call.
  struct Response {
    // The id DeliverMessage returned for the message answered.
    size_t handle_id = 0;
    std::vector<uint8_t> bytes;
    bool data_null = false;
  };

  // One message the host sent with FlutterDesktopMessengerSend or
  // FlutterDesktopMessengerSendWithReply (refused ones are not kept).
  struct SentMessage {
    std::string channel;
    std::vector<uint8_t> bytes;
    bool with_reply = false;
    bool answered = false;
    FlutterDesktopBinaryReply reply = nullptr;
    void* reply_user_data = nullptr;
  };

  // One FlutterDesktopViewControllerHandleTopLevelWindowProc call.
  struct WindowMessage {
    HWND window = nullptr;
    UINT message = 0;
    WPARAM wparam = 0;
    LPARAM lparam = 0;
  };

  static RecordingEngineLibrary& Get();

  RecordingEngineLibrary(const RecordingEngineLibrary&) = delete;
  RecordingEngineLibrary& operator=(const RecordingEngineLibrary&) = delete;

  void Reset();

  const std::vector<std::string>& calls() const;
  void Record(std::string call);
  size_t CallCount(std::string_view call) const;

  // Knobs. Defaults: everything succeeds, the messenger is available, the
  // engine handles no top-level message.
  void set_engine_create_fails(bool fails);
  // The controller still takes the engine over and ends it, as the library
  // does.
  void set_view_controller_create_fails(bool fails);
  // A value: HandleTopLevelWindowProc reports the message handled with that
  // result. Nothing: not handled.
  void set_top_level_window_proc_result(std::optional<LRESULT> result);
  // Unavailable also follows from the engine having ended.
  void set_messenger_available(bool available);
  void set_send_with_reply_refused(bool refused);

  // Nothing before the first FlutterDesktopEngineCreate.
  const std::optional<Properties>& last_properties() const;

  // The width and height of the last FlutterDesktopViewControllerCreate.
  std::optional<std::pair<int, int>> last_view_size() const;
  // The view window of the newest live view controller; null when none.
  HWND view_window() const;
  const std::vector<WindowMessage>& window_messages() const;

  // Runs the pending next-frame callback of the newest engine, once, as the
  // library does after a frame. False when none was pending.
  bool DrawFrame();

  // The messenger of the newest engine; null before the first one.
  FlutterDesktopMessengerRef messenger() const;
  const std::vector<CallbackRegistration>& callback_registrations() const;
  // Whether the newest engine's messenger has a callback for `channel`.
  bool HasCallback(const std::string& channel) const;
  // Calls the callback set for `channel` on the newest engine's messenger
  // with `bytes` (their own storage, not a copy) and a fresh response handle.
  // Returns the handle's id (from 1), or 0, delivering nothing, when no
  // callback is set or the engine has ended.
  size_t DeliverMessage(const std::string& channel, const std::vector<uint8_t>& bytes);
  const std::vector<Response>& responses() const;
  size_t add_ref_count() const;
  size_t release_count() const;
  size_t lock_count() const;
  size_t unlock_count() const;

  const std::vector<SentMessage>& sent() const;
  // Replies to sent()[index] (null data for empty bytes). False, calling
  // nothing, when it was sent without a reply or has been answered.
  bool AnswerSend(size_t index, const std::vector<uint8_t>& bytes);

 private:
  RecordingEngineLibrary() = default;
};

#endif  // ENGINE_BRIDGE_RECORDING_ENGINE_LIBRARY_H_
