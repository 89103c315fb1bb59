// user32's window functions: classes, creation and destruction, the default
// window procedure, window data, hierarchy and lookup.

#include <errhandlingapi.h>
#include <processthreadsapi.h>
#include <winerror.h>
#include <winuser.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/win32/activation.h"
#include "platform/win32/case_folding.h"
#include "platform/win32/desktop.h"
#include "platform/win32/message_delivery.h"
#include "platform/win32/non_client_frame.h"
#include "platform/win32/window_position.h"

namespace win32 {
namespace {

// Where CreateWindowExW puts a top-level window given CW_USEDEFAULT: offset
// from the primary work area's corner, three quarters of its size.
constexpr LONG kDefaultOffset = 26;

bool IsNullOrEmpty(LPCWSTR text) {
  return text == nullptr || text[0] == 0;
}

// Destruction announced to `handle` and everything below it, after hiding,
// deactivation and loss of focus: WM_DESTROY parents first, then WM_NCDESTROY
// children first, each window forgotten after its WM_NCDESTROY.
void DestroyTree(HWND handle, const std::vector<HWND>& subtree, bool visible) {
  if (visible) {
    ApplyWindowPos(handle, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  DeactivateWindow(handle);
  DropFocusWithin(handle);
  for (HWND window : subtree) {
    NotifyWindow(window, WM_DESTROY, 0, 0);
  }
  for (auto it = subtree.rbegin(); it != subtree.rend(); ++it) {
    NotifyWindow(*it, WM_NCDESTROY, 0, 0);
    auto lock = Desktop::Get().Lock();
    Desktop::Get().RemoveWindow(*it);
  }
}

}  // namespace
}  // namespace win32

using win32::Desktop;
using win32::Window;

extern "C" ATOM WINAPI RegisterClassW(const WNDCLASSW* window_class) {
  if (window_class == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto lock = Desktop::Get().Lock();
  return Desktop::Get().classes().Register(*window_class);
}

extern "C" BOOL WINAPI UnregisterClassW(LPCWSTR class_name, HINSTANCE) {
  auto lock = Desktop::Get().Lock();
  return Desktop::Get().classes().Unregister(class_name) ? TRUE : FALSE;
}

extern "C" HWND WINAPI CreateWindowExW(DWORD ex_style,
                                       LPCWSTR class_name,
                                       LPCWSTR window_name,
                                       DWORD style,
                                       int x,
                                       int y,
                                       int width,
                                       int height,
                                       HWND parent,
                                       HMENU menu,
                                       HINSTANCE instance,
                                       LPVOID param) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  desktop.CurrentQueue();
  win32::WindowClass* window_class = desktop.classes().Find(class_name);
  if (window_class == nullptr) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  const bool message_only = parent == HWND_MESSAGE;
  if (parent != nullptr && !message_only && desktop.FindWindowOrFail(parent) == nullptr) {
    return nullptr;
  }
  const bool child = (style & WS_CHILD) != 0 && !message_only;
  if (child && parent == nullptr) {
    SetLastError(ERROR_TLW_WITH_WSCHILD);
    return nullptr;
  }

  auto window = std::make_unique<Window>();
  window->window_class = window_class;
  window->title = window_name != nullptr ? window_name : L"";
  window->ex_style = ex_style;
  window->procedure = window_class->procedure;
  window->instance = instance;
  window->message_only = message_only;
  window->thread_id = GetCurrentThreadId();
  window->extra_bytes.resize(static_cast<size_t>(window_class->window_extra_bytes));
  if (child) {
    window->parent = parent;
    window->id = reinterpret_cast<LONG_PTR>(menu);
  } else if (!message_only) {
    window->owner = parent;
  }
  // Overlapped windows always have a caption on Windows.
  if (!child && (style & WS_POPUP) == 0) {
    style |= WS_CLIPSIBLINGS | WS_CAPTION;
  }
  if (x == CW_USEDEFAULT || width == CW_USEDEFAULT) {
    const win32::Monitor& primary = desktop.monitors().Primary();
    const RECT& work = primary.work_area;
    if (x == CW_USEDEFAULT) {
      x = child ? 0 : work.left + win32::ScaleForDpi(win32::kDefaultOffset, primary.dpi);
      y = child ? 0 : work.top + win32::ScaleForDpi(win32::kDefaultOffset, primary.dpi);
    }
    if (width == CW_USEDEFAULT) {
      width = child ? 0 : (work.right - work.left) * 3 / 4;
      height = child ? 0 : (work.bottom - work.top) * 3 / 4;
    }
  }
  window->rect = {x, y, x + std::max(width, 0), y + std::max(height, 0)};
  window->normal_rect = window->rect;
  // Visibility and the initial show state are applied once WM_CREATE succeeded.
  window->style = style & ~static_cast<DWORD>(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
  const HWND handle = desktop.AddWindow(std::move(window)).handle;
  lock.unlock();

  CREATESTRUCTW create = {
      param,       instance,   menu,    parent, height, width, y, x, static_cast<LONG>(style),
      window_name, class_name, ex_style};
  if (win32::NotifyWindow(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create)) == FALSE) {
    win32::NotifyWindow(handle, WM_NCDESTROY, 0, 0);
    lock.lock();
    desktop.RemoveWindow(handle);
    return nullptr;
  }
  if (!IsWindow(handle)) {
    return nullptr;
  }
  if (win32::NotifyWindow(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyWindow(handle);
    return nullptr;
  }

  lock.lock();
  const Window* created = desktop.FindWindow(handle);
  if (created == nullptr) {
    return nullptr;
  }
  const RECT client = desktop.ClientRectOf(*created);
  const POINT origin = desktop.ClientOriginOf(*created);
  lock.unlock();
  win32::NotifyWindow(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  win32::NotifyWindow(handle, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
  if ((style & WS_VISIBLE) != 0) {
    ShowWindow(handle, (style & WS_MAXIMIZE)   ? SW_SHOWMAXIMIZED
                       : (style & WS_MINIMIZE) ? SW_SHOWMINIMIZED
                                               : SW_SHOW);
  }
  return IsWindow(handle) ? handle : nullptr;
}

extern "C" BOOL WINAPI DestroyWindow(HWND handle) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  Window* window = desktop.FindOwnWindowOrFail(handle);
  if (window == nullptr) {
    return FALSE;
  }
  // A procedure that destroys its window again while the destruction is
  // being announced asks for what is already happening.
  if (window->destroying) {
    return TRUE;
  }
  const std::vector<HWND> subtree = desktop.SubtreeOf(handle);
  for (HWND member : subtree) {
    desktop.FindWindow(member)->destroying = true;
  }
  std::vector<HWND> owned;
  for (HWND candidate : desktop.OwnedBy(handle)) {
    if (desktop.FindWindow(candidate)->thread_id == GetCurrentThreadId()) {
      owned.push_back(candidate);
    }
  }
  const bool visible = (window->style & WS_VISIBLE) != 0;
  lock.unlock();

  // Owned windows go before their owner, as on Windows.
  for (HWND owned_window : owned) {
    DestroyWindow(owned_window);
  }
  win32::DestroyTree(handle, subtree, visible);
  return TRUE;
}

extern "C" LRESULT WINAPI DefWindowProcW(HWND handle, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NCCREATE:
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(handle);
      return 0;
    case WM_ACTIVATE:
      // An activated window that is not minimized takes the keyboard focus.
      if (LOWORD(wparam) != WA_INACTIVE && HIWORD(wparam) == 0) {
        SetFocus(handle);
      }
      return 0;
    case WM_WINDOWPOSCHANGED: {
      const auto* position = reinterpret_cast<const WINDOWPOS*>(lparam);
      if (position == nullptr) {
        return 0;
      }
      Desktop& desktop = Desktop::Get();
      auto lock = desktop.Lock();
      const Window* window = desktop.FindWindow(handle);
      if (window == nullptr) {
        return 0;
      }
      const POINT origin = desktop.ClientOriginOf(*window);
      const RECT client = desktop.ClientRectOf(*window);
      const WPARAM size_type = (window->style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                               : (window->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                               : SIZE_RESTORED;
      lock.unlock();
      if ((position->flags & SWP_NOCLIENTMOVE) == 0) {
        win32::NotifyWindow(handle, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
      }
      if ((position->flags & SWP_NOCLIENTSIZE) == 0) {
        win32::NotifyWindow(handle, WM_SIZE, size_type, MAKELPARAM(client.right, client.bottom));
      }
      return 0;
    }
    default:
      return 0;
  }
}

extern "C" LRESULT WINAPI
CallWindowProcW(WNDPROC procedure, HWND handle, UINT message, WPARAM wparam, LPARAM lparam) {
  return procedure != nullptr ? procedure(handle, message, wparam, lparam) : 0;
}

extern "C" LONG_PTR WINAPI GetWindowLongPtrW(HWND handle, int index) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  const Window* window = desktop.FindWindowOrFail(handle);
  if (window == nullptr) {
    return 0;
  }
  switch (index) {
    case GWLP_WNDPROC:
      return reinterpret_cast<LONG_PTR>(window->procedure);
    case GWLP_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(window->instance);
    case GWLP_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>(window->parent != nullptr ? window->parent : window->owner);
    case GWLP_ID:
      return window->id;
    case GWL_STYLE:
      return static_cast<LONG>(window->style);
    case GWL_EXSTYLE:
      return static_cast<LONG>(window->ex_style);
    case GWLP_USERDATA:
      return window->user_data;
    default:
      break;
  }
  if (index < 0 || static_cast<size_t>(index) + sizeof(LONG_PTR) > window->extra_bytes.size()) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  LONG_PTR value = 0;
  std::memcpy(&value, window->extra_bytes.data() + index, sizeof(value));
  return value;
}

extern "C" LONG_PTR WINAPI SetWindowLongPtrW(HWND handle, int index, LONG_PTR value) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  Window* window = desktop.FindWindowOrFail(handle);
  if (window == nullptr) {
    return 0;
  }
  LONG_PTR previous = 0;
  switch (index) {
    case GWLP_WNDPROC:
      if (value == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
      }
      previous = reinterpret_cast<LONG_PTR>(window->procedure);
      window->procedure = reinterpret_cast<WNDPROC>(value);
      return previous;
    case GWLP_HINSTANCE:
      previous = reinterpret_cast<LONG_PTR>(window->instance);
      window->instance = reinterpret_cast<HINSTANCE>(value);
      return previous;
    case GWLP_HWNDPARENT:
      // Sets the owner of a top-level window, as on Windows.
      previous = reinterpret_cast<LONG_PTR>(window->owner);
      if (window->parent == nullptr) {
        window->owner = reinterpret_cast<HWND>(value);
      }
      return previous;
    case GWLP_ID:
      previous = window->id;
      window->id = value;
      return previous;
    case GWL_STYLE:
      previous = static_cast<LONG>(window->style);
      window->style = static_cast<DWORD>(value);
      return previous;
    case GWL_EXSTYLE:
      previous = static_cast<LONG>(window->ex_style);
      window->ex_style = static_cast<DWORD>(value);
      return previous;
    case GWLP_USERDATA:
      previous = window->user_data;
      window->user_data = value;
      return previous;
    default:
      break;
  }
  if (index < 0 || static_cast<size_t>(index) + sizeof(LONG_PTR) > window->extra_bytes.size()) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  std::memcpy(&previous, window->extra_bytes.data() + index, sizeof(previous));
  std::memcpy(window->extra_bytes.data() + index, &value, sizeof(value));
  return previous;
}

extern "C" HWND WINAPI FindWindowW(LPCWSTR class_name, LPCWSTR window_name) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  const win32::WindowClass* window_class = nullptr;
  if (!IS_INTRESOURCE(class_name) ? !win32::IsNullOrEmpty(class_name) : class_name != nullptr) {
    window_class = desktop.classes().Find(class_name);
    if (window_class == nullptr) {
      SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
      return nullptr;
    }
  }
  for (HWND handle : desktop.top_level_windows()) {
    const Window* window = desktop.FindWindow(handle);
    if ((window_class == nullptr || window->window_class == window_class) &&
        (window_name == nullptr || win32::EqualsIgnoringCase(window->title, window_name))) {
      return handle;
    }
  }
  return nullptr;
}

extern "C" BOOL WINAPI IsWindow(HWND handle) {
  auto lock = Desktop::Get().Lock();
  return Desktop::Get().FindWindow(handle) != nullptr ? TRUE : FALSE;
}

extern "C" HWND WINAPI GetParent(HWND handle) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  const Window* window = desktop.FindWindowOrFail(handle);
  if (window == nullptr) {
    return nullptr;
  }
  if (window->parent != nullptr) {
    return window->parent;
  }
  // Pop-up windows report their owner, as on Windows.
  return (window->style & WS_POPUP) != 0 ? window->owner : nullptr;
}

extern "C" HWND WINAPI GetAncestor(HWND handle, UINT flags) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  Window* window = desktop.FindWindowOrFail(handle);
  if (window == nullptr) {
    return nullptr;
  }
  switch (flags) {
    case GA_PARENT:
      return window->parent;
    case GA_ROOT:
      return desktop.TopLevelAncestor(*window)->handle;
    case GA_ROOTOWNER: {
      Window* root = desktop.TopLevelAncestor(*window);
      // GetParent's rule: only pop-up windows lead on to their owner.
      while ((root->style & WS_POPUP) != 0 && root->owner != nullptr) {
        Window* owner = desktop.FindWindow(root->owner);
        if (owner == nullptr) {
          break;
        }
        root = desktop.TopLevelAncestor(*owner);
      }
      return root->handle;
    }
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}

extern "C" HWND WINAPI SetParent(HWND child, HWND new_parent) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  Window* window = desktop.FindWindowOrFail(child);
  if (window == nullptr) {
    return nullptr;
  }
  const bool message_only = new_parent == HWND_MESSAGE;
  if (new_parent != nullptr && !message_only) {
    if (desktop.FindWindowOrFail(new_parent) == nullptr) {
      return nullptr;
    }
    if (desktop.IsSelfOrDescendant(child, new_parent)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
  }
  const HWND previous = window->parent;
  desktop.Unlink(*window);
  window->parent = message_only ? nullptr : new_parent;
  window->message_only = message_only;
  if (std::vector<HWND>* siblings = desktop.SiblingsOf(*window)) {
    siblings->insert(siblings->begin(), child);
    desktop.KeepTopmostInFront(*siblings);
  }
  // A window that stops being top-level cannot stay active.
  if (!window->IsTopLevel()) {
    if (std::shared_ptr<win32::MessageQueue> queue = desktop.QueueOf(window->thread_id);
        queue != nullptr && queue->active == child) {
      queue->active = nullptr;
    }
    if (desktop.foreground() == child) {
      desktop.set_foreground(nullptr);
    }
  }
  return previous;
}

extern "C" DWORD WINAPI GetWindowThreadProcessId(HWND handle, LPDWORD process_id) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  const Window* window = desktop.FindWindowOrFail(handle);
  if (window == nullptr) {
    return 0;
  }
  if (process_id != nullptr) {
    *process_id = GetCurrentProcessId();
  }
  return window->thread_id;
}

extern "C" BOOL WINAPI EnableNonClientDpiScaling(HWND handle) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  Window* window = desktop.FindWindowOrFail(handle);
  if (window == nullptr) {
    return FALSE;
  }
  window->non_client_dpi_scaling = true;
  return TRUE;
}

extern "C" UINT WINAPI GetDpiForWindow(HWND handle) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  const Window* window = desktop.FindWindowOrFail(handle);
  if (window == nullptr) {
    return 0;
  }
  return desktop.DpiOf(*window);
}
