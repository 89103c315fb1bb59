#include "shell/win32_window.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine_bridge/stopped_exception.h"
#include "shell/shell_test_fixture.h"

namespace {

constexpr DWORD kDarkModeAttribute = 20;
constexpr const wchar_t* kPersonalizeKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

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

RECT OuterRect(HWND window) {
  return win32_desktop::InspectWindow(window)->window_rect;
}
RECT InnerRect(HWND window) {
  return win32_desktop::InspectWindow(window)->client_rect;
}

void ExpectRect(const RECT& rect, LONG left, LONG top, LONG width, LONG height) {
  EXPECT_EQ(rect.left, left);
  EXPECT_EQ(rect.top, top);
  EXPECT_EQ(rect.right - rect.left, width);
  EXPECT_EQ(rect.bottom - rect.top, height);
}

using Win32WindowTest = ShellTest;

struct DpiCase {
  UINT dpi;
  LONG origin;
  LONG width;
  LONG height;
};

class Win32WindowDpiTest : public ShellTest, public testing::WithParamInterface<DpiCase> {};

TEST_P(Win32WindowDpiTest, CreatesTheHiddenWindowScaledAndTruncatedToTheMonitorDpi) {
  SetSingleMonitorDpi(GetParam().dpi);
  Win32Window window;
  ASSERT_TRUE(window.OpenWindow(L"photos_norvalis", {10, 10}, {1280, 720}));
  const auto state = win32_desktop::InspectWindow(window.native_window());
  ASSERT_TRUE(state.has_value());
  ExpectRect(state->window_rect, GetParam().origin, GetParam().origin, GetParam().width,
             GetParam().height);
  EXPECT_EQ(state->class_name, L"FLUTTER_RUNNER_WIN32_WINDOW");
  EXPECT_EQ(state->title, L"photos_norvalis");
  EXPECT_FALSE(state->visible);
  EXPECT_EQ(state->style & ~WS_CLIPSIBLINGS, static_cast<DWORD>(WS_OVERLAPPEDWINDOW));
  EXPECT_EQ(state->parent, nullptr);
  EXPECT_TRUE(state->non_client_dpi_scaling);
}

INSTANTIATE_TEST_SUITE_P(Dpis,
                         Win32WindowDpiTest,
                         testing::Values(DpiCase{96, 10, 1280, 720},
                                         DpiCase{120, 12, 1600, 900},
                                         DpiCase{144, 15, 1920, 1080},
                                         DpiCase{168, 17, 2240, 1260}));

TEST_F(Win32WindowTest, TheUnscaledOriginChoosesTheMonitor) {
  win32_desktop::MonitorSetup left;
  left.rect = left.work_area = {0, 0, 1920, 1080};
  left.dpi = 96;
  win32_desktop::MonitorSetup right;
  right.rect = right.work_area = {1920, 0, 3840, 1080};
  right.dpi = 144;
  win32_desktop::SetMonitors({left, right});

  Win32Window on_right;
  ASSERT_TRUE(on_right.OpenWindow(L"t", {2000, 10}, {100, 100}));
  ExpectRect(OuterRect(on_right.native_window()), 3000, 15, 150, 150);

  // (1500, 10) scaled would lie on the right monitor; unscaled it is left.
  Win32Window on_left;
  ASSERT_TRUE(on_left.OpenWindow(L"t", {1500, 10}, {100, 100}));
  ExpectRect(OuterRect(on_left.native_window()), 1500, 10, 100, 100);

  // Beyond every monitor: the nearest one, the right.
  Win32Window beyond;
  ASSERT_TRUE(beyond.OpenWindow(L"t", {5000, 10}, {100, 100}));
  ExpectRect(OuterRect(beyond.native_window()), 7500, 15, 150, 150);
}

struct ThemeCase {
  const char* name;
  std::optional<DWORD> light_theme;
  std::optional<DWORD> expected_dark_mode;
};

class TitleBarThemeTest : public ShellTest, public testing::WithParamInterface<ThemeCase> {};

TEST_P(TitleBarThemeTest, FollowsAppsUseLightThemeWhenTheWindowIsCreated) {
  if (GetParam().light_theme.has_value()) {
    Win32ProcessSetRegistryDword(HKEY_CURRENT_USER, kPersonalizeKey, L"AppsUseLightTheme",
                                 *GetParam().light_theme);
  }
  Win32Window window;
  ASSERT_TRUE(window.OpenWindow(L"t", {10, 10}, {100, 100}));
  const auto attributes = win32_desktop::InspectWindow(window.native_window())->dwm_attributes;
  if (GetParam().expected_dark_mode.has_value()) {
    ASSERT_EQ(attributes.count(kDarkModeAttribute), 1u);
    EXPECT_EQ(attributes.at(kDarkModeAttribute), *GetParam().expected_dark_mode);
  } else {
    EXPECT_EQ(attributes.count(kDarkModeAttribute), 0u);
  }
}

INSTANTIATE_TEST_SUITE_P(Values,
                         TitleBarThemeTest,
                         testing::Values(ThemeCase{"Dark", 0u, 1u},
                                         ThemeCase{"Light", 1u, 0u},
                                         ThemeCase{"OtherNumber", 7u, 0u},
                                         ThemeCase{"Absent", std::nullopt, std::nullopt}),
                         [](const testing::TestParamInfo<ThemeCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(Win32WindowTest, ThemeValueOfAnotherTypeSetsNothing) {
  Win32ProcessSetRegistryString(HKEY_CURRENT_USER, kPersonalizeKey, L"AppsUseLightTheme", L"0");
  Win32Window window;
  ASSERT_TRUE(window.OpenWindow(L"t", {10, 10}, {100, 100}));
  EXPECT_EQ(win32_desktop::InspectWindow(window.native_window())
                ->dwm_attributes.count(kDarkModeAttribute),
            0u);
}

TEST_F(Win32WindowTest, ThemeChangeWhileRunningAppliesTheNewValue) {
  Win32ProcessSetRegistryDword(HKEY_CURRENT_USER, kPersonalizeKey, L"AppsUseLightTheme", 1);
  Win32Window window;
  ASSERT_TRUE(window.OpenWindow(L"t", {10, 10}, {100, 100}));
  const HWND native = window.native_window();
  Win32ProcessSetRegistryDword(HKEY_CURRENT_USER, kPersonalizeKey, L"AppsUseLightTheme", 0);
  EXPECT_EQ(SendMessageW(native, WM_DWMCOLORIZATIONCOLORCHANGED, 0, 0), 0);
  EXPECT_EQ(win32_desktop::InspectWindow(native)->dwm_attributes.at(kDarkModeAttribute), 1u);
  Win32ProcessSetRegistryDword(HKEY_CURRENT_USER, kPersonalizeKey, L"AppsUseLightTheme", 1);
  SendMessageW(native, WM_DWMCOLORIZATIONCOLORCHANGED, 0, 0);
  EXPECT_EQ(win32_desktop::InspectWindow(native)->dwm_attributes.at(kDarkModeAttribute), 0u);
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
  const RECT client = window.ClientRect();
  EXPECT_EQ(client.right, 400 - 16);
  EXPECT_EQ(client.bottom, 300 - 39);
  ExpectRect(OuterRect(child), 10 + 8, 10 + 31, client.right, client.bottom);
  EXPECT_EQ(GetFocus(), child);

  MoveWindow(native, 50, 60, 800, 500, TRUE);
  const RECT resized = window.ClientRect();
  EXPECT_EQ(resized.right, 800 - 16);
  ExpectRect(OuterRect(child), 50 + 8, 60 + 31, resized.right, resized.bottom);
  ExpectRect(InnerRect(child), 0, 0, resized.right, resized.bottom);
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

TEST_F(Win32WindowTest, SizeAndActivateWithoutAChildOnlyReturnZero) {
  Win32Window window;
  ASSERT_TRUE(window.OpenWindow(L"t", {10, 10}, {400, 300}));
  const HWND native = window.native_window();
  const RECT before = OuterRect(native);
  EXPECT_EQ(SendMessageW(native, WM_SIZE, SIZE_RESTORED, MAKELPARAM(10, 10)), 0);
  EXPECT_EQ(SendMessageW(native, WM_ACTIVATE, WA_ACTIVE, 0), 0);
  ExpectRect(OuterRect(native), before.left, before.top, before.right - before.left,
             before.bottom - before.top);
  EXPECT_TRUE(win32_desktop::ChildWindows(native).empty());
}

TEST_F(Win32WindowTest, ADpiChangeTakesTheSuggestedRectangleAndTheChildFollows) {
  Win32Window window;
  ASSERT_TRUE(window.OpenWindow(L"t", {10, 10}, {400, 300}));
  const HWND native = window.native_window();
  const HWND child = ShellTest::CreatePlainWindow(native, WS_CHILD | WS_VISIBLE);
  window.EmbedChild(child);

  const RECT suggested = win32_desktop::SimulateDpiChange(native, 144);
  const RECT outer = OuterRect(native);
  EXPECT_EQ(outer.left, suggested.left);
  EXPECT_EQ(outer.top, suggested.top);
  EXPECT_EQ(outer.right, suggested.right);
  EXPECT_EQ(outer.bottom, suggested.bottom);
  EXPECT_GT(outer.right - outer.left, 400);
  const RECT client = window.ClientRect();
  ExpectRect(InnerRect(child), 0, 0, client.right, client.bottom);
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
