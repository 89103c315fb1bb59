// Starts the real Windows program as separate processes, each case from a
// copy of the bundle with an application of its own as data/app.so, and
// checks through the Windows API what the desktop shows and what the
// program prints. Meant for a real Win32 (Wine, Windows), where a second
// launch sees the first.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/link_printer.h"
#include "engine_bridge/flutter_view_controller.h"
#include "ocr/ocr_channel_handler.h"
#include "shell/startup_lock.h"
#include "tests/apps/test_app_lines.h"
#include "tests/win32_side.h"
#include "tests/windows/bundle_copy.h"

namespace fs = std::filesystem;

namespace {

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

constexpr wchar_t kClassName[] = L"FLUTTER_RUNNER_WIN32_WINDOW";
constexpr wchar_t kTitle[] = L"photos_norvalis";
// Generous: sixteen Wine processes starting at once on two cores are slow.
constexpr DWORD kStartMs = 60000;
constexpr DWORD kExitMs = 30000;

fs::path TestsFolder() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return fs::path(path).parent_path();
}

fs::path Bundle() {
  return TestsFolder() / NORVALIS_BUNDLE_FROM_TESTS;
}

fs::path TestApp(const char* name) {
  return TestsFolder() / NORVALIS_APPS_FROM_TESTS / name / "app.so";
}

HWND ProgramWindow() {
  return FindWindowW(kClassName, kTitle);
}

std::string Line(std::string_view prefix, std::string_view rest) {
  return std::string(prefix) + std::string(rest);
}

// Closes the program's window as the user would and expects the program to
// end with 0.
void CloseAndExpectExitZero(const LaunchedProgram& program, HWND window) {
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(kExitMs), 0u);
}

// The desktop's DPI as Wine reads it at each process's start (Windows
// reads it at sign-in); restored when the object goes.
class ScopedDesktopDpi {
 public:
  explicit ScopedDesktopDpi(DWORD dpi) {
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &key_, nullptr);
    DWORD size = sizeof(previous_);
    had_value_ = RegQueryValueExW(key_, kValue, nullptr, nullptr,
                                  reinterpret_cast<BYTE*>(&previous_), &size) == ERROR_SUCCESS;
    Set(dpi);
  }

  ~ScopedDesktopDpi() {
    if (had_value_) {
      Set(previous_);
    } else {
      RegDeleteValueW(key_, kValue);
    }
    RegCloseKey(key_);
  }

 private:
  static constexpr wchar_t kValue[] = L"LogPixels";

  void Set(DWORD dpi) {
    RegSetValueExW(key_, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
  }

  HKEY key_ = nullptr;
  DWORD previous_ = 0;
  bool had_value_ = false;
};

struct DpiCase {
  DWORD dpi;
  RECT outer;
};

class WindowAtDpiTest : public testing::TestWithParam<DpiCase> {};

TEST_P(WindowAtDpiTest, WindowHasItsClassTitleAndScaledFrameAndShowsAfterTheFirstFrame) {
  const DpiCase& expected = GetParam();
  const ScopedDesktopDpi dpi(expected.dpi);
  BundleCopy bundle(Bundle());
  bundle.AddData(TestApp("resident_app"));
  const auto program = bundle.Launch();
  ASSERT_TRUE(program->WaitForLine(std::string(kAfterFirstFrame), kStartMs))
      << program->ErrorText();
  EXPECT_THAT(program->OutputLines(), testing::IsSupersetOf({Line(kBeforeFirstFrame, kHidden),
                                                             Line(kAfterFirstFrame, kVisible)}));

  const HWND window = ProgramWindow();
  ASSERT_NE(window, nullptr);
  wchar_t text[64] = {};
  GetClassNameW(window, text, 64);
  EXPECT_STREQ(text, kClassName);
  GetWindowTextW(window, text, 64);
  EXPECT_STREQ(text, kTitle);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(GetParent(window), nullptr);

  RECT outer = {};
  GetWindowRect(window, &outer);
  EXPECT_EQ(outer.left, expected.outer.left);
  EXPECT_EQ(outer.top, expected.outer.top);
  EXPECT_EQ(outer.right, expected.outer.right);
  EXPECT_EQ(outer.bottom, expected.outer.bottom);

  // The client area is what the frame of an overlapped window at this DPI
  // leaves.
  RECT client = {};
  GetClientRect(window, &client);
  RECT framed = client;
  AdjustWindowRectExForDpi(&framed, WS_OVERLAPPEDWINDOW, FALSE, 0, expected.dpi);
  EXPECT_GT(client.right, 0);
  EXPECT_LT(client.right, outer.right - outer.left);
  EXPECT_EQ(framed.right - framed.left, outer.right - outer.left);
  EXPECT_EQ(framed.bottom - framed.top, outer.bottom - outer.top);

  CloseAndExpectExitZero(*program, window);
}

