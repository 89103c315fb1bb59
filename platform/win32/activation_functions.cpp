// user32's activation and focus functions.

#include <processthreadsapi.h>
#include <winuser.h>

#include "platform/win32/activation.h"
#include "platform/win32/desktop.h"
#include "platform/win32/message_delivery.h"

using win32::Desktop;
using win32::Window;

extern "C" HWND WINAPI SetFocus(HWND handle) {
  return win32::MoveFocus(handle);
}

extern "C" HWND WINAPI GetFocus(void) {
  auto lock = Desktop::Get().Lock();
  return Desktop::Get().CurrentQueue()->focus;
}

extern "C" HWND WINAPI SetActiveWindow(HWND handle) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  const HWND previous = desktop.CurrentQueue()->active;
  Window* window = desktop.FindOwnWindowOrFail(handle);
  if (window == nullptr) {
    return nullptr;
  }
  const HWND top = desktop.TopLevelAncestor(*window)->handle;
  lock.unlock();
  win32::ActivateWindow(top);
  return previous;
}

extern "C" HWND WINAPI GetActiveWindow(void) {
  auto lock = Desktop::Get().Lock();
  return Desktop::Get().CurrentQueue()->active;
}

extern "C" BOOL WINAPI SetForegroundWindow(HWND handle) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  Window* window = desktop.FindWindowOrFail(handle);
  if (window == nullptr) {
    return FALSE;
  }
  Window* top = desktop.TopLevelAncestor(*window);
  if (!top->IsTopLevel() || (top->style & WS_VISIBLE) == 0) {
    return FALSE;
  }
  const HWND top_handle = top->handle;
  if (top->thread_id == GetCurrentThreadId()) {
    lock.unlock();
    win32::ActivateWindow(top_handle);
    return TRUE;
  }
  // The window's own thread announces the activation from its message loop;
  // the desktop's foreground window changes now.
  const HWND previous = desktop.foreground();
  desktop.set_foreground(top_handle);
  desktop.BringToFront(*top);
  if (const Window* other = desktop.FindWindow(previous);
      other != nullptr && previous != top_handle) {
    win32::CallOnThreadAsync(other->thread_id, [previous, top_handle] {
      win32::LoseForeground(previous, top_handle);
      return 0;
    });
  }
  win32::CallOnThreadAsync(top->thread_id, [top_handle] {
    win32::ActivateWindow(top_handle);
    return 0;
  });
  return TRUE;
}

extern "C" HWND WINAPI GetForegroundWindow(void) {
  auto lock = Desktop::Get().Lock();
  return Desktop::Get().foreground();
}
