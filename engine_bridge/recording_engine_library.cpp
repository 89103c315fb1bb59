#include "engine_bridge/recording_engine_library.h"

#include <shellscalingapi.h>

#include <algorithm>
#include <map>
#include <memory>
#include <utility>

namespace {

constexpr wchar_t kViewClassName[] = L"RecordingEngineView";
// What Windows assumes for a monitor it cannot query.
constexpr UINT kDefaultDpi = 96;

struct MessengerState {
  // Cleared when the engine behind the messenger ends; the object itself
  // stays valid, as outstanding references require.
  bool engine_running = true;
  std::map<std::string, std::pair<FlutterDesktopMessageCallback, void*>> callbacks;
};

struct EngineState;

struct RegistrarState {
  EngineState* engine = nullptr;
  std::vector<std::pair<FlutterDesktopWindowProcCallback, void*>> delegates;
};

struct EngineState {
  MessengerState messenger;
  std::map<std::string, std::unique_ptr<RegistrarState>> registrars;
  FlutterDesktopOnNextFrameCallback frame_callback = nullptr;
  void* frame_user_data = nullptr;
};

struct ViewState {
  HWND window = nullptr;
};

struct ControllerState {
  EngineState* engine = nullptr;
  ViewState view;
  bool destroyed = false;
};

struct ResponseHandleState {
  size_t id = 0;
};

struct LibraryState {
  std::vector<std::string> calls;

  bool engine_create_fails = false;
  bool view_controller_create_fails = false;
  std::optional<LRESULT> top_level_window_proc_result;
  bool messenger_available = true;
  bool send_with_reply_refused = false;

  std::optional<RecordingEngineLibrary::Properties> last_properties;
  std::optional<std::pair<int, int>> last_view_size;
  std::vector<RecordingEngineLibrary::WindowMessage> window_messages;

  // Kept until Reset, so that references stay valid after their objects end.
  std::vector<std::unique_ptr<EngineState>> engines;
  std::vector<std::unique_ptr<ControllerState>> controllers;
  std::vector<std::unique_ptr<ResponseHandleState>> response_handles;

  std::vector<RecordingEngineLibrary::CallbackRegistration> callback_registrations;
  std::vector<RecordingEngineLibrary::Response> responses;
  std::vector<RecordingEngineLibrary::SentMessage> sent;
  size_t add_ref_count = 0;
  size_t release_count = 0;
  size_t lock_count = 0;
  size_t unlock_count = 0;
};

LibraryState& State() {
  static LibraryState* const state = new LibraryState();
  return *state;
}

void Log(std::string call) {
  State().calls.push_back(std::move(call));
}

void LogWithName(const char* function, const char* name) {
  std::string entry(function);
  entry += ':';
  if (name != nullptr) {
    entry += name;
  }
  Log(std::move(entry));
}

EngineState* NewestEngine() {
  LibraryState& state = State();
  return state.engines.empty() ? nullptr : state.engines.back().get();
}

EngineState* AsEngine(FlutterDesktopEngineRef engine) {
  return reinterpret_cast<EngineState*>(engine);
}

MessengerState* AsMessenger(FlutterDesktopMessengerRef messenger) {
  return reinterpret_cast<MessengerState*>(messenger);
}

ControllerState* AsController(FlutterDesktopViewControllerRef controller) {
  return reinterpret_cast<ControllerState*>(controller);
}

ViewState* AsView(FlutterDesktopViewRef view) {
  return reinterpret_cast<ViewState*>(view);
}

RegistrarState* AsRegistrar(FlutterDesktopPluginRegistrarRef registrar) {
  return reinterpret_cast<RegistrarState*>(registrar);
}

FlutterDesktopMessengerRef RefOf(MessengerState* messenger) {
  return reinterpret_cast<FlutterDesktopMessengerRef>(messenger);
}

std::vector<uint8_t> CopyBytes(const uint8_t* data, size_t size) {
  return data == nullptr ? std::vector<uint8_t>() : std::vector<uint8_t>(data, data + size);
}

std::wstring CopyWide(const wchar_t* text) {
  return text == nullptr ? std::wstring() : std::wstring(text);
}

void EndEngine(EngineState* engine) {
  engine->messenger.engine_running = false;
  engine->frame_callback = nullptr;
  engine->frame_user_data = nullptr;
}

HWND CreateViewWindow(int width, int height) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = DefWindowProcW;
  window_class.hInstance = instance;
  window_class.lpszClassName = kViewClassName;
  // A second registration fails harmlessly: the class stays registered.
  RegisterClassW(&window_class);
  // Hidden and without a parent; the host makes it its child.
  return CreateWindowExW(0, kViewClassName, L"", WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                         instance, nullptr);
}

