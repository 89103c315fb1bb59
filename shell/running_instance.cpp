#include "shell/running_instance.h"

#include <chrono>
#include <future>
#include <memory>
#include <system_error>
#include <thread>

#include "app_links_plugin.h"
#include "codec/diagnostic.h"
#include "shell/win32_window.h"

namespace {

enum class LinkOutcome { kTaken, kNotTaken, kUnanswered };

// SendAppLink waits for the window without a bound, so it runs on a thread
// of its own that the launch waits for at most `timeout_ms`. A launch that
// stops waiting exits without that thread; the message it sent stays queued
// for the window, which still takes it once it answers.
LinkOutcome SendLinkWithin(HWND window, DWORD timeout_ms) {
  auto taken = std::make_shared<std::promise<bool>>();
  std::future<bool> answer = taken->get_future();
  try {
    std::thread([window, taken]() noexcept {
      try {
        taken->set_value(SendAppLink(window) != FALSE);
      } catch (...) {
        // Unanswered, then: the launch's wait runs out.
      }
    }).detach();
  } catch (const std::system_error&) {
    return LinkOutcome::kNotTaken;
  }
  if (answer.wait_for(std::chrono::milliseconds(timeout_ms)) != std::future_status::ready) {
    return LinkOutcome::kUnanswered;
  }
  return answer.get() ? LinkOutcome::kTaken : LinkOutcome::kNotTaken;
}

}  // namespace

UINT ShowCommandForRunningWindow(UINT show_state) {
  switch (show_state) {
    case SW_SHOWMINIMIZED:
      return SW_RESTORE;
    case SW_SHOWMAXIMIZED:
      return SW_SHOWMAXIMIZED;
    default:
      return SW_SHOWNORMAL;
  }
}

std::optional<RunningInstance> RunningInstance::Find(const std::wstring& title) {
  const HWND window = FindWindowW(Win32Window::kClassName, title.c_str());
  if (window == nullptr) {
    return std::nullopt;
  }
  return RunningInstance(window);
}

int RunningInstance::HandOver(bool has_link, const Bounds& bounds) const {
  DWORD_PTR unused = 0;
  const bool answered =
      SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, bounds.probe_ms, &unused) != 0;
  if (!answered && IsWindow(window_) == FALSE) {
    flutter::WriteDiagnosticLine(kClosingDiagnostic);
    return kExitNotHandedOver;
  }
  // A busy or hung window is sent the link all the same: queued, it is not
  // lost, and a window busy with a long task takes it when the task ends.
  const LinkOutcome link =
      !has_link ? LinkOutcome::kTaken
                : SendLinkWithin(window_, answered ? bounds.link_ms : bounds.link_unanswered_ms);
  if (link == LinkOutcome::kNotTaken) {
    flutter::WriteDiagnosticLine(IsWindow(window_) == FALSE ? kClosingDiagnostic
                                                            : kRefusedDiagnostic);
    return kExitNotHandedOver;
  }
  // After the link, as SendAppLink's receiver relies on.
  BringBack();
  if (link == LinkOutcome::kUnanswered) {
    flutter::WriteDiagnosticLine(kNotRespondingWithLinkDiagnostic);
    return kExitNotConfirmed;
  }
  if (!has_link && !answered) {
    flutter::WriteDiagnosticLine(kNotRespondingDiagnostic);
    return kExitNotConfirmed;
  }
  return 0;
}

void RunningInstance::BringBack() const {
  // A failed query leaves show state 0, which shows the window normally.
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof(placement);
  GetWindowPlacement(window_, &placement);
  ShowWindowAsync(window_, static_cast<int>(ShowCommandForRunningWindow(placement.showCmd)));
  SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW | SWP_ASYNCWINDOWPOS);
  // Windows grants it when the launch may take the foreground (the user
  // started it), and queues the activation for the window's thread.
  SetForegroundWindow(window_);
}
