#ifndef PLATFORM_PLUGINS_INCLUDE_APP_LINKS_PLUGIN_H_
#define PLATFORM_PLUGINS_INCLUDE_APP_LINKS_PLUGIN_H_

// The app-links plugin library (app_links_plugin.dll): hands the link of a
// second launch to the instance that is already running.

#include <windows.h>

#ifdef APP_LINKS_PLUGIN_IMPLEMENTATION
#ifdef _WIN32
#define APP_LINKS_PLUGIN_EXPORT __declspec(dllexport)
#else
#define APP_LINKS_PLUGIN_EXPORT __attribute__((visibility("default")))
#endif
#else
#ifdef _WIN32
#define APP_LINKS_PLUGIN_EXPORT __declspec(dllimport)
#else
#define APP_LINKS_PLUGIN_EXPORT
#endif
#endif

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
APP_LINKS_PLUGIN_EXPORT BOOL SendAppLink(HWND window);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_PLUGINS_INCLUDE_APP_LINKS_PLUGIN_H_
