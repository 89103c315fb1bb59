#ifndef PLATFORM_PLUGINS_INCLUDE_CAMERA_WINDOWS_PLUGIN_H_
#define PLATFORM_PLUGINS_INCLUDE_CAMERA_WINDOWS_PLUGIN_H_

// The plugin library camera_windows_plugin.dll, for the camera.

#include "engine_bridge/engine_api.h"
#include "norvalis_plugin_export.h"

#ifdef __cplusplus
extern "C" {
#endif

// Registers the plugin with `registrar`, the engine's registrar named
// "CameraWindows"; a null registrar registers nothing.
NORVALIS_PLUGIN_EXPORT void CameraWindowsRegisterWithRegistrar(
    FlutterDesktopPluginRegistrarRef registrar);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_PLUGINS_INCLUDE_CAMERA_WINDOWS_PLUGIN_H_
