#include "url_launcher_windows_plugin.h"

#include "platform/plugins/stand_in_plugin.h"

void UrlLauncherWindowsRegisterWithRegistrar(FlutterDesktopPluginRegistrarRef registrar) {
  RegisterStandInPlugin(registrar, "UrlLauncherWindows");
}
