// Stays open until its window is closed from outside, as a user's
// application does, printing what a second launch or the desktop changes:
// its entrypoint arguments, whether the host window is visible before and
// after the first frame, and every link it receives.

#include <optional>
#include <string>

#include "app/app_host.h"
#include "app/link_printer.h"
#include "app/print_line.h"
#include "tests/apps/host_window.h"
#include "tests/apps/test_app_lines.h"

namespace {

std::optional<AppHost> app_host;

}  // namespace

extern "C" NORVALIS_APP_EXPORT void NorvalisAppMain(const NorvalisAppHost* host,
                                                    const char*,
                                                    int argc,
                                                    const char* const* argv) noexcept {
  try {
    app_host.emplace(*host);
    for (int i = 0; i < argc; ++i) {
      PrintLine(std::string(kArgument) + argv[i]);
    }
    PrintAppLinks(*app_host);
    PrintWindowState(kBeforeFirstFrame);
    app_host->AfterNextFrame([] { PrintWindowState(kAfterFirstFrame); });
  } catch (...) {
  }
}
