#include "engine_bridge/flutter_view_controller.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "engine_bridge/flutter_engine.h"
#include "engine_bridge/recording_engine_library.h"
#include "engine_bridge/stopped_exception.h"
#include "shell/project_bundle.h"

namespace flutter {
namespace {

using testing::ElementsAre;

class FlutterViewControllerTest : public testing::Test {
 protected:
  void SetUp() override { library().Reset(); }
  void TearDown() override { library().Reset(); }

  static RecordingEngineLibrary& library() { return RecordingEngineLibrary::Get(); }

  static size_t Calls(const char* name) { return library().CallCount(name); }

  // The position of the first entry `entry` in the call log.
  static size_t PositionOf(const std::string& entry) {
    const auto& calls = library().calls();
    return static_cast<size_t>(std::find(calls.begin(), calls.end(), entry) - calls.begin());
  }

  ProjectBundle bundle_{L"data"};
};

TEST_F(FlutterViewControllerTest, EngineIsCreatedFromTheBundle) {
  bundle_.engine_setting_1 = 7;
  bundle_.engine_setting_2 = -3;
  { FlutterEngine engine(bundle_); }
  const auto& bare = library().last_properties();
  ASSERT_TRUE(bare.has_value());
  EXPECT_EQ(bare->assets_dir, L"data\\flutter_assets");
  EXPECT_EQ(bare->icu_file, L"data\\icudtl.dat");
  EXPECT_EQ(bare->aot_file, L"data\\app.so");
  EXPECT_EQ(bare->entrypoint, std::optional<std::string>(""));
  EXPECT_EQ(bare->entrypoint_argc, 0);
  EXPECT_TRUE(bare->entrypoint_argv_null);
  EXPECT_EQ(bare->engine_setting_1, 7);
  EXPECT_EQ(bare->engine_setting_2, -3);

  bundle_.entrypoint = "main";
  bundle_.entrypoint_args = {"a.png", "", "caf\xC3\xA9"};
  { FlutterEngine engine(bundle_); }
  const auto& with_args = library().last_properties();
  EXPECT_EQ(with_args->entrypoint, std::optional<std::string>("main"));
  EXPECT_EQ(with_args->entrypoint_argc, 3);
  EXPECT_FALSE(with_args->entrypoint_argv_null);
  EXPECT_THAT(with_args->entrypoint_args, ElementsAre("a.png", "", "caf\xC3\xA9"));
}

TEST_F(FlutterViewControllerTest, OnlyAnOwningEngineWrapperEndsTheEngine) {
  { FlutterEngine engine(bundle_); }
  EXPECT_EQ(Calls("FlutterDesktopEngineDestroy"), 1u);
  {
    FlutterEngine engine(bundle_);
    EXPECT_NE(engine.ReleaseEngineOwnership(), nullptr);
  }
  EXPECT_EQ(Calls("FlutterDesktopEngineDestroy"), 1u);
  library().set_engine_create_fails(true);
  { FlutterEngine engine(bundle_); }
  EXPECT_EQ(Calls("FlutterDesktopEngineDestroy"), 1u);
}

TEST_F(FlutterViewControllerTest, FailedCreationLeavesAnEngineWithoutView) {
  library().set_view_controller_create_fails(true);
  testing::internal::CaptureStderr();
  auto controller = std::make_unique<FlutterViewController>(800, 600, bundle_);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            std::string(FlutterViewController::kCreateFailedDiagnostic) + "\n");
  EXPECT_EQ(controller->GetView(), nullptr);
  EXPECT_NE(controller->GetEngine(), nullptr);

