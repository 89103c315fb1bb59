// Prints its entrypoint arguments, then sends one message on a plugin's
// channel and one on a channel nobody handles, one after the other, prints
// each answer, and closes the window.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/app_host.h"
#include "app/print_line.h"
#include "tests/apps/test_app_lines.h"

namespace {

constexpr uint8_t kMessage[] = {0x01, 0x02, 0x03};

std::optional<AppHost> app_host;

// Sends kMessage on `channel`, prints the answer and then runs `next`.
void SendAndPrint(const std::string& channel, std::function<void()> next) {
  app_host->Send(channel, kMessage, [channel, next](std::span<const uint8_t> reply) {
    PrintLine(std::string(kReplyOn) + channel + ": " +
              (reply.empty() ? std::string("empty") : std::to_string(reply.size()) + " bytes"));
    next();
  });
}

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
    SendAndPrint(std::string(kPluginChannel), [] {
      SendAndPrint(std::string(kUnhandledChannel), [] { app_host->CloseWindow(); });
    });
  } catch (...) {
  }
}
