// The engine library's C functions. Those that can fail catch at their own
// edge: no exception crosses into the C code that calls them. A view
// controller is the engine it took over, so both references point at one
// Engine.

#include <memory>
#include <mutex>

#include "engine_bridge/engine_api.h"
#include "platform/engine/dropped_call.h"
#include "platform/engine/engine.h"
#include "platform/engine/engine_messenger.h"
#include "platform/engine/engine_view.h"
#include "platform/engine/plugin_registrar.h"

namespace {

using norvalis_engine::Engine;
using norvalis_engine::EngineView;
using norvalis_engine::PluginRegistrar;

Engine* AsEngine(FlutterDesktopEngineRef engine) {
  return reinterpret_cast<Engine*>(engine);
}

Engine* AsEngine(FlutterDesktopViewControllerRef controller) {
  return reinterpret_cast<Engine*>(controller);
}

PluginRegistrar* AsRegistrar(FlutterDesktopPluginRegistrarRef registrar) {
  return reinterpret_cast<PluginRegistrar*>(registrar);
}

// Runs `body`; if it throws, reports the failure and returns `fallback`.
template <typename Result, typename Body>
Result Guarded(const char* function, Result fallback, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    norvalis_engine::ReportDroppedCall(function);
  }
  return fallback;
}

template <typename Body>
void Guarded(const char* function, Body&& body) noexcept {
  Guarded(function, 0, [&body] {
    body();
    return 0;
  });
}

// Runs `body` with the messenger's engine, under the messenger's lock, if the
// engine still exists.
template <typename Result, typename Body>
Result WithEngine(const char* function,
                  FlutterDesktopMessengerRef messenger,
                  Result fallback,
                  Body&& body) noexcept {
  if (messenger == nullptr) {
    return fallback;
  }
  return Guarded(function, fallback, [&] {
    std::lock_guard<std::recursive_mutex> lock(norvalis_engine::FromRef(messenger)->mutex());
    Engine* engine = norvalis_engine::FromRef(messenger)->engine();
    return engine != nullptr ? body(*engine) : fallback;
  });
}

}  // namespace

FlutterDesktopEngineRef FlutterDesktopEngineCreate(
    const FlutterDesktopEngineProperties* properties) {
  if (properties == nullptr) {
    return nullptr;
  }
  return Guarded("FlutterDesktopEngineCreate", FlutterDesktopEngineRef{nullptr}, [&] {
    return reinterpret_cast<FlutterDesktopEngineRef>(Engine::Create(*properties).release());
  });
}

bool FlutterDesktopEngineDestroy(FlutterDesktopEngineRef engine) {
  // An engine taken over ends with its view controller only.
  if (engine == nullptr || AsEngine(engine)->taken_over()) {
    return false;
  }
  return Guarded("FlutterDesktopEngineDestroy", false, [&] {
    delete AsEngine(engine);
    return true;
  });
}

FlutterDesktopMessengerRef FlutterDesktopEngineGetMessenger(FlutterDesktopEngineRef engine) {
  return engine != nullptr ? norvalis_engine::ToRef(AsEngine(engine)->messenger()) : nullptr;
}

FlutterDesktopPluginRegistrarRef FlutterDesktopEngineGetPluginRegistrar(
    FlutterDesktopEngineRef engine,
    const char* plugin_name) {
  if (engine == nullptr || plugin_name == nullptr) {
    return nullptr;
  }
  return Guarded("FlutterDesktopEngineGetPluginRegistrar",
                 FlutterDesktopPluginRegistrarRef{nullptr}, [&] {
                   return reinterpret_cast<FlutterDesktopPluginRegistrarRef>(
                       AsEngine(engine)->Registrar(plugin_name));
                 });
}

void FlutterDesktopEngineReloadSystemFonts(FlutterDesktopEngineRef engine) {
  if (engine != nullptr) {
    Guarded("FlutterDesktopEngineReloadSystemFonts",
            [&] { AsEngine(engine)->ReloadSystemFonts(); });
  }
}

void FlutterDesktopEngineSetNextFrameCallback(FlutterDesktopEngineRef engine,
                                              FlutterDesktopOnNextFrameCallback callback,
                                              void* user_data) {
  if (engine != nullptr) {
    AsEngine(engine)->SetNextFrameCallback(callback, user_data);
  }
}

FlutterDesktopViewControllerRef FlutterDesktopViewControllerCreate(int width,
                                                                   int height,
                                                                   FlutterDesktopEngineRef engine) {
  if (engine == nullptr) {
    return nullptr;
  }
  return Guarded("FlutterDesktopViewControllerCreate", FlutterDesktopViewControllerRef{nullptr},
                 [&] {
                   // Taken over whatever the outcome: a failed start ends it.
                   std::unique_ptr<Engine> owned(AsEngine(engine));
                   if (!owned->Run(width, height)) {
                     return FlutterDesktopViewControllerRef{nullptr};
                   }
                   return reinterpret_cast<FlutterDesktopViewControllerRef>(owned.release());
                 });
}

void FlutterDesktopViewControllerDestroy(FlutterDesktopViewControllerRef controller) {
  if (controller != nullptr) {
    Guarded("FlutterDesktopViewControllerDestroy", [&] { delete AsEngine(controller); });
  }
}

