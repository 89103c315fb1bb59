#include "tests/apps/host_window.h"

HWND FindHostWindow() {
  return FindWindowW(L"FLUTTER_RUNNER_WIN32_WINDOW", L"photos_norvalis");
}
