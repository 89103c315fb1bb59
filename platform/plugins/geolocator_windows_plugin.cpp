#include "geolocator_windows_plugin.h"

#include "platform/plugins/stand_in_plugin.h"

void GeolocatorWindowsRegisterWithRegistrar(FlutterDesktopPluginRegistrarRef registrar) {
  RegisterStandInPlugin(registrar, "GeolocatorWindows");
}