FlutterDesktopViewRef FlutterDesktopViewControllerGetView(
    FlutterDesktopViewControllerRef controller) {
  return controller != nullptr
             ? reinterpret_cast<FlutterDesktopViewRef>(AsEngine(controller)->view())
             : nullptr;
}

void FlutterDesktopViewControllerForceRedraw(FlutterDesktopViewControllerRef controller) {
  if (controller != nullptr) {
    Guarded("FlutterDesktopViewControllerForceRedraw",
            [&] { AsEngine(controller)->ForceRedraw(); });
  }
}

bool FlutterDesktopViewControllerHandleTopLevelWindowProc(
    FlutterDesktopViewControllerRef controller,
    HWND window,
    UINT message,
    WPARAM wparam,
    LPARAM lparam,
    LRESULT* result) {
  if (controller == nullptr) {
    return false;
  }
  return AsEngine(controller)->HandleTopLevelWindowProc(window, message, wparam, lparam, result);
}

HWND FlutterDesktopViewGetHWND(FlutterDesktopViewRef view) {
  return view != nullptr ? reinterpret_cast<EngineView*>(view)->window() : nullptr;
}

bool FlutterDesktopMessengerSend(FlutterDesktopMessengerRef messenger,
                                 const char* channel,
                                 const uint8_t* message,
                                 size_t message_size) {
  return WithEngine("FlutterDesktopMessengerSend", messenger, false, [&](Engine& engine) {
    return engine.SendToApp(channel, message, message_size, nullptr, nullptr);
  });
}

bool FlutterDesktopMessengerSendWithReply(FlutterDesktopMessengerRef messenger,
                                          const char* channel,
                                          const uint8_t* message,
                                          size_t message_size,
                                          FlutterDesktopBinaryReply reply,
                                          void* user_data) {
  return WithEngine("FlutterDesktopMessengerSendWithReply", messenger, false, [&](Engine& engine) {
    return engine.SendToApp(channel, message, message_size, reply, user_data);
  });
}

void FlutterDesktopMessengerSendResponse(FlutterDesktopMessengerRef messenger,
                                         const FlutterDesktopMessageResponseHandle* handle,
                                         const uint8_t* data,
                                         size_t data_length) {
  WithEngine("FlutterDesktopMessengerSendResponse", messenger, 0, [&](Engine& engine) {
    engine.RespondToApp(handle, data, data_length);
    return 0;
  });
}

void FlutterDesktopMessengerSetCallback(FlutterDesktopMessengerRef messenger,
                                        const char* channel,
                                        FlutterDesktopMessageCallback callback,
                                        void* user_data) {
  WithEngine("FlutterDesktopMessengerSetCallback", messenger, 0, [&](Engine& engine) {
    engine.SetHostCallback(channel, callback, user_data);
    return 0;
  });
}

FlutterDesktopMessengerRef FlutterDesktopMessengerAddRef(FlutterDesktopMessengerRef messenger) {
  if (messenger != nullptr) {
    norvalis_engine::FromRef(messenger)->AddRef();
  }
  return messenger;
}

void FlutterDesktopMessengerRelease(FlutterDesktopMessengerRef messenger) {
  if (messenger != nullptr) {
    norvalis_engine::FromRef(messenger)->Release();
  }
}

bool FlutterDesktopMessengerIsAvailable(FlutterDesktopMessengerRef messenger) {
  return WithEngine("FlutterDesktopMessengerIsAvailable", messenger, false,
                    [](Engine&) { return true; });
}

FlutterDesktopMessengerRef FlutterDesktopMessengerLock(FlutterDesktopMessengerRef messenger) {
  if (messenger == nullptr) {
    return nullptr;
  }
  return Guarded("FlutterDesktopMessengerLock", FlutterDesktopMessengerRef{nullptr}, [&] {
    norvalis_engine::FromRef(messenger)->mutex().lock();
    return messenger;
  });
}

void FlutterDesktopMessengerUnlock(FlutterDesktopMessengerRef messenger) {
  if (messenger != nullptr) {
    norvalis_engine::FromRef(messenger)->mutex().unlock();
  }
}

FlutterDesktopMessengerRef FlutterDesktopPluginRegistrarGetMessenger(
    FlutterDesktopPluginRegistrarRef registrar) {
  return registrar != nullptr ? norvalis_engine::ToRef(AsRegistrar(registrar)->messenger())
                              : nullptr;
}

void FlutterDesktopPluginRegistrarRegisterTopLevelWindowProcDelegate(
    FlutterDesktopPluginRegistrarRef registrar,
    FlutterDesktopWindowProcCallback delegate,
    void* user_data) {
  if (registrar != nullptr && delegate != nullptr) {
    Guarded("FlutterDesktopPluginRegistrarRegisterTopLevelWindowProcDelegate",
            [&] { AsRegistrar(registrar)->RegisterWindowProcDelegate(delegate, user_data); });
  }
}

void FlutterDesktopPluginRegistrarUnregisterTopLevelWindowProcDelegate(
    FlutterDesktopPluginRegistrarRef registrar,
    FlutterDesktopWindowProcCallback delegate) {
  if (registrar != nullptr) {
    AsRegistrar(registrar)->UnregisterWindowProcDelegate(delegate);
  }
}
