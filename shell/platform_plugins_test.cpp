#include "shell/platform_plugins.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "engine_bridge/flutter_engine.h"
#include "engine_bridge/recording_engine_library.h"
#include "shell/project_bundle.h"
#include "shell/recording_plugins.h"

namespace {

const std::vector<std::string> kRegistrarNames = {
    "AppLinksPluginCApi",
    "AudioplayersWindowsPlugin",
    "CameraWindows",
    "ConnectivityPlusWindowsPlugin",
    "FileSelectorWindows",
    "FlutterSecureStorageWindowsPlugin",
    "GeolocatorWindows",
    "PermissionHandlerWindowsPlugin",
    "SharePlusWindowsPluginCApi",
    "UrlLauncherWindows",
};

const std::vector<std::string> kRegistrationFunctions = {
    "AppLinksPluginCApiRegisterWithRegistrar",
    "AudioplayersWindowsPluginRegisterWithRegistrar",
    "CameraWindowsRegisterWithRegistrar",
    "ConnectivityPlusWindowsPluginRegisterWithRegistrar",
    "FileSelectorWindowsRegisterWithRegistrar",
    "FlutterSecureStorageWindowsPluginRegisterWithRegistrar",
    "GeolocatorWindowsRegisterWithRegistrar",
    "PermissionHandlerWindowsPluginRegisterWithRegistrar",
    "SharePlusWindowsPluginCApiRegisterWithRegistrar",
    "UrlLauncherWindowsRegisterWithRegistrar",
};

// Hands out a registrar of its own per lookup and logs the lookup in the
// shared call log, so lookups and registrations can be ordered.
class RecordingRegistry : public flutter::PluginRegistry {
 public:
  FlutterDesktopPluginRegistrarRef LookupRegistrar(const std::string& plugin_name) override {
    RecordingEngineLibrary::Get().Record("lookup:" + plugin_name);
    auto* registrar =
        reinterpret_cast<FlutterDesktopPluginRegistrarRef>(&registrar_storage_[handed_out_.size()]);
    handed_out_.push_back(registrar);
    return registrar;
  }

  const std::vector<FlutterDesktopPluginRegistrarRef>& handed_out() const { return handed_out_; }

 private:
  std::array<int, 16> registrar_storage_ = {};
  std::vector<FlutterDesktopPluginRegistrarRef> handed_out_;
};

class PlatformPluginsTest : public testing::Test {
 protected:
  void SetUp() override {
    RecordingEngineLibrary::Get().Reset();
    ResetRecordedPlugins();
  }
  void TearDown() override { ResetRecordedPlugins(); }
};

TEST_F(PlatformPluginsTest, EachPluginGetsTheRegistrarOfItsOwnNameInTableOrder) {
  RecordingRegistry registry;
  AttachPlatformPlugins(&registry);

  std::vector<std::string> expected_log;
  for (size_t i = 0; i < kRegistrarNames.size(); ++i) {
    expected_log.push_back("lookup:" + kRegistrarNames[i]);
    expected_log.push_back(kRegistrationFunctions[i]);
  }
  EXPECT_EQ(RecordingEngineLibrary::Get().calls(), expected_log);

  const std::vector<RecordedRegistration>& registrations = RecordedPluginRegistrations();
  ASSERT_EQ(registrations.size(), kRegistrationFunctions.size());
  for (size_t i = 0; i < registrations.size(); ++i) {
    EXPECT_EQ(registrations[i].registrar, registry.handed_out()[i]) << registrations[i].function;
  }
}

TEST_F(PlatformPluginsTest, WithoutAnEngineEveryPluginIsStillCalledWithANullRegistrar) {
  RecordingEngineLibrary::Get().set_engine_create_fails(true);
  flutter::FlutterEngine engine(ProjectBundle(L"data"));

  testing::internal::CaptureStderr();
  AttachPlatformPlugins(&engine);
  const std::string diagnostics = testing::internal::GetCapturedStderr();

  std::string expected_diagnostics;
  for (size_t i = 0; i < kRegistrarNames.size(); ++i) {
    expected_diagnostics += std::string(flutter::FlutterEngine::kEngineNotRunningDiagnostic) + "\n";
  }
  EXPECT_EQ(diagnostics, expected_diagnostics);
  for (const std::string& call : RecordingEngineLibrary::Get().calls()) {
    EXPECT_EQ(call.rfind("FlutterDesktopEngineGetPluginRegistrar", 0), std::string::npos) << call;
  }

  const std::vector<RecordedRegistration>& registrations = RecordedPluginRegistrations();
  ASSERT_EQ(registrations.size(), kRegistrationFunctions.size());
  for (size_t i = 0; i < registrations.size(); ++i) {
    EXPECT_EQ(registrations[i].function, kRegistrationFunctions[i]);
    EXPECT_EQ(registrations[i].registrar, nullptr);
  }
}

}  // namespace
