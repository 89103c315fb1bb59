#include "file_selector_windows_plugin.h"

#include "platform/plugins/stand_in_plugin.h"

void FileSelectorWindowsRegisterWithRegistrar(FlutterDesktopPluginRegistrarRef registrar) {
  RegisterStandInPlugin(registrar, "FileSelectorWindows");
}
