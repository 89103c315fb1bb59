#include "shell/running_instance.h"

#include "app_links_plugin.h"
#include "shell/win32_window.h"

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

bool ForwardToRunningInstance(const std::wstring& title) {
  const HWND running_window = FindWindowW(Win32Window::kClassName, title.c_str());
  if (running_window == nullptr) {
    return false;
  }
  SendAppLink(running_window);

  // A failed query leaves show state 0, which shows the window normally.
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof(placement);
  GetWindowPlacement(running_window, &placement);
  ShowWindow(running_window, static_cast<int>(ShowCommandForRunningWindow(placement.showCmd)));

  SetWindowPos(running_window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
  SetForegroundWindow(running_window);
  return true;
}
