#include "platform/win32/window_position.h"

#include <errhandlingapi.h>
#include <winerror.h>

#include <algorithm>

#include "platform/win32/activation.h"
#include "platform/win32/desktop.h"
#include "platform/win32/message_delivery.h"
#include "platform/win32/non_client_frame.h"

namespace win32 {
namespace {

// Where Windows 10 parks minimized windows, and their size there.
constexpr RECT kIconicRect = {-32000, -32000, -32000 + 160, -32000 + 28};

bool IsSpecialInsertAfter(HWND insert_after) {
  return insert_after == HWND_TOP || insert_after == HWND_BOTTOM || insert_after == HWND_TOPMOST ||
         insert_after == HWND_NOTOPMOST;
}

void Reorder(Desktop& desktop, Window& window, HWND insert_after) {
  std::vector<HWND>* siblings = desktop.SiblingsOf(window);
  if (siblings == nullptr || insert_after == window.handle) {
    return;
  }
  if (insert_after == HWND_NOTOPMOST && (window.ex_style & WS_EX_TOPMOST) == 0) {
    return;
  }
  std::erase(*siblings, window.handle);
  size_t index = 0;
  if (insert_after == HWND_BOTTOM) {
    window.ex_style &= ~static_cast<DWORD>(WS_EX_TOPMOST);
    index = siblings->size();
  } else if (insert_after == HWND_TOPMOST) {
    window.ex_style |= WS_EX_TOPMOST;
  } else if (insert_after == HWND_NOTOPMOST) {
    window.ex_style &= ~static_cast<DWORD>(WS_EX_TOPMOST);
  } else if (insert_after != HWND_TOP) {
    const auto after = std::find(siblings->begin(), siblings->end(), insert_after);
    index = static_cast<size_t>(after - siblings->begin()) + 1;
  }
  siblings->insert(siblings->begin() + static_cast<std::ptrdiff_t>(index), window.handle);
  desktop.KeepTopmostInFront(*siblings);
}

LONG Rescale(LONG value, UINT new_dpi, UINT old_dpi) {
  const long long scaled = static_cast<long long>(value) * new_dpi;
  return static_cast<LONG>((scaled + old_dpi / 2) / old_dpi);
}

}  // namespace

BOOL ApplyWindowPos(HWND handle,
                    HWND insert_after,
                    int x,
                    int y,
                    int cx,
                    int cy,
                    UINT flags,
                    std::optional<ShowStateChange> state_change) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  Window* window = desktop.FindWindowOrFail(handle);
  if (window == nullptr) {
    return FALSE;
  }
  if ((flags & SWP_NOZORDER) == 0 && !IsSpecialInsertAfter(insert_after) &&
      insert_after != handle) {
    const Window* after = desktop.FindWindowOrFail(insert_after);
    if (after == nullptr) {
      return FALSE;
    }
    if (after->parent != window->parent || after->message_only != window->message_only) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
  }
  const RECT old_client = desktop.ClientRectOf(*window);
  const POINT old_origin = desktop.ClientOriginOf(*window);
  const UINT old_dpi = desktop.DpiOf(*window);
  const bool was_visible = (window->style & WS_VISIBLE) != 0;

  if (state_change.has_value()) {
    if ((window->style & (WS_MINIMIZE | WS_MAXIMIZE)) == 0) {
      window->normal_rect = window->rect;
    }
    window->style =
        (window->style & ~static_cast<DWORD>(WS_MINIMIZE | WS_MAXIMIZE)) | state_change->state_bits;
    window->restore_to_maximized = state_change->restore_to_maximized;
  }
  RECT& rect = window->rect;
  if ((flags & SWP_NOMOVE) == 0) {
    rect = {x, y, x + (rect.right - rect.left), y + (rect.bottom - rect.top)};
  }
  if ((flags & SWP_NOSIZE) == 0) {
    rect.right = rect.left + std::max(cx, 0);
    rect.bottom = rect.top + std::max(cy, 0);
  }
  if ((flags & SWP_NOZORDER) == 0) {
    Reorder(desktop, *window, insert_after);
  }
  if ((flags & SWP_SHOWWINDOW) != 0) {
    window->style |= WS_VISIBLE;
  } else if ((flags & SWP_HIDEWINDOW) != 0) {
    window->style &= ~static_cast<DWORD>(WS_VISIBLE);
  }
  if ((window->style & (WS_MINIMIZE | WS_MAXIMIZE)) == 0) {
    window->normal_rect = rect;
  }

