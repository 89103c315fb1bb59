// Reports whether the host window is visible while the application starts
// and after the first frame, then closes it.

#include <optional>
#include <string>

#include "app/app_host.h"
#include "app/print_line.h"
#include "tests/apps/host_window.h"
#include "tests/apps/test_app_lines.h"

namespace {

std::optional<AppHost> app_host;

void PrintWindowState(std::string_view when) {
  const HWND window = FindHostWindow();
  const std::string_view state =
      window == nullptr ? kNoWindow : (IsWindowVisible(window) != 0 ? kVisible : kHidden);
  PrintLine(std::string(when) + std::string(state));
}

}  // namespace

extern "C" NORVALIS_APP_EXPORT void NorvalisAppMain(const NorvalisAppHost* host,
                                                    const char*,
                                                    int,
                                                    const char* const*) noexcept {
  try {
    app_host.emplace(*host);
    PrintWindowState(kBeforeFirstFrame);
    app_host->AfterNextFrame([] {
      PrintWindowState(kAfterFirstFrame);
      app_host->CloseWindow();
    });
  } catch (...) {
  }
}
