#include "platform/engine/engine.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "platform/engine/bundle_paths.h"
#include "platform/engine/dropped_call.h"
#include "platform/engine/start_failure.h"

namespace norvalis_engine {
namespace {

// How a real engine tells the application that the system's fonts changed.
constexpr char kSystemChannel[] = "flutter/system";
constexpr char kFontsChangeMessage[] = R"({"type":"fontsChange"})";

std::wstring CopyOf(const wchar_t* text) {
  return text != nullptr ? std::wstring(text) : std::wstring();
}

std::vector<uint8_t> CopyOf(const uint8_t* data, size_t size) {
  return data != nullptr ? std::vector<uint8_t>(data, data + size) : std::vector<uint8_t>();
}

// Empty answers reach their callbacks as null.
const uint8_t* DataOrNull(const std::vector<uint8_t>& bytes) {
  return bytes.empty() ? nullptr : bytes.data();
}

}  // namespace

std::unique_ptr<Engine> Engine::Create(const FlutterDesktopEngineProperties& properties) {
  if (properties.entrypoint_argc < 0 ||
      (properties.entrypoint_argc > 0 && properties.entrypoint_argv == nullptr)) {
    return nullptr;
  }
  const char* const* const argv = properties.entrypoint_argv;
  if (std::find(argv, argv + properties.entrypoint_argc, nullptr) !=
      argv + properties.entrypoint_argc) {
    return nullptr;
  }
  std::unique_ptr<Engine> engine(new Engine());
  engine->arguments_.assign(argv, argv + properties.entrypoint_argc);
  engine->assets_dir_ = CopyOf(properties.assets_dir);
  engine->icu_file_ = CopyOf(properties.icu_file);
  engine->aot_file_ = CopyOf(properties.aot_file);
  engine->entrypoint_ = properties.entrypoint != nullptr ? properties.entrypoint : "";
  engine->main_thread_ = GetCurrentThreadId();
  engine->messenger_.reset(new EngineMessenger(engine.get()));
  engine->app_host_ = {reinterpret_cast<NorvalisAppEngine*>(engine.get()),
                       AppSendMessage,
                       AppSetMessageHandler,
                       AppRespond,
                       AppAddPostFrameCallback,
                       AppCloseWindow};
  return engine;
}

Engine::~Engine() {
  assert(OnMainThread());
  running_ = false;
  app_thread_.Stop();
  view_.reset();
  window_.reset();
  messenger_->MarkEngineEnded();
  app_library_.reset();
  // Last, on the main thread, with the messenger already unavailable: each
  // reply is called exactly once, and the host frees what it kept for it.
  std::map<uint64_t, HostReply> unanswered = std::move(host_replies_);
  host_replies_.clear();
  for (const auto& [id, pending] : unanswered) {
    pending.reply(nullptr, 0, pending.user_data);
  }
}

bool Engine::Run(int width, int height) {
  assert(!taken_over_);
  taken_over_ = true;
  main_thread_ = GetCurrentThreadId();
  const std::wstring executable = ExecutablePath();
  if (!BundleFilesExist(ResolveBundlePath(assets_dir_, executable),
                        ResolveBundlePath(icu_file_, executable))) {
    return false;
  }
  const std::wstring aot_file = ResolveBundlePath(aot_file_, executable);
  app_library_ = AppLibrary::Load(aot_file);
  if (app_library_ == nullptr) {
    return false;
  }
  window_ = EngineWindow::Create();
  if (window_ != nullptr) {
    view_ = EngineView::Create(window_->handle(), width, height);
  }
  if (view_ == nullptr) {
    ReportStartFailure(kEngineWindowsNotCreated, aot_file);
    return false;
  }
  running_ = true;
  app_thread_.Start([this] { RunAppMain(); });
  return true;
}

PluginRegistrar* Engine::Registrar(const std::string& plugin_name) {
  assert(OnMainThread());
  std::unique_ptr<PluginRegistrar>& registrar = registrars_[plugin_name];
  if (registrar == nullptr) {
    registrar = std::make_unique<PluginRegistrar>(messenger_.get(), &delegates_);
  }
  return registrar.get();
}

void Engine::ReloadSystemFonts() {
  assert(OnMainThread());
  SendToApp(kSystemChannel, reinterpret_cast<const uint8_t*>(kFontsChangeMessage),
            std::strlen(kFontsChangeMessage), nullptr, nullptr);
}

void Engine::SetNextFrameCallback(FlutterDesktopOnNextFrameCallback callback, void* user_data) {
  assert(OnMainThread());
  next_frame_callback_ = callback;
  next_frame_user_data_ = user_data;
}

void Engine::ForceRedraw() {
  assert(OnMainThread());
  if (!running_) {
    return;
  }
  // Requests made before the frame is drawn make one frame.
  frame_requested_ = true;
  window_->PostTask([this] { DrawFrameIfDue(); });
}

bool Engine::HandleTopLevelWindowProc(HWND window,
                                      UINT message,
                                      WPARAM wparam,
                                      LPARAM lparam,
                                      LRESULT* result) {
  assert(OnMainThread());
  return delegates_.Offer(window, message, wparam, lparam, result);
}

bool Engine::SendToApp(const char* channel,
                       const uint8_t* message,
                       size_t message_size,
                       FlutterDesktopBinaryReply reply,
                       void* user_data) {
  assert(OnMainThread());
  if (!running_ || channel == nullptr) {
    return false;
  }
  uint64_t host_reply = 0;
  if (reply != nullptr) {
    host_reply = next_host_reply_++;
    host_replies_[host_reply] = {reply, user_data};
  }
  try {
    app_thread_.PostTask([this, channel = std::string(channel),
                          bytes = CopyOf(message, message_size),
                          host_reply] { DeliverToApp(channel, bytes, host_reply); });
  } catch (...) {
    // Refused: the caller disposes of its user data, which must not be
    // called at the end.
    host_replies_.erase(host_reply);
    throw;
  }
  return true;
}

void Engine::SetHostCallback(const char* channel,
                             FlutterDesktopMessageCallback callback,
                             void* user_data) {
  assert(OnMainThread());
  if (channel == nullptr) {
    return;
  }
  if (callback == nullptr) {
    host_callbacks_.erase(channel);
  } else {
    host_callbacks_[channel] = {callback, user_data};
  }
}

void Engine::RespondToApp(const FlutterDesktopMessageResponseHandle* handle,
                          const uint8_t* data,
                          size_t data_size) {
  assert(OnMainThread());
  // A handle answered before, or none of this engine's, is not followed.
  const auto found = response_handles_.find(handle);
  if (found == response_handles_.end()) {
    return;
  }
  const FlutterDesktopMessageResponseHandle answered = *found->second;
  response_handles_.erase(found);
  if (answered.reply == nullptr) {
    return;
  }
  app_thread_.PostTask([answered, bytes = CopyOf(data, data_size)] {
    answered.reply(DataOrNull(bytes), bytes.size(), answered.user_data);
  });
}

void Engine::DeliverToHost(const std::string& channel,
                           const Bytes& message,
                           NorvalisAppReplyCallback reply,
                           void* user_data) {
  const auto found = host_callbacks_.find(channel);
  if (found == host_callbacks_.end()) {
    // As a real engine does: nobody listens, so the answer is empty.
    if (reply != nullptr) {
      app_thread_.PostTask([reply, user_data] { reply(nullptr, 0, user_data); });
    }
    return;
  }
  auto handle = std::make_unique<FlutterDesktopMessageResponseHandle>();
  handle->reply = reply;
  handle->user_data = user_data;
  const FlutterDesktopMessageResponseHandle* response_handle = handle.get();
  response_handles_.emplace(response_handle, std::move(handle));
  const FlutterDesktopMessage record = {sizeof(FlutterDesktopMessage), channel.c_str(),
                                        DataOrNull(message), message.size(), response_handle};
  const HostCallback host = found->second;
  // Last: the callback may end the engine.
  host.callback(ToRef(messenger_.get()), &record, host.user_data);
}

void Engine::CompleteHostReply(uint64_t id, const Bytes& reply) {
  const auto found = host_replies_.find(id);
  if (found == host_replies_.end()) {
    return;
  }
  const HostReply pending = found->second;
  host_replies_.erase(found);
  // Last: the reply may end the engine.
  pending.reply(DataOrNull(reply), reply.size(), pending.user_data);
}

void Engine::OnAppMainReturned() {
  app_main_returned_ = true;
  DrawFrameIfDue();
}

void Engine::DrawFrameIfDue() {
  // An application has nothing to show before its entry point has returned.
  if (!frame_requested_ || !app_main_returned_) {
    return;
  }
  frame_requested_ = false;
  // Queued now, so that it runs after the host's callback below; dropped with
  // the window if that callback ends the engine.
  window_->PostTask([this] { app_thread_.PostTask([this] { RunPostFrameCallbacks(); }); });
  const FlutterDesktopOnNextFrameCallback callback = next_frame_callback_;
  void* const user_data = next_frame_user_data_;
  next_frame_callback_ = nullptr;
  next_frame_user_data_ = nullptr;
  if (callback != nullptr) {
    callback(user_data);
  }
}

void Engine::RunAppMain() {
  std::vector<const char*> argv;
  for (const std::string& argument : arguments_) {
    argv.push_back(argument.c_str());
  }
  app_library_->main()(&app_host_, entrypoint_.c_str(), static_cast<int>(argv.size()),
                       argv.empty() ? nullptr : argv.data());
  window_->PostTask([this] { OnAppMainReturned(); });
}

void Engine::DeliverToApp(const std::string& channel, const Bytes& message, uint64_t host_reply) {
  const auto found = app_handlers_.find(channel);
  if (found == app_handlers_.end()) {
    if (host_reply != 0) {
      window_->PostTask([this, host_reply] { CompleteHostReply(host_reply, Bytes()); });
    }
    return;
  }
  auto response = std::make_unique<NorvalisAppResponse>();
  response->host_reply = host_reply;
  NorvalisAppResponse* const raw_response = response.get();
  app_responses_.emplace(raw_response, std::move(response));
  const AppHandler handler = found->second;
  handler.handler(DataOrNull(message), message.size(), raw_response, handler.user_data);
}

void Engine::RunPostFrameCallbacks() {
  // Callbacks added while these run wait for the next frame.
  const std::vector<std::pair<NorvalisAppFrameCallback, void*>> callbacks =
      std::move(post_frame_callbacks_);
  post_frame_callbacks_.clear();
  for (const auto& [callback, user_data] : callbacks) {
    callback(user_data);
  }
}

Engine* Engine::FromApp(NorvalisAppEngine* engine) {
  Engine* const self = reinterpret_cast<Engine*>(engine);
  assert(self == nullptr || self->app_thread_.IsCurrent());
  return self;
}

void Engine::AppSendMessage(NorvalisAppEngine* engine,
                            const char* channel,
                            const uint8_t* message,
                            size_t message_size,
                            NorvalisAppReplyCallback reply,
                            void* user_data) noexcept {
  Engine* const self = FromApp(engine);
  if (self == nullptr || channel == nullptr) {
    return;
  }
  try {
    self->window_->PostTask([self, channel = std::string(channel),
                             bytes = CopyOf(message, message_size), reply,
                             user_data] { self->DeliverToHost(channel, bytes, reply, user_data); });
  } catch (...) {
    // Out of memory: the message is lost, and its reply never comes.
    ReportDroppedCall("AppSendMessage");
  }
}

void Engine::AppSetMessageHandler(NorvalisAppEngine* engine,
                                  const char* channel,
                                  NorvalisAppMessageCallback handler,
                                  void* user_data) noexcept {
  Engine* const self = FromApp(engine);
  if (self == nullptr || channel == nullptr) {
    return;
  }
  try {
    if (handler == nullptr) {
      self->app_handlers_.erase(channel);
    } else {
      self->app_handlers_[channel] = {handler, user_data};
    }
  } catch (...) {
    // Out of memory: the handler stays as it was.
    ReportDroppedCall("AppSetMessageHandler");
  }
}

void Engine::AppRespond(NorvalisAppEngine* engine,
                        NorvalisAppResponse* response,
                        const uint8_t* reply,
                        size_t reply_size) noexcept {
  Engine* const self = FromApp(engine);
  if (self == nullptr) {
    return;
  }
  try {
    const auto found = self->app_responses_.find(response);
    if (found == self->app_responses_.end()) {
      return;
    }
    const uint64_t host_reply = found->second->host_reply;
    self->app_responses_.erase(found);
    if (host_reply != 0) {
      self->window_->PostTask([self, host_reply, bytes = CopyOf(reply, reply_size)] {
        self->CompleteHostReply(host_reply, bytes);
      });
    }
  } catch (...) {
    // Out of memory: the host's reply is called with nothing when the engine
    // ends.
    ReportDroppedCall("AppRespond");
  }
}

void Engine::AppAddPostFrameCallback(NorvalisAppEngine* engine,
                                     NorvalisAppFrameCallback callback,
                                     void* user_data) noexcept {
  Engine* const self = FromApp(engine);
  if (self == nullptr || callback == nullptr) {
    return;
  }
  try {
    self->post_frame_callbacks_.emplace_back(callback, user_data);
  } catch (...) {
    // Out of memory: the callback is not added.
    ReportDroppedCall("AppAddPostFrameCallback");
  }
}

void Engine::AppCloseWindow(NorvalisAppEngine* engine) noexcept {
  Engine* const self = FromApp(engine);
  if (self == nullptr) {
    return;
  }
  // The host's top-level window, as the user would close it. Before the host
  // embeds the view that is the engine's own window, which ignores it.
  const HWND root = GetAncestor(self->view_->window(), GA_ROOT);
  if (root != nullptr) {
    PostMessageW(root, WM_CLOSE, 0, 0);
  }
}

}  // namespace norvalis_engine
