#include "share_plus_plugin.h"

#include "platform/plugins/stand_in_plugin.h"

void SharePlusWindowsPluginCApiRegisterWithRegistrar(FlutterDesktopPluginRegistrarRef registrar) {
  RegisterStandInPlugin(registrar, "SharePlusWindowsPluginCApi");
}