INSTANTIATE_TEST_SUITE_P(WindowsEndToEndTest,
                         WindowAtDpiTest,
                         testing::Values(DpiCase{96, {10, 10, 1290, 730}},
                                         DpiCase{144, {15, 15, 1935, 1095}}),
                         [](const testing::TestParamInfo<DpiCase>& info) {
                           return "Dpi" + std::to_string(info.param.dpi);
                         });

struct SecondLaunchCase {
  const char* name;
  int show_command;  // what the user did to the running window
  UINT show_state;   // what its placement says then
  bool maximized_after;
};

// The show state in `window`'s placement.
UINT ShowState(HWND window) {
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof(placement);
  GetWindowPlacement(window, &placement);
  return placement.showCmd;
}

class SecondLaunchTest : public testing::TestWithParam<SecondLaunchCase> {};

TEST_P(SecondLaunchTest, HandsOverItsLinkShowsTheRunningWindowAndExitsZero) {
  BundleCopy bundle(Bundle());
  bundle.AddData(TestApp("resident_app"));
  const auto first = bundle.Launch();
  ASSERT_TRUE(first->WaitForLine(std::string(kAfterFirstFrame), kStartMs)) << first->ErrorText();
  const HWND window = ProgramWindow();
  ASSERT_NE(window, nullptr);
  ShowWindow(window, GetParam().show_command);
  // Wine applies a state change to its X window later; the second launch
  // must see the state the user left.
  const auto settled = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (ShowState(window) != GetParam().show_state && std::chrono::steady_clock::now() < settled) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_EQ(ShowState(window), GetParam().show_state);

  const auto second = bundle.Launch({"norvalis://second"});
  EXPECT_EQ(second->WaitForExit(kExitMs), 0u);
  EXPECT_THAT(second->OutputLines(), IsEmpty());
  EXPECT_TRUE(first->WaitForLine(Line(kLinkLinePrefix, "norvalis://second"), kExitMs));

  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_FALSE(IsIconic(window));
  EXPECT_EQ(IsZoomed(window) != 0, GetParam().maximized_after);
  EXPECT_EQ(ShowState(window),
            static_cast<UINT>(GetParam().maximized_after ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL));
  EXPECT_EQ(GetForegroundWindow(), window);
  EXPECT_EQ(ProgramWindow(), window) << "the second launch opened a window of its own";

  CloseAndExpectExitZero(*first, window);
}

INSTANTIATE_TEST_SUITE_P(
    WindowsEndToEndTest,
    SecondLaunchTest,
    testing::Values(SecondLaunchCase{"Minimized", SW_MINIMIZE, SW_SHOWMINIMIZED, false},
                    SecondLaunchCase{"Maximized", SW_MAXIMIZE, SW_SHOWMAXIMIZED, true},
                    // Hiding keeps the placement's state.
                    SecondLaunchCase{"Hidden", SW_HIDE, SW_SHOWNORMAL, false}),
    [](const testing::TestParamInfo<SecondLaunchCase>& info) {
      return std::string(info.param.name) + "Window";
    });

