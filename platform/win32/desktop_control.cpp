#include <processthreadsapi.h>
#include <win32_desktop_control.h>
#include <winuser.h>

#include <utility>

#include "platform/win32/desktop.h"
#include "platform/win32/window_position.h"

namespace win32_desktop {

using win32::Desktop;

void SetMonitors(const std::vector<MonitorSetup>& monitors) {
  if (monitors.empty()) {
    return;
  }
  std::vector<win32::Monitor> layout;
  for (const MonitorSetup& setup : monitors) {
    win32::Monitor monitor;
    monitor.rect = setup.rect;
    monitor.work_area = setup.work_area;
    monitor.dpi = setup.dpi;
    layout.push_back(monitor);
  }
  auto lock = Desktop::Get().Lock();
  Desktop::Get().monitors().Replace(layout);
}

std::vector<HMONITOR> ListMonitors() {
  auto lock = Desktop::Get().Lock();
  std::vector<HMONITOR> handles;
  for (const win32::Monitor& monitor : Desktop::Get().monitors().monitors()) {
    handles.push_back(monitor.handle);
  }
  return handles;
}

RECT SimulateDpiChange(HWND handle, UINT dpi) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  win32::Window* window = desktop.FindWindow(handle);
  if (window == nullptr) {
    return {};
  }
  win32::Window* top = desktop.TopLevelAncestor(*window);
  RECT result = top->rect;
  win32::Monitor* monitor = desktop.monitors().Find(desktop.MonitorOf(*top).handle);
  const UINT old_dpi = monitor->dpi;
  if (old_dpi == dpi) {
    return result;
  }
  std::vector<std::pair<HWND, RECT>> announcements;
  for (HWND candidate : desktop.top_level_windows()) {
    const win32::Window* other = desktop.FindWindow(candidate);
    if ((other->style & WS_MINIMIZE) == 0 && desktop.MonitorOf(*other).handle == monitor->handle) {
      announcements.emplace_back(candidate,
                                 win32::SuggestedRectForDpi(*other, *monitor, old_dpi, dpi));
      if (candidate == top->handle) {
        result = announcements.back().second;
      }
    }
  }
  monitor->dpi = dpi;
  lock.unlock();
  for (const auto& [target, suggested] : announcements) {
    win32::AnnounceDpiChange(target, dpi, suggested);
  }
  return result;
}

std::optional<WindowState> InspectWindow(HWND handle) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  const win32::Window* window = desktop.FindWindow(handle);
  if (window == nullptr) {
    return std::nullopt;
  }
  WindowState state;
  state.class_name = window->window_class->name;
  state.title = window->title;
  state.window_rect = desktop.ScreenRectOf(*window);
  state.client_rect = desktop.ClientRectOf(*window);
  state.visible = (window->style & WS_VISIBLE) != 0;
  state.show_state = (window->style & WS_MINIMIZE)   ? ShowState::kMinimized
                     : (window->style & WS_MAXIMIZE) ? ShowState::kMaximized
                                                     : ShowState::kNormal;
  state.parent = window->parent;
  state.owner = window->owner;
  state.thread_id = window->thread_id;
  state.style = window->style;
  state.ex_style = window->ex_style;
  state.dpi = desktop.DpiOf(*window);
  state.non_client_dpi_scaling = window->non_client_dpi_scaling;
  state.last_suggested_dpi_rect = window->last_suggested_dpi_rect;
  state.dwm_attributes = window->dwm_attributes;
  return state;
}

std::vector<HWND> TopLevelWindows() {
  auto lock = Desktop::Get().Lock();
  return Desktop::Get().top_level_windows();
}

std::vector<HWND> ChildWindows(HWND parent) {
  auto lock = Desktop::Get().Lock();
  const win32::Window* window = Desktop::Get().FindWindow(parent);
  return window != nullptr ? window->children : std::vector<HWND>{};
}

std::vector<HWND> WindowsOfThread(DWORD thread_id) {
  auto lock = Desktop::Get().Lock();
  return Desktop::Get().WindowsOf(thread_id);
}

HWND FocusOfThread(DWORD thread_id) {
  auto lock = Desktop::Get().Lock();
  const auto queue = Desktop::Get().QueueOf(thread_id);
  return queue != nullptr ? queue->focus : nullptr;
}

HWND ActiveWindowOfThread(DWORD thread_id) {
  auto lock = Desktop::Get().Lock();
  const auto queue = Desktop::Get().QueueOf(thread_id);
  return queue != nullptr ? queue->active : nullptr;
}

DWORD CurrentThreadId() {
  return GetCurrentThreadId();
}

void ResetDesktop() {
  auto lock = Desktop::Get().Lock();
  Desktop::Get().Reset();
}

}  // namespace win32_desktop
