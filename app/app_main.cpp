#include <optional>
#include <string>
#include <vector>

#include "app/application.h"
#include "platform/engine/app_api.h"

namespace {

// Lives as long as app.so stays loaded, which is longer than the engine that
// calls it back; replaced when an engine starts the application again.
std::optional<Application> application;

}  // namespace

extern "C" NORVALIS_APP_EXPORT void NorvalisAppMain(const NorvalisAppHost* host,
                                                    const char*,
                                                    int argc,
                                                    const char* const* argv) noexcept {
  try {
    const std::vector<std::string> arguments(argv, argv + argc);
    application.emplace(*host);
    application->Start(arguments);
  } catch (...) {
    // Nothing may cross into the engine; without memory there is no
    // application to run.
  }
}
