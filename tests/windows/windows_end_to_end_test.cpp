// Starts the real Windows program as separate processes, each case from a
// copy of the bundle with an application of its own as data/app.so, and
// checks through the Windows API what the desktop shows and what the
// program prints. Meant for a real Win32 (Wine, Windows), where a second
// launch sees the first.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/link_printer.h"
#include "engine_bridge/flutter_view_controller.h"
#include "ocr/ocr_channel_handler.h"
#include "shell/running_instance.h"
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

// Whether `condition` holds within kExitMs.
bool Eventually(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kExitMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

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
  Eventually([this, &window] { return ShowState(window) == GetParam().show_state; });
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
  // Wine makes it the foreground window once its X window has the focus,
  // which a busy X server gives it later.
  Eventually([&window] { return GetForegroundWindow() == window; });
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

// An instance that does not answer: its window's thread stalled by the
// application, or its whole process suspended.
enum class Stall { kHungFromInside, kSuspended };

// A launch never waits on such an instance for long.
constexpr auto kLaunchBound = std::chrono::seconds(10);

// The error output without the carriage returns of the C runtime's text mode.
std::string ErrorLines(const LaunchedProgram& program) {
  std::string text = program.ErrorText();
  std::erase(text, '\r');
  return text;
}

// Suspends or resumes every thread of `process`.
void SetProcessSuspended(HANDLE process, bool suspended) {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetProcessId(process)) {
      const HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID);
      suspended ? SuspendThread(thread) : ResumeThread(thread);
      CloseHandle(thread);
    }
  }
  CloseHandle(snapshot);
}

// Whether `instance` prints every one of `links` in time.
bool PrintsLinks(const LaunchedProgram& instance, const std::set<std::string>& links) {
  return Eventually([&] {
    std::set<std::string> printed;
    for (const std::string& line : instance.OutputLines()) {
      if (line.rfind(kLinkLinePrefix, 0) == 0) {
        printed.insert(line.substr(kLinkLinePrefix.size()));
      }
    }
    return std::includes(printed.begin(), printed.end(), links.begin(), links.end());
  });
}

// Launches with `links`, all at once, once `at` has come.
std::vector<std::unique_ptr<LaunchedProgram>> LaunchAt(BundleCopy& bundle,
                                                       std::chrono::steady_clock::time_point at,
                                                       const std::vector<std::string>& links) {
  std::this_thread::sleep_until(at);
  std::vector<std::unique_ptr<LaunchedProgram>> launches;
  for (const std::string& link : links) {
    launches.push_back(bundle.Launch({link}));
  }
  return launches;
}

// Each launch ended within the bound, saying that its link was handed over
// but not confirmed. Prints the run times, for the record.
void ExpectNotConfirmedWithinTheBound(const std::vector<std::unique_ptr<LaunchedProgram>>& launches,
                                      const char* which) {
  for (const auto& launch : launches) {
    EXPECT_EQ(launch->WaitForExit(kExitMs), static_cast<DWORD>(RunningInstance::kExitNotConfirmed))
        << launch->ErrorText();
    const auto run_time = launch->RunTime();
    ASSERT_TRUE(run_time.has_value()) << "a launch is still running";
    EXPECT_LE(*run_time, kLaunchBound);
    EXPECT_EQ(ErrorLines(*launch),
              std::string(RunningInstance::kNotRespondingWithLinkDiagnostic) + "\n");
    std::printf("%s: a launch returned after %lld ms\n", which,
                static_cast<long long>(run_time->count()));
  }
}

class UnresponsiveInstanceTest : public testing::TestWithParam<Stall> {};

TEST_P(UnresponsiveInstanceTest, LaunchesReturnInTimeAndTheInstanceTakesTheirLinksOnceItAnswers) {
  const HANDLE release = CreateEventW(nullptr, TRUE, FALSE, kReleaseEventName);
  ResetEvent(release);
  BundleCopy bundle(Bundle());
  bundle.AddData(TestApp("stalling_app"));
  const auto instance = bundle.Launch();
  ASSERT_TRUE(instance->WaitForLine(std::string(kAfterFirstFrame), kStartMs))
      << instance->ErrorText();
  const HWND window = ProgramWindow();
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_MINIMIZE);
  ASSERT_TRUE(Eventually([&] { return IsIconic(window) != 0; }));

  if (GetParam() == Stall::kHungFromInside) {
    const auto hang = bundle.Launch({std::string(kHangLink)});
    ASSERT_EQ(hang->WaitForExit(kExitMs), 0u) << hang->ErrorText();
    ASSERT_TRUE(instance->WaitForLine(std::string(kStalled), kExitMs));
  } else {
    SetProcessSuspended(instance->process(), true);
  }
  const auto stalled = std::chrono::steady_clock::now();
  const std::vector<std::string> early = {"norvalis://early/0", "norvalis://early/1",
                                          "norvalis://early/2", "norvalis://early/3"};
  const std::vector<std::string> late = {"norvalis://late/0", "norvalis://late/1",
                                         "norvalis://late/2", "norvalis://late/3"};
  // Before and after the 5 s that make a window count as hung.
  const auto early_launches = LaunchAt(bundle, stalled + std::chrono::seconds(1), early);
  const auto late_launches = LaunchAt(bundle, stalled + std::chrono::seconds(10), late);
  ExpectNotConfirmedWithinTheBound(early_launches, "1 s after the stall");
  ExpectNotConfirmedWithinTheBound(late_launches, "10 s after the stall");
  EXPECT_TRUE(IsIconic(window));

  if (GetParam() == Stall::kHungFromInside) {
    SetEvent(release);
  } else {
    SetProcessSuspended(instance->process(), false);
  }
  CloseHandle(release);
  std::set<std::string> handed_over(early.begin(), early.end());
  handed_over.insert(late.begin(), late.end());
  EXPECT_TRUE(PrintsLinks(*instance, handed_over));
  EXPECT_TRUE(Eventually([&] { return IsIconic(window) == 0; }));

  // Answering again, it is forwarded to as usual.
  ShowWindow(window, SW_MINIMIZE);
  ASSERT_TRUE(Eventually([&] { return IsIconic(window) != 0; }));
  const auto after = bundle.Launch({"norvalis://answering"});
  EXPECT_EQ(after->WaitForExit(kExitMs), 0u) << after->ErrorText();
  EXPECT_EQ(after->ErrorText(), "");
  EXPECT_TRUE(PrintsLinks(*instance, {"norvalis://answering"}));
  EXPECT_TRUE(Eventually([&] { return IsIconic(window) == 0 && IsWindowVisible(window) != 0; }));
  EXPECT_EQ(ProgramWindow(), window) << "a launch opened a window of its own";
  CloseAndExpectExitZero(*instance, window);
}

