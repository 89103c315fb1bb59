#ifndef ENGINE_BRIDGE_ENGINE_API_H_
#define ENGINE_BRIDGE_ENGINE_API_H_

// The C interface of the engine library (flutter_windows.dll), as this host
// relies on it. Every call and callback happens on the main thread.

#include <windows.h>

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

// Re-binds the library's own output streams to the console the process has
// now, after the host gave a console-less process one.
ENGINE_API_EXPORT void FlutterDesktopResyncOutputStreams(void);

// The DPI of `monitor` (96 is 100%).
ENGINE_API_EXPORT UINT FlutterDesktopGetDpiForMonitor(HMONITOR monitor);

#ifdef __cplusplus
}
#endif

#endif  // ENGINE_BRIDGE_ENGINE_API_H_
