#include <errhandlingapi.h>
#include <win32_desktop_control.h>
#include <winerror.h>
#include <winuser.h>

#include <thread>

#include "platform/win32/recording_window.h"

namespace win32_test {
namespace {

using ActivationTest = DesktopTest;

TEST_F(ActivationTest, ActivatingAWindowDeactivatesThePreviousOne) {
  HWND first = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  recorder().Clear();
  HWND second = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  std::vector<RecordedMessage> activations;
  for (const RecordedMessage& message : recorder().Of()) {
    if (message.message == WM_ACTIVATE) {
      activations.push_back(message);
    }
  }
  ASSERT_EQ(activations.size(), 2u);
  EXPECT_EQ(activations[0].window, first);
  EXPECT_EQ(activations[0].wparam, static_cast<WPARAM>(WA_INACTIVE));
  EXPECT_EQ(activations[0].lparam, reinterpret_cast<LPARAM>(second));
  EXPECT_EQ(activations[1].window, second);
  EXPECT_EQ(activations[1].wparam, static_cast<WPARAM>(WA_ACTIVE));
  EXPECT_EQ(activations[1].lparam, reinterpret_cast<LPARAM>(first));
  EXPECT_EQ(GetActiveWindow(), second);
  EXPECT_EQ(GetFocus(), second);

  // Hiding the active window activates the next one.
  ShowWindow(second, SW_HIDE);
  EXPECT_EQ(GetActiveWindow(), first);
  EXPECT_EQ(GetForegroundWindow(), first);
  EXPECT_EQ(GetFocus(), first);
}

TEST_F(ActivationTest, SetFocusMovesTheFocusAndReturnsThePreviousOne) {
  HWND window = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND child = CreateChild(window);
  ASSERT_EQ(GetFocus(), window);
  recorder().Clear();
  EXPECT_EQ(SetFocus(child), window);
  EXPECT_EQ(GetFocus(), child);
  const std::vector<RecordedMessage> messages = recorder().Of();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].window, window);
  EXPECT_EQ(messages[0].message, static_cast<UINT>(WM_KILLFOCUS));
  EXPECT_EQ(messages[0].wparam, reinterpret_cast<WPARAM>(child));
  EXPECT_EQ(messages[1].window, child);
  EXPECT_EQ(messages[1].message, static_cast<UINT>(WM_SETFOCUS));
  EXPECT_EQ(messages[1].wparam, reinterpret_cast<WPARAM>(window));

  recorder().Clear();
  EXPECT_EQ(SetFocus(child), child);
  EXPECT_TRUE(recorder().Of().empty());
  EXPECT_EQ(SetFocus(nullptr), child);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(SetFocus(reinterpret_cast<HWND>(0x1234)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));

  // Destroying the focused child leaves no focus behind.
  SetFocus(child);
  DestroyWindow(child);
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(ActivationTest, FocusInAnInactiveWindowActivatesIt) {
  HWND first = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND first_child = CreateChild(first);
  CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  EXPECT_NE(SetFocus(first_child), nullptr);
  EXPECT_EQ(GetActiveWindow(), first);
  EXPECT_EQ(GetForegroundWindow(), first);
  EXPECT_EQ(GetFocus(), first_child);
}

TEST_F(ActivationTest, HiddenWindowTakesTheFocusOnlyOnceShown) {
  // The top-level window of the application embeds its child and focuses it
  // while still hidden, and focuses it again on every WM_ACTIVATE.
  HWND window = CreateTopLevel();
  HWND child = CreateChild(window);
  recorder().SetReaction(
      [window, child](HWND target, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (target == window && message == WM_ACTIVATE) {
          SetFocus(child);
          return 0;
        }
        return std::nullopt;
      });
  EXPECT_EQ(SetFocus(child), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(GetActiveWindow(), nullptr);

  ShowWindow(window, SW_SHOWNORMAL);
  EXPECT_EQ(GetActiveWindow(), window);
  EXPECT_EQ(GetFocus(), child);

  // Losing the activation does not take it back through that SetFocus.
  HWND other = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  EXPECT_EQ(GetActiveWindow(), other);
  EXPECT_EQ(GetFocus(), other);

  ShowWindow(other, SW_HIDE);
  EXPECT_EQ(GetActiveWindow(), window);
  EXPECT_EQ(GetFocus(), child);
  DestroyWindow(window);
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetForegroundWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(ActivationTest, FocusBelongsToTheWindowsThread) {
  HWND window = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND result = window;
  DWORD error = 0;
  HWND focus_there = window;
  std::thread other([&] {
    result = SetFocus(window);
    error = GetLastError();
    focus_there = GetFocus();
  });
  other.join();
  EXPECT_EQ(result, nullptr);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(focus_there, nullptr);
  EXPECT_EQ(GetFocus(), window);
}

TEST_F(ActivationTest, MinimizingActivatesTheNextWindowUnlessAskedToStayActive) {
  HWND first = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND second = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ShowWindow(second, SW_MINIMIZE);
  EXPECT_EQ(GetActiveWindow(), first);

  recorder().Clear();
  ShowWindow(first, SW_SHOWMINIMIZED);
  EXPECT_EQ(GetActiveWindow(), first);
  EXPECT_EQ(GetFocus(), nullptr);
  // A minimized window is told it is minimized when it stays active.
  for (const RecordedMessage& message : recorder().Of(first)) {
    EXPECT_NE(message.message, static_cast<UINT>(WM_SETFOCUS));
  }
}

}  // namespace
}  // namespace win32_test
