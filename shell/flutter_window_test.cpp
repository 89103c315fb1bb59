#include "shell/flutter_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine_bridge/flutter_view_controller.h"
#include "engine_bridge/recording_engine_library.h"
#include "ocr/ocr_channel.h"
#include "shell/recording_plugins.h"
#include "shell/shell_test_fixture.h"

namespace {

constexpr WindowOrigin kOrigin = {10, 10};
constexpr WindowSize kSize = {1280, 720};

// Notes, at the moment the window's destruction hook has run, whether the
// engine was gone and whether the quit message was already posted. The hook
// also runs when the window opens; only calls after `observing` is set count.
class ObservedFlutterWindow : public FlutterWindow {
 public:
  using FlutterWindow::FlutterWindow;

  bool observing = false;
  bool released = false;
  bool controller_destroyed_at_release = false;
  bool quit_posted_at_release = false;

 protected:
  void BeforeWindowReleased() override {
    FlutterWindow::BeforeWindowReleased();
    if (!observing || released) {
      return;
    }
    released = true;
    controller_destroyed_at_release =
        RecordingEngineLibrary::Get().CallCount("FlutterDesktopViewControllerDestroy") == 1;
    MSG message = {};
    quit_posted_at_release = PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
  }
};

class FlutterWindowTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    RecordingEngineLibrary::Get().Reset();
    ResetRecordedPlugins();
  }
  void TearDown() override {
    RecordingEngineLibrary::Get().Reset();
    ResetRecordedPlugins();
    ShellTest::TearDown();
  }

  static size_t PositionOf(const std::string& call) {
    const std::vector<std::string>& calls = RecordingEngineLibrary::Get().calls();
    return static_cast<size_t>(std::find(calls.begin(), calls.end(), call) - calls.begin());
  }

  ProjectBundle bundle_{L"data"};
};

TEST_F(FlutterWindowTest, RegistersThePluginsAndTheOcrChannelThenEmbedsTheViewThenWaitsForAFrame) {
  FlutterWindow window(bundle_);
  ASSERT_TRUE(window.OpenWindow(L"photos_norvalis", kOrigin, kSize));

  const std::vector<std::string>& calls = RecordingEngineLibrary::Get().calls();
  const size_t view_created = PositionOf("FlutterDesktopViewControllerGetView");
  const size_t first_plugin = PositionOf("AppLinksPluginCApiRegisterWithRegistrar");
  const size_t last_plugin = PositionOf("UrlLauncherWindowsRegisterWithRegistrar");
  const size_t ocr_channel =
      PositionOf(std::string("FlutterDesktopMessengerSetCallback:") + kOcrChannelName);
  const size_t embedded = PositionOf("FlutterDesktopViewGetHWND");
  const size_t frame_callback = PositionOf("FlutterDesktopEngineSetNextFrameCallback");
  const size_t redraw = PositionOf("FlutterDesktopViewControllerForceRedraw");
  ASSERT_LT(redraw, calls.size());
  ASSERT_LT(ocr_channel, calls.size());
  EXPECT_LT(view_created, first_plugin);
  EXPECT_LT(last_plugin, ocr_channel);
  EXPECT_LT(ocr_channel, embedded);
  EXPECT_LT(embedded, frame_callback);
  EXPECT_LT(frame_callback, redraw);
  EXPECT_EQ(RecordedPluginRegistrations().size(), 10u);
  ASSERT_EQ(RecordingEngineLibrary::Get().callback_registrations().size(), 1u);
  EXPECT_EQ(RecordingEngineLibrary::Get().callback_registrations()[0].channel, kOcrChannelName);

  const HWND view = RecordingEngineLibrary::Get().view_window();
  const auto view_state = win32_desktop::InspectWindow(view);
  ASSERT_TRUE(view_state.has_value());
  EXPECT_EQ(view_state->parent, window.native_window());
}

TEST_F(FlutterWindowTest, IsShownNormallyOnlyOnceTheEngineHasDrawnAFrame) {
  FlutterWindow window(bundle_);
  ASSERT_TRUE(window.OpenWindow(L"photos_norvalis", kOrigin, kSize));
  EXPECT_FALSE(IsWindowVisible(window.native_window()));

  ASSERT_TRUE(RecordingEngineLibrary::Get().DrawFrame());
  const auto state = win32_desktop::InspectWindow(window.native_window());
  EXPECT_TRUE(state->visible);
  EXPECT_EQ(state->show_state, win32_desktop::ShowState::kNormal);
  EXPECT_EQ(GetFocus(), RecordingEngineLibrary::Get().view_window());
  // The callback ran once; a later frame has nothing to run.
  EXPECT_FALSE(RecordingEngineLibrary::Get().DrawFrame());
}

