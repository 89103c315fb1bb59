// Drives the real entry point on a thread of its own, as the process's main
// thread would run it.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <memory>
#include <thread>

#include "shell/shell_test_fixture.h"
#include "shell/startup_lock.h"
#include "shell/win32_window.h"

namespace {

constexpr const wchar_t* kTitle = L"photos_norvalis";

HWND FindHostWindow() {
  return FindWindowW(Win32Window::kClassName, kTitle);
}

// What the launch thread reports once wWinMain has returned.
struct LaunchOutcome {
  int exit_code = -1;
  // CoInitializeEx on the same thread afterwards: S_OK when the entry point
  // left no apartment behind.
  HRESULT apartment_after = E_FAIL;
};

std::future<LaunchOutcome> Launch(std::vector<const char*> arguments) {
  Win32ProcessSetArguments(static_cast<int>(arguments.size()), arguments.data());
  return std::async(std::launch::async, [] {
    LaunchOutcome outcome;
    outcome.exit_code =
        wWinMain(GetModuleHandleW(nullptr), nullptr, GetCommandLineW(), SW_SHOWDEFAULT);
    outcome.apartment_after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    CoUninitialize();
    return outcome;
  });
}

// Waits for the launch's window, then closes it as the user would.
HWND CloseHostWindowWhenItAppears() {
  HWND window = nullptr;
  if (!ShellTest::WaitUntil([&] { return (window = FindHostWindow()) != nullptr; })) {
    return nullptr;
  }
  PostMessageW(window, WM_CLOSE, 0, 0);
  return window;
}

using EntryPointTest = ShellTest;

TEST_F(EntryPointTest, OpensTheHiddenScaledWindowAndExitsZeroWhenItIsClosed) {
  SetSingleMonitorDpi(120);
  std::future<LaunchOutcome> launch = Launch({"photos_norvalis", "a", "b c"});
  HWND window = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (window = FindHostWindow()) != nullptr; }));
  const auto state = win32_desktop::InspectWindow(window);
  ASSERT_TRUE(state.has_value());
  EXPECT_FALSE(state->visible);
  EXPECT_EQ(state->window_rect.left, 12);
  EXPECT_EQ(state->window_rect.top, 12);
  EXPECT_EQ(state->window_rect.right - state->window_rect.left, 1600);
  EXPECT_EQ(state->window_rect.bottom - state->window_rect.top, 900);
  EXPECT_NE(state->thread_id, GetCurrentThreadId());

  PostMessageW(window, WM_CLOSE, 0, 0);
  const LaunchOutcome outcome = launch.get();
  EXPECT_EQ(outcome.exit_code, 0);
  EXPECT_FALSE(IsWindow(window));
  // The single-threaded apartment was left again.
  EXPECT_EQ(outcome.apartment_after, S_OK);
}

TEST_F(EntryPointTest, ASecondLaunchForwardsAndExitsZeroWithoutStartingAnything) {
  std::future<LaunchOutcome> first = Launch({"photos_norvalis"});
  HWND running = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (running = FindHostWindow()) != nullptr; }));
  ShowWindow(running, SW_SHOWMINIMIZED);

  // Under a debugger without a console a first launch would allocate one.
  Win32ProcessSetDebugger(kWin32PresencePresent);
  const LaunchOutcome second = Launch({"photos_norvalis", "photos://x"}).get();
  EXPECT_EQ(second.exit_code, 0);
  // No apartment was entered, so none is left behind either.
  EXPECT_EQ(second.apartment_after, S_OK);
  EXPECT_EQ(Win32ProcessGetConsole(), kWin32NoConsole);
  EXPECT_EQ(win32_desktop::TopLevelWindows(), (std::vector<HWND>{running}));
  // Brought back by calls queued for the running window's thread.
  EXPECT_TRUE(WaitUntil([&] {
    const auto state = win32_desktop::InspectWindow(running);
    return state->visible && state->show_state == win32_desktop::ShowState::kNormal;
  }));
  EXPECT_EQ(GetForegroundWindow(), running);

  PostMessageW(running, WM_CLOSE, 0, 0);
  EXPECT_EQ(first.get().exit_code, 0);
}