void DestroyViewWindow(ViewState& view) {
  // The host may have destroyed it already, as a child of its own window.
  if (view.window != nullptr && IsWindow(view.window)) {
    DestroyWindow(view.window);
  }
  view.window = nullptr;
}

}  // namespace

RecordingEngineLibrary& RecordingEngineLibrary::Get() {
  static RecordingEngineLibrary* const library = new RecordingEngineLibrary();
  return *library;
}

void RecordingEngineLibrary::Reset() {
  LibraryState& state = State();
  for (const std::unique_ptr<ControllerState>& controller : state.controllers) {
    DestroyViewWindow(controller->view);
  }
  state = LibraryState();
}

const std::vector<std::string>& RecordingEngineLibrary::calls() const {
  return State().calls;
}

void RecordingEngineLibrary::Record(std::string call) {
  Log(std::move(call));
}

size_t RecordingEngineLibrary::CallCount(std::string_view call) const {
  const std::vector<std::string>& calls = State().calls;
  return static_cast<size_t>(std::count(calls.begin(), calls.end(), call));
}

void RecordingEngineLibrary::set_engine_create_fails(bool fails) {
  State().engine_create_fails = fails;
}

void RecordingEngineLibrary::set_view_controller_create_fails(bool fails) {
  State().view_controller_create_fails = fails;
}

void RecordingEngineLibrary::set_top_level_window_proc_result(std::optional<LRESULT> result) {
  State().top_level_window_proc_result = result;
}

void RecordingEngineLibrary::set_messenger_available(bool available) {
  State().messenger_available = available;
}

void RecordingEngineLibrary::set_send_with_reply_refused(bool refused) {
  State().send_with_reply_refused = refused;
}

const std::optional<RecordingEngineLibrary::Properties>& RecordingEngineLibrary::last_properties()
    const {
  return State().last_properties;
}

std::optional<std::pair<int, int>> RecordingEngineLibrary::last_view_size() const {
  return State().last_view_size;
}

HWND RecordingEngineLibrary::view_window() const {
  const LibraryState& state = State();
  for (auto it = state.controllers.rbegin(); it != state.controllers.rend(); ++it) {
    if (!(*it)->destroyed) {
      return (*it)->view.window;
    }
  }
  return nullptr;
}

const std::vector<RecordingEngineLibrary::WindowMessage>& RecordingEngineLibrary::window_messages()
    const {
  return State().window_messages;
}

bool RecordingEngineLibrary::DrawFrame() {
  EngineState* engine = NewestEngine();
  if (engine == nullptr || engine->frame_callback == nullptr) {
    return false;
  }
  // Cleared first: the callback may ask for the frame after this one.
  FlutterDesktopOnNextFrameCallback callback = std::exchange(engine->frame_callback, nullptr);
  void* user_data = std::exchange(engine->frame_user_data, nullptr);
  callback(user_data);
  return true;
}

FlutterDesktopMessengerRef RecordingEngineLibrary::messenger() const {
  EngineState* engine = NewestEngine();
  return engine == nullptr ? nullptr : RefOf(&engine->messenger);
}

const std::vector<RecordingEngineLibrary::CallbackRegistration>&
RecordingEngineLibrary::callback_registrations() const {
  return State().callback_registrations;
}

bool RecordingEngineLibrary::HasCallback(const std::string& channel) const {
  EngineState* engine = NewestEngine();
  return engine != nullptr && engine->messenger.callbacks.count(channel) != 0;
}

size_t RecordingEngineLibrary::DeliverMessage(const std::string& channel,
                                              const std::vector<uint8_t>& bytes) {
  EngineState* engine = NewestEngine();
  if (engine == nullptr || !engine->messenger.engine_running) {
    return 0;
  }
  auto found = engine->messenger.callbacks.find(channel);
  if (found == engine->messenger.callbacks.end()) {
    return 0;
  }
  const auto [callback, user_data] = found->second;
  LibraryState& state = State();
  state.response_handles.push_back(std::make_unique<ResponseHandleState>());
  ResponseHandleState* handle = state.response_handles.back().get();
  handle->id = state.response_handles.size();

  FlutterDesktopMessage message = {};
  message.struct_size = sizeof(message);
  message.channel = channel.c_str();
  message.message = bytes.data();
  message.message_size = bytes.size();
  message.response_handle = reinterpret_cast<const FlutterDesktopMessageResponseHandle*>(handle);
  callback(RefOf(&engine->messenger), &message, user_data);
  return handle->id;
}

