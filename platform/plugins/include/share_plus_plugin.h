#ifndef PLATFORM_PLUGINS_INCLUDE_SHARE_PLUS_PLUGIN_H_
#define PLATFORM_PLUGINS_INCLUDE_SHARE_PLUS_PLUGIN_H_

// The plugin library share_plus_plugin.dll, for sharing.

#include "engine_bridge/engine_api.h"
#include "norvalis_plugin_export.h"

#ifdef __cplusplus
extern "C" {
#endif

// Registers the plugin with `registrar`, the engine's registrar named
// "SharePlusWindowsPluginCApi"; a null registrar registers nothing.
NORVALIS_PLUGIN_EXPORT void SharePlusWindowsPluginCApiRegisterWithRegistrar(
    FlutterDesktopPluginRegistrarRef registrar);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_PLUGINS_INCLUDE_SHARE_PLUS_PLUGIN_H_
