#ifndef PLATFORM_PLUGINS_INCLUDE_AUDIOPLAYERS_WINDOWS_PLUGIN_H_
#define PLATFORM_PLUGINS_INCLUDE_AUDIOPLAYERS_WINDOWS_PLUGIN_H_

// The plugin library audioplayers_windows_plugin.dll, for audio playback.

#include "engine_bridge/engine_api.h"
#include "norvalis_plugin_export.h"

#ifdef __cplusplus
extern "C" {
#endif

// Registers the plugin with `registrar`, the engine's registrar named
// "AudioplayersWindowsPlugin"; a null registrar registers nothing.
NORVALIS_PLUGIN_EXPORT void AudioplayersWindowsPluginRegisterWithRegistrar(
    FlutterDesktopPluginRegistrarRef registrar);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_PLUGINS_INCLUDE_AUDIOPLAYERS_WINDOWS_PLUGIN_H_
