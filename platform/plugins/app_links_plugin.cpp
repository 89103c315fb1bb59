#include "app_links_plugin.h"

#include <shellapi.h>

#include <memory>
#include <string>

#include "app_links_channel.h"
#include "platform/plugins/stand_in_plugin.h"

namespace {

struct LocalFreeDeleter {
  void operator()(LPWSTR* arguments) const { LocalFree(arguments); }
};

// The link of this launch in UTF-8; empty when there is none or it is not
// well-formed UTF-16.
std::string LaunchLink() {
  int count = 0;
  std::unique_ptr<LPWSTR, LocalFreeDeleter> arguments(
      CommandLineToArgvW(GetCommandLineW(), &count));
  if (arguments == nullptr || count < 2) {
    return std::string();
  }
  const LPCWSTR link = arguments.get()[1];
  const int size =
      WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, link, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) {
    return std::string();
  }
  std::string utf8(static_cast<size_t>(size), '\0');
  if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, link, -1, utf8.data(), size, nullptr,
                          nullptr) == 0) {
    return std::string();
  }
  utf8.pop_back();
  return utf8;
}

// Takes the links that SendAppLink of a later launch sends to this
// instance's window. `user_data` is the engine's messenger, which outlives
// the delegate: both end with the engine.
bool AcceptAppLink(HWND,
                   UINT message,
                   WPARAM,
                   LPARAM lparam,
                   void* user_data,
                   LRESULT* result) noexcept {
  if (message != WM_COPYDATA) {
    return false;
  }
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
  if (data == nullptr || data->dwData != APP_LINKS_COPYDATA_ID ||
      (data->lpData == nullptr && data->cbData != 0)) {
    return false;
  }
  FlutterDesktopMessengerSend(static_cast<FlutterDesktopMessengerRef>(user_data), APP_LINKS_CHANNEL,
                              static_cast<const uint8_t*>(data->lpData), data->cbData);
  // The sender waits for this answer to learn that the link has arrived.
  *result = TRUE;
  return true;
}

}  // namespace

BOOL SendAppLink(HWND window) {
  std::string link = LaunchLink();
  if (link.empty()) {
    return FALSE;
  }
  COPYDATASTRUCT data = {};
  data.dwData = APP_LINKS_COPYDATA_ID;
  data.cbData = static_cast<DWORD>(link.size());
  data.lpData = link.data();
  // SendMessageW, not PostMessageW: the data only lives until it returns.
  return SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)) != 0 ? TRUE : FALSE;
}

void AppLinksPluginCApiRegisterWithRegistrar(FlutterDesktopPluginRegistrarRef registrar) {
  FlutterDesktopMessengerRef messenger = RegisterStandInPlugin(registrar, "AppLinksPluginCApi");
  if (messenger == nullptr) {
    return;
  }
  FlutterDesktopPluginRegistrarRegisterTopLevelWindowProcDelegate(registrar, AcceptAppLink,
                                                                  messenger);
}
