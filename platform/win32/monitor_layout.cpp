#include "platform/win32/monitor_layout.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace win32 {
namespace {

constexpr LONG kTaskbarHeight = 40;

UINT DpiFromEnvironment() {
  const char* text = std::getenv(MonitorLayout::kDpiVariable);
  if (text == nullptr || *text == 0) {
    return MonitorLayout::kDefaultDpi;
  }
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (*end != 0 || value < 72 || value > 960) {
    return MonitorLayout::kDefaultDpi;
  }
  return static_cast<UINT>(value);
}

// Squared distance from `point` to the nearest point of `rect`.
long long DistanceSquared(const RECT& rect, POINT point) {
  const long long dx = point.x < rect.left     ? rect.left - point.x
                       : point.x >= rect.right ? point.x - rect.right + 1
                                               : 0;
  const long long dy = point.y < rect.top       ? rect.top - point.y
                       : point.y >= rect.bottom ? point.y - rect.bottom + 1
                                                : 0;
  return dx * dx + dy * dy;
}

long long IntersectionArea(const RECT& a, const RECT& b) {
  const long long width = std::min(a.right, b.right) - std::max(a.left, b.left);
  const long long height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  return width > 0 && height > 0 ? width * height : 0;
}

}  // namespace

MonitorLayout::MonitorLayout() {
  ResetToDefault();
}

void MonitorLayout::ResetToDefault() {
  Monitor monitor;
  monitor.dpi = DpiFromEnvironment();
  monitor.rect = {0, 0, 1920, 1080};
  monitor.work_area = {0, 0, 1920,
                       1080 - static_cast<LONG>(kTaskbarHeight * monitor.dpi / kDefaultDpi)};
  Replace({monitor});
}

void MonitorLayout::Replace(const std::vector<Monitor>& monitors) {
  monitors_ = monitors;
  for (size_t i = 0; i < monitors_.size(); ++i) {
    monitors_[i].handle = reinterpret_cast<HMONITOR>(next_handle_++);
    const std::wstring name = L"\\\\.\\DISPLAY" + std::to_wstring(i + 1);
    std::fill(std::begin(monitors_[i].device_name), std::end(monitors_[i].device_name), 0);
    std::copy(name.begin(), name.end(), monitors_[i].device_name);
  }
}

Monitor* MonitorLayout::Find(HMONITOR handle) {
  for (Monitor& monitor : monitors_) {
    if (monitor.handle == handle) {
      return &monitor;
    }
  }
  return nullptr;
}

const Monitor* MonitorLayout::FromPoint(POINT point, DWORD flags) const {
  for (const Monitor& monitor : monitors_) {
    if (point.x >= monitor.rect.left && point.x < monitor.rect.right &&
        point.y >= monitor.rect.top && point.y < monitor.rect.bottom) {
      return &monitor;
    }
  }
  return Fallback({point.x, point.y, point.x + 1, point.y + 1}, flags);
}

const Monitor* MonitorLayout::FromRect(const RECT& rect, DWORD flags) const {
  const Monitor* best = nullptr;
  long long best_area = 0;
  for (const Monitor& monitor : monitors_) {
    const long long area = IntersectionArea(rect, monitor.rect);
    if (area > best_area) {
      best = &monitor;
      best_area = area;
    }
  }
  return best != nullptr ? best : Fallback(rect, flags);
}

const Monitor* MonitorLayout::Fallback(const RECT& rect, DWORD flags) const {
  if (flags == MONITOR_DEFAULTTOPRIMARY) {
    return &Primary();
  }
  if (flags != MONITOR_DEFAULTTONEAREST) {
    return nullptr;
  }
  const POINT center = {rect.left + (rect.right - rect.left) / 2,
                        rect.top + (rect.bottom - rect.top) / 2};
  const Monitor* nearest = &Primary();
  for (const Monitor& monitor : monitors_) {
    if (DistanceSquared(monitor.rect, center) < DistanceSquared(nearest->rect, center)) {
      nearest = &monitor;
    }
  }
  return nearest;
}

}  // namespace win32