TEST_F(EntryPointTest, AWindowThatCannotBeCreatedExitsOneWithoutShowingAnything) {
  // A class of that name whose windows refuse to be created.
  WNDCLASSW refusing = {};
  refusing.lpfnWndProc = [](HWND window, UINT message, WPARAM wparam, LPARAM lparam) -> LRESULT {
    return message == WM_NCCREATE ? FALSE : DefWindowProcW(window, message, wparam, lparam);
  };
  refusing.lpszClassName = Win32Window::kClassName;
  ASSERT_NE(RegisterClassW(&refusing), 0);

  const LaunchOutcome outcome = Launch({"photos_norvalis"}).get();
  EXPECT_EQ(outcome.exit_code, 1);
  EXPECT_TRUE(win32_desktop::TopLevelWindows().empty());
  // The next launch may start at once.
  EXPECT_TRUE(StartupLock(StartupLock::kApplicationLockName, 0).held());
}

// Another launch is starting and has no window yet: this one must neither
// start beside it nor give up on it.
TEST_F(EntryPointTest, ALaunchWaitsForAStartUpInProgressAndStartsWhenItEndsWithoutAWindow) {
  auto starting = std::make_unique<StartupLock>(StartupLock::kApplicationLockName, 0);
  ASSERT_TRUE(starting->held());
  std::future<LaunchOutcome> launch = Launch({"photos_norvalis"});
  EXPECT_EQ(launch.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
  EXPECT_EQ(FindHostWindow(), nullptr);

  starting.reset();
  ASSERT_NE(CloseHostWindowWhenItAppears(), nullptr);
  EXPECT_EQ(launch.get().exit_code, 0);
}

TEST_F(EntryPointTest, TheStartUpLetsTheNextLaunchProbeOnceItsWindowExists) {
  std::future<LaunchOutcome> launch = Launch({"photos_norvalis"});
  HWND window = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (window = FindHostWindow()) != nullptr; }));
  // Released once the window and its content exist, while the window runs.
  EXPECT_TRUE(StartupLock(StartupLock::kApplicationLockName, 10000).held());
  EXPECT_TRUE(IsWindow(window));
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(launch.get().exit_code, 0);
}

TEST_F(EntryPointTest, WithoutParentConsoleOrDebuggerNoConsoleIsCreated) {
  std::future<LaunchOutcome> launch = Launch({"photos_norvalis"});
  ASSERT_NE(CloseHostWindowWhenItAppears(), nullptr);
  EXPECT_EQ(launch.get().exit_code, 0);
  EXPECT_EQ(Win32ProcessGetConsole(), kWin32NoConsole);
}

TEST_F(EntryPointTest, TheParentConsoleIsUsedEvenUnderADebugger) {
  Win32ProcessSetParentConsole(kWin32PresencePresent);
  Win32ProcessSetDebugger(kWin32PresencePresent);
  std::future<LaunchOutcome> launch = Launch({"photos_norvalis"});
  ASSERT_NE(CloseHostWindowWhenItAppears(), nullptr);
  EXPECT_EQ(launch.get().exit_code, 0);
  EXPECT_EQ(Win32ProcessGetConsole(), kWin32AttachedConsole);
}

TEST_F(EntryPointTest, UnderADebuggerWithoutParentConsoleAConsoleIsAllocated) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const std::string console_output = testing::TempDir() + "entry_point_console.txt";
  // Allocating a console reopens the standard streams, so this runs in a child.
  EXPECT_EXIT(
      {
        Win32ProcessSetConsoleOutput(console_output.c_str());
        Win32ProcessSetDebugger(kWin32PresencePresent);
        std::future<LaunchOutcome> launch = Launch({"photos_norvalis"});
        const bool closed = CloseHostWindowWhenItAppears() != nullptr;
        const bool exited_zero = launch.get().exit_code == 0;
        std::_Exit(closed && exited_zero && Win32ProcessGetConsole() == kWin32AllocatedConsole ? 0
                                                                                               : 3);
      },
      testing::ExitedWithCode(0), "");
  std::remove(console_output.c_str());
}

}  // namespace
