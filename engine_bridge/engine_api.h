#ifndef ENGINE_BRIDGE_ENGINE_API_H_
#define ENGINE_BRIDGE_ENGINE_API_H_

// The C interface of the engine library (flutter_windows.dll), as this host
// and its plugins rely on it. Every call and callback happens on the main
// thread, the thread that created the engine and runs the message loop.

#include <windows.h>

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#ifdef ENGINE_API_IMPLEMENTATION
#ifdef _WIN32
#define ENGINE_API_EXPORT __declspec(dllexport)
#else
#define ENGINE_API_EXPORT __attribute__((visibility("default")))
#endif
#else
#ifdef _WIN32
#define ENGINE_API_EXPORT __declspec(dllimport)
#else
#define ENGINE_API_EXPORT
#endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Opaque references owned by the library.
typedef struct FlutterDesktopEngine* FlutterDesktopEngineRef;
typedef struct FlutterDesktopViewController* FlutterDesktopViewControllerRef;
typedef struct FlutterDesktopView* FlutterDesktopViewRef;
typedef struct FlutterDesktopMessenger* FlutterDesktopMessengerRef;
typedef struct FlutterDesktopPluginRegistrar* FlutterDesktopPluginRegistrarRef;
typedef struct FlutterDesktopMessageResponseHandle FlutterDesktopMessageResponseHandle;

// What an engine is started from. The library copies what it keeps; nothing
// here needs to outlive FlutterDesktopEngineCreate. Paths may be relative:
// the library resolves them against the executable's folder.
typedef struct {
  const wchar_t* assets_dir;
  const wchar_t* icu_file;
  const wchar_t* aot_file;
  // UTF-8; never null, empty for the default entrypoint.
  const char* entrypoint;
  int32_t entrypoint_argc;
  // `entrypoint_argc` UTF-8 texts; null when there are none.
  const char** entrypoint_argv;
  int32_t engine_setting_1;
  int32_t engine_setting_2;
} FlutterDesktopEngineProperties;

// One message from the application. `message` stays valid only for the
// duration of the callback that receives the record.
typedef struct {
  size_t struct_size;
  const char* channel;
  const uint8_t* message;
  size_t message_size;
  // Answers the message once, through FlutterDesktopMessengerSendResponse.
  const FlutterDesktopMessageResponseHandle* response_handle;
} FlutterDesktopMessage;

typedef void (*FlutterDesktopMessageCallback)(FlutterDesktopMessengerRef messenger,
                                              const FlutterDesktopMessage* message,
                                              void* user_data);

// The application's answer to a message sent with a reply; `data` is null
// when the answer is empty.
typedef void (*FlutterDesktopBinaryReply)(const uint8_t* data, size_t data_size, void* user_data);

typedef void (*FlutterDesktopOnNextFrameCallback)(void* user_data);

// A plugin's look at a top-level window message. Returns true, with
// `*result` set, when the plugin consumed the message.
typedef bool (*FlutterDesktopWindowProcCallback)(HWND window,
                                                 UINT message,
                                                 WPARAM wparam,
                                                 LPARAM lparam,
                                                 void* user_data,
                                                 LRESULT* result);

// Re-binds the library's own output streams to the console the process has
// now, after the host gave a console-less process one.
ENGINE_API_EXPORT void FlutterDesktopResyncOutputStreams(void);

// The DPI of `monitor` (96 is 100%).
ENGINE_API_EXPORT UINT FlutterDesktopGetDpiForMonitor(HMONITOR monitor);

// --- Engine ---

// An engine that is not running yet; null when the properties are unusable.
ENGINE_API_EXPORT FlutterDesktopEngineRef
FlutterDesktopEngineCreate(const FlutterDesktopEngineProperties* properties);

// Ends an engine that no view controller has taken over.
ENGINE_API_EXPORT bool FlutterDesktopEngineDestroy(FlutterDesktopEngineRef engine);

// The engine's messenger; it lives as long as the engine, or longer while
// references taken with FlutterDesktopMessengerAddRef remain.
ENGINE_API_EXPORT FlutterDesktopMessengerRef
FlutterDesktopEngineGetMessenger(FlutterDesktopEngineRef engine);

// The registrar of the plugin named `plugin_name` (UTF-8); asking twice for
// one name gives the same registrar.
ENGINE_API_EXPORT FlutterDesktopPluginRegistrarRef
FlutterDesktopEngineGetPluginRegistrar(FlutterDesktopEngineRef engine, const char* plugin_name);

ENGINE_API_EXPORT void FlutterDesktopEngineReloadSystemFonts(FlutterDesktopEngineRef engine);

// Calls `callback` with `user_data` once, after the engine has drawn its next
// frame. A later call replaces an earlier one that has not run yet.
ENGINE_API_EXPORT void FlutterDesktopEngineSetNextFrameCallback(
    FlutterDesktopEngineRef engine,
    FlutterDesktopOnNextFrameCallback callback,
    void* user_data);

