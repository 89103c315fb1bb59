#ifndef SHELL_RUNNING_INSTANCE_H_
#define SHELL_RUNNING_INSTANCE_H_

#include <windows.h>

#include <string>

// The show command that brings back a window in `show_state` (the showCmd of
// its placement) without undoing a maximized state.
UINT ShowCommandForRunningWindow(UINT show_state);

// Looks for the top-level window of an instance that is already running (the
// window class of Win32Window with `title`). When there is one, hands it this
// launch's link, restores and raises it, makes it the foreground window and
// returns true; otherwise returns false and does nothing.
bool ForwardToRunningInstance(const std::wstring& title);

#endif  // SHELL_RUNNING_INSTANCE_H_
