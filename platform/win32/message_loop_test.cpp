#include <errhandlingapi.h>
#include <processthreadsapi.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <win32_desktop_control.h>
#include <winerror.h>
#include <winuser.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/win32/recording_window.h"

namespace win32_test {
namespace {

using MessageLoopTest = DesktopTest;

// A thread that creates a window and runs a message loop until it is posted
// WM_QUIT, as the running instance or the engine's threads do.
class WindowThread {
 public:
  explicit WindowThread(std::function<HWND()> create) {
    thread_ = std::thread([this, create = std::move(create)] {
      const HWND window = create();
      {
        std::lock_guard<std::mutex> lock(mutex_);
        window_ = window;
        thread_id_ = win32_desktop::CurrentThreadId();
        ready_ = true;
      }
      ready_changed_.notify_all();
      MSG message;
      while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    });
    std::unique_lock<std::mutex> lock(mutex_);
    ready_changed_.wait(lock, [this] { return ready_; });
  }
  WindowThread(const WindowThread&) = delete;
  WindowThread& operator=(const WindowThread&) = delete;
  ~WindowThread() {
    PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
    thread_.join();
  }

  HWND window() const { return window_; }
  DWORD thread_id() const { return thread_id_; }

 private:
  std::mutex mutex_;
  std::condition_variable ready_changed_;
  bool ready_ = false;
  HWND window_ = nullptr;
  DWORD thread_id_ = 0;
  std::thread thread_;
};

HWND CreateRecordingWindow(DWORD style = WS_OVERLAPPEDWINDOW) {
  return CreateWindowExW(0, kRecordingClass, L"photos_norvalis", style, 10, 10, 400, 300, nullptr,
                         nullptr, nullptr, nullptr);
}

// Polls `condition` for up to five seconds.
bool Eventually(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

TEST_F(MessageLoopTest, QuitIsDeliveredOnceTheQueueIsEmpty) {
  HWND window = CreateTopLevel();
  PostMessageW(window, WM_APP, 1, 0);
  PostQuitMessage(3);
  PostMessageW(window, WM_APP, 2, 0);
  PostMessageW(nullptr, WM_APP, 3, 0);

  MSG message;
  std::vector<WPARAM> received;
  while (GetMessageW(&message, nullptr, 0, 0) != 0) {
    received.push_back(message.wParam);
    DispatchMessageW(&message);
  }
  EXPECT_EQ(received, (std::vector<WPARAM>{1, 2, 3}));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 3u);
  // Dispatched to the window; the thread message went nowhere.
  EXPECT_EQ(recorder().Ids(window, {WM_APP}), (std::vector<UINT>{WM_APP, WM_APP}));
  EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageLoopTest, PeekMessageRemovesOnlyWhenAskedAndHonoursTheFilter) {
  HWND window = CreateTopLevel();
  PostMessageW(window, WM_USER + 5, 0, 0);
  PostMessageW(window, WM_APP, 0, 0);
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_USER + 5));
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_APP, WM_APP, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_APP));
  EXPECT_EQ(message.hwnd, window);
  ASSERT_TRUE(PeekMessageW(&message, window, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_USER + 5));
  EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));

  // The quit request stays until it is removed.
  PostQuitMessage(0);
  EXPECT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageLoopTest, GetMessageForAWindowThatDoesNotExistFails) {
  MSG message;
  EXPECT_EQ(GetMessageW(&message, reinterpret_cast<HWND>(0x1234), 0, 0), -1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(MessageLoopTest, PointerMessagesCannotBePosted) {
  HWND window = CreateTopLevel();
  EXPECT_FALSE(PostMessageW(window, WM_COPYDATA, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MESSAGE_SYNC_ONLY));
  EXPECT_FALSE(PostMessageW(reinterpret_cast<HWND>(0x1234), WM_APP, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(MessageLoopTest, PostThreadMessageNeedsAThreadWithAQueue) {
  PostQuitMessage(0);  // Gives this thread its queue.
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
  ASSERT_TRUE(PostThreadMessageW(win32_desktop::CurrentThreadId(), WM_APP, 9, 0));
  ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.hwnd, nullptr);
  EXPECT_EQ(message.wParam, 9u);
  EXPECT_FALSE(PostThreadMessageW(0x7FFFFFF0, WM_APP, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_THREAD_ID));
}

TEST_F(MessageLoopTest, KernelAndDesktopNameThreadsAlike) {
  HWND own = CreateRecordingWindow();
  DWORD process_id = 0;
  EXPECT_EQ(GetWindowThreadProcessId(own, &process_id), GetCurrentThreadId());
  EXPECT_EQ(win32_desktop::CurrentThreadId(), GetCurrentThreadId());
  EXPECT_EQ(GetCurrentThreadId(), static_cast<DWORD>(syscall(SYS_gettid)));
  EXPECT_EQ(process_id, GetCurrentProcessId());
  EXPECT_EQ(GetCurrentProcessId(), static_cast<DWORD>(getpid()));

  DWORD kernel_id = 0;
  DWORD system_id = 0;
  WindowThread other([&] {
    kernel_id = GetCurrentThreadId();
    system_id = static_cast<DWORD>(syscall(SYS_gettid));
    return CreateRecordingWindow();
  });
  EXPECT_EQ(kernel_id, system_id);
  EXPECT_NE(kernel_id, GetCurrentThreadId());
  EXPECT_EQ(other.thread_id(), kernel_id);
  EXPECT_EQ(GetWindowThreadProcessId(other.window(), &process_id), kernel_id);
  EXPECT_EQ(process_id, GetCurrentProcessId());
  // The kernel's id reaches the thread's queue.
  EXPECT_TRUE(PostThreadMessageW(kernel_id, WM_APP, 0, 0));
}

TEST_F(MessageLoopTest, DispatchRunsOnlyTheOwningThreadsWindows) {
  WindowThread other([] { return CreateRecordingWindow(); });
  MSG message = {other.window(), WM_APP, 0, 0, 0, {0, 0}};
  EXPECT_EQ(DispatchMessageW(&message), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_WINDOW_OF_OTHER_THREAD));
  message.hwnd = nullptr;
  EXPECT_EQ(DispatchMessageW(&message), 0);
  EXPECT_EQ(recorder().Ids(other.window(), {WM_APP}), std::vector<UINT>{});
}

TEST_F(MessageLoopTest, CrossThreadPostsArriveInOrderOfEachSender) {
  HWND window = CreateTopLevel();
  constexpr int kSenders = 4;
  constexpr int kPerSender = 500;
  std::vector<std::thread> senders;
  for (int sender = 0; sender < kSenders; ++sender) {
    senders.emplace_back([window, sender] {
      for (int i = 0; i < kPerSender; ++i) {
        EXPECT_TRUE(PostMessageW(window, WM_APP, static_cast<WPARAM>(sender), i));
      }
    });
  }
  std::vector<LPARAM> last(kSenders, -1);
  int received = 0;
  MSG message;
  while (received < kSenders * kPerSender && GetMessageW(&message, nullptr, 0, 0) > 0) {
    ASSERT_EQ(message.hwnd, window);
    EXPECT_EQ(message.lParam, last[message.wParam] + 1);
    last[message.wParam] = message.lParam;
    ++received;
  }
  for (std::thread& sender : senders) {
    sender.join();
  }
  EXPECT_EQ(received, kSenders * kPerSender);
}

TEST_F(MessageLoopTest, CrossThreadSendRunsOnTheWindowsThreadAndReturnsItsResult) {
  recorder().SetReaction([](HWND, UINT message, WPARAM wparam, LPARAM) -> std::optional<LRESULT> {
    return message == WM_APP ? std::optional<LRESULT>(static_cast<LRESULT>(wparam) * 2)
                             : std::nullopt;
  });
  WindowThread other([] { return CreateRecordingWindow(); });
  EXPECT_EQ(SendMessageW(other.window(), WM_APP, 21, 0), 42);
  const std::vector<RecordedMessage> messages = recorder().Of(other.window());
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back().message, static_cast<UINT>(WM_APP));
  EXPECT_EQ(messages.back().thread_id, other.thread_id());
  EXPECT_NE(other.thread_id(), win32_desktop::CurrentThreadId());
}

TEST_F(MessageLoopTest, CrossThreadSendCarriesCopyData) {
  std::string received;
  recorder().SetReaction([&](HWND, UINT message, WPARAM, LPARAM lparam) -> std::optional<LRESULT> {
    if (message != WM_COPYDATA) {
      return std::nullopt;
    }
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
    received.assign(static_cast<const char*>(data->lpData), data->cbData);
    return TRUE;
  });
  WindowThread other([] { return CreateRecordingWindow(); });
  char link[] = "norvalis://open";
  COPYDATASTRUCT data = {1, static_cast<DWORD>(std::strlen(link)), link};
  EXPECT_EQ(SendMessageW(other.window(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), TRUE);
  EXPECT_EQ(received, "norvalis://open");
}

TEST_F(MessageLoopTest, CrossThreadWaitingSenderServicesMessagesSentToIt) {
  HWND own = CreateTopLevel();
  const DWORD own_thread = win32_desktop::CurrentThreadId();
  std::atomic<HWND> other_window = nullptr;
  recorder().SetReaction([&](HWND target, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_APP && target == other_window.load()) {
      // The other thread calls back into the thread that is waiting for it.
      return SendMessageW(own, WM_APP + 1, 0, 0) + 1;
    }
    if (message == WM_APP + 1) {
      return 5;
    }
    return std::nullopt;
  });
  WindowThread other([] { return CreateRecordingWindow(); });
  other_window = other.window();
  EXPECT_EQ(SendMessageW(other.window(), WM_APP, 0, 0), 6);
  const std::vector<RecordedMessage> callbacks = recorder().Of(own);
  ASSERT_FALSE(callbacks.empty());
  EXPECT_EQ(callbacks.back().message, static_cast<UINT>(WM_APP + 1));
  EXPECT_EQ(callbacks.back().thread_id, own_thread);
}

TEST_F(MessageLoopTest, CrossThreadSendsBetweenTwoThreadsDoNotDeadlock) {
  constexpr int kRounds = 200;
  recorder().SetReaction([](HWND, UINT message, WPARAM wparam, LPARAM) -> std::optional<LRESULT> {
    return message == WM_APP ? std::optional<LRESULT>(static_cast<LRESULT>(wparam) + 1)
                             : std::nullopt;
  });
  std::atomic<HWND> windows[2] = {nullptr, nullptr};
  std::atomic<int> created = 0;
  std::atomic<int> finished = 0;
  std::atomic<int> wrong_results = 0;
  const auto run = [&](int self) {
    windows[self] = CreateRecordingWindow();
    ++created;
    while (created.load() < 2) {
      std::this_thread::yield();
    }
    const HWND peer = windows[1 - self].load();
    for (int i = 0; i < kRounds; ++i) {
      if (SendMessageW(peer, WM_APP, static_cast<WPARAM>(i), 0) != i + 1) {
        ++wrong_results;
      }
    }
    ++finished;
    // Serve the peer until it is done too.
    MSG message;
    while (finished.load() < 2) {
      PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
      std::this_thread::yield();
    }
  };
  std::thread first(run, 0);
  std::thread second(run, 1);
  first.join();
  second.join();
  EXPECT_EQ(wrong_results.load(), 0);
  EXPECT_EQ(finished.load(), 2);
}

TEST_F(MessageLoopTest, CrossThreadSendToAThreadThatEndsReturnsZero) {
  std::atomic<HWND> window = nullptr;
  std::atomic<bool> sending = false;
  std::thread owner([&] {
    window = CreateRecordingWindow();
    // Never retrieves a message: the send waits until the thread ends.
    while (!sending.load()) {
      std::this_thread::yield();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  });
  while (window.load() == nullptr) {
    std::this_thread::yield();
  }
  sending = true;
  EXPECT_EQ(SendMessageW(window.load(), WM_APP, 0, 0), 0);
  owner.join();
  EXPECT_FALSE(IsWindow(window.load()));
  EXPECT_EQ(FindWindowW(kRecordingClass, nullptr), nullptr);
}

TEST_F(MessageLoopTest, CrossThreadShowAndRaiseRestoreTheRunningWindow) {
  WindowThread running([] {
    HWND window = CreateRecordingWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ShowWindow(window, SW_MINIMIZE);
    return window;
  });
  // What a second launch does with the window of the running instance.
  HWND found = FindWindowW(L"RecordingWindow", L"photos_norvalis");
  ASSERT_EQ(found, running.window());
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof(placement);
  ASSERT_TRUE(GetWindowPlacement(found, &placement));
  EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
  recorder().Clear();
  EXPECT_TRUE(ShowWindow(found, SW_RESTORE));
  EXPECT_FALSE(IsIconic(found));
  EXPECT_EQ(WindowRect(found), (RECT{10, 10, 410, 310}));
  for (const RecordedMessage& message : recorder().Of(found)) {
    EXPECT_EQ(message.thread_id, running.thread_id());
  }
  EXPECT_EQ(recorder().Ids(found, {WM_ACTIVATE, WM_SIZE}),
            (std::vector<UINT>{WM_ACTIVATE, WM_SIZE}));
  EXPECT_TRUE(SetWindowPos(found, HWND_TOP, 0, 0, 0, 0, 0x43));
  EXPECT_TRUE(SetForegroundWindow(found));
  EXPECT_EQ(GetForegroundWindow(), found);
  EXPECT_TRUE(Eventually([&] {
    return win32_desktop::ActiveWindowOfThread(running.thread_id()) == found &&
           win32_desktop::FocusOfThread(running.thread_id()) == found;
  }));
}

TEST_F(MessageLoopTest, CrossThreadForegroundMovesBetweenThreads) {
  HWND own = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ASSERT_EQ(GetActiveWindow(), own);
  WindowThread other([] { return CreateRecordingWindow(WS_OVERLAPPEDWINDOW); });
  ShowWindow(other.window(), SW_SHOWNORMAL);
  EXPECT_EQ(GetForegroundWindow(), other.window());
  // This thread learns of it from its own message loop.
  MSG message;
  EXPECT_TRUE(Eventually([&] {
    PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
    return GetActiveWindow() == nullptr;
  }));
  EXPECT_EQ(GetFocus(), nullptr);
  const std::vector<RecordedMessage> messages = recorder().Of(own);
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back().message, static_cast<UINT>(WM_KILLFOCUS));
  EXPECT_TRUE(SetForegroundWindow(own));
  EXPECT_EQ(GetActiveWindow(), own);
  EXPECT_TRUE(Eventually(
      [&] { return win32_desktop::ActiveWindowOfThread(other.thread_id()) == nullptr; }));
}

}  // namespace
}  // namespace win32_test
