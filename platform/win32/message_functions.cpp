// user32's message functions: posting, sending, retrieving and dispatching.

#include <errhandlingapi.h>
#include <processthreadsapi.h>
#include <time.h>
#include <winerror.h>
#include <winuser.h>

#include "platform/win32/desktop.h"
#include "platform/win32/message_delivery.h"

namespace win32 {
namespace {

// Messages whose parameters point into the sender's memory: Windows only
// sends them.
bool IsSendOnly(UINT message) {
  switch (message) {
    case WM_CREATE:
    case WM_NCCREATE:
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETMINMAXINFO:
    case WM_WINDOWPOSCHANGED:
    case WM_COPYDATA:
    case WM_NCCALCSIZE:
      return true;
    default:
      return false;
  }
}

// Milliseconds since the system started, as GetTickCount counts them.
DWORD TickCount() {
  timespec now = {};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<DWORD>(static_cast<unsigned long long>(now.tv_sec) * 1000 +
                            static_cast<unsigned long long>(now.tv_nsec) / 1000000);
}

BOOL PostTo(MessageQueue& queue, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (!queue.Post({window, message, wparam, lparam, TickCount(), {0, 0}})) {
    SetLastError(ERROR_NOT_ENOUGH_QUOTA);
    return FALSE;
  }
  queue.Wake();
  return TRUE;
}

enum class Retrieval { kMessage, kQuit, kNothing, kInvalidWindow };

// GetMessageW and PeekMessageW: first every call sent to this thread runs,
// then the first posted message that passes the filter is taken, and only
// when there is none the quit request. The filter `window` takes messages of
// that window and its children; (HWND)-1 takes those posted to the thread.
Retrieval Retrieve(MSG* out,
                   HWND window,
                   UINT filter_min,
                   UINT filter_max,
                   bool remove,
                   bool wait) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  MessageQueue& queue = *desktop.CurrentQueue();
  const HWND thread_only = reinterpret_cast<HWND>(-1);
  const auto passes = [&desktop, window, thread_only, filter_min, filter_max](const MSG& message) {
    if (window == thread_only
            ? message.hwnd != nullptr
            : window != nullptr && !desktop.IsSelfOrDescendant(window, message.hwnd)) {
      return false;
    }
    return (filter_min == 0 && filter_max == 0) ||
           (message.message >= filter_min && message.message <= filter_max);
  };
  for (;;) {
    queue.NoteRetrieval();
    if (RunOneSentCall(lock, queue)) {
      continue;
    }
    if (window != nullptr && window != thread_only && desktop.FindWindowOrFail(window) == nullptr) {
      return Retrieval::kInvalidWindow;
    }
    if (std::optional<MSG> message = queue.FindPosted(passes, remove)) {
      *out = *message;
      return message->message == WM_QUIT ? Retrieval::kQuit : Retrieval::kMessage;
    }
    if (queue.quit_requested()) {
      *out = {nullptr, WM_QUIT, static_cast<WPARAM>(queue.quit_code()), 0, TickCount(), {0, 0}};
      if (remove) {
        queue.ClearQuit();
      }
      return Retrieval::kQuit;
    }
    if (!wait) {
      return Retrieval::kNothing;
    }
    queue.WaitForWake(lock);
  }
}

}  // namespace
}  // namespace win32

using win32::Desktop;
using win32::Window;

extern "C" BOOL WINAPI PostMessageW(HWND handle, UINT message, WPARAM wparam, LPARAM lparam) {
  if (win32::IsSendOnly(message)) {
    SetLastError(ERROR_MESSAGE_SYNC_ONLY);
    return FALSE;
  }
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  if (handle == nullptr) {
    return win32::PostTo(*desktop.CurrentQueue(), nullptr, message, wparam, lparam);
  }
  const Window* window = desktop.FindWindowOrFail(handle);
  if (window == nullptr) {
    return FALSE;
  }
  return win32::PostTo(*desktop.QueueOf(window->thread_id), handle, message, wparam, lparam);
}

extern "C" BOOL WINAPI PostThreadMessageW(DWORD thread_id,
                                          UINT message,
                                          WPARAM wparam,
                                          LPARAM lparam) {
  if (win32::IsSendOnly(message)) {
    SetLastError(ERROR_MESSAGE_SYNC_ONLY);
    return FALSE;
  }
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  const std::shared_ptr<win32::MessageQueue> queue = desktop.QueueOf(thread_id);
  if (queue == nullptr) {
    SetLastError(ERROR_INVALID_THREAD_ID);
    return FALSE;
  }
  return win32::PostTo(*queue, nullptr, message, wparam, lparam);
}

extern "C" LRESULT WINAPI SendMessageW(HWND handle, UINT message, WPARAM wparam, LPARAM lparam) {
  return win32::DeliverMessage(handle, message, wparam, lparam);
}

extern "C" LRESULT WINAPI SendMessageTimeoutW(HWND handle,
                                              UINT message,
                                              WPARAM wparam,
                                              LPARAM lparam,
                                              UINT flags,
                                              UINT timeout_ms,
                                              PDWORD_PTR result) {
  return win32::DeliverMessageWithin(handle, message, wparam, lparam, flags, timeout_ms, result);
}

extern "C" BOOL WINAPI IsHungAppWindow(HWND handle) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  const Window* window = desktop.FindWindow(handle);
  if (window == nullptr) {
    return FALSE;
  }
  const std::shared_ptr<win32::MessageQueue> queue = desktop.QueueOf(window->thread_id);
  return queue != nullptr && queue->IsHung() ? TRUE : FALSE;
}

extern "C" BOOL WINAPI GetMessageW(LPMSG message, HWND window, UINT filter_min, UINT filter_max) {
  if (message == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  switch (win32::Retrieve(message, window, filter_min, filter_max, true, true)) {
    case win32::Retrieval::kMessage:
      return TRUE;
    case win32::Retrieval::kQuit:
      return FALSE;
    default:
      return -1;
  }
}

extern "C" BOOL WINAPI
PeekMessageW(LPMSG message, HWND window, UINT filter_min, UINT filter_max, UINT remove) {
  if (message == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const win32::Retrieval retrieval =
      win32::Retrieve(message, window, filter_min, filter_max, (remove & PM_REMOVE) != 0, false);
  return retrieval == win32::Retrieval::kMessage || retrieval == win32::Retrieval::kQuit ? TRUE
                                                                                         : FALSE;
}

extern "C" BOOL WINAPI TranslateMessage(const MSG*) {
  // The desktop has no keyboard and so no layout that would turn key
  // messages into characters: nothing is ever translated.
  return FALSE;
}

extern "C" LRESULT WINAPI DispatchMessageW(const MSG* message) {
  if (message == nullptr || message->hwnd == nullptr) {
    return 0;
  }
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  const Window* window = desktop.FindWindowOrFail(message->hwnd);
  if (window == nullptr) {
    return 0;
  }
  if (window->thread_id != GetCurrentThreadId()) {
    SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
    return 0;
  }
  const WNDPROC procedure = window->procedure;
  lock.unlock();
  return procedure(message->hwnd, message->message, message->wParam, message->lParam);
}

extern "C" void WINAPI PostQuitMessage(int exit_code) {
  auto lock = Desktop::Get().Lock();
  win32::MessageQueue& queue = *Desktop::Get().CurrentQueue();
  queue.RequestQuit(exit_code);
  queue.Wake();
}
