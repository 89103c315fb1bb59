// windows.h comes first: the other Windows headers build on it.
#include <windows.h>

#include <objbase.h>

#include <string>
#include <utility>
#include <vector>

#include "shell/flutter_window.h"
#include "shell/project_bundle.h"
#include "shell/running_instance.h"
#include "shell/startup_utilities.h"
#include "shell/win32_window.h"

namespace {

constexpr const wchar_t* kWindowTitle = L"photos_norvalis";
constexpr const wchar_t* kBundleDirectory = L"data";
constexpr WindowOrigin kWindowOrigin = {10, 10};
constexpr WindowSize kWindowSize = {1280, 720};

}  // namespace

// The arguments are read again from the process command line, and the launch's
// show command is not applied: the window shows itself once it has content.
int APIENTRY wWinMain(_In_ HINSTANCE, _In_opt_ HINSTANCE, _In_ wchar_t*, _In_ int) {
  if (ForwardToRunningInstance(std::wstring(kWindowTitle))) {
    return 0;
  }

  // A GUI process started under a debugger has nowhere to write otherwise.
  if (AttachConsole(ATTACH_PARENT_PROCESS) == 0 && IsDebuggerPresent() != 0) {
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
  window.SetEndsMessageLoop(true);

  MSG message = {};
  while (GetMessageW(&message, nullptr, 0, 0) != 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }

  CoUninitialize();
  return 0;
}