INSTANTIATE_TEST_SUITE_P(WindowsEndToEndTest,
                         UnresponsiveInstanceTest,
                         testing::Values(Stall::kHungFromInside, Stall::kSuspended),
                         [](const testing::TestParamInfo<Stall>& info) {
                           return info.param == Stall::kHungFromInside ? "HungFromInside"
                                                                       : "ProcessSuspended";
                         });

// A long recognition blocks the instance's window thread for up to 30 s. A
// link opened meanwhile is queued for it: the launch returns saying so, and
// the instance opens the link when the recognition ends.
TEST(WindowsEndToEndTest, ALinkOpenedWhileTheInstanceIsBusyArrivesWhenItIsFree) {
  BundleCopy bundle(Bundle());
  bundle.AddData(TestApp("stalling_app"));
  const auto instance = bundle.Launch();
  ASSERT_TRUE(instance->WaitForLine(std::string(kAfterFirstFrame), kStartMs))
      << instance->ErrorText();
  const auto busy = bundle.Launch({std::string(kBusyLinkPrefix) + "20000"});
  ASSERT_EQ(busy->WaitForExit(kExitMs), 0u) << busy->ErrorText();
  ASSERT_TRUE(instance->WaitForLine(std::string(kStalled), kExitMs));
  const auto stalled = std::chrono::steady_clock::now();

  const auto meanwhile = LaunchAt(bundle, stalled + std::chrono::seconds(2),
                                  {"norvalis://busy/2s", "norvalis://busy/10s"});
  ExpectNotConfirmedWithinTheBound(meanwhile, "busy");
  EXPECT_FALSE(instance->WaitForLine(std::string(kAnswering), 0));

  ASSERT_TRUE(instance->WaitForLine(std::string(kAnswering), 30000));
  EXPECT_TRUE(PrintsLinks(*instance, {"norvalis://busy/2s", "norvalis://busy/10s"}));
  CloseAndExpectExitZero(*instance, ProgramWindow());
}

struct ClosingCase {
  const char* name;
  std::string_view instance_argument;
  DWORD exit_code;
  std::string expected_error;
};

class ClosingInstanceTest : public testing::TestWithParam<ClosingCase> {};

// The window closes as the link arrives: before it takes the link, or
// right after.
TEST_P(ClosingInstanceTest, ALaunchExitsZeroOnlyWhenItsLinkWasTaken) {
  BundleCopy bundle(Bundle());
  bundle.AddData(TestApp("stalling_app"));
  const auto instance = bundle.Launch({std::string(GetParam().instance_argument)});
  ASSERT_TRUE(instance->WaitForLine(std::string(kAfterFirstFrame), kStartMs))
      << instance->ErrorText();
  const auto launch = bundle.Launch({"norvalis://closing"});
  EXPECT_EQ(launch->WaitForExit(kExitMs), GetParam().exit_code);
  EXPECT_EQ(ErrorLines(*launch), GetParam().expected_error);
  EXPECT_EQ(instance->WaitForExit(kExitMs), 0u);
  const bool took = instance->WaitForLine(std::string(kTookLinkBeforeClosing) + "1", 0).has_value();
  EXPECT_EQ(took, GetParam().exit_code == 0);
}

INSTANTIATE_TEST_SUITE_P(
    WindowsEndToEndTest,
    ClosingInstanceTest,
    testing::Values(ClosingCase{"BeforeTakingIt", kCloseOnNextLink,
                                static_cast<DWORD>(RunningInstance::kExitNotHandedOver),
                                std::string(RunningInstance::kClosingDiagnostic) + "\n"},
                    ClosingCase{"AfterTakingIt", kCloseAfterNextLink, 0, ""}),
    [](const testing::TestParamInfo<ClosingCase>& info) { return std::string(info.param.name); });

}  // namespace
