#ifndef PLATFORM_PLUGINS_INCLUDE_APP_LINKS_PLUGIN_H_
#define PLATFORM_PLUGINS_INCLUDE_APP_LINKS_PLUGIN_H_

// The app-links plugin library (app_links_plugin.dll): hands the link of a
// second launch to the instance that is already running, whose plugin passes
// it on to the application on APP_LINKS_CHANNEL (app_links_channel.h).

#include <windows.h>

#include "engine_bridge/engine_api.h"
#include "norvalis_plugin_export.h"

// COPYDATASTRUCT::dwData of the WM_COPYDATA that carries a link; the data is
// the link in UTF-8, without a terminating zero.
#define APP_LINKS_COPYDATA_ID 0x4B4E4C41u

#ifdef __cplusplus
extern "C" {
#endif

// Sends this process's link (its first command-line argument after the
// program path) to `window`, the running instance's top-level window, with
// WM_COPYDATA, and waits until that window's thread has taken it. Returns
// FALSE when there is no link to send or the window did not accept it.
NORVALIS_PLUGIN_EXPORT BOOL SendAppLink(HWND window);

// Registers the plugin with `registrar`, the engine's registrar named
// "AppLinksPluginCApi": from then on the engine's top-level window accepts
// links sent with SendAppLink and the plugin forwards each to the
// application. A null registrar registers nothing.
NORVALIS_PLUGIN_EXPORT void AppLinksPluginCApiRegisterWithRegistrar(
    FlutterDesktopPluginRegistrarRef registrar);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_PLUGINS_INCLUDE_APP_LINKS_PLUGIN_H_
