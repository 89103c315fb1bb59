#ifndef PLATFORM_WIN32_RECORDING_WINDOW_H_
#define PLATFORM_WIN32_RECORDING_WINDOW_H_

// Test double: a window class whose procedure records every message it gets,
// with the thread it ran on, lets a test react to chosen messages, and
// otherwise falls back to DefWindowProcW.

#include <gtest/gtest.h>
#include <win32_desktop_control.h>
#include <winuser.h>

#include <algorithm>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

// RECT lives in the global namespace, so its comparison and printer do too.
inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline void PrintTo(const RECT& rect, std::ostream* out) {
  *out << "{" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << "}";
}

namespace win32_test {

inline constexpr wchar_t kRecordingClass[] = L"RecordingWindow";

struct RecordedMessage {
  HWND window;
  UINT message;
  WPARAM wparam;
  LPARAM lparam;
  DWORD thread_id;
};

// Called before the default handling; a result ends the message there.
using Reaction = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

class MessageRecorder {
 public:
  static MessageRecorder& Get() {
    static MessageRecorder recorder;
    return recorder;
  }

  void Record(const RecordedMessage& message) {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.push_back(message);
  }

  // The messages of `window` (all windows when null) recorded so far, in order.
  std::vector<RecordedMessage> Of(HWND window = nullptr) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<RecordedMessage> result;
    for (const RecordedMessage& message : messages_) {
      if (window == nullptr || message.window == window) {
        result.push_back(message);
      }
    }
    return result;
  }

  // Only the identifiers, of the messages listed in `interesting` (all when
  // empty).
  std::vector<UINT> Ids(HWND window, const std::vector<UINT>& interesting = {}) {
    std::vector<UINT> ids;
    for (const RecordedMessage& message : Of(window)) {
      if (interesting.empty() ||
          std::find(interesting.begin(), interesting.end(), message.message) != interesting.end()) {
        ids.push_back(message.message);
      }
    }
    return ids;
  }

  void Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.clear();
  }

  void SetReaction(Reaction reaction) {
    std::lock_guard<std::mutex> lock(mutex_);
    reaction_ = std::move(reaction);
  }

  Reaction reaction() {
    std::lock_guard<std::mutex> lock(mutex_);
    return reaction_;
  }

 private:
  std::mutex mutex_;
  std::vector<RecordedMessage> messages_;
  Reaction reaction_;
};

inline LRESULT CALLBACK RecordingProcedure(HWND window,
                                           UINT message,
                                           WPARAM wparam,
                                           LPARAM lparam) {
  MessageRecorder::Get().Record(
      {window, message, wparam, lparam, win32_desktop::CurrentThreadId()});
  if (Reaction reaction = MessageRecorder::Get().reaction()) {
    if (std::optional<LRESULT> result = reaction(window, message, wparam, lparam)) {
      return *result;
    }
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

// Starts every test on an empty desktop with the recording class registered.
class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win32_desktop::ResetDesktop();
    MessageRecorder::Get().Clear();
    MessageRecorder::Get().SetReaction(nullptr);
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = RecordingProcedure;
    window_class.lpszClassName = kRecordingClass;
    ASSERT_NE(RegisterClassW(&window_class), 0);
  }

  void TearDown() override {
    MessageRecorder::Get().SetReaction(nullptr);
    win32_desktop::ResetDesktop();
  }

  static HWND CreateTopLevel(DWORD style = WS_OVERLAPPEDWINDOW,
                             RECT rect = {10, 10, 1290, 730},
                             const wchar_t* title = L"photos_norvalis") {
    return CreateWindowExW(0, kRecordingClass, title, style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                           nullptr, nullptr);
  }

  static HWND CreateChild(HWND parent, RECT rect = {0, 0, 100, 50}) {
    return CreateWindowExW(0, kRecordingClass, L"", WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, nullptr,
                           nullptr);
  }

  static MessageRecorder& recorder() { return MessageRecorder::Get(); }
};

inline RECT WindowRect(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return rect;
}

inline RECT ClientRect(HWND window) {
  RECT rect = {};
  GetClientRect(window, &rect);
  return rect;
}

}  // namespace win32_test

#endif  // PLATFORM_WIN32_RECORDING_WINDOW_H_
