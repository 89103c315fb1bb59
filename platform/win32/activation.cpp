#include "platform/win32/activation.h"

#include <processthreadsapi.h>

#include "platform/win32/desktop.h"
#include "platform/win32/message_delivery.h"

namespace win32 {
namespace {

// Drops the calling thread's focus unless it lies in `window` or below it.
void DropFocusOutside(HWND window) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  MessageQueue& queue = *desktop.CurrentQueue();
  const HWND focus = queue.focus;
  if (focus == nullptr || desktop.IsSelfOrDescendant(window, focus)) {
    return;
  }
  queue.focus = nullptr;
  lock.unlock();
  NotifyWindow(focus, WM_KILLFOCUS, 0, 0);
}

}  // namespace

void LoseForeground(HWND previous, HWND successor) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  MessageQueue& queue = *desktop.CurrentQueue();
  const Window* foreground = desktop.FindWindow(desktop.foreground());
  if (queue.active != previous ||
      (foreground != nullptr && foreground->thread_id == GetCurrentThreadId())) {
    return;
  }
  queue.active = nullptr;
  const HWND focus = queue.focus;
  queue.focus = nullptr;
  ++queue.activation_depth;
  lock.unlock();
  NotifyWindow(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(successor));
  if (focus != nullptr) {
    NotifyWindow(focus, WM_KILLFOCUS, 0, 0);
  }
  lock.lock();
  --queue.activation_depth;
}

void ActivateWindow(HWND handle) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  Window* window = desktop.FindWindow(handle);
  if (window == nullptr || !window->IsTopLevel() || window->destroying ||
      (window->style & WS_VISIBLE) == 0 || window->thread_id != GetCurrentThreadId()) {
    return;
  }
  MessageQueue& queue = *desktop.CurrentQueue();
  const HWND previous_foreground = desktop.foreground();
  desktop.set_foreground(handle);
  desktop.BringToFront(*window);
  if (const Window* other = desktop.FindWindow(previous_foreground);
      other != nullptr && other->thread_id != GetCurrentThreadId()) {
    CallOnThreadAsync(other->thread_id, [previous_foreground, handle] {
      LoseForeground(previous_foreground, handle);
      return 0;
    });
  }
  const HWND previous = queue.active;
  if (previous == handle) {
    return;
  }
  queue.active = handle;
  const bool minimized = (window->style & WS_MINIMIZE) != 0;
  ++queue.activation_depth;
  lock.unlock();
  if (previous != nullptr) {
    NotifyWindow(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(handle));
  }
  NotifyWindow(handle, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, minimized ? 1 : 0),
               reinterpret_cast<LPARAM>(previous));
  lock.lock();
  --queue.activation_depth;
  const bool still_active = queue.active == handle;
  lock.unlock();
  if (still_active) {
    DropFocusOutside(handle);
  }
}

void DeactivateWindow(HWND handle) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  MessageQueue& queue = *desktop.CurrentQueue();
  if (queue.active != handle) {
    return;
  }
  HWND next = nullptr;
  for (HWND candidate : desktop.top_level_windows()) {
    const Window* window = desktop.FindWindow(candidate);
    if (candidate != handle && window != nullptr && window->thread_id == GetCurrentThreadId() &&
        (window->style & WS_VISIBLE) != 0 && (window->style & WS_MINIMIZE) == 0 &&
        !window->destroying) {
      next = candidate;
      break;
    }
  }
  if (next != nullptr) {
    lock.unlock();
    ActivateWindow(next);
    return;
  }
  queue.active = nullptr;
  if (desktop.foreground() == handle) {
    desktop.set_foreground(nullptr);
  }
  ++queue.activation_depth;
  lock.unlock();
  NotifyWindow(handle, WM_ACTIVATE, WA_INACTIVE, 0);
  lock.lock();
  --queue.activation_depth;
  lock.unlock();
  DropFocusWithin(handle);
}

HWND MoveFocus(HWND handle) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  MessageQueue& queue = *desktop.CurrentQueue();
  const HWND previous = queue.focus;
  if (handle == nullptr) {
    if (previous != nullptr) {
      queue.focus = nullptr;
      lock.unlock();
      NotifyWindow(previous, WM_KILLFOCUS, 0, 0);
    }
    return previous;
  }
  Window* window = desktop.FindOwnWindowOrFail(handle);
  if (window == nullptr) {
    return nullptr;
  }
  if (window->destroying) {
    return nullptr;
  }
  const Window* top = desktop.TopLevelAncestor(*window);
  if (top->IsTopLevel() && queue.active != top->handle) {
    // A window of an inactive top-level window gets the focus by activating
    // it, except while that window is hidden (it cannot be active) or while
    // an activation is being announced: a procedure that reacts to losing
    // activation by focusing its own child must not take the activation back.
    if (queue.activation_depth > 0 || (top->style & WS_VISIBLE) == 0) {
      return nullptr;
    }
    const HWND top_handle = top->handle;
    lock.unlock();
    ActivateWindow(top_handle);
    lock.lock();
    if (desktop.FindWindow(handle) == nullptr || queue.active != top_handle) {
      return nullptr;
    }
  }
  const HWND lost = queue.focus;
  if (lost == handle) {
    return previous;
  }
  queue.focus = handle;
  lock.unlock();
  if (lost != nullptr) {
    NotifyWindow(lost, WM_KILLFOCUS, reinterpret_cast<WPARAM>(handle), 0);
  }
  NotifyWindow(handle, WM_SETFOCUS, reinterpret_cast<WPARAM>(lost), 0);
  return previous;
}

void DropFocusWithin(HWND window) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  MessageQueue& queue = *desktop.CurrentQueue();
  const HWND focus = queue.focus;
  if (focus == nullptr || !desktop.IsSelfOrDescendant(window, focus)) {
    return;
  }
  queue.focus = nullptr;
  lock.unlock();
  NotifyWindow(focus, WM_KILLFOCUS, 0, 0);
}

}  // namespace win32
