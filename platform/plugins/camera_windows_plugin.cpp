#include "camera_windows_plugin.h"

#include "platform/plugins/stand_in_plugin.h"

void CameraWindowsRegisterWithRegistrar(FlutterDesktopPluginRegistrarRef registrar) {
  RegisterStandInPlugin(registrar, "CameraWindows");
}
