#ifndef ENGINE_BRIDGE_PLUGIN_REGISTRY_H_
#define ENGINE_BRIDGE_PLUGIN_REGISTRY_H_

#include <string>

#include "engine_bridge/engine_api.h"

namespace flutter {

// Where plugins find their registrars.
class PluginRegistry {
 public:
  PluginRegistry() = default;
  PluginRegistry(const PluginRegistry&) = delete;
  PluginRegistry& operator=(const PluginRegistry&) = delete;
  virtual ~PluginRegistry() = default;

  // The registrar of the plugin named `plugin_name` (UTF-8); null when there
  // is none.
  virtual FlutterDesktopPluginRegistrarRef LookupRegistrar(const std::string& plugin_name) = 0;
};

}  // namespace flutter

#endif  // ENGINE_BRIDGE_PLUGIN_REGISTRY_H_
