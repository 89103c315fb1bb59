#ifndef ENGINE_BRIDGE_FLUTTER_ENGINE_H_
#define ENGINE_BRIDGE_FLUTTER_ENGINE_H_

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "engine_bridge/binary_messenger.h"
#include "engine_bridge/binary_messenger_impl.h"
#include "engine_bridge/engine_api.h"
#include "engine_bridge/plugin_registry.h"
#include "shell/project_bundle.h"

namespace flutter {

// The library's engine, created from a project bundle, with its messenger.
// It destroys the library's engine only while it owns it; a view controller
// takes ownership over to run the engine. Main thread only.
class FlutterEngine : public PluginRegistry {
 public:
  static constexpr std::string_view kEngineNotRunningDiagnostic =
      "Cannot get plugin registrar on an engine that isn't running; call Run first.";

  // Creates the library's engine, which does not run yet. The bundle's texts
  // need to live only for the constructor's duration.
  explicit FlutterEngine(const ProjectBundle& bundle);
  ~FlutterEngine() override;

  BinaryMessenger* GetBinaryMessenger();

  // Null, with a diagnostic line, when the library gave no engine.
  FlutterDesktopPluginRegistrarRef LookupRegistrar(const std::string& plugin_name) override;

  void RefreshFonts();

  // Runs `callback` (not empty) once, after the engine's next frame; replaces
  // a callback still waiting. One that is waiting when the engine wrapper goes
  // never runs.
  void OnNextFrame(std::function<void()> callback);

  // Gives up ownership of the library's engine and returns it. The wrapper
  // keeps using the reference for its other operations.
  FlutterDesktopEngineRef ReleaseEngineOwnership();

 private:
  static void OnEngineFrame(void* user_data) noexcept;

  // Null when the library could not create an engine; every operation but
  // LookupRegistrar then does nothing.
  FlutterDesktopEngineRef engine_handle_;
  std::unique_ptr<BinaryMessengerImpl> messenger_;
  bool engine_owned_ = true;
  std::function<void()> pending_frame_callback_;
};

}  // namespace flutter

#endif  // ENGINE_BRIDGE_FLUTTER_ENGINE_H_
