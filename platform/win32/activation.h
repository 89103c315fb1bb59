#ifndef PLATFORM_WIN32_ACTIVATION_H_
#define PLATFORM_WIN32_ACTIVATION_H_

#include <winuser.h>

namespace win32 {

// Activation and keyboard focus. Each thread has its own active window and
// focus window; the foreground window is the one active window of the whole
// desktop. All of these run on the thread that owns the windows concerned and
// take the desktop lock themselves.

// Makes the visible top-level `window` its thread's active window, the foreground
// window and the front of the z-order: WM_ACTIVATE (WA_INACTIVE) to the
// window that was active, then WM_ACTIVATE (WA_ACTIVE) to `window`. A
// foreground window of another thread is deactivated on its own thread,
// without waiting. Afterwards a focus outside `window` is dropped.
void ActivateWindow(HWND window);

// Runs on the thread of `previous`, the foreground window until a window of
// another thread, `successor`, took the foreground: unless the foreground has
// come back to the thread meanwhile, the thread loses its active window
// (WM_ACTIVATE, WA_INACTIVE) and its focus (WM_KILLFOCUS).
void LoseForeground(HWND previous, HWND successor);

// For a window being hidden, minimized or destroyed: if it is its thread's
// active window, activates the frontmost other visible, non-minimized
// top-level window of the thread, or leaves the thread without an active
// window (and the desktop without a foreground window).
void DeactivateWindow(HWND window);

// SetFocus on the calling thread: see SetFocus in winuser.h.
HWND MoveFocus(HWND window);

// Drops the calling thread's focus if it lies in `window` or below it:
// WM_KILLFOCUS to the focus window, which leaves the thread without focus.
void DropFocusWithin(HWND window);

}  // namespace win32

#endif  // PLATFORM_WIN32_ACTIVATION_H_
