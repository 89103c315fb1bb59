// Reports whether the host window is visible while the application starts
// and after the first frame, then closes it.

#include <optional>

#include "app/app_host.h"
#include "tests/apps/host_window.h"
#include "tests/apps/test_app_lines.h"

namespace {

std::optional<AppHost> app_host;

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
