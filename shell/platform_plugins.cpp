#include "shell/platform_plugins.h"

#include <app_links_plugin.h>
#include <audioplayers_windows_plugin.h>
#include <camera_windows_plugin.h>
#include <connectivity_plus_plugin.h>
#include <file_selector_windows_plugin.h>
#include <flutter_secure_storage_windows_plugin.h>
#include <geolocator_windows_plugin.h>
#include <permission_handler_windows_plugin.h>
#include <share_plus_plugin.h>
#include <url_launcher_windows_plugin.h>

#include <string>

namespace {

struct PlatformPlugin {
  const char* registrar_name;
  void (*register_with_registrar)(FlutterDesktopPluginRegistrarRef registrar);
};

// Registration order.
constexpr PlatformPlugin kPlatformPlugins[] = {
    {"AppLinksPluginCApi", AppLinksPluginCApiRegisterWithRegistrar},
    {"AudioplayersWindowsPlugin", AudioplayersWindowsPluginRegisterWithRegistrar},
    {"CameraWindows", CameraWindowsRegisterWithRegistrar},
    {"ConnectivityPlusWindowsPlugin", ConnectivityPlusWindowsPluginRegisterWithRegistrar},
    {"FileSelectorWindows", FileSelectorWindowsRegisterWithRegistrar},
    {"FlutterSecureStorageWindowsPlugin", FlutterSecureStorageWindowsPluginRegisterWithRegistrar},
    {"GeolocatorWindows", GeolocatorWindowsRegisterWithRegistrar},
    {"PermissionHandlerWindowsPlugin", PermissionHandlerWindowsPluginRegisterWithRegistrar},
    {"SharePlusWindowsPluginCApi", SharePlusWindowsPluginCApiRegisterWithRegistrar},
    {"UrlLauncherWindows", UrlLauncherWindowsRegisterWithRegistrar},
};

}  // namespace

void AttachPlatformPlugins(flutter::PluginRegistry* registry) {
  for (const PlatformPlugin& plugin : kPlatformPlugins) {
    const std::string name(plugin.registrar_name);
    plugin.register_with_registrar(registry->LookupRegistrar(name));
  }
}
