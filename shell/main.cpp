// windows.h comes first: the other Windows headers build on it.
#include <windows.h>

#include <objbase.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "shell/flutter_window.h"
#include "shell/project_bundle.h"
#include "shell/running_instance.h"
#include "shell/startup_lock.h"
#include "shell/startup_utilities.h"
#include "shell/win32_window.h"

namespace {

constexpr const wchar_t* kWindowTitle = L"photos_norvalis";
constexpr const wchar_t* kBundleDirectory = L"data";
constexpr WindowOrigin kWindowOrigin = {10, 10};
constexpr WindowSize kWindowSize = {1280, 720};

// How long a launch waits for an instance that is starting to have its
// window. Start-ups take about a second, a few under heavy load; one that
// has no window after this long has hung, and a launch should not hang with
// it. A launch whose starter ended without a window is let in at once.
constexpr DWORD kStartupLockTimeoutMs = 60000;

// Whether this launch has a link for the running instance: its first
// argument, as the app-links plugin takes it.
bool HasLaunchLink() {
  const std::vector<std::string> arguments = CollectLaunchArguments();
  return !arguments.empty() && !arguments.front().empty();
}

}  // namespace

// The arguments are read again from the process command line, and the launch's
// show command is not applied: the window shows itself once it has content.
int APIENTRY wWinMain(_In_ HINSTANCE, _In_opt_ HINSTANCE, _In_ wchar_t*, _In_ int) {
  // Before the hand-over too, which reports on standard error when it goes
  // wrong.
  const bool parent_console = AttachConsole(ATTACH_PARENT_PROCESS) != 0;

  // Declared before the window, so that a failed start-up releases it only
  // after its window is gone: the next launch then starts rather than
  // forwarding to a window that is going away.
  StartupLock startup_lock(StartupLock::kApplicationLockName, kStartupLockTimeoutMs);
  if (startup_lock.gave_up()) {
    return RunningInstance::kExitNotHandedOver;
  }
  if (const std::optional<RunningInstance> running = RunningInstance::Find(kWindowTitle)) {
    // The window is found; the launches behind this one need not wait while
    // it talks to an instance that may not answer.
    startup_lock.Release();
    return running->HandOver(HasLaunchLink());
  }

  // A GUI process started under a debugger has nowhere to write otherwise.
  if (!parent_console && IsDebuggerPresent() != 0) {
    OpenDebugConsole();
  }

  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

  ProjectBundle bundle(kBundleDirectory);
  std::vector<std::string> launch_arguments = CollectLaunchArguments();
  bundle.entrypoint_args = std::move(launch_arguments);

  FlutterWindow window(bundle);
  if (!window.OpenWindow(std::wstring(kWindowTitle), kWindowOrigin, kWindowSize)) {
    return 1;
  }
  // The window, its engine and the app-links plugin exist: a later launch
  // can find the window and its link will be taken.
  startup_lock.Release();
  window.SetEndsMessageLoop(true);

  MSG message = {};
  while (GetMessageW(&message, nullptr, 0, 0) != 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }

  CoUninitialize();
  return 0;
}
