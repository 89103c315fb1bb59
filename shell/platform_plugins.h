#ifndef SHELL_PLATFORM_PLUGINS_H_
#define SHELL_PLATFORM_PLUGINS_H_

#include "engine_bridge/plugin_registry.h"

// Registers the ten platform plugins with `registry`, each with the registrar
// of its own name, in a fixed order. A lookup that finds no registrar leaves
// its diagnostic line and the plugin receives a null registrar.
void AttachPlatformPlugins(flutter::PluginRegistry* registry);

#endif  // SHELL_PLATFORM_PLUGINS_H_
