#ifndef PLATFORM_WIN32_MONITOR_LAYOUT_H_
#define PLATFORM_WIN32_MONITOR_LAYOUT_H_

#include <winuser.h>

#include <vector>

namespace win32 {

struct Monitor {
  HMONITOR handle = nullptr;
  RECT rect = {};
  RECT work_area = {};
  UINT dpi = 96;
  wchar_t device_name[CCHDEVICENAME] = {};
};

// The monitors of the desktop; the first is the primary. Used under the
// desktop lock.
class MonitorLayout {
 public:
  static constexpr UINT kDefaultDpi = 96;
  // The environment variable that sets every default monitor's DPI.
  static constexpr const char kDpiVariable[] = "NORVALIS_MONITOR_DPI";

  // The default layout: see ResetToDefault.
  MonitorLayout();

  // One 1920x1080 monitor at the origin whose work area leaves a taskbar of
  // 40 pixels at 96 DPI (scaled) at the bottom; its DPI is 96, or the value of
  // NORVALIS_MONITOR_DPI when that is an integer from 72 to 960.
  void ResetToDefault();

  // Replaces the monitors; `monitors` must not be empty. The handles of the
  // earlier monitors stop being valid.
  void Replace(const std::vector<Monitor>& monitors);

  const std::vector<Monitor>& monitors() const { return monitors_; }
  const Monitor& Primary() const { return monitors_.front(); }
  Monitor* Find(HMONITOR handle);

  // The monitor holding `point`, or per `flags` (MONITOR_DEFAULTTO...) the
  // primary, the nearest or none.
  const Monitor* FromPoint(POINT point, DWORD flags) const;
  // The monitor sharing the largest area with `rect`, or per `flags`.
  const Monitor* FromRect(const RECT& rect, DWORD flags) const;

 private:
  const Monitor* Fallback(const RECT& rect, DWORD flags) const;

  std::vector<Monitor> monitors_;
  ULONG_PTR next_handle_ = 0x10001;
};

}  // namespace win32

#endif  // PLATFORM_WIN32_MONITOR_LAYOUT_H_
