#include "shell/running_instance.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
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
// links it is handed, or refuses them, or closes as one arrives. Block
// keeps its thread from taking messages, as a long task would.
class InstanceWindow {
 public:
  enum class Kind { kShellWindow, kOtherClass };
  enum class OnLink { kTake, kRefuse, kClose };

  // `show_command` < 0 leaves the window hidden, as before its first frame.
  InstanceWindow(Kind kind, const std::wstring& title, int show_command) {
    std::promise<HWND> created;
    std::future<HWND> window = created.get_future();
    thread_ = std::thread(
        [this, kind, title, show_command, &created] { Run(kind, title, show_command, created); });
    window_ = window.get();
  }

  ~InstanceWindow() {
    Release();
    PostMessageW(window_, WM_CLOSE, 0, 0);
    thread_.join();
    CloseHandle(release_);
    CloseHandle(blocked_);
  }

  void set_on_link(OnLink on_link) { on_link_ = on_link; }
  // Returns once the window's thread is blocked: a message sent before then
  // would run first, as sent messages do.
  void Block() {
    PostMessageW(window_, kBlockMessage, 0, 0);
    WaitForSingleObject(blocked_, INFINITE);
  }
  void Release() { SetEvent(release_); }

  HWND window() const { return window_; }
  DWORD thread_id() const { return thread_id_; }

