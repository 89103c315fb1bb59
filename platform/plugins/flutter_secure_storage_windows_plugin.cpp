#include "flutter_secure_storage_windows_plugin.h"

#include "platform/plugins/stand_in_plugin.h"

void FlutterSecureStorageWindowsPluginRegisterWithRegistrar(
    FlutterDesktopPluginRegistrarRef registrar) {
  RegisterStandInPlugin(registrar, "FlutterSecureStorageWindowsPlugin");
}
