#include "shell/running_instance.h"

#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app_links_plugin.h"
#include "shell/shell_test_fixture.h"
#include "shell/win32_window.h"

namespace {

constexpr const wchar_t* kTitle = L"photos_norvalis";
constexpr const wchar_t* kOtherClass = L"OTHER_TOP_LEVEL_CLASS";

// Stands in for the window of the instance that is already running: a
// window of its own thread, which runs its own message loop and records the
// links it is handed.
class RunningInstance {
 public:
  enum class Kind { kShellWindow, kOtherClass };

  // `show_command` < 0 leaves the window hidden, as before its first frame.
  RunningInstance(Kind kind, const std::wstring& title, int show_command) {
    std::promise<HWND> created;
    std::future<HWND> window = created.get_future();
    thread_ = std::thread(
        [this, kind, title, show_command, &created] { Run(kind, title, show_command, created); });
    window_ = window.get();
  }

  ~RunningInstance() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    thread_.join();
  }

  HWND window() const { return window_; }
  DWORD thread_id() const { return thread_id_; }

  std::vector<std::string> links() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return links_;
  }

 private:
  class LinkRecordingWindow : public Win32Window {
   public:
    explicit LinkRecordingWindow(RunningInstance* owner) : owner_(owner) {}

   protected:
    LRESULT HandleWindowMessage(HWND window,
                                UINT message,
                                WPARAM wparam,
                                LPARAM lparam) noexcept override {
      if (message == WM_COPYDATA) {
        return owner_->Record(lparam);
      }
      return Win32Window::HandleWindowMessage(window, message, wparam, lparam);
    }

   private:
    RunningInstance* owner_;
  };

  static LRESULT CALLBACK OtherClassProcedure(HWND window,
                                              UINT message,
                                              WPARAM wparam,
                                              LPARAM lparam) {
    if (message == WM_DESTROY) {
      PostQuitMessage(0);
      return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
  }

  LRESULT Record(LPARAM lparam) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
    if (data == nullptr || data->dwData != APP_LINKS_COPYDATA_ID) {
      return FALSE;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    links_.emplace_back(static_cast<const char*>(data->lpData), data->cbData);
    return TRUE;
  }

  void Run(Kind kind, const std::wstring& title, int show_command, std::promise<HWND>& created) {
    thread_id_ = GetCurrentThreadId();
    LinkRecordingWindow shell_window(this);
    HWND window = nullptr;
    if (kind == Kind::kShellWindow) {
      shell_window.SetEndsMessageLoop(true);
      shell_window.OpenWindow(title, {10, 10}, {640, 480});
      window = shell_window.native_window();
    } else {
      WNDCLASSW window_class = {};
      window_class.lpfnWndProc = OtherClassProcedure;
      window_class.lpszClassName = kOtherClass;
      RegisterClassW(&window_class);
      window = CreateWindowExW(0, kOtherClass, title.c_str(), WS_OVERLAPPEDWINDOW, 10, 10, 640, 480,
                               nullptr, nullptr, nullptr, nullptr);
    }
    if (show_command >= 0) {
      ShowWindow(window, show_command);
    }
    created.set_value(window);
    MSG message = {};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (kind == Kind::kOtherClass) {
      UnregisterClassW(kOtherClass, nullptr);
    }
  }

  mutable std::mutex mutex_;
  std::vector<std::string> links_;
  HWND window_ = nullptr;
  DWORD thread_id_ = 0;
  std::thread thread_;
};

void SetLaunchArguments(std::vector<const char*> arguments) {
  Win32ProcessSetArguments(static_cast<int>(arguments.size()), arguments.data());
}

TEST(ShowCommandForRunningWindowTest, RestoresMinimizedKeepsMaximizedShowsEverythingElseNormally) {
  EXPECT_EQ(ShowCommandForRunningWindow(SW_SHOWMINIMIZED), static_cast<UINT>(SW_RESTORE));
  EXPECT_EQ(ShowCommandForRunningWindow(SW_SHOWMAXIMIZED), static_cast<UINT>(SW_SHOWMAXIMIZED));
  for (const UINT other : {0u, 1u, 4u, 6u, 7u, 9u, 0xFFFFFFFFu}) {
    EXPECT_EQ(ShowCommandForRunningWindow(other), static_cast<UINT>(SW_SHOWNORMAL)) << other;
  }
}