TEST(WindowsEndToEndTest, LaunchArgumentsReachTheApplicationAsUtf8InOrder) {
  const std::vector<std::string> arguments = {
      "d\xC3\xA9j\xC3\xA0 vu",    // accented letters, and a space
      "say \"hi\"",               // quotes inside
      "",                         // empty
      "\xF0\x9D\x84\x9E clef",    // outside the Basic Multilingual Plane
      "C:\\folder with space\\",  // a backslash before the closing quote
  };
  BundleCopy bundle(Bundle());
  bundle.AddData(TestApp("resident_app"));
  const auto program = bundle.Launch(arguments);
  ASSERT_TRUE(program->WaitForLine(std::string(kAfterFirstFrame), kStartMs))
      << program->ErrorText();
  std::vector<std::string> printed;
  for (const std::string& line : program->OutputLines()) {
    if (line.rfind(kArgument, 0) == 0) {
      printed.push_back(line.substr(kArgument.size()));
    }
  }
  EXPECT_THAT(printed, ElementsAreArray(arguments));
  CloseAndExpectExitZero(*program, ProgramWindow());
}

enum class Breakage { kNoData, kNoIcuFile, kNoEntryPoint };

class BrokenBundleTest : public testing::TestWithParam<Breakage> {};

TEST_P(BrokenBundleTest, ExitsOneAfterTheDiagnosticWithoutEverShowingAWindow) {
  BundleCopy bundle(Bundle());
  switch (GetParam()) {
    case Breakage::kNoData:
      break;
    case Breakage::kNoIcuFile:
      bundle.AddAssetsFolder();
      bundle.AddApplication(TestApp("resident_app"));
      break;
    case Breakage::kNoEntryPoint:
      bundle.AddData(TestApp("entryless_app"));
      break;
  }
  const auto program = bundle.Launch();
  // Watched all along: a window shown for a moment would count.
  bool shown = false;
  std::optional<DWORD> exit_code;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartMs);
  while (!(exit_code = program->WaitForExit(1)) && std::chrono::steady_clock::now() < deadline) {
    const HWND window = ProgramWindow();
    shown = shown || (window != nullptr && IsWindowVisible(window));
  }
  EXPECT_EQ(exit_code, 1u);
  EXPECT_FALSE(shown);
  EXPECT_THAT(program->ErrorText(),
              HasSubstr(std::string(flutter::FlutterViewController::kCreateFailedDiagnostic)));
}

INSTANTIATE_TEST_SUITE_P(WindowsEndToEndTest,
                         BrokenBundleTest,
                         testing::Values(Breakage::kNoData,
                                         Breakage::kNoIcuFile,
                                         Breakage::kNoEntryPoint),
                         [](const testing::TestParamInfo<Breakage>& info) {
                           switch (info.param) {
                             case Breakage::kNoData:
                               return "NoDataFolder";
                             case Breakage::kNoIcuFile:
                               return "NoIcuFile";
                             case Breakage::kNoEntryPoint:
                               return "AppWithoutEntryPoint";
                           }
                           return "";
                         });