  controller->RequestRedraw();
  EXPECT_EQ(controller->PreviewWindowMessage(nullptr, WM_FONTCHANGE, 0, 0), std::nullopt);
  controller.reset();
  EXPECT_EQ(Calls("FlutterDesktopViewControllerForceRedraw"), 0u);
  EXPECT_EQ(Calls("FlutterDesktopViewControllerHandleTopLevelWindowProc"), 0u);
  EXPECT_EQ(Calls("FlutterDesktopViewControllerDestroy"), 0u);
  EXPECT_EQ(Calls("FlutterDesktopEngineDestroy"), 0u);
}

TEST_F(FlutterViewControllerTest, WorkingControllerShowsTheLibrarysViewAndEndsItOnce) {
  auto controller = std::make_unique<FlutterViewController>(1280, 720, bundle_);
  ASSERT_NE(controller->GetView(), nullptr);
  EXPECT_EQ(library().last_view_size(), std::make_pair(1280, 720));
  const HWND view = controller->GetView()->WindowHandle();
  EXPECT_NE(view, nullptr);
  EXPECT_EQ(view, library().view_window());
  EXPECT_TRUE(IsWindow(view));

  // A handler whose destruction is logged shows when the messenger goes.
  auto marker = std::shared_ptr<void>(
      nullptr, [](void*) { RecordingEngineLibrary::Get().Record("handler destroyed"); });
  controller->GetEngine()->GetBinaryMessenger()->SetChannelHandler(
      "a", [marker](const uint8_t*, size_t, ReplyCallback) {});
  marker.reset();

  controller.reset();
  EXPECT_EQ(Calls("FlutterDesktopViewControllerDestroy"), 1u);
  EXPECT_EQ(Calls("FlutterDesktopEngineDestroy"), 0u);
  EXPECT_FALSE(IsWindow(view));
  EXPECT_LT(PositionOf("FlutterDesktopViewControllerDestroy"), PositionOf("handler destroyed"));
}

TEST_F(FlutterViewControllerTest, EachNextFrameRequestRunsOnce) {
  FlutterViewController controller(100, 100, bundle_);
  FlutterEngine* engine = controller.GetEngine();
  std::vector<std::string> runs;
  auto token = std::make_shared<int>(0);
  engine->OnNextFrame([&runs, token] { runs.push_back("first"); });
  EXPECT_TRUE(library().DrawFrame());
  EXPECT_FALSE(library().DrawFrame());
  EXPECT_THAT(runs, ElementsAre("first"));
  EXPECT_EQ(token.use_count(), 1) << "a callback that ran must be let go";

  // Asking again from inside the callback waits for the frame after.
  engine->OnNextFrame([&runs, engine] {
    runs.push_back("second");
    engine->OnNextFrame([&runs] { runs.push_back("third"); });
  });
  EXPECT_TRUE(library().DrawFrame());
  EXPECT_TRUE(library().DrawFrame());
  EXPECT_FALSE(library().DrawFrame());
  EXPECT_THAT(runs, ElementsAre("first", "second", "third"));
}

TEST_F(FlutterViewControllerTest, AThrowingFrameCallbackIsReportedAndNotRunAgain) {
  FlutterViewController controller(100, 100, bundle_);
  int runs = 0;
  controller.GetEngine()->OnNextFrame([&runs] {
    ++runs;
    throw std::runtime_error("no frame");
  });
  testing::internal::CaptureStderr();
  EXPECT_TRUE(library().DrawFrame());
  EXPECT_FALSE(library().DrawFrame());
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            std::string(kExceptionStoppedAt) + "OnEngineFrame: no frame\n");
  EXPECT_EQ(runs, 1);
}

TEST_F(FlutterViewControllerTest, WindowMessageResultOnlyWhenTheEngineHandledIt) {
  FlutterViewController controller(100, 100, bundle_);
  const HWND window = reinterpret_cast<HWND>(0x1234);
  EXPECT_EQ(controller.PreviewWindowMessage(window, WM_FONTCHANGE, 1, 2), std::nullopt);
  library().set_top_level_window_proc_result(42);
  EXPECT_EQ(controller.PreviewWindowMessage(window, WM_DPICHANGED, 3, 4), LRESULT{42});

  const auto& messages = library().window_messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].window, window);
  EXPECT_EQ(messages[1].message, static_cast<UINT>(WM_DPICHANGED));
  EXPECT_EQ(messages[1].wparam, WPARAM{3});
  EXPECT_EQ(messages[1].lparam, LPARAM{4});

  controller.RequestRedraw();
  controller.GetEngine()->RefreshFonts();
  EXPECT_EQ(Calls("FlutterDesktopViewControllerForceRedraw"), 1u);
  EXPECT_EQ(Calls("FlutterDesktopEngineReloadSystemFonts"), 1u);
}

TEST_F(FlutterViewControllerTest, RegistrarsComeFromTheEngine) {
  FlutterViewController controller(100, 100, bundle_);
  FlutterEngine* engine = controller.GetEngine();
  const FlutterDesktopPluginRegistrarRef links = engine->LookupRegistrar("AppLinksPluginCApi");
  EXPECT_NE(links, nullptr);
  EXPECT_NE(engine->LookupRegistrar("UrlLauncherWindows"), links);
  EXPECT_EQ(engine->LookupRegistrar("AppLinksPluginCApi"), links);
  EXPECT_EQ(Calls("FlutterDesktopEngineGetPluginRegistrar:AppLinksPluginCApi"), 2u);
}

TEST_F(FlutterViewControllerTest, NullEngineRefusesRegistrarsAndIgnoresTheRest) {
  library().set_engine_create_fails(true);
  FlutterEngine engine(bundle_);
  testing::internal::CaptureStderr();
  EXPECT_EQ(engine.LookupRegistrar("AppLinksPluginCApi"), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            std::string(FlutterEngine::kEngineNotRunningDiagnostic) + "\n");
  EXPECT_EQ(Calls("FlutterDesktopEngineGetPluginRegistrar:AppLinksPluginCApi"), 0u);

  bool ran = false;
  engine.OnNextFrame([&ran] { ran = true; });
  engine.RefreshFonts();
  EXPECT_EQ(Calls("FlutterDesktopEngineSetNextFrameCallback"), 0u);
  EXPECT_EQ(Calls("FlutterDesktopEngineReloadSystemFonts"), 0u);
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace flutter
