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
// Blocks the window's thread until `release` is set.
constexpr UINT kBlockMessage = WM_APP + 1;
// Counted, and answered with lparam + 1.
constexpr UINT kCountedMessage = WM_APP + 2;

std::atomic<int> counted_messages{0};
const HANDLE blocked = CreateEventW(nullptr, FALSE, FALSE, nullptr);
const HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case kBlockMessage:
      SetEvent(blocked);
      WaitForSingleObject(release, INFINITE);
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
// instance's window is.
class WindowThread {
 public:
  WindowThread() {
    std::promise<HWND> created;
    thread_ = std::thread([&created] {
      WNDCLASSW window_class = {};
      window_class.lpfnWndProc = Procedure;
      window_class.lpszClassName = kClassName;
      // Registered by an earlier case already, where that one's thread ended.
      RegisterClassW(&window_class);
      created.set_value(CreateWindowExW(0, kClassName, L"", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200,
                                        nullptr, nullptr, nullptr, nullptr));
      MSG message = {};
      while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
      }
    });
    window_ = created.get_future().get();
  }

  ~WindowThread() {
    SetEvent(release);
    PostMessageW(window_, WM_CLOSE, 0, 0);
    thread_.join();
  }

  HWND window() const { return window_; }
  // Returns once the thread has stopped taking messages: a message sent
  // before would run first, as sent messages do.
  void Block() {
    ResetEvent(release);
    PostMessageW(window_, kBlockMessage, 0, 0);
    WaitForSingleObject(blocked, INFINITE);
  }

 private:
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

// Before 5 s a busy thread is waited for up to the time-out, after them not
// at all; the calls that queue their change come back at once throughout.
TEST(HungWindowTest, ABusyThreadIsWaitedForWithinTheTimeOutUntilItCountsAsHung) {
  WindowThread busy;
  WindowThread idle;
  DWORD_PTR answer = 0;
  ASSERT_NE(SendMessageTimeoutW(busy.window(), kCountedMessage, 0, 41, SMTO_NORMAL, 5000, &answer),
            0);
  EXPECT_EQ(answer, 42u);
  counted_messages = 0;

  busy.Block();
  auto start = steady_clock::now();
  SetLastError(0);
  EXPECT_EQ(
      SendMessageTimeoutW(busy.window(), kCountedMessage, 0, 1, SMTO_ABORTIFHUNG, 200, &answer), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TIMEOUT));
  EXPECT_GE(steady_clock::now() - start, milliseconds(150));
  EXPECT_FALSE(IsHungAppWindow(busy.window()));
  EXPECT_TRUE(ShowWindowAsync(busy.window(), SW_SHOWMINIMIZED));
  EXPECT_TRUE(SetWindowPos(busy.window(), HWND_TOP, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_ASYNCWINDOWPOS));
  EXPECT_LT(steady_clock::now() - start, milliseconds(2000));
  EXPECT_FALSE(IsIconic(busy.window()));

  // Idle in GetMessageW for as long is waiting, not hung.
  ASSERT_TRUE(Eventually([&] { return IsHungAppWindow(busy.window()) != 0; }));
  EXPECT_FALSE(IsHungAppWindow(idle.window()));
  start = steady_clock::now();
  SetLastError(0);
  EXPECT_EQ(
      SendMessageTimeoutW(busy.window(), kCountedMessage, 0, 1, SMTO_ABORTIFHUNG, 5000, &answer),
      0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TIMEOUT));
  EXPECT_LT(steady_clock::now() - start, milliseconds(2000));

  SetEvent(release);
  EXPECT_TRUE(Eventually([&] { return IsIconic(busy.window()) != 0; }));
  EXPECT_TRUE(Eventually([&] { return IsHungAppWindow(busy.window()) == 0; }));
  ASSERT_NE(
      SendMessageTimeoutW(busy.window(), kCountedMessage, 0, 1, SMTO_ABORTIFHUNG, 5000, &answer),
      0);
  // Sent messages run in order: the ones given up on were withdrawn.
  EXPECT_EQ(counted_messages, 1);
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
