#ifndef SHELL_SHELL_TEST_FIXTURE_H_
#define SHELL_SHELL_TEST_FIXTURE_H_

#include <gtest/gtest.h>
#include <windows.h>
#ifndef _WIN32
#include <win32_desktop_control.h>
#include <win32_process_control.h>
#endif

#include <chrono>
#include <functional>
#include <thread>

// A fresh desktop and process state (one 1920x1080 monitor at 96 DPI, empty
// registry, no console, no debugger) for every test, and again after it, on
// the platform layer's controlled desktop. A real Win32's desktop is what it
// is: there each test leaves it as it found it.
class ShellTest : public testing::Test {
 public:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }

#ifdef _WIN32
  static void Reset() {}
#else
  static void Reset() {
    win32_desktop::ResetDesktop();
    Win32ProcessResetToDefaults();
    Win32ProcessSetParentConsole(kWin32PresenceAbsent);
    Win32ProcessSetDebugger(kWin32PresenceAbsent);
  }

  static void SetSingleMonitorDpi(UINT dpi) {
    win32_desktop::MonitorSetup monitor;
    monitor.rect = {0, 0, 3840, 2160};
    monitor.work_area = {0, 0, 3840, 2100};
    monitor.dpi = dpi;
    win32_desktop::SetMonitors({monitor});
  }
#endif

  // A window of a plain class of the test's own that only does the default
  // handling; a child when `parent` is given.
  static HWND CreatePlainWindow(HWND parent, DWORD style, const wchar_t* title = L"") {
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.lpszClassName = L"ShellTestPlainWindow";
    RegisterClassW(&window_class);
    return CreateWindowExW(0, window_class.lpszClassName, title, style, 0, 0, 50, 50, parent,
                           nullptr, nullptr, nullptr);
  }

  // Polls until `condition` holds; false after ten seconds.
  static bool WaitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
      if (std::chrono::steady_clock::now() > deadline) {
        return false;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
  }

  // Removes the calling thread's queued messages; true when WM_QUIT was
  // among them.
  static bool DrainQueueSawQuit() {
    bool saw_quit = false;
    MSG message = {};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != 0) {
      saw_quit = saw_quit || message.message == WM_QUIT;
    }
    return saw_quit;
  }
};

#endif  // SHELL_SHELL_TEST_FIXTURE_H_
