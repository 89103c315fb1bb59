#include <optional>

#include "app/application.h"
#include "platform/engine/app_api.h"

namespace {

// Lives as long as app.so stays loaded, which is longer than the engine that
// calls it back; replaced when an engine starts the application again.
std::optional<Application> application;

}  // namespace

extern "C" NORVALIS_APP_EXPORT void NorvalisAppMain(const NorvalisAppHost* host,
                                                    const char*,
                                                    int,
                                                    const char* const*) noexcept {
  try {
    application.emplace(*host);
    application->Start();
  } catch (...) {
    // Nothing may cross into the engine; without memory there is no
    // application to run.
  }
}