// Launches that race, as a file manager opening several links at once:
// exactly one instance stays, and it has every launch's link.
TEST(WindowsEndToEndTest, LaunchesStartedTogetherLeaveOneInstanceWithEveryLink) {
  constexpr int kLaunches = 16;
  BundleCopy bundle(Bundle());
  bundle.AddData(TestApp("resident_app"));
  std::vector<std::unique_ptr<LaunchedProgram>> launches;
  std::set<std::string> links;
  for (int i = 0; i < kLaunches; ++i) {
    const std::string link = "norvalis://race/" + std::to_string(i);
    links.insert(link);
    launches.push_back(bundle.Launch({link}));
  }

  // Each launch ends up forwarding (it exits) or running (it drew a frame).
  std::vector<const LaunchedProgram*> running;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartMs);
  for (const auto& launch : launches) {
    for (;;) {
      if (launch->WaitForExit(5)) {
        EXPECT_EQ(launch->WaitForExit(0), 0u) << launch->ErrorText();
        break;
      }
      const auto& lines = launch->OutputLines();
      if (std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
            return line.rfind(kAfterFirstFrame, 0) == 0;
          })) {
        running.push_back(launch.get());
        break;
      }
      ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "a launch neither ran nor ended";
    }
  }
  std::printf("race: %zu of %d launches left running\n", running.size(), kLaunches);
  ASSERT_EQ(running.size(), 1u);

  // Its own link as its argument, the others forwarded before they exited.
  // A forwarded link has reached the host when its launch exits; the
  // application prints it a moment later, on its own thread.
  const LaunchedProgram& instance = *running.front();
  std::set<std::string> received;
  const auto printed = std::chrono::steady_clock::now() + std::chrono::milliseconds(kExitMs);
  while (received != links && std::chrono::steady_clock::now() < printed) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    received.clear();
    for (const std::string& line : instance.OutputLines()) {
      if (line.rfind(kArgument, 0) == 0) {
        received.insert(line.substr(kArgument.size()));
      } else if (line.rfind(kLinkLinePrefix, 0) == 0) {
        received.insert(line.substr(kLinkLinePrefix.size()));
      }
    }
  }
  std::printf("race: the instance printed %zu of %d links\n", received.size(), kLaunches);
  EXPECT_EQ(received, links);
  CloseAndExpectExitZero(instance, ProgramWindow());
}

// A start-up that crashed before its window existed: it took the startup
// lock and its thread ended without releasing it. The launch waiting for it
// starts in its place, with its own link.
TEST(WindowsEndToEndTest, ALaunchWaitingForAStartUpThatCrashedStartsInItsPlace) {
  BundleCopy bundle(Bundle());
  bundle.AddData(TestApp("resident_app"));
  std::unique_ptr<LaunchedProgram> launch;
  std::thread([&] {
    const HANDLE lock = CreateMutexW(nullptr, TRUE, StartupLock::kApplicationLockName);
    ASSERT_NE(lock, nullptr);
    ASSERT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    launch = bundle.Launch({"norvalis://after-crash"});
    // Waiting, not starting, while the lock is held.
    EXPECT_FALSE(launch->WaitForLine(std::string(kBeforeFirstFrame), 1000));
    EXPECT_FALSE(launch->WaitForExit(0));
    EXPECT_EQ(ProgramWindow(), nullptr);
    CloseHandle(lock);
  }).join();
  ASSERT_NE(launch, nullptr);
  ASSERT_TRUE(launch->WaitForLine(std::string(kAfterFirstFrame), kStartMs)) << launch->ErrorText();
  EXPECT_THAT(launch->OutputLines(), testing::Contains(Line(kArgument, "norvalis://after-crash")));
  CloseAndExpectExitZero(*launch, ProgramWindow());
}

// Wine has no Windows Runtime OCR classes, so there the answer is the error
// with the platform's text; on Windows it is the receipt's text. Either way
// the program ends by itself.
TEST(WindowsEndToEndTest, MainJobAnswersForAnImageAndExitsZero) {
  BundleCopy bundle(Bundle());
  bundle.AddBundleData();
  const fs::path image = bundle.data() / "flutter_assets" / "samples" / "english_receipt.png";
  const auto program = bundle.Launch({Utf16ToUtf8String(image.wstring())});
  ASSERT_EQ(program->WaitForExit(kStartMs), 0u) << program->ErrorText();
  if (RunningOnWine()) {
    EXPECT_THAT(program->OutputLines(), IsEmpty());
    EXPECT_THAT(program->ErrorText(), StartsWith(std::string(kOcrFailedCode) + ": "));
    EXPECT_GT(program->ErrorText().size(), sizeof(kOcrFailedCode) + 2);
  } else {
    EXPECT_THAT(program->OutputLines(), testing::Not(IsEmpty()));
    EXPECT_EQ(program->ErrorText(), "");
  }
}

}  // namespace
