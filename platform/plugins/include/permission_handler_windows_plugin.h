#ifndef PLATFORM_PLUGINS_INCLUDE_PERMISSION_HANDLER_WINDOWS_PLUGIN_H_
#define PLATFORM_PLUGINS_INCLUDE_PERMISSION_HANDLER_WINDOWS_PLUGIN_H_

// The plugin library permission_handler_windows_plugin.dll, for permissions.

#include "engine_bridge/engine_api.h"
#include "norvalis_plugin_export.h"

#ifdef __cplusplus
extern "C" {
#endif

// Registers the plugin with `registrar`, the engine's registrar named
// "PermissionHandlerWindowsPlugin"; a null registrar registers nothing.
NORVALIS_PLUGIN_EXPORT void PermissionHandlerWindowsPluginRegisterWithRegistrar(
    FlutterDesktopPluginRegistrarRef registrar);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_PLUGINS_INCLUDE_PERMISSION_HANDLER_WINDOWS_PLUGIN_H_
