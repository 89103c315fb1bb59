#ifndef PLATFORM_PLUGINS_INCLUDE_CONNECTIVITY_PLUS_PLUGIN_H_
#define PLATFORM_PLUGINS_INCLUDE_CONNECTIVITY_PLUS_PLUGIN_H_

// The plugin library connectivity_plus_plugin.dll, for network connectivity.

#include "engine_bridge/engine_api.h"
#include "norvalis_plugin_export.h"

#ifdef __cplusplus
extern "C" {
#endif

// Registers the plugin with `registrar`, the engine's registrar named
// "ConnectivityPlusWindowsPlugin"; a null registrar registers nothing.
NORVALIS_PLUGIN_EXPORT void ConnectivityPlusWindowsPluginRegisterWithRegistrar(
    FlutterDesktopPluginRegistrarRef registrar);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_PLUGINS_INCLUDE_CONNECTIVITY_PLUS_PLUGIN_H_
