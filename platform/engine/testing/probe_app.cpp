// Test application: reports what it is given and does what the host's
// messages on "probe/command" tell it, so that tests observe the engine from
// the host's side.
//
// Channels (UTF-8 text throughout):
// - "probe/main" (to the host): "<entrypoint>|<argc>|<null or argv>|<arg>..."
//   just before NorvalisAppMain returns.
// - "probe/echo": answers with the message itself.
// - "probe/silent": never answers.
// - "flutter/system": forwarded to the host on "probe/system".
// - "probe/command": answers "ok" after one of
//     "send <channel> <text>"  sends <text>; the answer comes back on
//                              "probe/reply" as "reply:<bytes>" or
//                              "reply:null";
//     "post-frame"             "probe/frame" gets "post-frame:shown" after the
//                              next frame if the host's window (class
//                              "ProbeHostWindow") is visible by then, else
//                              "post-frame:hidden";
//     "close"                  close_window;
//     "block"                  waits for the event "probe_app_block" first;
//     "throw"                  throws instead, and never answers.
// The entrypoint "gated" makes NorvalisAppMain wait for the event
// "probe_app_gate" before it reports.

#include <windows.h>

#include <stdexcept>
#include <string>

#include "platform/engine/app_api.h"

namespace {

constexpr DWORD kGateTimeoutMs = 10000;

const NorvalisAppHost* g_host = nullptr;

void SendText(const std::string& channel,
              const std::string& text,
              NorvalisAppReplyCallback reply = nullptr) {
  g_host->send_message(g_host->engine, channel.c_str(),
                       reinterpret_cast<const uint8_t*>(text.data()), text.size(), reply, nullptr);
}

void RespondText(NorvalisAppResponse* response, const std::string& text) {
  g_host->respond(g_host->engine, response, reinterpret_cast<const uint8_t*>(text.data()),
                  text.size());
}

void WaitForEvent(const wchar_t* name) {
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, name);
  WaitForSingleObject(event, kGateTimeoutMs);
  CloseHandle(event);
}

void ForwardReply(const uint8_t* reply, size_t reply_size, void*) {
  SendText("probe/reply",
           reply == nullptr
               ? std::string("reply:null")
               : "reply:" + std::string(reinterpret_cast<const char*>(reply), reply_size));
}

// Tells whether the host had shown its window (of class "ProbeHostWindow")
// by the time the post-frame callback ran.
void OnFrame(void*) {
  const HWND host = FindWindowW(L"ProbeHostWindow", nullptr);
  SendText("probe/frame",
           host != nullptr && IsWindowVisible(host) ? "post-frame:shown" : "post-frame:hidden");
}

void OnEcho(const uint8_t* message, size_t size, NorvalisAppResponse* response, void*) {
  g_host->respond(g_host->engine, response, message, size);
}

void OnSilent(const uint8_t*, size_t, NorvalisAppResponse*, void*) {}

void OnSystem(const uint8_t* message, size_t size, NorvalisAppResponse* response, void*) {
  SendText("probe/system", std::string(reinterpret_cast<const char*>(message), size));
  g_host->respond(g_host->engine, response, nullptr, 0);
}

void OnCommand(const uint8_t* message, size_t size, NorvalisAppResponse* response, void*) {
  const std::string command(reinterpret_cast<const char*>(message), size);
  if (command.rfind("send ", 0) == 0) {
    const size_t space = command.find(' ', 5);
    SendText(command.substr(5, space - 5),
             space == std::string::npos ? std::string() : command.substr(space + 1), ForwardReply);
  } else if (command == "post-frame") {
    g_host->add_post_frame_callback(g_host->engine, OnFrame, nullptr);
  } else if (command == "close") {
    g_host->close_window(g_host->engine);
  } else if (command == "block") {
    WaitForEvent(L"probe_app_block");
  } else if (command == "throw") {
    throw std::runtime_error("probe threw");
  }
  RespondText(response, "ok");
}

}  // namespace

extern "C" NORVALIS_APP_EXPORT void NorvalisAppMain(const NorvalisAppHost* host,
                                                    const char* entrypoint,
                                                    int argc,
                                                    const char* const* argv) {
  g_host = host;
  host->set_message_handler(host->engine, "probe/echo", OnEcho, nullptr);
  host->set_message_handler(host->engine, "probe/silent", OnSilent, nullptr);
  host->set_message_handler(host->engine, "flutter/system", OnSystem, nullptr);
  host->set_message_handler(host->engine, "probe/command", OnCommand, nullptr);
  if (std::string(entrypoint) == "gated") {
    WaitForEvent(L"probe_app_gate");
  }
  // Appended piece by piece: GCC 12 at -O3 sees a false overlap (-Wrestrict)
  // in `"|" + std::string(...)`.
  std::string report = entrypoint;
  report += '|';
  report += std::to_string(argc);
  report += '|';
  report += argv == nullptr ? "null" : "argv";
  for (int i = 0; i < argc; ++i) {
    report += '|';
    report += argv[i];
  }
  SendText("probe/main", report);
}
