// Stays open as resident_app does, and stalls the host window's thread when
// a link asks, as an application that blocks on a link or a long
// recognition does: kHangLink until the test sets kReleaseEventName, a link
// starting with kBusyLinkPrefix for the milliseconds that follow it. Started
// with kCloseOnNextLink it closes its window as the next link arrives,
// before that link is taken; with kCloseAfterNextLink right after.
//
// What the window's thread prints goes out in one write per line, so that it
// cannot break into a line of the application thread's.

#include <windows.h>

#include <atomic>
#include <optional>
#include <span>
#include <string>

#include "app/app_host.h"
#include "app/link_printer.h"
#include "app/print_line.h"
#include "platform/plugins/include/app_links_channel.h"
#include "tests/apps/host_window.h"
#include "tests/apps/test_app_lines.h"

namespace {

// Posted to the host window by the application thread; wparam is how long
// to stall, INFINITE for a hang.
constexpr UINT kStallMessage = WM_APP + 0x4E0;

enum class OnNextLink { kTake, kCloseBefore, kCloseAfter };

std::optional<AppHost> app_host;
std::atomic<WNDPROC> host_procedure{nullptr};
std::atomic<OnNextLink> on_next_link{OnNextLink::kTake};
HANDLE release_event = nullptr;

void PrintWholeLine(std::string line) {
  line.push_back('\n');
  PrintText(line);
}

LRESULT CALLBACK StallingProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kStallMessage) {
    PrintWholeLine(std::string(kStalled));
    WaitForSingleObject(release_event, static_cast<DWORD>(wparam));
    PrintWholeLine(std::string(kAnswering));
    return 0;
  }
  if (message == WM_COPYDATA && on_next_link != OnNextLink::kTake) {
    if (on_next_link.exchange(OnNextLink::kTake) == OnNextLink::kCloseBefore) {
      DestroyWindow(window);
      return FALSE;
    }
    const LRESULT taken = CallWindowProcW(host_procedure, window, message, wparam, lparam);
    PrintWholeLine(std::string(kTookLinkBeforeClosing) + std::to_string(taken));
    PostMessageW(window, WM_CLOSE, 0, 0);
    return taken;
  }
  return CallWindowProcW(host_procedure, window, message, wparam, lparam);
}

void ActOnLink(std::span<const uint8_t> bytes) {
  const std::string link(bytes.begin(), bytes.end());
  PrintWholeLine(std::string(kLinkLinePrefix) + link);
  if (link == kHangLink) {
    PostMessageW(FindHostWindow(), kStallMessage, INFINITE, 0);
  } else if (link.rfind(kBusyLinkPrefix, 0) == 0) {
    PostMessageW(FindHostWindow(), kStallMessage, std::stoul(link.substr(kBusyLinkPrefix.size())),
                 0);
  }
}

void StallWhenAsked() {
  // The window calls this library's procedure until it is gone, after the
  // engine has unloaded the library: it stays loaded.
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     reinterpret_cast<LPCWSTR>(&StallingProcedure), &self);
  release_event = CreateEventW(nullptr, TRUE, FALSE, kReleaseEventName);
  const HWND window = FindHostWindow();
  host_procedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StallingProcedure)));
  app_host->SetMessageHandler(APP_LINKS_CHANNEL, ActOnLink);
  PrintWholeLine(std::string(kAfterFirstFrame) +
                 std::string(IsWindowVisible(window) != 0 ? kVisible : kHidden));
}

}  // namespace

extern "C" NORVALIS_APP_EXPORT void NorvalisAppMain(const NorvalisAppHost* host,
                                                    const char*,
                                                    int argc,
                                                    const char* const* argv) noexcept {
  try {
    app_host.emplace(*host);
    for (int i = 0; i < argc; ++i) {
      PrintWholeLine(std::string(kArgument) + argv[i]);
      if (argv[i] == kCloseOnNextLink) {
        on_next_link = OnNextLink::kCloseBefore;
      } else if (argv[i] == kCloseAfterNextLink) {
        on_next_link = OnNextLink::kCloseAfter;
      }
    }
    app_host->AfterNextFrame(StallWhenAsked);
  } catch (...) {
  }
}
