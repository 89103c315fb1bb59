#include "tests/apps/host_window.h"

#include <string>

#include "app/print_line.h"
#include "tests/apps/test_app_lines.h"

HWND FindHostWindow() {
  return FindWindowW(L"FLUTTER_RUNNER_WIN32_WINDOW", L"photos_norvalis");
}

void PrintWindowState(std::string_view when) {
  const HWND window = FindHostWindow();
  const std::string_view state =
      window == nullptr ? kNoWindow : (IsWindowVisible(window) != 0 ? kVisible : kHidden);
  PrintLine(std::string(when) + std::string(state));
}
