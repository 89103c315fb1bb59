// What only the platform layer's controlled desktop can arrange or show:
// several monitors, DPIs other than the desktop's, the registry and the DWM
// attributes the title bar theme sets, the window's children.

#include "shell/win32_window.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "shell/shell_test_fixture.h"
#include "shell/window_rects.h"

namespace {

constexpr DWORD kDarkModeAttribute = 20;
constexpr const wchar_t* kPersonalizeKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

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

}  // namespace