  std::vector<std::string> links() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return links_;
  }

 private:
  class LinkRecordingWindow : public Win32Window {
   public:
    explicit LinkRecordingWindow(InstanceWindow* owner) : owner_(owner) {}

   protected:
    LRESULT HandleWindowMessage(HWND window,
                                UINT message,
                                WPARAM wparam,
                                LPARAM lparam) noexcept override {
      switch (message) {
        case WM_COPYDATA:
          if (owner_->on_link_ == OnLink::kClose) {
            DestroyWindow(window);
            return FALSE;
          }
          return owner_->Record(lparam);
        case kBlockMessage:
          SetEvent(owner_->blocked_);
          WaitForSingleObject(owner_->release_, INFINITE);
          return 0;
      }
      return Win32Window::HandleWindowMessage(window, message, wparam, lparam);
    }

   private:
    InstanceWindow* owner_;
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

  static constexpr UINT kBlockMessage = WM_APP + 1;

  LRESULT Record(LPARAM lparam) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
    if (data == nullptr || data->dwData != APP_LINKS_COPYDATA_ID || on_link_ == OnLink::kRefuse) {
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
  std::atomic<OnLink> on_link_{OnLink::kTake};
  HANDLE blocked_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
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

class HandOverTest : public ShellTest, public testing::WithParamInterface<ForwardCase> {};

// The window is brought back by calls queued for its thread: it has when
// its thread has run them.
bool BroughtBack(HWND window, win32_desktop::ShowState expected_state) {
  return ShellTest::WaitUntil([&] {
    const auto state = win32_desktop::InspectWindow(window);
    return state.has_value() && state->visible && state->show_state == expected_state &&
           win32_desktop::TopLevelWindows().front() == window;
  });
}

TEST_P(HandOverTest, HandsOverTheLinkThenRestoresRaisesAndFocusesTheWindow) {
  SetLaunchArguments({"photos_norvalis", "photos://album/caf\xC3\xA9", "ignored"});
  InstanceWindow running(InstanceWindow::Kind::kShellWindow, kTitle,
                         GetParam().running_show_command);
  // Something of this thread in front, so that raising is observable.
  const HWND front = CreatePlainWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ASSERT_EQ(win32_desktop::TopLevelWindows().front(), front);

  const std::optional<RunningInstance> instance = RunningInstance::Find(kTitle);
  ASSERT_TRUE(instance.has_value());
  EXPECT_EQ(instance->window(), running.window());
  testing::internal::CaptureStderr();
  EXPECT_EQ(instance->HandOver(true), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

  EXPECT_EQ(running.links(), (std::vector<std::string>{"photos://album/caf\xC3\xA9"}));
  EXPECT_TRUE(BroughtBack(running.window(), GetParam().expected_state));
  EXPECT_EQ(GetForegroundWindow(), running.window());
  DestroyWindow(front);
}

INSTANTIATE_TEST_SUITE_P(
    RunningStates,
    HandOverTest,
    testing::Values(ForwardCase{"Minimized", SW_SHOWMINIMIZED, win32_desktop::ShowState::kNormal},
                    ForwardCase{"Maximized", SW_SHOWMAXIMIZED,
                                win32_desktop::ShowState::kMaximized},
                    ForwardCase{"Hidden", -1, win32_desktop::ShowState::kNormal},
                    ForwardCase{"Normal", SW_SHOWNORMAL, win32_desktop::ShowState::kNormal}),
    [](const testing::TestParamInfo<ForwardCase>& info) { return std::string(info.param.name); });

using RunningInstanceTest = ShellTest;

// Short, so that the cases stay quick; the program's own are seconds.
constexpr RunningInstance::Bounds kShortBounds = {100, 300, 100};

TEST_F(RunningInstanceTest, WithoutALinkTheWindowIsStillBroughtBack) {
  SetLaunchArguments({"photos_norvalis"});
  InstanceWindow running(InstanceWindow::Kind::kShellWindow, kTitle, SW_SHOWMINIMIZED);
  EXPECT_EQ(RunningInstance::Find(kTitle)->HandOver(false), 0);
  EXPECT_TRUE(BroughtBack(running.window(), win32_desktop::ShowState::kNormal));
  EXPECT_TRUE(running.links().empty());
}

TEST_F(RunningInstanceTest, ABusyInstanceIsReportedAndTakesTheLinkAndComesBackOnceItAnswers) {
  for (const bool has_link : {true, false}) {
    SCOPED_TRACE(has_link ? "with a link" : "without a link");
    SetLaunchArguments({"photos_norvalis", has_link ? "photos://busy" : ""});
    InstanceWindow running(InstanceWindow::Kind::kShellWindow, kTitle, SW_SHOWMINIMIZED);
    running.Block();
    const auto start = std::chrono::steady_clock::now();
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunningInstance::Find(kTitle)->HandOver(has_link, kShortBounds),
              RunningInstance::kExitNotConfirmed);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              std::string(has_link ? RunningInstance::kNotRespondingWithLinkDiagnostic
                                   : RunningInstance::kNotRespondingDiagnostic) +
                  "\n");
    // Bounded, not waiting for the instance: it answers only when released.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(running.links().empty());

    running.Release();
    EXPECT_TRUE(BroughtBack(running.window(), win32_desktop::ShowState::kNormal));
    EXPECT_TRUE(WaitUntil([&] {
      return running.links() ==
             (has_link ? std::vector<std::string>{"photos://busy"} : std::vector<std::string>{});
    }));
  }
}

struct NotHandedOverCase {
  const char* name;
  InstanceWindow::OnLink on_link;
  bool closed_before;
  std::string_view diagnostic;
};

class NotHandedOverTest : public ShellTest,
                          public testing::WithParamInterface<NotHandedOverCase> {};

TEST_P(NotHandedOverTest, ALinkThatWasNotTakenIsReportedAndNeverExitsZero) {
  SetLaunchArguments({"photos_norvalis", "photos://lost"});
  InstanceWindow running(InstanceWindow::Kind::kShellWindow, kTitle, SW_SHOWNORMAL);
  running.set_on_link(GetParam().on_link);
  const std::optional<RunningInstance> instance = RunningInstance::Find(kTitle);
  ASSERT_TRUE(instance.has_value());
  if (GetParam().closed_before) {
    PostMessageW(running.window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsWindow(running.window()) == FALSE; }));
  }
  testing::internal::CaptureStderr();
  EXPECT_EQ(instance->HandOver(true, kShortBounds), RunningInstance::kExitNotHandedOver);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), std::string(GetParam().diagnostic) + "\n");
  EXPECT_TRUE(running.links().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Instances,
    NotHandedOverTest,
    testing::Values(NotHandedOverCase{"Refusing", InstanceWindow::OnLink::kRefuse, false,
                                      RunningInstance::kRefusedDiagnostic},
                    NotHandedOverCase{"ClosingAsTheLinkArrives", InstanceWindow::OnLink::kClose,
                                      false, RunningInstance::kClosingDiagnostic},
                    NotHandedOverCase{"GoneBeforeTheHandOver", InstanceWindow::OnLink::kTake, true,
                                      RunningInstance::kClosingDiagnostic}),
    [](const testing::TestParamInfo<NotHandedOverCase>& info) {
      return std::string(info.param.name);
    });

TEST_F(RunningInstanceTest, OnlyTheClassAndTitleTogetherMarkARunningInstance) {
  {
    InstanceWindow other_title(InstanceWindow::Kind::kShellWindow, L"photos_norvalis 2",
                               SW_SHOWMINIMIZED);
    EXPECT_FALSE(RunningInstance::Find(kTitle).has_value());
  }
  {
    InstanceWindow other_class(InstanceWindow::Kind::kOtherClass, kTitle, SW_SHOWMINIMIZED);
    EXPECT_FALSE(RunningInstance::Find(kTitle).has_value());
  }
}

TEST_F(RunningInstanceTest, AChildWindowWithTheClassAndTitleIsNotARunningInstance) {
  const HWND parent = CreatePlainWindow(nullptr, WS_OVERLAPPEDWINDOW);
  Win32Window child;
  ASSERT_TRUE(child.OpenWindow(kTitle, {10, 10}, {100, 100}));
  SetParent(child.native_window(), parent);
  EXPECT_FALSE(RunningInstance::Find(kTitle).has_value());
  child.ReleaseWindow();
  DestroyWindow(parent);
}

}  // namespace