struct ForwardCase {
  const char* name;
  int running_show_command;
  win32_desktop::ShowState expected_state;
};

class ForwardToRunningInstanceTest : public ShellTest,
                                     public testing::WithParamInterface<ForwardCase> {};

TEST_P(ForwardToRunningInstanceTest, HandsOverTheLinkThenRestoresRaisesAndFocusesTheWindow) {
  SetLaunchArguments({"photos_norvalis", "photos://album/caf\xC3\xA9", "ignored"});
  RunningInstance running(RunningInstance::Kind::kShellWindow, kTitle,
                          GetParam().running_show_command);
  // Something of this thread in front, so that raising is observable.
  const HWND front = CreatePlainWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ASSERT_EQ(win32_desktop::TopLevelWindows().front(), front);

  EXPECT_TRUE(ForwardToRunningInstance(kTitle));

  EXPECT_EQ(running.links(), (std::vector<std::string>{"photos://album/caf\xC3\xA9"}));
  const auto state = win32_desktop::InspectWindow(running.window());
  ASSERT_TRUE(state.has_value());
  EXPECT_TRUE(state->visible);
  EXPECT_EQ(state->show_state, GetParam().expected_state);
  EXPECT_EQ(win32_desktop::TopLevelWindows().front(), running.window());
  EXPECT_EQ(GetForegroundWindow(), running.window());
  DestroyWindow(front);
}

INSTANTIATE_TEST_SUITE_P(
    RunningStates,
    ForwardToRunningInstanceTest,
    testing::Values(ForwardCase{"Minimized", SW_SHOWMINIMIZED, win32_desktop::ShowState::kNormal},
                    ForwardCase{"Maximized", SW_SHOWMAXIMIZED,
                                win32_desktop::ShowState::kMaximized},
                    ForwardCase{"Hidden", -1, win32_desktop::ShowState::kNormal},
                    ForwardCase{"Normal", SW_SHOWNORMAL, win32_desktop::ShowState::kNormal}),
    [](const testing::TestParamInfo<ForwardCase>& info) { return std::string(info.param.name); });

using ForwardToRunningInstanceMatchTest = ShellTest;

TEST_F(ForwardToRunningInstanceMatchTest, WithoutALinkTheWindowIsStillBroughtBack) {
  SetLaunchArguments({"photos_norvalis"});
  RunningInstance running(RunningInstance::Kind::kShellWindow, kTitle, SW_SHOWMINIMIZED);
  EXPECT_TRUE(ForwardToRunningInstance(kTitle));
  EXPECT_TRUE(running.links().empty());
  EXPECT_EQ(win32_desktop::InspectWindow(running.window())->show_state,
            win32_desktop::ShowState::kNormal);
}

TEST_F(ForwardToRunningInstanceMatchTest, OnlyTheClassAndTitleTogetherMarkARunningInstance) {
  SetLaunchArguments({"photos_norvalis", "photos://x"});
  {
    RunningInstance other_title(RunningInstance::Kind::kShellWindow, L"photos_norvalis 2",
                                SW_SHOWMINIMIZED);
    EXPECT_FALSE(ForwardToRunningInstance(kTitle));
    EXPECT_TRUE(other_title.links().empty());
    EXPECT_EQ(win32_desktop::InspectWindow(other_title.window())->show_state,
              win32_desktop::ShowState::kMinimized);
  }
  {
    RunningInstance other_class(RunningInstance::Kind::kOtherClass, kTitle, SW_SHOWMINIMIZED);
    EXPECT_FALSE(ForwardToRunningInstance(kTitle));
    EXPECT_EQ(win32_desktop::InspectWindow(other_class.window())->show_state,
              win32_desktop::ShowState::kMinimized);
  }
}

TEST_F(ForwardToRunningInstanceMatchTest, AChildWindowWithTheClassAndTitleIsNotARunningInstance) {
  const HWND parent = CreatePlainWindow(nullptr, WS_OVERLAPPEDWINDOW);
  Win32Window child;
  ASSERT_TRUE(child.OpenWindow(kTitle, {10, 10}, {100, 100}));
  SetParent(child.native_window(), parent);
  EXPECT_FALSE(ForwardToRunningInstance(kTitle));
  child.ReleaseWindow();
  DestroyWindow(parent);
}

}  // namespace
