// What a caller sees of a window whose thread does not take its messages:
// the bounded and asynchronous calls that a launch makes on another
// instance's window. Windows API only, so that the same assertions hold for
// this layer and for Wine.

// windows.h comes first: the other Windows headers build on it.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <thread>

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

constexpr wchar_t kClassName[] = L"NorvalisHungWindowTest";
// Blocks the window's thread: wparam is the event set once it is blocked,
// lparam the event that releases it.
constexpr UINT kBlockMessage = WM_APP + 1;
// Counted, and answered with lparam + 1.
constexpr UINT kCountedMessage = WM_APP + 2;

std::atomic<int> counted_messages{0};

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case kBlockMessage:
      SetEvent(reinterpret_cast<HANDLE>(wparam));
      WaitForSingleObject(reinterpret_cast<HANDLE>(lparam), INFINITE);
      return 0;
    case kCountedMessage:
      ++counted_messages;
      return lparam + 1;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

// A top-level window on a thread of its own with a message loop, as another
// instance's window is; Block makes that thread stop taking messages.
class WindowThread {
 public:
  WindowThread()
      : blocked_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        release_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    std::promise<HWND> created;
    std::future<HWND> window = created.get_future();
    thread_ = std::thread([&created] {
      WNDCLASSW window_class = {};
      window_class.lpfnWndProc = Procedure;
      window_class.lpszClassName = kClassName;
      // Registered by an earlier case already, where that one's thread ended.
      RegisterClassW(&window_class);
      created.set_value(CreateWindowExW(0, kClassName, L"hung window test", WS_OVERLAPPEDWINDOW, 10,
                                        10, 300, 200, nullptr, nullptr, nullptr, nullptr));
      MSG message = {};
      while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
      }
    });
    window_ = window.get();
  }

  ~WindowThread() {
    Release();
    PostMessageW(window_, WM_CLOSE, 0, 0);
    thread_.join();
    CloseHandle(release_);
    CloseHandle(blocked_);
  }

  HWND window() const { return window_; }
  // Returns once the thread is blocked: a message sent before then would
  // run first, as sent messages do.
  void Block() {
    PostMessageW(window_, kBlockMessage, reinterpret_cast<WPARAM>(blocked_),
                 reinterpret_cast<LPARAM>(release_));
    WaitForSingleObject(blocked_, INFINITE);
  }
  void Release() { SetEvent(release_); }

 private:
  HANDLE blocked_;
  HANDLE release_;
  HWND window_ = nullptr;
  std::thread thread_;
};

bool Eventually(const std::function<bool()>& condition) {
  const auto deadline = steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (steady_clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(milliseconds(5));
  }
  return true;
}

TEST(HungWindowTest, ABusyThreadTimesASentMessageOutWhichItThenNeverRuns) {
  WindowThread busy;
  DWORD_PTR answer = 0;
  ASSERT_NE(SendMessageTimeoutW(busy.window(), kCountedMessage, 0, 41, SMTO_NORMAL, 5000, &answer),
            0);
  EXPECT_EQ(answer, 42u);
  counted_messages = 0;

  busy.Block();
  const auto start = steady_clock::now();
  SetLastError(0);
  EXPECT_EQ(SendMessageTimeoutW(busy.window(), kCountedMessage, 0, 1, SMTO_NORMAL, 200, &answer),
            0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TIMEOUT));
  EXPECT_GE(steady_clock::now() - start, milliseconds(150));
  // Busy for less than 5 seconds is not hung yet.
  EXPECT_FALSE(IsHungAppWindow(busy.window()));

  // Neither waits for the thread; both take effect once it answers.
  EXPECT_TRUE(ShowWindowAsync(busy.window(), SW_SHOWMINIMIZED));
  EXPECT_TRUE(SetWindowPos(busy.window(), HWND_TOP, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_ASYNCWINDOWPOS));
  EXPECT_LT(steady_clock::now() - start, milliseconds(2000));
  EXPECT_EQ(counted_messages, 0);
  EXPECT_FALSE(IsIconic(busy.window()));

  busy.Release();
  EXPECT_TRUE(Eventually([&] { return IsIconic(busy.window()) != 0; }));
  // Sent messages run in order: once this one has, the one given up on
  // would have too.
  ASSERT_NE(SendMessageTimeoutW(busy.window(), kCountedMessage, 0, 1, SMTO_NORMAL, 5000, &answer),
            0);
  EXPECT_EQ(counted_messages, 1);
  EXPECT_TRUE(IsWindowVisible(busy.window()));
}

TEST(HungWindowTest, AThreadBusyForFiveSecondsIsHungAndAbortIfHungGivesUpAtOnce) {
  WindowThread busy;
  WindowThread idle;
  busy.Block();
  // Idle in GetMessageW for as long is waiting, not hung.
  ASSERT_TRUE(Eventually([&] { return IsHungAppWindow(busy.window()) != 0; }));
  EXPECT_FALSE(IsHungAppWindow(idle.window()));

  const auto start = steady_clock::now();
  DWORD_PTR answer = 0;
  SetLastError(0);
  EXPECT_EQ(
      SendMessageTimeoutW(busy.window(), kCountedMessage, 0, 1, SMTO_ABORTIFHUNG, 5000, &answer),
      0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TIMEOUT));
  EXPECT_LT(steady_clock::now() - start, milliseconds(2000));

  // Hung until its thread takes its messages again.
  busy.Release();
  ASSERT_TRUE(Eventually([&] { return IsHungAppWindow(busy.window()) == 0; }));
  ASSERT_NE(
      SendMessageTimeoutW(busy.window(), kCountedMessage, 0, 1, SMTO_ABORTIFHUNG, 5000, &answer),
      0);
  EXPECT_EQ(answer, 2u);
}

TEST(HungWindowTest, AWindowThatIsGoneFailsAtOnce) {
  HWND gone = nullptr;
  {
    WindowThread closed;
    gone = closed.window();
  }
  DWORD_PTR answer = 0;
  SetLastError(0);
  EXPECT_EQ(SendMessageTimeoutW(gone, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_FALSE(ShowWindowAsync(gone, SW_RESTORE));
  EXPECT_FALSE(IsHungAppWindow(gone));
}

}  // namespace
