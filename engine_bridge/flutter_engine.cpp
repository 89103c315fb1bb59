#include "engine_bridge/flutter_engine.h"

#include <utility>
#include <vector>

#include "codec/diagnostic.h"
#include "engine_bridge/stopped_exception.h"

namespace flutter {

namespace {

FlutterDesktopEngineRef CreateEngine(const ProjectBundle& bundle) {
  // Points into the bundle's texts; lives only for the call, as the library
  // copies what it keeps.
  std::vector<const char*> argv;
  argv.reserve(bundle.entrypoint_args.size());
  for (const std::string& arg : bundle.entrypoint_args) {
    argv.push_back(arg.c_str());
  }
  FlutterDesktopEngineProperties properties = {};
  properties.assets_dir = bundle.assets_dir.c_str();
  properties.icu_file = bundle.icu_file.c_str();
  properties.aot_file = bundle.aot_file.c_str();
  // c_str() of an empty name is "", never null.
  properties.entrypoint = bundle.entrypoint.c_str();
  properties.entrypoint_argc = static_cast<int32_t>(argv.size());
  properties.entrypoint_argv = argv.empty() ? nullptr : argv.data();
  properties.engine_setting_1 = bundle.engine_setting_1;
  properties.engine_setting_2 = bundle.engine_setting_2;
  return FlutterDesktopEngineCreate(&properties);
}

}  // namespace

FlutterEngine::FlutterEngine(const ProjectBundle& bundle)
    : engine_handle_(CreateEngine(bundle)),
      messenger_(
          std::make_unique<BinaryMessengerImpl>(FlutterDesktopEngineGetMessenger(engine_handle_))) {
}

FlutterEngine::~FlutterEngine() {
  if (engine_handle_ != nullptr && engine_owned_) {
    FlutterDesktopEngineDestroy(engine_handle_);
  }
  engine_handle_ = nullptr;
  // Then the pending frame callback and the messenger go, in that order.
}

BinaryMessenger* FlutterEngine::GetBinaryMessenger() {
  return messenger_.get();
}

FlutterDesktopPluginRegistrarRef FlutterEngine::LookupRegistrar(const std::string& plugin_name) {
  if (engine_handle_ == nullptr) {
    WriteDiagnosticLine(kEngineNotRunningDiagnostic);
    return nullptr;
  }
  return FlutterDesktopEngineGetPluginRegistrar(engine_handle_, plugin_name.c_str());
}

void FlutterEngine::RefreshFonts() {
  if (engine_handle_ != nullptr) {
    FlutterDesktopEngineReloadSystemFonts(engine_handle_);
  }
}

void FlutterEngine::OnNextFrame(std::function<void()> callback) {
  pending_frame_callback_ = std::move(callback);
  if (engine_handle_ != nullptr) {
    FlutterDesktopEngineSetNextFrameCallback(engine_handle_, &FlutterEngine::OnEngineFrame, this);
  }
}

FlutterDesktopEngineRef FlutterEngine::ReleaseEngineOwnership() {
  engine_owned_ = false;
  return engine_handle_;
}

void FlutterEngine::OnEngineFrame(void* user_data) noexcept {
  auto* engine = static_cast<FlutterEngine*>(user_data);
  // Taken out first, so the callback may ask for another frame.
  const std::function<void()> callback = std::exchange(engine->pending_frame_callback_, nullptr);
  try {
    if (callback) {
      callback();
    }
  } catch (...) {
    // Nothing may unwind into the library; the frame has been announced.
    ReportStoppedException("OnEngineFrame");
  }
}

}  // namespace flutter