// --- View controller and view ---

// Takes `engine` over, whatever the outcome, and runs it with a view of
// `width` by `height` physical pixels. Null when the engine cannot start; the
// reason is on the standard error stream.
ENGINE_API_EXPORT FlutterDesktopViewControllerRef
FlutterDesktopViewControllerCreate(int width, int height, FlutterDesktopEngineRef engine);

// Ends the view controller, its view and the engine it took over.
ENGINE_API_EXPORT void FlutterDesktopViewControllerDestroy(
    FlutterDesktopViewControllerRef controller);

// The view; it belongs to the controller.
ENGINE_API_EXPORT FlutterDesktopViewRef
FlutterDesktopViewControllerGetView(FlutterDesktopViewControllerRef controller);

// Draws a new frame of the view from the message loop.
ENGINE_API_EXPORT void FlutterDesktopViewControllerForceRedraw(
    FlutterDesktopViewControllerRef controller);

// Offers one message of the host's top-level window to the engine and its
// plugins. True, with `*result` set, when one of them consumed it.
ENGINE_API_EXPORT bool FlutterDesktopViewControllerHandleTopLevelWindowProc(
    FlutterDesktopViewControllerRef controller,
    HWND window,
    UINT message,
    WPARAM wparam,
    LPARAM lparam,
    LRESULT* result);

// The view's native child window.
ENGINE_API_EXPORT HWND FlutterDesktopViewGetHWND(FlutterDesktopViewRef view);

// --- Messenger ---

// Sends `message` on `channel` (UTF-8) and forgets about any answer.
ENGINE_API_EXPORT bool FlutterDesktopMessengerSend(FlutterDesktopMessengerRef messenger,
                                                   const char* channel,
                                                   const uint8_t* message,
                                                   size_t message_size);

// Sends `message` on `channel`. True: `reply` will be called exactly once
// with `user_data`. False: the message was refused and `reply` is never
// called.
ENGINE_API_EXPORT bool FlutterDesktopMessengerSendWithReply(FlutterDesktopMessengerRef messenger,
                                                            const char* channel,
                                                            const uint8_t* message,
                                                            size_t message_size,
                                                            FlutterDesktopBinaryReply reply,
                                                            void* user_data);

// Answers an incoming message; `handle` is spent afterwards.
ENGINE_API_EXPORT void FlutterDesktopMessengerSendResponse(
    FlutterDesktopMessengerRef messenger,
    const FlutterDesktopMessageResponseHandle* handle,
    const uint8_t* data,
    size_t data_length);

// Delivers the messages of `channel` to `callback` with `user_data`; a null
// callback stops delivery on that channel.
ENGINE_API_EXPORT void FlutterDesktopMessengerSetCallback(FlutterDesktopMessengerRef messenger,
                                                          const char* channel,
                                                          FlutterDesktopMessageCallback callback,
                                                          void* user_data);

// Takes one more reference to the messenger object, which stays valid (but
// unavailable) after its engine has ended. Returns `messenger`.
ENGINE_API_EXPORT FlutterDesktopMessengerRef
FlutterDesktopMessengerAddRef(FlutterDesktopMessengerRef messenger);

// Gives back one reference taken with FlutterDesktopMessengerAddRef.
ENGINE_API_EXPORT void FlutterDesktopMessengerRelease(FlutterDesktopMessengerRef messenger);

// True while the engine behind the messenger exists.
ENGINE_API_EXPORT bool FlutterDesktopMessengerIsAvailable(FlutterDesktopMessengerRef messenger);

// While locked, the messenger's availability does not change. Returns the
// reference to hand to FlutterDesktopMessengerUnlock.
ENGINE_API_EXPORT FlutterDesktopMessengerRef
FlutterDesktopMessengerLock(FlutterDesktopMessengerRef messenger);

ENGINE_API_EXPORT void FlutterDesktopMessengerUnlock(FlutterDesktopMessengerRef messenger);

// --- Plugin registrar ---

// The messenger of the registrar's engine.
ENGINE_API_EXPORT FlutterDesktopMessengerRef
FlutterDesktopPluginRegistrarGetMessenger(FlutterDesktopPluginRegistrarRef registrar);

// Offers every top-level window message to `delegate` with `user_data`,
// before the engine's own handling, until the engine ends or the delegate is
// unregistered.
ENGINE_API_EXPORT void FlutterDesktopPluginRegistrarRegisterTopLevelWindowProcDelegate(
    FlutterDesktopPluginRegistrarRef registrar,
    FlutterDesktopWindowProcCallback delegate,
    void* user_data);

ENGINE_API_EXPORT void FlutterDesktopPluginRegistrarUnregisterTopLevelWindowProcDelegate(
    FlutterDesktopPluginRegistrarRef registrar,
    FlutterDesktopWindowProcCallback delegate);

#ifdef __cplusplus
}
#endif

#endif  // ENGINE_BRIDGE_ENGINE_API_H_
