#ifndef PLATFORM_WIN32_WINDOW_POSITION_H_
#define PLATFORM_WIN32_WINDOW_POSITION_H_

#include <winuser.h>

#include <optional>

#include "platform/win32/monitor_layout.h"
#include "platform/win32/window.h"

namespace win32 {

// A change between normal, minimized and maximized that goes with a move.
struct ShowStateChange {
  // WS_MINIMIZE, WS_MAXIMIZE or 0 (normal).
  DWORD state_bits = 0;
  bool restore_to_maximized = false;
};

// SetWindowPos on the thread that owns `window`: moves, sizes, reorders,
// shows or hides it, activates it unless SWP_NOACTIVATE, and sends
// WM_WINDOWPOSCHANGED, whose default handling sends WM_MOVE and WM_SIZE. A
// top-level window whose move takes it to a monitor of another DPI then gets
// WM_DPICHANGED. Takes the desktop lock itself.
BOOL ApplyWindowPos(HWND window,
                    HWND insert_after,
                    int x,
                    int y,
                    int cx,
                    int cy,
                    UINT flags,
                    std::optional<ShowStateChange> state_change = std::nullopt);

// ShowWindow on the thread that owns `window`.
BOOL ApplyShowCommand(HWND window, int command);

// The outer rectangle of `window` maximized on `monitor` at `dpi`: the work
// area with the sizing border outside it, as Windows places it.
RECT MaximizedRect(const Window& window, const Monitor& monitor, UINT dpi);

// The rectangle the system suggests to a top-level window whose DPI changes
// from `old_dpi` to `new_dpi` on `monitor`: the same top-left corner and the
// client area scaled by new_dpi / old_dpi inside the new frame; a maximized
// window is maximized anew.
RECT SuggestedRectForDpi(const Window& window, const Monitor& monitor, UINT old_dpi, UINT new_dpi);

// Sends WM_DPICHANGED for `dpi` with `suggested` to `window` on its own
// thread and waits for it; the window's own moves meanwhile start no further
// DPI change. Takes the desktop lock itself.
void AnnounceDpiChange(HWND window, UINT dpi, const RECT& suggested);

}  // namespace win32

#endif  // PLATFORM_WIN32_WINDOW_POSITION_H_
