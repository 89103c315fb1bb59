#ifndef PLATFORM_ENGINE_PLUGIN_REGISTRAR_H_
#define PLATFORM_ENGINE_PLUGIN_REGISTRAR_H_

#include "engine_bridge/engine_api.h"
#include "platform/engine/engine_messenger.h"
#include "platform/engine/window_proc_delegates.h"

namespace norvalis_engine {

// What one plugin gets from the engine: its messenger and a place among the
// top-level window procedure delegates. Owned by the engine.
class PluginRegistrar {
 public:
  PluginRegistrar(EngineMessenger* messenger, WindowProcDelegates* delegates)
      : messenger_(messenger), delegates_(delegates) {}
  PluginRegistrar(const PluginRegistrar&) = delete;
  PluginRegistrar& operator=(const PluginRegistrar&) = delete;

  EngineMessenger* messenger() const { return messenger_; }

  void RegisterWindowProcDelegate(FlutterDesktopWindowProcCallback delegate, void* user_data) {
    delegates_->Add(this, delegate, user_data);
  }
  void UnregisterWindowProcDelegate(FlutterDesktopWindowProcCallback delegate) {
    delegates_->Remove(this, delegate);
  }

 private:
  EngineMessenger* messenger_;
  WindowProcDelegates* delegates_;
};

}  // namespace norvalis_engine

#endif  // PLATFORM_ENGINE_PLUGIN_REGISTRAR_H_