  const RECT new_client = desktop.ClientRectOf(*window);
  const POINT new_origin = desktop.ClientOriginOf(*window);
  UINT reported_flags = flags & ~static_cast<UINT>(SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE);
  if (!state_change.has_value() && new_client.right == old_client.right &&
      new_client.bottom == old_client.bottom) {
    reported_flags |= SWP_NOCLIENTSIZE;
  }
  if (new_origin.x == old_origin.x && new_origin.y == old_origin.y) {
    reported_flags |= SWP_NOCLIENTMOVE;
  }
  WINDOWPOS position = {handle,        insert_after,           rect.left,
                        rect.top,      rect.right - rect.left, rect.bottom - rect.top,
                        reported_flags};
  const bool now_visible = (window->style & WS_VISIBLE) != 0;
  const bool activate = (flags & SWP_NOACTIVATE) == 0 && window->IsTopLevel() && now_visible;
  const UINT new_dpi = desktop.DpiOf(*window);
  const bool dpi_changed = new_dpi != old_dpi && window->IsTopLevel() && !window->in_dpi_change &&
                           (window->style & WS_MINIMIZE) == 0;
  const RECT suggested =
      dpi_changed ? SuggestedRectForDpi(*window, desktop.MonitorOf(*window), old_dpi, new_dpi)
                  : RECT{};
  lock.unlock();