const std::vector<RecordingEngineLibrary::Response>& RecordingEngineLibrary::responses() const {
  return State().responses;
}

size_t RecordingEngineLibrary::add_ref_count() const {
  return State().add_ref_count;
}

size_t RecordingEngineLibrary::release_count() const {
  return State().release_count;
}

size_t RecordingEngineLibrary::lock_count() const {
  return State().lock_count;
}

size_t RecordingEngineLibrary::unlock_count() const {
  return State().unlock_count;
}

const std::vector<RecordingEngineLibrary::SentMessage>& RecordingEngineLibrary::sent() const {
  return State().sent;
}

bool RecordingEngineLibrary::AnswerSend(size_t index, const std::vector<uint8_t>& bytes) {
  std::vector<SentMessage>& sent = State().sent;
  if (index >= sent.size() || !sent[index].with_reply || sent[index].answered) {
    return false;
  }
  sent[index].answered = true;
  // Copied out: the reply may send again and grow `sent`.
  const FlutterDesktopBinaryReply reply = sent[index].reply;
  void* const user_data = sent[index].reply_user_data;
  reply(bytes.empty() ? nullptr : bytes.data(), bytes.size(), user_data);
  return true;
}

extern "C" {

void FlutterDesktopResyncOutputStreams(void) {
  Log("FlutterDesktopResyncOutputStreams");
}

UINT FlutterDesktopGetDpiForMonitor(HMONITOR monitor) {
  Log("FlutterDesktopGetDpiForMonitor");
  UINT dpi_x = 0;
  UINT dpi_y = 0;
  if (FAILED(GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &dpi_x, &dpi_y)) || dpi_x == 0) {
    return kDefaultDpi;
  }
  return dpi_x;
}

FlutterDesktopEngineRef FlutterDesktopEngineCreate(
    const FlutterDesktopEngineProperties* properties) {
  Log("FlutterDesktopEngineCreate");
  LibraryState& state = State();
  if (properties == nullptr) {
    return nullptr;
  }
  RecordingEngineLibrary::Properties copy;
  copy.assets_dir = CopyWide(properties->assets_dir);
  copy.icu_file = CopyWide(properties->icu_file);
  copy.aot_file = CopyWide(properties->aot_file);
  if (properties->entrypoint != nullptr) {
    copy.entrypoint = std::string(properties->entrypoint);
  }
  copy.entrypoint_argc = properties->entrypoint_argc;
  copy.entrypoint_argv_null = properties->entrypoint_argv == nullptr;
  if (properties->entrypoint_argv != nullptr) {
    for (int32_t i = 0; i < properties->entrypoint_argc; ++i) {
      const char* arg = properties->entrypoint_argv[i];
      copy.entrypoint_args.emplace_back(arg == nullptr ? "" : arg);
    }
  }
  copy.engine_setting_1 = properties->engine_setting_1;
  copy.engine_setting_2 = properties->engine_setting_2;
  state.last_properties = std::move(copy);
  if (state.engine_create_fails) {
    return nullptr;
  }
  state.engines.push_back(std::make_unique<EngineState>());
  return reinterpret_cast<FlutterDesktopEngineRef>(state.engines.back().get());
}

bool FlutterDesktopEngineDestroy(FlutterDesktopEngineRef engine) {
  Log("FlutterDesktopEngineDestroy");
  if (engine == nullptr) {
    return false;
  }
  EndEngine(AsEngine(engine));
  return true;
}

FlutterDesktopMessengerRef FlutterDesktopEngineGetMessenger(FlutterDesktopEngineRef engine) {
  Log("FlutterDesktopEngineGetMessenger");
  return engine == nullptr ? nullptr : RefOf(&AsEngine(engine)->messenger);
}

