#include <errhandlingapi.h>
#include <win32_desktop_control.h>
#include <winerror.h>
#include <winuser.h>

#include <dwmapi.h>
#include <shellscalingapi.h>

#include <cstdlib>

#include "platform/win32/recording_window.h"

namespace win32_test {
namespace {

using win32_desktop::ShowState;
using WindowPlacementTest = DesktopTest;

WINDOWPLACEMENT PlacementOf(HWND window) {
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof(placement);
  EXPECT_TRUE(GetWindowPlacement(window, &placement));
  return placement;
}

// The last WM_SIZE `window` received, as (type, width, height).
std::tuple<WPARAM, int, int> LastSize(HWND window) {
  std::tuple<WPARAM, int, int> last = {~WPARAM{0}, -1, -1};
  for (const RecordedMessage& message : MessageRecorder::Get().Of(window)) {
    if (message.message == WM_SIZE) {
      last = {message.wparam, LOWORD(message.lparam), HIWORD(message.lparam)};
    }
  }
  return last;
}

TEST_F(WindowPlacementTest, OverlappedFrameMatchesWindows10At96Dpi) {
  HWND window = CreateTopLevel(WS_OVERLAPPEDWINDOW, {10, 10, 1290, 730});
  EXPECT_EQ(WindowRect(window), (RECT{10, 10, 1290, 730}));
  EXPECT_EQ(ClientRect(window), (RECT{0, 0, 1280 - 16, 720 - 39}));
  HWND child = CreateChild(window, {0, 0, 200, 100});
  EXPECT_EQ(ClientRect(child), (RECT{0, 0, 200, 100}));
  HWND popup = CreateTopLevel(WS_POPUP, {0, 0, 300, 200});
  EXPECT_EQ(ClientRect(popup), (RECT{0, 0, 300, 200}));
}

TEST_F(WindowPlacementTest, FrameScalesWithTheMonitorDpi) {
  win32_desktop::SetMonitors({{{0, 0, 3840, 2160}, {0, 0, 3840, 2100}, 144}});
  HWND window = CreateTopLevel(WS_OVERLAPPEDWINDOW, {15, 15, 1935, 1095});
  // Border 8 * 1.5 = 12, caption 23 * 1.5 = 34.5, rounded to 35.
  EXPECT_EQ(ClientRect(window), (RECT{0, 0, 1920 - 24, 1080 - 12 - 47}));
  EXPECT_EQ(GetDpiForWindow(window), 144u);

  win32_desktop::SetMonitors({{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 120}});
  // Border 10, caption 29.
  EXPECT_EQ(ClientRect(window), (RECT{0, 0, 1920 - 20, 1080 - 10 - 39}));
}

TEST_F(WindowPlacementTest, PlacementRecordIs44BytesAndItsLengthIsChecked) {
  static_assert(sizeof(WINDOWPLACEMENT) == 44);
  HWND window = CreateTopLevel();
  WINDOWPLACEMENT placement = {};
  placement.length = 40;
  EXPECT_FALSE(GetWindowPlacement(window, &placement));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(placement.showCmd, 0u);
}

TEST_F(WindowPlacementTest, PlacementReportsTheShowStateAndRestorePosition) {
  HWND window = CreateTopLevel(WS_OVERLAPPEDWINDOW, {10, 10, 1290, 730});
  // Hidden windows report the state they would show in.
  EXPECT_EQ(PlacementOf(window).showCmd, static_cast<UINT>(SW_SHOWNORMAL));

  ShowWindow(window, SW_SHOWMAXIMIZED);
  EXPECT_EQ(PlacementOf(window).showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
  EXPECT_TRUE(IsZoomed(window));

  ShowWindow(window, SW_MINIMIZE);
  WINDOWPLACEMENT minimized = PlacementOf(window);
  EXPECT_EQ(minimized.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
  EXPECT_EQ(minimized.flags, static_cast<UINT>(WPF_RESTORETOMAXIMIZED));
  EXPECT_EQ(minimized.rcNormalPosition, (RECT{10, 10, 1290, 730}));
  EXPECT_TRUE(IsIconic(window));

  ShowWindow(window, SW_HIDE);
  EXPECT_EQ(PlacementOf(window).showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));

  // Restoring a window minimized from maximized maximizes it again.
  ShowWindow(window, SW_RESTORE);
  EXPECT_TRUE(IsZoomed(window));
  EXPECT_TRUE(IsWindowVisible(window));
  ShowWindow(window, SW_SHOWNORMAL);
  EXPECT_EQ(PlacementOf(window).showCmd, static_cast<UINT>(SW_SHOWNORMAL));
  EXPECT_EQ(WindowRect(window), (RECT{10, 10, 1290, 730}));
}

TEST_F(WindowPlacementTest, ShowWindowReturnsWhetherTheWindowWasVisible) {
  HWND window = CreateTopLevel();
  recorder().Clear();
  EXPECT_FALSE(ShowWindow(window, SW_HIDE));
  EXPECT_TRUE(recorder().Of(window).empty());
  EXPECT_FALSE(ShowWindow(window, SW_SHOWNORMAL));
  EXPECT_TRUE(ShowWindow(window, SW_SHOW));
  EXPECT_TRUE(ShowWindow(window, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_FALSE(ShowWindow(window, 12345));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_SHOWWIN_COMMAND));
}

TEST_F(WindowPlacementTest, ShowWindowSendsShowActivateAndSizeMessages) {
  HWND window = CreateTopLevel(WS_OVERLAPPEDWINDOW, {10, 10, 1290, 730});
  recorder().Clear();
  ShowWindow(window, SW_SHOWNORMAL);
  EXPECT_EQ(recorder().Ids(window, {WM_SHOWWINDOW, WM_ACTIVATE, WM_SIZE}),
            (std::vector<UINT>{WM_SHOWWINDOW, WM_ACTIVATE}));
  EXPECT_EQ(recorder().Of(window).front().wparam, static_cast<WPARAM>(TRUE));

  recorder().Clear();
  ShowWindow(window, SW_MAXIMIZE);
  // The maximized window covers the work area with its border outside it.
  EXPECT_EQ(WindowRect(window), (RECT{-8, -8, 1928, 1048}));
  EXPECT_EQ(LastSize(window), std::make_tuple(WPARAM{SIZE_MAXIMIZED}, 1920, 1040 - 23));
  EXPECT_EQ(recorder().Ids(window, {WM_SHOWWINDOW}), std::vector<UINT>{});

  ShowWindow(window, SW_MINIMIZE);
  EXPECT_EQ(LastSize(window), std::make_tuple(WPARAM{SIZE_MINIMIZED}, 0, 0));
  EXPECT_EQ(ClientRect(window), (RECT{0, 0, 0, 0}));
  EXPECT_NE(GetActiveWindow(), window);

  // Minimized from maximized, it shows maximized again; then normal.
  ShowWindow(window, SW_SHOWNORMAL);
  EXPECT_EQ(LastSize(window), std::make_tuple(WPARAM{SIZE_MAXIMIZED}, 1920, 1040 - 23));
  EXPECT_EQ(GetActiveWindow(), window);
  ShowWindow(window, SW_SHOWNORMAL);
  EXPECT_EQ(LastSize(window), std::make_tuple(WPARAM{SIZE_RESTORED}, 1264, 681));

  recorder().Clear();
  ShowWindow(window, SW_HIDE);
  EXPECT_EQ(recorder().Ids(window, {WM_SHOWWINDOW, WM_ACTIVATE, WM_SIZE}),
            (std::vector<UINT>{WM_SHOWWINDOW, WM_ACTIVATE}));
  EXPECT_EQ(recorder().Of(window).front().wparam, static_cast<WPARAM>(FALSE));
  EXPECT_EQ(GetForegroundWindow(), nullptr);
}

TEST_F(WindowPlacementTest, SetWindowPosSendsSizeOnlyWhenTheClientSizeChanges) {
  HWND window = CreateTopLevel(WS_OVERLAPPEDWINDOW, {0, 0, 400, 300});
  recorder().Clear();
  ASSERT_TRUE(SetWindowPos(window, nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
  EXPECT_EQ(recorder().Ids(window, {WM_MOVE, WM_SIZE}), std::vector<UINT>{WM_MOVE});
  EXPECT_EQ(WindowRect(window), (RECT{50, 60, 450, 360}));

  recorder().Clear();
  ASSERT_TRUE(SetWindowPos(window, nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER));
  EXPECT_EQ(recorder().Ids(window, {WM_MOVE, WM_SIZE}), std::vector<UINT>{WM_SIZE});
  EXPECT_EQ(LastSize(window), std::make_tuple(WPARAM{SIZE_RESTORED}, 500 - 16, 400 - 39));

  recorder().Clear();
  ASSERT_TRUE(MoveWindow(window, 50, 60, 500, 400, TRUE));
  EXPECT_EQ(recorder().Ids(window, {WM_MOVE, WM_SIZE}), std::vector<UINT>{});
}

TEST_F(WindowPlacementTest, ChildFollowsMoveWindowInParentCoordinates) {
  HWND parent = CreateTopLevel(WS_OVERLAPPEDWINDOW, {100, 100, 500, 400});
  HWND child = CreateChild(parent);
  recorder().Clear();
  ASSERT_TRUE(MoveWindow(child, 0, 0, 384, 261, TRUE));
  EXPECT_EQ(LastSize(child), std::make_tuple(WPARAM{SIZE_RESTORED}, 384, 261));
  EXPECT_EQ(WindowRect(child), (RECT{108, 131, 108 + 384, 131 + 261}));
}

TEST_F(WindowPlacementTest, ZOrderFollowsSetWindowPosAndActivation) {
  HWND first = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND second = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND third = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  EXPECT_EQ(win32_desktop::TopLevelWindows(), (std::vector<HWND>{third, second, first}));

  SetWindowPos(first, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(win32_desktop::TopLevelWindows(), (std::vector<HWND>{first, third, second}));
  EXPECT_EQ(GetForegroundWindow(), third);

  SetWindowPos(first, second, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(win32_desktop::TopLevelWindows(), (std::vector<HWND>{third, second, first}));

  SetWindowPos(third, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(win32_desktop::TopLevelWindows(), (std::vector<HWND>{second, first, third}));

  SetWindowPos(third, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(first, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(win32_desktop::TopLevelWindows(), (std::vector<HWND>{third, first, second}));

  // Without SWP_NOACTIVATE the window is activated and comes to the front of
  // the windows that are not topmost.
  SetWindowPos(second, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetForegroundWindow(), second);
  EXPECT_EQ(win32_desktop::TopLevelWindows(), (std::vector<HWND>{third, second, first}));

  EXPECT_FALSE(
      SetWindowPos(first, reinterpret_cast<HWND>(0x1234), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(WindowPlacementTest, ShowFlagOfSetWindowPosShowsWithoutShowWindowMessage) {
  HWND window = CreateTopLevel();
  recorder().Clear();
  // The flags a second launch raises the running window with.
  ASSERT_TRUE(SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(WindowRect(window), (RECT{10, 10, 1290, 730}));
  EXPECT_EQ(recorder().Ids(window, {WM_SHOWWINDOW, WM_SIZE, WM_MOVE}), std::vector<UINT>{});
  EXPECT_EQ(GetForegroundWindow(), window);
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_HIDEWINDOW);
  EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(WindowPlacementTest, DpiChangeSuggestsTheScaledRectangle) {
  HWND window = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {10, 10, 1290, 730});
  // What the top-level window of the application does with the message.
  recorder().SetReaction(
      [](HWND target, UINT message, WPARAM, LPARAM lparam) -> std::optional<LRESULT> {
        if (message != WM_DPICHANGED) {
          return std::nullopt;
        }
        const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
        SetWindowPos(target, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
      });
  recorder().Clear();
  const RECT suggested = win32_desktop::SimulateDpiChange(window, 120);
  // The client area (1264 x 681) scales by 1.25 inside the 120 DPI frame.
  EXPECT_EQ(suggested, (RECT{10, 10, 10 + 1580 + 20, 10 + 851 + 39 + 10}));
  EXPECT_EQ(recorder().Ids(window, {WM_DPICHANGED, WM_SIZE}),
            (std::vector<UINT>{WM_DPICHANGED, WM_SIZE}));
  for (const RecordedMessage& message : recorder().Of(window)) {
    if (message.message == WM_DPICHANGED) {
      EXPECT_EQ(message.wparam, MAKEWPARAM(120, 120));
    }
  }
  EXPECT_EQ(WindowRect(window), suggested);
  EXPECT_EQ(ClientRect(window), (RECT{0, 0, 1580, 851}));
  EXPECT_EQ(GetDpiForWindow(window), 120u);
  EXPECT_EQ(win32_desktop::InspectWindow(window)->last_suggested_dpi_rect, suggested);
}

TEST_F(WindowPlacementTest, MovingToAMonitorOfAnotherDpiSendsDpiChanged) {
  win32_desktop::SetMonitors({{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96},
                              {{1920, 0, 3840, 1080}, {1920, 0, 3840, 1040}, 144}});
  HWND window = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 500, 400});
  recorder().Clear();
  SetWindowPos(window, nullptr, 2000, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  const std::vector<RecordedMessage> messages = recorder().Of(window);
  const auto dpi_changed = std::find_if(messages.begin(), messages.end(), [](const auto& message) {
    return message.message == WM_DPICHANGED;
  });
  ASSERT_NE(dpi_changed, messages.end());
  EXPECT_EQ(dpi_changed->wparam, MAKEWPARAM(144, 144));
  // 384 x 261 client pixels become 576 x 392 inside the 144 DPI frame.
  EXPECT_EQ(*win32_desktop::InspectWindow(window)->last_suggested_dpi_rect,
            (RECT{2000, 100, 2000 + 576 + 24, 100 + 392 + 47 + 12}));
  EXPECT_EQ(MonitorFromWindow(window, MONITOR_DEFAULTTONULL), win32_desktop::ListMonitors()[1]);
}

TEST_F(WindowPlacementTest, MonitorLookupFollowsTheFlags) {
  win32_desktop::SetMonitors({{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96},
                              {{1920, 0, 3840, 1080}, {1920, 0, 3840, 1040}, 144}});
  const std::vector<HMONITOR> monitors = win32_desktop::ListMonitors();
  EXPECT_EQ(MonitorFromPoint({10, 10}, MONITOR_DEFAULTTONULL), monitors[0]);
  EXPECT_EQ(MonitorFromPoint({1920, 0}, MONITOR_DEFAULTTONULL), monitors[1]);
  EXPECT_EQ(MonitorFromPoint({5000, 10}, MONITOR_DEFAULTTONULL), nullptr);
  EXPECT_EQ(MonitorFromPoint({5000, 10}, MONITOR_DEFAULTTONEAREST), monitors[1]);
  EXPECT_EQ(MonitorFromPoint({5000, 10}, MONITOR_DEFAULTTOPRIMARY), monitors[0]);
  EXPECT_EQ(MonitorFromPoint({-50, -50}, MONITOR_DEFAULTTONEAREST), monitors[0]);

  MONITORINFOEXW info = {};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetMonitorInfoW(monitors[1], &info));
  EXPECT_EQ(info.rcMonitor, (RECT{1920, 0, 3840, 1080}));
  EXPECT_EQ(info.rcWork, (RECT{1920, 0, 3840, 1040}));
  EXPECT_EQ(info.dwFlags, 0u);
  EXPECT_EQ(std::wstring(info.szDevice), L"\\\\.\\DISPLAY2");
  MONITORINFO basic = {};
  basic.cbSize = sizeof(basic);
  ASSERT_TRUE(GetMonitorInfoW(monitors[0], &basic));
  EXPECT_EQ(basic.dwFlags, static_cast<DWORD>(MONITORINFOF_PRIMARY));
  basic.cbSize = 12;
  EXPECT_FALSE(GetMonitorInfoW(monitors[0], &basic));

  UINT dpi_x = 0;
  UINT dpi_y = 0;
  EXPECT_EQ(GetDpiForMonitor(monitors[1], MDT_EFFECTIVE_DPI, &dpi_x, &dpi_y), S_OK);
  EXPECT_EQ(dpi_x, 144u);
  EXPECT_EQ(dpi_y, 144u);
  EXPECT_EQ(GetDpiForMonitor(reinterpret_cast<HMONITOR>(0x99), MDT_EFFECTIVE_DPI, &dpi_x, &dpi_y),
            E_INVALIDARG);
}

TEST_F(WindowPlacementTest, DefaultMonitorTakesItsDpiFromTheEnvironment) {
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  UINT dpi = 0;
  UINT unused = 0;
  GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
  EXPECT_EQ(info.rcMonitor, (RECT{0, 0, 1920, 1080}));
  EXPECT_EQ(info.rcWork, (RECT{0, 0, 1920, 1040}));

  setenv("NORVALIS_MONITOR_DPI", "120", 1);
  win32_desktop::ResetDesktop();
  GetDpiForMonitor(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), MDT_EFFECTIVE_DPI, &dpi,
                   &unused);
  EXPECT_EQ(dpi, 120u);
  setenv("NORVALIS_MONITOR_DPI", "lots", 1);
  win32_desktop::ResetDesktop();
  GetDpiForMonitor(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), MDT_EFFECTIVE_DPI, &dpi,
                   &unused);
  EXPECT_EQ(dpi, 96u);
  unsetenv("NORVALIS_MONITOR_DPI");
}

TEST_F(WindowPlacementTest, DwmAttributesAreRecordedPerWindow) {
  HWND first = CreateTopLevel();
  HWND second = CreateTopLevel();
  const BOOL dark = TRUE;
  EXPECT_EQ(DwmSetWindowAttribute(first, DWMWA_USE_IMMERSIVE_DARK_MODE, &dark, sizeof(dark)), S_OK);
  BOOL read = FALSE;
  EXPECT_EQ(DwmGetWindowAttribute(first, DWMWA_USE_IMMERSIVE_DARK_MODE, &read, sizeof(read)), S_OK);
  EXPECT_EQ(read, TRUE);
  EXPECT_EQ(DwmGetWindowAttribute(second, DWMWA_USE_IMMERSIVE_DARK_MODE, &read, sizeof(read)),
            S_OK);
  EXPECT_EQ(read, FALSE);
  EXPECT_EQ(win32_desktop::InspectWindow(first)->dwm_attributes.at(DWMWA_USE_IMMERSIVE_DARK_MODE),
            1u);
  EXPECT_TRUE(win32_desktop::InspectWindow(second)->dwm_attributes.empty());

  EXPECT_EQ(DwmSetWindowAttribute(first, DWMWA_USE_IMMERSIVE_DARK_MODE, &dark, 2), E_INVALIDARG);
  EXPECT_EQ(DwmSetWindowAttribute(first, 9999, &dark, sizeof(dark)), E_INVALIDARG);
  EXPECT_EQ(DwmSetWindowAttribute(reinterpret_cast<HWND>(0x1234), DWMWA_USE_IMMERSIVE_DARK_MODE,
                                  &dark, sizeof(dark)),
            E_HANDLE);
}

}  // namespace
}  // namespace win32_test
