// user32's placement functions: showing, moving, sizing and the rectangles of
// windows. Changes run on the window's own thread, as on Windows: a call from
// another thread waits until that thread's message loop has made it, unless
// it is one of the asynchronous forms, which only queue it.

#include <errhandlingapi.h>
#include <processthreadsapi.h>
#include <winerror.h>
#include <winuser.h>

#include <functional>
#include <utility>

#include "platform/win32/desktop.h"
#include "platform/win32/message_delivery.h"
#include "platform/win32/window_position.h"

namespace win32 {
namespace {

// GetClientRect and GetWindowRect: one of the desktop's rectangles of a
// window.
BOOL ReadRect(HWND handle, LPRECT rect, RECT (Desktop::*rect_of)(const Window&) const) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  const Window* window = desktop.FindWindowOrFail(handle);
  if (window == nullptr) {
    return FALSE;
  }
  if (rect == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *rect = (desktop.*rect_of)(*window);
  return TRUE;
}

// Runs `call` on the window's thread: at once on that thread, otherwise
// queued without waiting. FALSE only when there is no such window.
BOOL RunOnWindowThreadAsync(HWND handle, std::function<LRESULT()> call) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  const Window* window = desktop.FindWindowOrFail(handle);
  if (window == nullptr) {
    return FALSE;
  }
  if (window->thread_id != GetCurrentThreadId()) {
    CallOnThreadAsync(window->thread_id, std::move(call));
    return TRUE;
  }
  lock.unlock();
  return static_cast<BOOL>(call());
}

}  // namespace
}  // namespace win32

using win32::Desktop;
using win32::Window;

extern "C" BOOL WINAPI ShowWindow(HWND handle, int command) {
  return static_cast<BOOL>(win32::RunOnWindowThread(
      handle, [handle, command] { return win32::ApplyShowCommand(handle, command); }));
}

extern "C" BOOL WINAPI ShowWindowAsync(HWND handle, int command) {
  return win32::RunOnWindowThreadAsync(
      handle, [handle, command] { return win32::ApplyShowCommand(handle, command); });
}

extern "C" BOOL WINAPI
SetWindowPos(HWND handle, HWND insert_after, int x, int y, int cx, int cy, UINT flags) {
  auto apply = [=] { return win32::ApplyWindowPos(handle, insert_after, x, y, cx, cy, flags); };
  if ((flags & SWP_ASYNCWINDOWPOS) != 0) {
    return win32::RunOnWindowThreadAsync(handle, apply);
  }
  return static_cast<BOOL>(win32::RunOnWindowThread(handle, apply));
}

extern "C" BOOL WINAPI MoveWindow(HWND handle, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(handle, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

extern "C" BOOL WINAPI IsWindowVisible(HWND handle) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  const Window* window = desktop.FindWindow(handle);
  if (window == nullptr || window->message_only) {
    return FALSE;
  }
  // Visible means the window and all its ancestors have WS_VISIBLE.
  for (; window != nullptr; window = desktop.FindWindow(window->parent)) {
    if ((window->style & WS_VISIBLE) == 0) {
      return FALSE;
    }
  }
  return TRUE;
}

extern "C" BOOL WINAPI IsIconic(HWND handle) {
  auto lock = Desktop::Get().Lock();
  const Window* window = Desktop::Get().FindWindow(handle);
  return window != nullptr && (window->style & WS_MINIMIZE) != 0 ? TRUE : FALSE;
}

extern "C" BOOL WINAPI IsZoomed(HWND handle) {
  auto lock = Desktop::Get().Lock();
  const Window* window = Desktop::Get().FindWindow(handle);
  return window != nullptr && (window->style & WS_MAXIMIZE) != 0 ? TRUE : FALSE;
}

extern "C" BOOL WINAPI GetClientRect(HWND handle, LPRECT rect) {
  return win32::ReadRect(handle, rect, &Desktop::ClientRectOf);
}

extern "C" BOOL WINAPI GetWindowRect(HWND handle, LPRECT rect) {
  return win32::ReadRect(handle, rect, &Desktop::ScreenRectOf);
}

extern "C" BOOL WINAPI GetWindowPlacement(HWND handle, WINDOWPLACEMENT* placement) {
  if (placement == nullptr || placement->length != sizeof(WINDOWPLACEMENT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  const Window* window = desktop.FindWindowOrFail(handle);
  if (window == nullptr) {
    return FALSE;
  }
  const bool minimized = (window->style & WS_MINIMIZE) != 0;
  // A hidden window reports the state it shows in, as on Windows.
  placement->showCmd = minimized                            ? SW_SHOWMINIMIZED
                       : (window->style & WS_MAXIMIZE) != 0 ? SW_SHOWMAXIMIZED
                                                            : SW_SHOWNORMAL;
  placement->flags = minimized && window->restore_to_maximized ? WPF_RESTORETOMAXIMIZED : 0;
  placement->ptMinPosition = {-1, -1};
  placement->ptMaxPosition = {-1, -1};
  RECT normal = window->normal_rect;
  if (window->IsTopLevel()) {
    // Top-level windows report workspace coordinates: relative to the work
    // area of their monitor rather than to the screen.
    const win32::Monitor& monitor = desktop.MonitorOf(*window);
    const LONG dx = monitor.work_area.left - monitor.rect.left;
    const LONG dy = monitor.work_area.top - monitor.rect.top;
    normal = {normal.left - dx, normal.top - dy, normal.right - dx, normal.bottom - dy};
  }
  placement->rcNormalPosition = normal;
  return TRUE;
}
