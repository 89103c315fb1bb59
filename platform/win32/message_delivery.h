#ifndef PLATFORM_WIN32_MESSAGE_DELIVERY_H_
#define PLATFORM_WIN32_MESSAGE_DELIVERY_H_

#include <winuser.h>

#include <functional>
#include <mutex>

#include "platform/win32/message_queue.h"

namespace win32 {

// SendMessageW: calls the window's procedure on the window's thread, directly
// when that is the calling thread. Takes the desktop lock itself.
LRESULT DeliverMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// SendMessageTimeoutW: DeliverMessage whose caller waits for another thread
// at most `timeout_ms`, and not at all when `flags` has SMTO_ABORTIFHUNG and
// that thread is hung; then it fails with ERROR_TIMEOUT, and the message is
// withdrawn unless the thread has started on it, as Wine does. SMTO_BLOCK
// keeps the caller from running the messages sent to it while it waits.
BOOL DeliverMessageWithin(HWND window,
                          UINT message,
                          WPARAM wparam,
                          LPARAM lparam,
                          UINT flags,
                          UINT timeout_ms,
                          DWORD_PTR* result);

// DeliverMessage for the desktop's own notifications: a window that no longer
// exists is skipped without touching the last error.
LRESULT NotifyWindow(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Runs `call` on the window's thread and returns its result: directly when
// that is the calling thread, otherwise as a sent call (see CallOnThread).
// Returns 0 when the window does not exist. Takes the desktop lock itself.
LRESULT RunOnWindowThread(HWND window, std::function<LRESULT()> call);

// Queues `call` for `thread_id`, which runs it from its next GetMessageW,
// PeekMessageW or waiting SendMessageW, and waits for the result. While it
// waits, the calling thread runs the calls sent to it, so two threads sending
// to each other do not deadlock. Returns 0 when `thread_id` has no queue or
// ends first. Requires the desktop lock, which it releases while waiting.
LRESULT CallOnThread(std::unique_lock<std::mutex>& lock,
                     DWORD thread_id,
                     std::function<LRESULT()> call);

// Queues `call` for `thread_id` without waiting for it. Requires the desktop
// lock.
void CallOnThreadAsync(DWORD thread_id, std::function<LRESULT()> call);

// Runs the first call sent to `queue`'s thread, with the lock released, and
// completes it. Returns false when none was waiting. The caller must be the
// queue's thread and hold the lock.
bool RunOneSentCall(std::unique_lock<std::mutex>& lock, MessageQueue& queue);

}  // namespace win32

#endif  // PLATFORM_WIN32_MESSAGE_DELIVERY_H_
