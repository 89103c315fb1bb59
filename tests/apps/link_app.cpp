// After the first frame, forwards this launch's link to the host window
// with SendAppLink, as a second launch would, and sends that window a
// WM_COPYDATA that is no link; prints both results and the links that the
// application receives, then closes the window.

#include <optional>
#include <string>

#include "app/app_host.h"
#include "app/link_printer.h"
#include "app/print_line.h"
#include "app_links_plugin.h"
#include "tests/apps/host_window.h"
#include "tests/apps/test_app_lines.h"

namespace {

std::optional<AppHost> app_host;

void ForwardLink() {
  const HWND window = FindHostWindow();
  PrintLine(std::string(kSendAppLinkResult) + std::to_string(SendAppLink(window)));

  char other[] = "not a link";
  COPYDATASTRUCT data = {};
  data.dwData = APP_LINKS_COPYDATA_ID + 1;
  data.cbData = sizeof(other) - 1;
  data.lpData = other;
  PrintLine(std::string(kForeignCopyDataResult) +
            std::to_string(SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data))));

  // The plugin passed the link on before SendAppLink returned, so the answer
  // to a message sent now comes after it.
  app_host->Send(std::string(kUnhandledChannel), {},
                 [](std::span<const uint8_t>) { app_host->CloseWindow(); });
}

}  // namespace

extern "C" NORVALIS_APP_EXPORT void NorvalisAppMain(const NorvalisAppHost* host,
                                                    const char*,
                                                    int,
                                                    const char* const*) noexcept {
  try {
    app_host.emplace(*host);
    PrintAppLinks(*app_host);
    app_host->AfterNextFrame(ForwardLink);
  } catch (...) {
  }
}