FlutterDesktopPluginRegistrarRef FlutterDesktopEngineGetPluginRegistrar(
    FlutterDesktopEngineRef engine,
    const char* plugin_name) {
  LogWithName("FlutterDesktopEngineGetPluginRegistrar", plugin_name);
  if (engine == nullptr || plugin_name == nullptr) {
    return nullptr;
  }
  EngineState* state = AsEngine(engine);
  std::unique_ptr<RegistrarState>& registrar = state->registrars[plugin_name];
  if (!registrar) {
    registrar = std::make_unique<RegistrarState>();
    registrar->engine = state;
  }
  return reinterpret_cast<FlutterDesktopPluginRegistrarRef>(registrar.get());
}

void FlutterDesktopEngineReloadSystemFonts(FlutterDesktopEngineRef) {
  Log("FlutterDesktopEngineReloadSystemFonts");
}

void FlutterDesktopEngineSetNextFrameCallback(FlutterDesktopEngineRef engine,
                                              FlutterDesktopOnNextFrameCallback callback,
                                              void* user_data) {
  Log("FlutterDesktopEngineSetNextFrameCallback");
  if (engine == nullptr) {
    return;
  }
  AsEngine(engine)->frame_callback = callback;
  AsEngine(engine)->frame_user_data = user_data;
}

FlutterDesktopViewControllerRef FlutterDesktopViewControllerCreate(int width,
                                                                   int height,
                                                                   FlutterDesktopEngineRef engine) {
  Log("FlutterDesktopViewControllerCreate");
  LibraryState& state = State();
  state.last_view_size = std::make_pair(width, height);
  if (engine == nullptr) {
    return nullptr;
  }
  if (state.view_controller_create_fails) {
    // Taken over whatever the outcome: a failed start ends the engine.
    EndEngine(AsEngine(engine));
    return nullptr;
  }
  auto controller = std::make_unique<ControllerState>();
  controller->engine = AsEngine(engine);
  controller->view.window = CreateViewWindow(width, height);
  state.controllers.push_back(std::move(controller));
  return reinterpret_cast<FlutterDesktopViewControllerRef>(state.controllers.back().get());
}

void FlutterDesktopViewControllerDestroy(FlutterDesktopViewControllerRef controller) {
  Log("FlutterDesktopViewControllerDestroy");
  if (controller == nullptr) {
    return;
  }
  ControllerState* state = AsController(controller);
  DestroyViewWindow(state->view);
  EndEngine(state->engine);
  state->destroyed = true;
}

FlutterDesktopViewRef FlutterDesktopViewControllerGetView(
    FlutterDesktopViewControllerRef controller) {
  Log("FlutterDesktopViewControllerGetView");
  return controller == nullptr
             ? nullptr
             : reinterpret_cast<FlutterDesktopViewRef>(&AsController(controller)->view);
}

void FlutterDesktopViewControllerForceRedraw(FlutterDesktopViewControllerRef) {
  Log("FlutterDesktopViewControllerForceRedraw");
}

bool FlutterDesktopViewControllerHandleTopLevelWindowProc(
    FlutterDesktopViewControllerRef controller,
    HWND window,
    UINT message,
    WPARAM wparam,
    LPARAM lparam,
    LRESULT* result) {
  Log("FlutterDesktopViewControllerHandleTopLevelWindowProc");
  LibraryState& state = State();
  state.window_messages.push_back({window, message, wparam, lparam});
  if (controller == nullptr) {
    return false;
  }
  // Plugins' delegates see the message before the engine does.
  for (const auto& [name, registrar] : AsController(controller)->engine->registrars) {
    for (const auto& [delegate, user_data] : registrar->delegates) {
      if (delegate(window, message, wparam, lparam, user_data, result)) {
        return true;
      }
    }
  }
  if (!state.top_level_window_proc_result) {
    return false;
  }
  *result = *state.top_level_window_proc_result;
  return true;
}

HWND FlutterDesktopViewGetHWND(FlutterDesktopViewRef view) {
  Log("FlutterDesktopViewGetHWND");
  return view == nullptr ? nullptr : AsView(view)->window;
}

bool FlutterDesktopMessengerSend(FlutterDesktopMessengerRef messenger,
                                 const char* channel,
                                 const uint8_t* message,
                                 size_t message_size) {
  LogWithName("FlutterDesktopMessengerSend", channel);
  if (messenger == nullptr || channel == nullptr) {
    return false;
  }
  State().sent.push_back(
      {channel, CopyBytes(message, message_size), false, false, nullptr, nullptr});
  return true;
}

