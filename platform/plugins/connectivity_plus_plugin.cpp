#include "connectivity_plus_plugin.h"

#include "platform/plugins/stand_in_plugin.h"

void ConnectivityPlusWindowsPluginRegisterWithRegistrar(
    FlutterDesktopPluginRegistrarRef registrar) {
  RegisterStandInPlugin(registrar, "ConnectivityPlusWindowsPlugin");
}
