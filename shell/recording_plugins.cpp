#include "shell/recording_plugins.h"

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

#include "engine_bridge/recording_engine_library.h"

namespace {

std::vector<RecordedRegistration>& Registrations() {
  static std::vector<RecordedRegistration> registrations;
  return registrations;
}

void RecordRegistration(const char* function, FlutterDesktopPluginRegistrarRef registrar) {
  RecordingEngineLibrary::Get().Record(function);
  Registrations().push_back({function, registrar});
}

}  // namespace

const std::vector<RecordedRegistration>& RecordedPluginRegistrations() {
  return Registrations();
}

void ResetRecordedPlugins() {
  Registrations().clear();
}

#define RECORDING_REGISTRATION(function)                      \
  void function(FlutterDesktopPluginRegistrarRef registrar) { \
    RecordRegistration(#function, registrar);                 \
  }

extern "C" {

RECORDING_REGISTRATION(AppLinksPluginCApiRegisterWithRegistrar)
RECORDING_REGISTRATION(AudioplayersWindowsPluginRegisterWithRegistrar)
RECORDING_REGISTRATION(CameraWindowsRegisterWithRegistrar)
RECORDING_REGISTRATION(ConnectivityPlusWindowsPluginRegisterWithRegistrar)
RECORDING_REGISTRATION(FileSelectorWindowsRegisterWithRegistrar)
RECORDING_REGISTRATION(FlutterSecureStorageWindowsPluginRegisterWithRegistrar)
RECORDING_REGISTRATION(GeolocatorWindowsRegisterWithRegistrar)
RECORDING_REGISTRATION(PermissionHandlerWindowsPluginRegisterWithRegistrar)
RECORDING_REGISTRATION(SharePlusWindowsPluginCApiRegisterWithRegistrar)
RECORDING_REGISTRATION(UrlLauncherWindowsRegisterWithRegistrar)

BOOL SendAppLink(HWND) {
  RecordingEngineLibrary::Get().Record("SendAppLink");
  return TRUE;
}

}  // extern "C"
