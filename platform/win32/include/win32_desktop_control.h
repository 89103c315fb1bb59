#ifndef PLATFORM_WIN32_INCLUDE_WIN32_DESKTOP_CONTROL_H_
#define PLATFORM_WIN32_INCLUDE_WIN32_DESKTOP_CONTROL_H_

// Tests only: arranges and inspects the in-process desktop. Product code
// never includes this header.
//
// For a manual run, the environment variable NORVALIS_MONITOR_DPI (an
// integer from 72 to 960, e.g. "120") sets the DPI of the default monitor;
// it is read when the desktop starts and on every ResetDesktop. Other values
// are ignored (96 DPI).

#include <windef.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace win32_desktop {

struct MonitorSetup {
  RECT rect = {};
  RECT work_area = {};
  UINT dpi = 96;
};

// Replaces the monitors; the first one is the primary. `monitors` must not be
// empty. Windows keep their rectangles and send nothing.
void SetMonitors(const std::vector<MonitorSetup>& monitors);

// The monitors' handles, primary first.
std::vector<HMONITOR> ListMonitors();

// Changes the DPI of the monitor `window` is on, then sends WM_DPICHANGED
// with the rectangle the system suggests to every top-level window on that
// monitor that is not minimized, each on its own thread, waiting for each.
// Returns the rectangle suggested to `window`'s top-level window (its
// current rectangle when the DPI does not change or it got none).
RECT SimulateDpiChange(HWND window, UINT dpi);

enum class ShowState { kNormal, kMinimized, kMaximized };

struct WindowState {
  std::wstring class_name;
  std::wstring title;
  // Screen coordinates.
  RECT window_rect = {};
  // Client coordinates: left and top are 0.
  RECT client_rect = {};
  // The window's own WS_VISIBLE, whatever its ancestors.
  bool visible = false;
  ShowState show_state = ShowState::kNormal;
  HWND parent = nullptr;
  HWND owner = nullptr;
  DWORD thread_id = 0;
  DWORD style = 0;
  DWORD ex_style = 0;
  UINT dpi = 0;
  bool non_client_dpi_scaling = false;
  // The rectangle of the last WM_DPICHANGED the window received.
  std::optional<RECT> last_suggested_dpi_rect;
  // DWM attributes set on the window, by attribute.
  std::map<DWORD, DWORD> dwm_attributes;
};

// The state of an existing window; nothing for a handle that is not one.
std::optional<WindowState> InspectWindow(HWND window);

// Top-level windows, front of the z-order first (hidden ones included).
std::vector<HWND> TopLevelWindows();
// Children of `parent`, front first.
std::vector<HWND> ChildWindows(HWND parent);
// Every window of `thread_id`, hidden, child and message-only ones included,
// in no particular order.
std::vector<HWND> WindowsOfThread(DWORD thread_id);

// The focus and active window of a thread (GetFocus and GetActiveWindow of
// that thread); null for a thread without a message queue.
HWND FocusOfThread(DWORD thread_id);
HWND ActiveWindowOfThread(DWORD thread_id);

// The calling thread's id: GetCurrentThreadId, the id GetWindowThreadProcessId
// reports for the thread's windows.
DWORD CurrentThreadId();

// Forgets every window, window class and queued message without sending any
// message, completes every pending SendMessageW with 0, and restores the
// default monitor.
void ResetDesktop();

}  // namespace win32_desktop

#endif  // PLATFORM_WIN32_INCLUDE_WIN32_DESKTOP_CONTROL_H_
