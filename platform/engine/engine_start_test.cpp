#include <gtest/gtest.h>
#include <unistd.h>
#include <win32_desktop_control.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine_bridge/engine_api.h"
#include "platform/engine/app_library.h"
#include "platform/engine/bundle_paths.h"
#include "platform/engine/testing/engine_test.h"

namespace engine_test {
namespace {

using EngineStartTest = EngineTest;

std::string TestDataFolderBesideExecutable() {
  std::vector<char> path(4096);
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
  const std::string executable(path.data(), length > 0 ? static_cast<size_t>(length) : 0);
  return executable.substr(0, executable.rfind('/') + 1);
}

TEST_F(EngineStartTest, EntrypointAndArgumentsReachTheApplicationAsCopies) {
  Listen("probe/main");
  {
    // The texts given to the engine are gone before it starts.
    const std::string entrypoint = "custom";
    const std::vector<std::string> arguments = {"one", "d\xC3\xA9j\xC3\xA0 vu"};
    ASSERT_NE(CreateEngine(entrypoint, arguments), nullptr);
  }
  ASSERT_NE(StartEngine(), nullptr);
  ASSERT_TRUE(PumpUntil([this] { return !MessagesOn("probe/main").empty(); }));
  EXPECT_EQ(MessagesOn("probe/main"),
            std::vector<std::string>{"custom|2|argv|one|d\xC3\xA9j\xC3\xA0 vu"});
}

TEST_F(EngineStartTest, NoArgumentsReachTheApplicationAsANullArray) {
  StartProbe();
  EXPECT_EQ(MessagesOn("probe/main"), std::vector<std::string>{"|0|null"});
}

TEST_F(EngineStartTest, RelativePathsWithBackslashesAreTakenFromTheExecutablesFolder) {
  char* previous = getcwd(nullptr, 0);
  // Away from the build folder, so that only the executable's folder helps.
  ASSERT_EQ(chdir("/"), 0);
  Listen("probe/main");
  CreateEngine("", {}, L"engine_test_data\\flutter_assets", L"engine_test_data\\icudtl.dat",
               L"engine_test_data\\probe_app.so");
  const bool started = StartEngine() != nullptr;
  EXPECT_EQ(chdir(previous), 0);
  free(previous);
  ASSERT_TRUE(started);
  EXPECT_TRUE(PumpUntil([this] { return !MessagesOn("probe/main").empty(); }));
}

TEST_F(EngineStartTest, UnusablePropertiesGiveNoEngine) {
  EXPECT_EQ(FlutterDesktopEngineCreate(nullptr), nullptr);
  const char* arguments[] = {"one", nullptr};
  FlutterDesktopEngineProperties properties = {};
  properties.entrypoint = "";
  properties.entrypoint_argc = 1;
  EXPECT_EQ(FlutterDesktopEngineCreate(&properties), nullptr);
  properties.entrypoint_argc = 2;
  properties.entrypoint_argv = arguments;
  EXPECT_EQ(FlutterDesktopEngineCreate(&properties), nullptr);
  properties.entrypoint_argc = -1;
  EXPECT_EQ(FlutterDesktopEngineCreate(&properties), nullptr);
}

TEST_F(EngineStartTest, AnEngineNotStartedRefusesMessagesAndEndsOnItsOwn) {
  ASSERT_NE(CreateEngine(), nullptr);
  bool accepted = true;
  ReplyRecord* reply = SendToApp("probe/echo", "early", &accepted);
  EXPECT_FALSE(accepted);
  EXPECT_TRUE(FlutterDesktopEngineDestroy(engine_));
  engine_ = nullptr;
  EXPECT_EQ(reply->calls, 0);
  EXPECT_TRUE(win32_desktop::WindowsOfThread(MainThread()).empty());
}

TEST_F(EngineStartTest, AStartedEngineEndsOnlyWithItsViewController) {
  StartProbe();
  EXPECT_FALSE(FlutterDesktopEngineDestroy(running_engine()));
  EXPECT_TRUE(FlutterDesktopMessengerIsAvailable(messenger_));
  // The engine's window and the view.
  EXPECT_EQ(win32_desktop::WindowsOfThread(MainThread()).size(), 2u);
  const std::optional<win32_desktop::WindowState> view =
      win32_desktop::InspectWindow(view_window());
  ASSERT_TRUE(view.has_value());
  EXPECT_EQ(view->client_rect.right, 640);
  EXPECT_EQ(view->client_rect.bottom, 480);
  EXPECT_NE(view->style & WS_CHILD, 0u);
}

struct StartFailure {
  const char* name;
  std::wstring assets;
  std::wstring icu;
  std::wstring app;
  const char* reason;
  // The path the line names.
  std::string path;
};

void PrintTo(const StartFailure& failure, std::ostream* out) {
  *out << failure.name;
}

class EngineStartFailureTest : public EngineTest,
                               public testing::WithParamInterface<StartFailure> {};

TEST_P(EngineStartFailureTest, PrintsOneLineWithTheReasonAndCreatesNoWindow) {
  const StartFailure& failure = GetParam();
  ASSERT_NE(CreateEngine("", {}, failure.assets, failure.icu, failure.app), nullptr);
  testing::internal::CaptureStderr();
  EXPECT_EQ(StartEngine(), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            std::string(failure.reason) + failure.path + "\n");
  EXPECT_TRUE(win32_desktop::WindowsOfThread(MainThread()).empty());
}

StartFailure Failure(const char* name,
                     const std::string& assets,
                     const std::string& icu,
                     const std::string& app,
                     const char* reason,
                     const std::string& path) {
  return {name, Wide(assets), Wide(icu), Wide(app), reason, path};
}

INSTANTIATE_TEST_SUITE_P(
    EachReason,
    EngineStartFailureTest,
    testing::Values(Failure("MissingAssets",
                            TestDataPath("no_assets"),
                            TestDataPath("icudtl.dat"),
                            TestDataPath("probe_app.so"),
                            norvalis_engine::kAssetsNotFound,
                            TestDataPath("no_assets")),
                    Failure("AssetsAreAFile",
                            TestDataPath("icudtl.dat"),
                            TestDataPath("icudtl.dat"),
                            TestDataPath("probe_app.so"),
                            norvalis_engine::kAssetsNotFound,
                            TestDataPath("icudtl.dat")),
                    Failure("RelativeAssetsNamedResolved",
                            "no_data\\flutter_assets",
                            TestDataPath("icudtl.dat"),
                            TestDataPath("probe_app.so"),
                            norvalis_engine::kAssetsNotFound,
                            TestDataFolderBesideExecutable() + "no_data/flutter_assets"),
                    Failure("MissingIcuData",
                            TestDataPath("flutter_assets"),
                            TestDataPath("no_icudtl.dat"),
                            TestDataPath("probe_app.so"),
                            norvalis_engine::kIcuDataNotFound,
                            TestDataPath("no_icudtl.dat")),
                    Failure("IcuDataIsAFolder",
                            TestDataPath("flutter_assets"),
                            TestDataPath("flutter_assets"),
                            TestDataPath("probe_app.so"),
                            norvalis_engine::kIcuDataNotFound,
                            TestDataPath("flutter_assets")),
                    Failure("MissingApp",
                            TestDataPath("flutter_assets"),
                            TestDataPath("icudtl.dat"),
                            TestDataPath("no_app.so"),
                            norvalis_engine::kAppCodeNotLoaded,
                            TestDataPath("no_app.so")),
                    Failure("AppWithoutEntryPoint",
                            TestDataPath("flutter_assets"),
                            TestDataPath("icudtl.dat"),
                            TestDataPath("no_entry_app.so"),
                            norvalis_engine::kAppMainMissing,
                            TestDataPath("no_entry_app.so"))),
    [](const testing::TestParamInfo<StartFailure>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace engine_test
