#ifndef PLATFORM_WIN32_WINDOW_H_
#define PLATFORM_WIN32_WINDOW_H_

#include <winuser.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/window_class_registry.h"

namespace win32 {

// The desktop's record of one window. Owned by the desktop, used under its
// lock. Minimized and maximized are the WS_MINIMIZE and WS_MAXIMIZE bits of
// `style`, as on Windows; visibility is WS_VISIBLE.
struct Window {
  HWND handle = nullptr;
  WindowClass* window_class = nullptr;
  std::wstring title;
  DWORD style = 0;
  DWORD ex_style = 0;
  WNDPROC procedure = nullptr;
  LONG_PTR user_data = 0;
  LONG_PTR id = 0;
  HINSTANCE instance = nullptr;
  // Null for top-level and message-only windows.
  HWND parent = nullptr;
  HWND owner = nullptr;
  bool message_only = false;
  // The thread that created the window: the only one that runs its procedure.
  DWORD thread_id = 0;
  // Outer rectangle, in the parent's client coordinates (screen coordinates
  // for top-level windows).
  RECT rect = {};
  // Where a minimized or maximized window returns to.
  RECT normal_rect = {};
  bool restore_to_maximized = false;
  // Set once DestroyWindow starts on it or an ancestor.
  bool destroying = false;
  // Set while the window handles WM_DPICHANGED, so that the move it makes
  // does not start another DPI change.
  bool in_dpi_change = false;
  bool non_client_dpi_scaling = false;
  std::optional<RECT> last_suggested_dpi_rect;
  // Children, front of the z-order first.
  std::vector<HWND> children;
  std::vector<unsigned char> extra_bytes;
  std::map<DWORD, DWORD> dwm_attributes;

  bool IsTopLevel() const { return parent == nullptr && !message_only; }
};

}  // namespace win32

#endif  // PLATFORM_WIN32_WINDOW_H_
