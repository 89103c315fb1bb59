#include "permission_handler_windows_plugin.h"

#include "platform/plugins/stand_in_plugin.h"

void PermissionHandlerWindowsPluginRegisterWithRegistrar(
    FlutterDesktopPluginRegistrarRef registrar) {
  RegisterStandInPlugin(registrar, "PermissionHandlerWindowsPlugin");
}
