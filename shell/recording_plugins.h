#ifndef SHELL_RECORDING_PLUGINS_H_
#define SHELL_RECORDING_PLUGINS_H_

// Recording stand-ins for the plugin libraries' exports, for tests linked
// without the real plugins. Each registration function appends its name to
// the recording engine library's call log and keeps the registrar it got;
// SendAppLink appends "SendAppLink" and accepts.

#include <string>
#include <vector>

#include "engine_bridge/engine_api.h"

struct RecordedRegistration {
  std::string function;
  FlutterDesktopPluginRegistrarRef registrar;
};

const std::vector<RecordedRegistration>& RecordedPluginRegistrations();
void ResetRecordedPlugins();

#endif  // SHELL_RECORDING_PLUGINS_H_
