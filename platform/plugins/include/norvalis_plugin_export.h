#ifndef PLATFORM_PLUGINS_INCLUDE_NORVALIS_PLUGIN_EXPORT_H_
#define PLATFORM_PLUGINS_INCLUDE_NORVALIS_PLUGIN_EXPORT_H_

// The export attribute of the plugin libraries' functions. Each plugin
// library defines NORVALIS_PLUGIN_IMPLEMENTATION while it is built; its users
// do not.
#ifdef _WIN32
#ifdef NORVALIS_PLUGIN_IMPLEMENTATION
#define NORVALIS_PLUGIN_EXPORT __declspec(dllexport)
#else
#define NORVALIS_PLUGIN_EXPORT __declspec(dllimport)
#endif
#else
#define NORVALIS_PLUGIN_EXPORT __attribute__((visibility("default")))
#endif

#endif  // PLATFORM_PLUGINS_INCLUDE_NORVALIS_PLUGIN_EXPORT_H_
