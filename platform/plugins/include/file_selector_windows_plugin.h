#ifndef PLATFORM_PLUGINS_INCLUDE_FILE_SELECTOR_WINDOWS_PLUGIN_H_
#define PLATFORM_PLUGINS_INCLUDE_FILE_SELECTOR_WINDOWS_PLUGIN_H_

// The plugin library file_selector_windows_plugin.dll, for file open and save dialogs.

#include "engine_bridge/engine_api.h"
#include "norvalis_plugin_export.h"

#ifdef __cplusplus
extern "C" {
#endif

// Registers the plugin with `registrar`, the engine's registrar named
// "FileSelectorWindows"; a null registrar registers nothing.
NORVALIS_PLUGIN_EXPORT void FileSelectorWindowsRegisterWithRegistrar(
    FlutterDesktopPluginRegistrarRef registrar);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_PLUGINS_INCLUDE_FILE_SELECTOR_WINDOWS_PLUGIN_H_
