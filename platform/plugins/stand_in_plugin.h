#ifndef PLATFORM_PLUGINS_STAND_IN_PLUGIN_H_
#define PLATFORM_PLUGINS_STAND_IN_PLUGIN_H_

#include "engine_bridge/engine_api.h"

// What every stand-in plugin does when it registers: it takes the messenger
// of `registrar` (also when `registrar` is null) and, when there is one,
// answers every message on its own channel, "norvalis.plugins/" followed by
// `registrar_name`, with an empty answer, which is how a method channel says
// "not implemented". Returns that messenger, null for a null registrar.
FlutterDesktopMessengerRef RegisterStandInPlugin(FlutterDesktopPluginRegistrarRef registrar,
                                                 const char* registrar_name) noexcept;

#endif  // PLATFORM_PLUGINS_STAND_IN_PLUGIN_H_
