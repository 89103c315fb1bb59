#include "audioplayers_windows_plugin.h"

#include "platform/plugins/stand_in_plugin.h"

void AudioplayersWindowsPluginRegisterWithRegistrar(FlutterDesktopPluginRegistrarRef registrar) {
  RegisterStandInPlugin(registrar, "AudioplayersWindowsPlugin");
}
