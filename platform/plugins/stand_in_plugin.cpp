#include "platform/plugins/stand_in_plugin.h"

#include <string>

#include "platform/engine/dropped_call.h"

namespace {

constexpr char kChannelPrefix[] = "norvalis.plugins/";

void AnswerNotImplemented(FlutterDesktopMessengerRef messenger,
                          const FlutterDesktopMessage* message,
                          void*) noexcept {
  FlutterDesktopMessengerSendResponse(messenger, message->response_handle, nullptr, 0);
}

}  // namespace

FlutterDesktopMessengerRef RegisterStandInPlugin(FlutterDesktopPluginRegistrarRef registrar,
                                                 const char* registrar_name) noexcept {
  FlutterDesktopMessengerRef messenger = FlutterDesktopPluginRegistrarGetMessenger(registrar);
  if (messenger == nullptr) {
    return nullptr;
  }
  try {
    const std::string channel = std::string(kChannelPrefix) + registrar_name;
    FlutterDesktopMessengerSetCallback(messenger, channel.c_str(), AnswerNotImplemented, nullptr);
  } catch (...) {
    // Out of memory for the name: the plugin stays without a channel, as a
    // plugin that failed to register would.
    norvalis_engine::ReportDroppedCall(registrar_name, "RegisterWithRegistrar");
  }
  return messenger;
}