TEST_F(FlutterWindowTest, TheViewHasTheClientAreaSizeInPhysicalPixels) {
  SetSingleMonitorDpi(144);
  FlutterWindow window(bundle_);
  ASSERT_TRUE(window.OpenWindow(L"photos_norvalis", kOrigin, kSize));

  const auto state = win32_desktop::InspectWindow(window.native_window());
  EXPECT_EQ(state->window_rect.right - state->window_rect.left, 1920);
  EXPECT_EQ(state->window_rect.bottom - state->window_rect.top, 1080);
  const auto view_size = RecordingEngineLibrary::Get().last_view_size();
  ASSERT_TRUE(view_size.has_value());
  EXPECT_EQ(view_size->first, state->client_rect.right - state->client_rect.left);
  EXPECT_EQ(view_size->second, state->client_rect.bottom - state->client_rect.top);
  EXPECT_LT(view_size->first, 1920);
  EXPECT_LT(view_size->second, 1080);
}

TEST_F(FlutterWindowTest, AnEngineThatCannotStartFailsTheWindowBeforeAnythingIsRegistered) {
  RecordingEngineLibrary::Get().set_view_controller_create_fails(true);
  FlutterWindow window(bundle_);

  testing::internal::CaptureStderr();
  EXPECT_FALSE(window.OpenWindow(L"photos_norvalis", kOrigin, kSize));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            std::string(flutter::FlutterViewController::kCreateFailedDiagnostic) + "\n");

  EXPECT_TRUE(RecordedPluginRegistrations().empty());
  EXPECT_TRUE(RecordingEngineLibrary::Get().callback_registrations().empty());
  EXPECT_EQ(RecordingEngineLibrary::Get().CallCount("FlutterDesktopViewGetHWND"), 0u);
  EXPECT_EQ(RecordingEngineLibrary::Get().CallCount("FlutterDesktopEngineSetNextFrameCallback"),
            0u);
  ASSERT_NE(window.native_window(), nullptr);
  EXPECT_FALSE(IsWindowVisible(window.native_window()));
}

TEST_F(FlutterWindowTest, AFontChangeTheEngineLeavesReloadsItsFonts) {
  FlutterWindow window(bundle_);
  ASSERT_TRUE(window.OpenWindow(L"photos_norvalis", kOrigin, kSize));

  EXPECT_EQ(SendMessageW(window.native_window(), WM_FONTCHANGE, 0, 0), 0);
  EXPECT_EQ(RecordingEngineLibrary::Get().CallCount("FlutterDesktopEngineReloadSystemFonts"), 1u);
  const auto& offered = RecordingEngineLibrary::Get().window_messages();
  ASSERT_FALSE(offered.empty());
  EXPECT_EQ(offered.back().message, static_cast<UINT>(WM_FONTCHANGE));
  EXPECT_EQ(offered.back().window, window.native_window());
}

TEST_F(FlutterWindowTest, MessagesTheEngineHandlesGetItsResultAndNothingElse) {
  FlutterWindow window(bundle_);
  ASSERT_TRUE(window.OpenWindow(L"photos_norvalis", kOrigin, kSize));
  const HWND view = RecordingEngineLibrary::Get().view_window();
  const RECT view_before = win32_desktop::InspectWindow(view)->window_rect;
  RecordingEngineLibrary::Get().set_top_level_window_proc_result(42);

  EXPECT_EQ(SendMessageW(window.native_window(), WM_FONTCHANGE, 0, 0), 42);
  EXPECT_EQ(RecordingEngineLibrary::Get().CallCount("FlutterDesktopEngineReloadSystemFonts"), 0u);
  // A resize the engine consumed does not reach the base, which would fit
  // the view to the new client area.
  SetWindowPos(window.native_window(), nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT view_after = win32_desktop::InspectWindow(view)->window_rect;
  EXPECT_EQ(view_after.right - view_after.left, view_before.right - view_before.left);
  EXPECT_EQ(view_after.bottom - view_after.top, view_before.bottom - view_before.top);
}

TEST_F(FlutterWindowTest, ClosingEndsTheEngineBeforeTheQuitMessageAndOnlyOnce) {
  ObservedFlutterWindow window(bundle_);
  ASSERT_TRUE(window.OpenWindow(L"photos_norvalis", kOrigin, kSize));
  window.SetEndsMessageLoop(true);
  window.observing = true;
  const HWND native = window.native_window();

  SendMessageW(native, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(native));
  EXPECT_TRUE(window.released);
  EXPECT_TRUE(window.controller_destroyed_at_release);
  EXPECT_FALSE(window.quit_posted_at_release);
  EXPECT_TRUE(DrainQueueSawQuit());
  EXPECT_EQ(RecordingEngineLibrary::Get().CallCount("FlutterDesktopEngineDestroy"), 0u);
}

TEST_F(FlutterWindowTest, DestroyingTheObjectEndsAnEngineThatIsStillRunning) {
  {
    FlutterWindow window(bundle_);
    ASSERT_TRUE(window.OpenWindow(L"photos_norvalis", kOrigin, kSize));
  }
  EXPECT_EQ(RecordingEngineLibrary::Get().CallCount("FlutterDesktopViewControllerDestroy"), 1u);
  EXPECT_TRUE(win32_desktop::TopLevelWindows().empty());
}

}  // namespace
