#include "shell/win32_window.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine_bridge/engine_api.h"
#include "engine_bridge/stopped_exception.h"
#include "shell/shell_test_fixture.h"
#include "shell/window_rects.h"

namespace {

// Counts the hooks and can refuse creation.
class HookedWindow : public Win32Window {
 public:
  int after_created_calls = 0;
  int before_released_calls = 0;
  bool accept_creation = true;

 protected:
  bool AfterWindowCreated() override {
    ++after_created_calls;
    return accept_creation;
  }
  void BeforeWindowReleased() override { ++before_released_calls; }
};

bool ClassIsRegistered() {
  WNDCLASSW probe = {};
  probe.lpfnWndProc = DefWindowProcW;
  probe.hInstance = GetModuleHandleW(nullptr);
  probe.lpszClassName = Win32Window::kClassName;
  if (RegisterClassW(&probe) != 0) {
    UnregisterClassW(Win32Window::kClassName, nullptr);
    return false;
  }
  return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

using Win32WindowTest = ShellTest;

// At whatever DPI the desktop has; the other DPIs are arranged where the
// desktop can be controlled.
TEST_F(Win32WindowTest, CreatesTheHiddenWindowScaledToTheDesktopDpi) {
  const UINT dpi =
      FlutterDesktopGetDpiForMonitor(MonitorFromPoint({10, 10}, MONITOR_DEFAULTTONEAREST));
  ASSERT_GE(dpi, 96u);
  const auto scaled = [dpi](LONG value) { return static_cast<LONG>(value * (dpi / 96.0)); };
  Win32Window window;
  ASSERT_TRUE(window.OpenWindow(L"photos_norvalis", {10, 10}, {1280, 720}));
  const HWND native = window.native_window();
  ExpectRect(OuterRect(native), scaled(10), scaled(10), scaled(1280), scaled(720));
  EXPECT_FALSE(IsWindowVisible(native));
  EXPECT_EQ(GetWindowLongPtrW(native, GWL_STYLE) & ~(WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
            static_cast<LONG_PTR>(WS_OVERLAPPEDWINDOW));
  EXPECT_EQ(GetParent(native), nullptr);
}

TEST_F(Win32WindowTest, DestroyingTheWindowRunsTheHookAndEndsTheLoopOnlyWhenAsked) {
  for (const bool ends_message_loop : {false, true}) {
    SCOPED_TRACE(ends_message_loop);
    HookedWindow window;
    ASSERT_TRUE(window.OpenWindow(L"t", {10, 10}, {100, 100}));
    EXPECT_EQ(window.after_created_calls, 1);
    window.SetEndsMessageLoop(ends_message_loop);
    const int hooks_before = window.before_released_calls;
    const HWND native = window.native_window();
    DestroyWindow(native);
    EXPECT_EQ(window.native_window(), nullptr);
    EXPECT_FALSE(IsWindow(native));
    EXPECT_EQ(window.before_released_calls, hooks_before + 1);
    EXPECT_EQ(DrainQueueSawQuit(), ends_message_loop);
  }
}

TEST_F(Win32WindowTest, CloseFromTheCaptionDestroysTheWindowThroughTheDefaultHandling) {
  Win32Window window;
  ASSERT_TRUE(window.OpenWindow(L"t", {10, 10}, {100, 100}));
  window.SetEndsMessageLoop(true);
  const HWND native = window.native_window();
  SendMessageW(native, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(native));
  EXPECT_TRUE(DrainQueueSawQuit());
}

TEST_F(Win32WindowTest, TheClassStaysRegisteredUntilTheLastWindowObjectIsGone) {
  auto first = std::make_unique<Win32Window>();
  auto second = std::make_unique<Win32Window>();
  ASSERT_TRUE(first->OpenWindow(L"one", {10, 10}, {100, 100}));
  ASSERT_TRUE(second->OpenWindow(L"two", {20, 20}, {100, 100}));
  const HWND second_native = second->native_window();
  first.reset();
  EXPECT_TRUE(ClassIsRegistered());
  EXPECT_TRUE(IsWindow(second_native));
  second.reset();
  EXPECT_FALSE(IsWindow(second_native));
  EXPECT_FALSE(ClassIsRegistered());

  // A later window registers the class again.
  Win32Window third;
  EXPECT_TRUE(third.OpenWindow(L"three", {10, 10}, {100, 100}));
}

TEST_F(Win32WindowTest, OpeningAgainReplacesTheWindowAndRunsTheDestructionHook) {
  HookedWindow window;
  ASSERT_TRUE(window.OpenWindow(L"t", {10, 10}, {100, 100}));
  const HWND first = window.native_window();
  window.SetEndsMessageLoop(true);
  const int hooks_before = window.before_released_calls;
  ASSERT_TRUE(window.OpenWindow(L"t", {10, 10}, {100, 100}));
  EXPECT_FALSE(IsWindow(first));
  EXPECT_TRUE(IsWindow(window.native_window()));
  EXPECT_NE(window.native_window(), first);
  EXPECT_GT(window.before_released_calls, hooks_before);
  EXPECT_EQ(window.after_created_calls, 2);
  // The replaced window's destruction ended the loop.
  EXPECT_TRUE(DrainQueueSawQuit());
}

TEST_F(Win32WindowTest, ARefusedCreationHookFailsOpeningButKeepsTheHiddenWindow) {
  HookedWindow window;
  window.accept_creation = false;
  EXPECT_FALSE(window.OpenWindow(L"t", {10, 10}, {100, 100}));
  ASSERT_NE(window.native_window(), nullptr);
  EXPECT_FALSE(IsWindowVisible(window.native_window()));
}

TEST_F(Win32WindowTest, RevealWindowShowsNormallyAndReportsPreviousVisibility) {
  Win32Window window;
  ASSERT_TRUE(window.OpenWindow(L"t", {10, 10}, {100, 100}));
  EXPECT_FALSE(window.RevealWindow());
  EXPECT_TRUE(IsWindowVisible(window.native_window()));
  EXPECT_TRUE(window.RevealWindow());
}

TEST_F(Win32WindowTest, TheEmbeddedChildFillsTheClientAreaAndFollowsResizes) {
  Win32Window window;
  ASSERT_TRUE(window.OpenWindow(L"t", {10, 10}, {400, 300}));
  const HWND native = window.native_window();
  // Created elsewhere, as the engine creates its view.
  const HWND holder = ShellTest::CreatePlainWindow(nullptr, WS_OVERLAPPEDWINDOW);
  const HWND child = ShellTest::CreatePlainWindow(holder, WS_CHILD | WS_VISIBLE);
  ASSERT_NE(child, nullptr);
  // Hidden windows take no focus.
  window.RevealWindow();

  window.EmbedChild(child);
  EXPECT_EQ(GetParent(child), native);
  EXPECT_EQ(GetFocus(), child);
  // The child covers the client area: inside the frame's side and bottom
  // borders, which are alike, and below the caption.
  const auto expect_child_fills_client = [&] {
    const RECT outer = OuterRect(native);
    const RECT client = window.ClientRect();
    EXPECT_GT(client.right, 0);
    EXPECT_LT(client.right, outer.right - outer.left);
    const LONG border = (outer.right - outer.left - client.right) / 2;
    const LONG top = outer.bottom - border - client.bottom;
    ExpectRect(OuterRect(child), outer.left + border, top, client.right, client.bottom);
    ExpectRect(InnerRect(child), 0, 0, client.right, client.bottom);
  };
  expect_child_fills_client();

  MoveWindow(native, 50, 60, 800, 500, TRUE);
  ExpectRect(OuterRect(native), 50, 60, 800, 500);
  expect_child_fills_client();
  DestroyWindow(holder);
}

TEST_F(Win32WindowTest, ActivationGivesTheChildTheFocus) {
  Win32Window window;
  ASSERT_TRUE(window.OpenWindow(L"t", {10, 10}, {400, 300}));
  const HWND child = ShellTest::CreatePlainWindow(window.native_window(), WS_CHILD | WS_VISIBLE);
  window.RevealWindow();
  window.EmbedChild(child);
  SetFocus(window.native_window());
  ASSERT_EQ(GetFocus(), window.native_window());
  EXPECT_EQ(SendMessageW(window.native_window(), WM_ACTIVATE, WA_ACTIVE, 0), 0);
  EXPECT_EQ(GetFocus(), child);
}

TEST_F(Win32WindowTest, ADpiChangeWithoutARectangleIsIgnored) {
  Win32Window window;
  ASSERT_TRUE(window.OpenWindow(L"t", {10, 10}, {400, 300}));
  EXPECT_EQ(SendMessageW(window.native_window(), WM_DPICHANGED, MAKEWPARAM(144, 144), 0), 0);
  ExpectRect(OuterRect(window.native_window()), 10, 10, 400, 300);
}

TEST_F(Win32WindowTest, AForeignWindowOfTheClassGetsTheDefaultHandling) {
  Win32Window window;
  ASSERT_TRUE(window.OpenWindow(L"t", {10, 10}, {100, 100}));
  const HWND foreign = CreateWindowExW(0, Win32Window::kClassName, L"foreign", WS_OVERLAPPEDWINDOW,
                                       0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(foreign, nullptr);
  EXPECT_NE(window.native_window(), foreign);
  DestroyWindow(foreign);
  EXPECT_TRUE(IsWindow(window.native_window()));
}

// Throws from its message handler for WM_APP and WM_APP + 1.
class ThrowingWindow : public Win32Window {
 protected:
  LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_APP) {
      throw std::runtime_error("handler failed");
    }
    if (message == WM_APP + 1) {
      throw 1;
    }
    return Win32Window::HandleWindowMessage(window, message, wparam, lparam);
  }
};

TEST_F(Win32WindowTest, AnExceptionStopsAtTheWindowProcedureAndIsReported) {
  ThrowingWindow window;
  ASSERT_TRUE(window.OpenWindow(L"photos_norvalis", {10, 10}, {640, 480}));
  testing::internal::CaptureStderr();
  EXPECT_EQ(SendMessageW(window.native_window(), WM_APP, 0, 0), 0);
  EXPECT_EQ(SendMessageW(window.native_window(), WM_APP + 1, 0, 0), 0);
  const std::string edge =
      std::string(flutter::kExceptionStoppedAt) + "Win32Window::ClassWindowProcedure: ";
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            edge + "handler failed\n" + edge + flutter::kUnknownExceptionText + "\n");
  EXPECT_TRUE(IsWindow(window.native_window()));
}

}  // namespace