  if (was_visible && !now_visible) {
    NotifyWindow(handle, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
    DeactivateWindow(handle);
    DropFocusWithin(handle);
  } else {
    if (activate) {
      ActivateWindow(handle);
    }
    NotifyWindow(handle, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
  }
  if (dpi_changed) {
    AnnounceDpiChange(handle, new_dpi, suggested);
  }
  return TRUE;
}

BOOL ApplyShowCommand(HWND handle, int command) {
  enum class Target { kKeep, kRestore, kMinimized, kMaximized };
  Target target = Target::kKeep;
  bool show = true;
  bool activate = false;
  switch (command) {
    case SW_HIDE:
      show = false;
      break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
      target = Target::kRestore;
      activate = true;
      break;
    case SW_SHOWNOACTIVATE:
      target = Target::kRestore;
      break;
    case SW_SHOWMINIMIZED:
      target = Target::kMinimized;
      activate = true;
      break;
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
      target = Target::kMinimized;
      break;
    case SW_SHOWMAXIMIZED:
      target = Target::kMaximized;
      activate = true;
      break;
    case SW_SHOW:
      activate = true;
      break;
    case SW_SHOWNA:
      break;
    default:
      SetLastError(ERROR_INVALID_SHOWWIN_COMMAND);
      return FALSE;
  }

  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  Window* window = desktop.FindWindowOrFail(handle);
  if (window == nullptr) {
    return FALSE;
  }
  const bool was_visible = (window->style & WS_VISIBLE) != 0;
  if (!show && !was_visible) {
    return FALSE;
  }
  if (show != was_visible) {
    lock.unlock();
    NotifyWindow(handle, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    lock.lock();
    window = desktop.FindWindow(handle);
    if (window == nullptr) {
      return was_visible;
    }
  }

  const DWORD current_state = window->style & (WS_MINIMIZE | WS_MAXIMIZE);
  DWORD target_state = current_state;
  if (window->IsTopLevel()) {
    switch (target) {
      case Target::kKeep:
        break;
      case Target::kRestore:
        target_state = (current_state == WS_MINIMIZE && window->restore_to_maximized)
                           ? static_cast<DWORD>(WS_MAXIMIZE)
                           : 0;
        break;
      case Target::kMinimized:
        target_state = WS_MINIMIZE;
        break;
      case Target::kMaximized:
        target_state = WS_MAXIMIZE;
        break;
    }
  }
  const bool state_changed = target_state != current_state;
  if (show == was_visible && !state_changed) {
    const bool top_level = window->IsTopLevel();
    lock.unlock();
    if (activate && top_level) {
      ActivateWindow(handle);
    }
    return was_visible;
  }

  RECT rect = window->rect;
  std::optional<ShowStateChange> change;
  if (state_changed) {
    const RECT restore_rect = current_state == 0 ? window->rect : window->normal_rect;
    change = ShowStateChange{target_state, false};
    if (target_state == 0) {
      rect = restore_rect;
    } else if (target_state == WS_MAXIMIZE) {
      const Monitor& monitor = *desktop.monitors().FromRect(restore_rect, MONITOR_DEFAULTTONEAREST);
      rect = MaximizedRect(*window, monitor, monitor.dpi);
    } else {
      rect = kIconicRect;
      change->restore_to_maximized = current_state == WS_MAXIMIZE;
    }
  }
  lock.unlock();

  const UINT flags = SWP_NOZORDER | (activate ? 0 : SWP_NOACTIVATE) |
                     (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) |
                     (state_changed ? SWP_FRAMECHANGED : SWP_NOMOVE | SWP_NOSIZE);
  ApplyWindowPos(handle, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, flags, change);
  if (target_state == WS_MINIMIZE && state_changed) {
    // A minimized window keeps no keyboard focus; unless the command
    // activated it, the next window becomes active.
    DropFocusWithin(handle);
    if (!activate) {
      DeactivateWindow(handle);
    }
  }
  return was_visible;
}

RECT MaximizedRect(const Window& window, const Monitor& monitor, UINT dpi) {
  const NonClientFrame frame = FrameFor(window.style, true, dpi);
  const RECT& work = monitor.work_area;
  return {work.left - frame.left, work.top - frame.left, work.right + frame.right,
          work.bottom + frame.bottom};
}

RECT SuggestedRectForDpi(const Window& window, const Monitor& monitor, UINT old_dpi, UINT new_dpi) {
  if ((window.style & WS_MAXIMIZE) != 0) {
    return MaximizedRect(window, monitor, new_dpi);
  }
  const NonClientFrame old_frame = FrameFor(window.style, true, old_dpi);
  const NonClientFrame new_frame = FrameFor(window.style, true, new_dpi);
  const RECT& rect = window.rect;
  const LONG client_width =
      std::max<LONG>(rect.right - rect.left - old_frame.left - old_frame.right, 0);
  const LONG client_height =
      std::max<LONG>(rect.bottom - rect.top - old_frame.top - old_frame.bottom, 0);
  return {rect.left, rect.top,
          rect.left + Rescale(client_width, new_dpi, old_dpi) + new_frame.left + new_frame.right,
          rect.top + Rescale(client_height, new_dpi, old_dpi) + new_frame.top + new_frame.bottom};
}

void AnnounceDpiChange(HWND handle, UINT dpi, const RECT& suggested) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  Window* window = desktop.FindWindow(handle);
  if (window == nullptr) {
    return;
  }
  window->in_dpi_change = true;
  window->last_suggested_dpi_rect = suggested;
  lock.unlock();
  RECT rect = suggested;
  NotifyWindow(handle, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&rect));
  lock.lock();
  if (Window* still = desktop.FindWindow(handle)) {
    still->in_dpi_change = false;
  }
}

}  // namespace win32