bool FlutterDesktopMessengerSendWithReply(FlutterDesktopMessengerRef messenger,
                                          const char* channel,
                                          const uint8_t* message,
                                          size_t message_size,
                                          FlutterDesktopBinaryReply reply,
                                          void* user_data) {
  LogWithName("FlutterDesktopMessengerSendWithReply", channel);
  LibraryState& state = State();
  if (messenger == nullptr || channel == nullptr || state.send_with_reply_refused) {
    return false;
  }
  state.sent.push_back({channel, CopyBytes(message, message_size), true, false, reply, user_data});
  return true;
}

void FlutterDesktopMessengerSendResponse(FlutterDesktopMessengerRef,
                                         const FlutterDesktopMessageResponseHandle* handle,
                                         const uint8_t* data,
                                         size_t data_length) {
  Log("FlutterDesktopMessengerSendResponse");
  const auto* state = reinterpret_cast<const ResponseHandleState*>(handle);
  State().responses.push_back(
      {state == nullptr ? 0 : state->id, CopyBytes(data, data_length), data == nullptr});
}

void FlutterDesktopMessengerSetCallback(FlutterDesktopMessengerRef messenger,
                                        const char* channel,
                                        FlutterDesktopMessageCallback callback,
                                        void* user_data) {
  LogWithName("FlutterDesktopMessengerSetCallback", channel);
  if (channel == nullptr) {
    return;
  }
  State().callback_registrations.push_back({channel, callback, user_data});
  if (messenger == nullptr) {
    return;
  }
  auto& callbacks = AsMessenger(messenger)->callbacks;
  if (callback == nullptr) {
    callbacks.erase(channel);
  } else {
    callbacks[channel] = {callback, user_data};
  }
}

FlutterDesktopMessengerRef FlutterDesktopMessengerAddRef(FlutterDesktopMessengerRef messenger) {
  Log("FlutterDesktopMessengerAddRef");
  ++State().add_ref_count;
  return messenger;
}

void FlutterDesktopMessengerRelease(FlutterDesktopMessengerRef) {
  Log("FlutterDesktopMessengerRelease");
  ++State().release_count;
}

bool FlutterDesktopMessengerIsAvailable(FlutterDesktopMessengerRef messenger) {
  Log("FlutterDesktopMessengerIsAvailable");
  return messenger != nullptr && State().messenger_available &&
         AsMessenger(messenger)->engine_running;
}

FlutterDesktopMessengerRef FlutterDesktopMessengerLock(FlutterDesktopMessengerRef messenger) {
  Log("FlutterDesktopMessengerLock");
  ++State().lock_count;
  return messenger;
}

void FlutterDesktopMessengerUnlock(FlutterDesktopMessengerRef) {
  Log("FlutterDesktopMessengerUnlock");
  ++State().unlock_count;
}

FlutterDesktopMessengerRef FlutterDesktopPluginRegistrarGetMessenger(
    FlutterDesktopPluginRegistrarRef registrar) {
  Log("FlutterDesktopPluginRegistrarGetMessenger");
  return registrar == nullptr ? nullptr : RefOf(&AsRegistrar(registrar)->engine->messenger);
}

void FlutterDesktopPluginRegistrarRegisterTopLevelWindowProcDelegate(
    FlutterDesktopPluginRegistrarRef registrar,
    FlutterDesktopWindowProcCallback delegate,
    void* user_data) {
  Log("FlutterDesktopPluginRegistrarRegisterTopLevelWindowProcDelegate");
  if (registrar == nullptr || delegate == nullptr) {
    return;
  }
  AsRegistrar(registrar)->delegates.emplace_back(delegate, user_data);
}

void FlutterDesktopPluginRegistrarUnregisterTopLevelWindowProcDelegate(
    FlutterDesktopPluginRegistrarRef registrar,
    FlutterDesktopWindowProcCallback delegate) {
  Log("FlutterDesktopPluginRegistrarUnregisterTopLevelWindowProcDelegate");
  if (registrar == nullptr) {
    return;
  }
  auto& delegates = AsRegistrar(registrar)->delegates;
  delegates.erase(std::remove_if(delegates.begin(), delegates.end(),
                                 [delegate](const auto& entry) { return entry.first == delegate; }),
                  delegates.end());
}

}  // extern "C"
