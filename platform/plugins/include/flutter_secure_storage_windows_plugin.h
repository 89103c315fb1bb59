#ifndef PLATFORM_PLUGINS_INCLUDE_FLUTTER_SECURE_STORAGE_WINDOWS_PLUGIN_H_
#define PLATFORM_PLUGINS_INCLUDE_FLUTTER_SECURE_STORAGE_WINDOWS_PLUGIN_H_

// The plugin library flutter_secure_storage_windows_plugin.dll, for secure storage.

#include "engine_bridge/engine_api.h"
#include "norvalis_plugin_export.h"

#ifdef __cplusplus
extern "C" {
#endif

// Registers the plugin with `registrar`, the engine's registrar named
// "FlutterSecureStorageWindowsPlugin"; a null registrar registers nothing.
NORVALIS_PLUGIN_EXPORT void FlutterSecureStorageWindowsPluginRegisterWithRegistrar(
    FlutterDesktopPluginRegistrarRef registrar);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_PLUGINS_INCLUDE_FLUTTER_SECURE_STORAGE_WINDOWS_PLUGIN_H_
