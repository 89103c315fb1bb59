#ifndef PLATFORM_PLUGINS_INCLUDE_URL_LAUNCHER_WINDOWS_PLUGIN_H_
#define PLATFORM_PLUGINS_INCLUDE_URL_LAUNCHER_WINDOWS_PLUGIN_H_

// The plugin library url_launcher_windows_plugin.dll, for opening URLs.

#include "engine_bridge/engine_api.h"
#include "norvalis_plugin_export.h"

#ifdef __cplusplus
extern "C" {
#endif

// Registers the plugin with `registrar`, the engine's registrar named
// "UrlLauncherWindows"; a null registrar registers nothing.
NORVALIS_PLUGIN_EXPORT void UrlLauncherWindowsRegisterWithRegistrar(
    FlutterDesktopPluginRegistrarRef registrar);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_PLUGINS_INCLUDE_URL_LAUNCHER_WINDOWS_PLUGIN_H_
