// user32's and shcore's monitor functions.

#include <errhandlingapi.h>
#include <shellscalingapi.h>
#include <winerror.h>
#include <winuser.h>

#include <algorithm>
#include <cstring>

#include "platform/win32/desktop.h"

using win32::Desktop;

extern "C" HMONITOR WINAPI MonitorFromPoint(POINT point, DWORD flags) {
  auto lock = Desktop::Get().Lock();
  const win32::Monitor* monitor = Desktop::Get().monitors().FromPoint(point, flags);
  return monitor != nullptr ? monitor->handle : nullptr;
}

extern "C" HMONITOR WINAPI MonitorFromRect(LPCRECT rect, DWORD flags) {
  if (rect == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto lock = Desktop::Get().Lock();
  const win32::Monitor* monitor = Desktop::Get().monitors().FromRect(*rect, flags);
  return monitor != nullptr ? monitor->handle : nullptr;
}

extern "C" HMONITOR WINAPI MonitorFromWindow(HWND handle, DWORD flags) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  win32::Window* window = desktop.FindWindowOrFail(handle);
  if (window == nullptr) {
    return nullptr;
  }
  const win32::Window* top = desktop.TopLevelAncestor(*window);
  const RECT& rect = (top->style & WS_MINIMIZE) != 0 ? top->normal_rect : top->rect;
  const win32::Monitor* monitor = desktop.monitors().FromRect(rect, flags);
  return monitor != nullptr ? monitor->handle : nullptr;
}

extern "C" BOOL WINAPI GetMonitorInfoW(HMONITOR handle, LPMONITORINFO info) {
  if (info == nullptr ||
      (info->cbSize != sizeof(MONITORINFO) && info->cbSize != sizeof(MONITORINFOEXW))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto lock = Desktop::Get().Lock();
  const win32::Monitor* monitor = Desktop::Get().monitors().Find(handle);
  if (monitor == nullptr) {
    SetLastError(ERROR_INVALID_MONITOR_HANDLE);
    return FALSE;
  }
  info->rcMonitor = monitor->rect;
  info->rcWork = monitor->work_area;
  info->dwFlags = monitor == &Desktop::Get().monitors().Primary() ? MONITORINFOF_PRIMARY : 0;
  if (info->cbSize == sizeof(MONITORINFOEXW)) {
    auto* extended = reinterpret_cast<MONITORINFOEXW*>(info);
    std::memcpy(extended->szDevice, monitor->device_name, sizeof(extended->szDevice));
  }
  return TRUE;
}

extern "C" HRESULT WINAPI GetDpiForMonitor(HMONITOR handle,
                                           MONITOR_DPI_TYPE type,
                                           UINT* dpi_x,
                                           UINT* dpi_y) {
  if (dpi_x == nullptr || dpi_y == nullptr ||
      (type != MDT_EFFECTIVE_DPI && type != MDT_ANGULAR_DPI && type != MDT_RAW_DPI)) {
    return E_INVALIDARG;
  }
  auto lock = Desktop::Get().Lock();
  const win32::Monitor* monitor = Desktop::Get().monitors().Find(handle);
  if (monitor == nullptr) {
    return E_INVALIDARG;
  }
  *dpi_x = monitor->dpi;
  *dpi_y = monitor->dpi;
  return S_OK;
}
