#ifndef PLATFORM_ENGINE_ENGINE_H_
#define PLATFORM_ENGINE_ENGINE_H_

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine_bridge/engine_api.h"
#include "platform/engine/app_api.h"
#include "platform/engine/app_library.h"
#include "platform/engine/app_thread.h"
#include "platform/engine/engine_messenger.h"
#include "platform/engine/engine_view.h"
#include "platform/engine/engine_window.h"
#include "platform/engine/plugin_registrar.h"
#include "platform/engine/window_proc_delegates.h"

// The answer path of one message from the application, as the host holds
// it: the application's reply callback, called on its thread with the
// host's answer.
struct FlutterDesktopMessageResponseHandle {
  NorvalisAppReplyCallback reply;
  void* user_data;
};

// One message from the host that waits for the application's answer; 0 when
// the host expects none.
struct NorvalisAppResponse {
  uint64_t host_reply;
};

namespace norvalis_engine {

inline constexpr char kEngineWindowsNotCreated[] =
    "flutter_windows: cannot create the engine's windows for the application code: ";

// One engine: the application code it runs on a thread of its own, and the
// host's side of their messages, frames and plugins on the main thread. A
// view controller is this same object once it has taken the engine over.
//
// The main thread (which created the engine) and the application thread own
// separate state and reach each other only by posting tasks, the main thread
// through the engine's window and its message loop.
class Engine {
 public:
  // Null when the properties are unusable: a negative argument count, or a
  // missing argument.
  static std::unique_ptr<Engine> Create(const FlutterDesktopEngineProperties& properties);

  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;
  // Main thread. Ends the application thread, dropping its queued work,
  // destroys the windows, marks the messenger unavailable, unloads the
  // application code, then answers every host message still waiting with
  // nothing.
  ~Engine();

  // Main thread, once: a view controller takes the engine over. Starts it
  // with a view of `width` by `height`; false, after one line on standard
  // error and having created no window, when the bundle is incomplete.
  bool Run(int width, int height);
  bool taken_over() const { return taken_over_; }

  EngineMessenger* messenger() const { return messenger_.get(); }
  // The same registrar for every request with one name.
  PluginRegistrar* Registrar(const std::string& plugin_name);
  // Null until the engine runs.
  EngineView* view() const { return view_.get(); }

  // Main thread, like the rest.
  void ReloadSystemFonts();
  void SetNextFrameCallback(FlutterDesktopOnNextFrameCallback callback, void* user_data);
  void ForceRedraw();
  bool HandleTopLevelWindowProc(HWND window,
                                UINT message,
                                WPARAM wparam,
                                LPARAM lparam,
                                LRESULT* result);

  // The messenger's work. SendToApp is refused (false) while the engine does
  // not run.
  bool SendToApp(const char* channel,
                 const uint8_t* message,
                 size_t message_size,
                 FlutterDesktopBinaryReply reply,
                 void* user_data);
  void SetHostCallback(const char* channel,
                       FlutterDesktopMessageCallback callback,
                       void* user_data);
  void RespondToApp(const FlutterDesktopMessageResponseHandle* handle,
                    const uint8_t* data,
                    size_t data_size);

 private:
  struct HostCallback {
    FlutterDesktopMessageCallback callback;
    void* user_data;
  };
  struct HostReply {
    FlutterDesktopBinaryReply reply;
    void* user_data;
  };
  struct AppHandler {
    NorvalisAppMessageCallback handler;
    void* user_data;
  };
  using Bytes = std::vector<uint8_t>;

  Engine() = default;

  bool OnMainThread() const { return GetCurrentThreadId() == main_thread_; }

  // Main thread.
  void DeliverToHost(const std::string& channel,
                     const Bytes& message,
                     NorvalisAppReplyCallback reply,
                     void* user_data);
  void CompleteHostReply(uint64_t id, const Bytes& reply);
  void OnAppMainReturned();
  void DrawFrameIfDue();

  // Application thread.
  void RunAppMain();
  void DeliverToApp(const std::string& channel, const Bytes& message, uint64_t host_reply);
  void RunPostFrameCallbacks();

  // The functions of NorvalisAppHost, on the application thread.
  static Engine* FromApp(NorvalisAppEngine* engine);
  static void AppSendMessage(NorvalisAppEngine* engine,
                             const char* channel,
                             const uint8_t* message,
                             size_t message_size,
                             NorvalisAppReplyCallback reply,
                             void* user_data) noexcept;
  static void AppSetMessageHandler(NorvalisAppEngine* engine,
                                   const char* channel,
                                   NorvalisAppMessageCallback handler,
                                   void* user_data) noexcept;
  static void AppRespond(NorvalisAppEngine* engine,
                         NorvalisAppResponse* response,
                         const uint8_t* reply,
                         size_t reply_size) noexcept;
  static void AppAddPostFrameCallback(NorvalisAppEngine* engine,
                                      NorvalisAppFrameCallback callback,
                                      void* user_data) noexcept;
  static void AppCloseWindow(NorvalisAppEngine* engine) noexcept;

  // What the engine was created from, copied.
  std::wstring assets_dir_;
  std::wstring icu_file_;
  std::wstring aot_file_;
  std::string entrypoint_;
  std::vector<std::string> arguments_;

  DWORD main_thread_ = 0;
  bool taken_over_ = false;
  bool running_ = false;

  // Main thread state.
  struct ReleaseMessenger {
    void operator()(EngineMessenger* messenger) const { messenger->Release(); }
  };
  std::unique_ptr<EngineMessenger, ReleaseMessenger> messenger_;
  WindowProcDelegates delegates_;
  std::map<std::string, std::unique_ptr<PluginRegistrar>> registrars_;
  std::map<std::string, HostCallback> host_callbacks_;
  // Messages from the application that the host has not answered yet.
  std::map<const FlutterDesktopMessageResponseHandle*,
           std::unique_ptr<FlutterDesktopMessageResponseHandle>>
      response_handles_;
  // Host messages whose reply has not been called yet, by number.
  std::map<uint64_t, HostReply> host_replies_;
  uint64_t next_host_reply_ = 1;
  bool frame_requested_ = false;
  bool app_main_returned_ = false;
  FlutterDesktopOnNextFrameCallback next_frame_callback_ = nullptr;
  void* next_frame_user_data_ = nullptr;
  std::unique_ptr<AppLibrary> app_library_;
  std::unique_ptr<EngineWindow> window_;
  std::unique_ptr<EngineView> view_;

  // Application thread state; the thread is joined before any of it goes.
  NorvalisAppHost app_host_ = {};
  std::map<std::string, AppHandler> app_handlers_;
  std::map<NorvalisAppResponse*, std::unique_ptr<NorvalisAppResponse>> app_responses_;
  std::vector<std::pair<NorvalisAppFrameCallback, void*>> post_frame_callbacks_;
  AppThread app_thread_;
};

}  // namespace norvalis_engine

#endif  // PLATFORM_ENGINE_ENGINE_H_
