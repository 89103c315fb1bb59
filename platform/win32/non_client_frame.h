#ifndef PLATFORM_WIN32_NON_CLIENT_FRAME_H_
#define PLATFORM_WIN32_NON_CLIENT_FRAME_H_

#include <winuser.h>

namespace win32 {

// The thickness of the frame around a window's client area, per edge.
struct NonClientFrame {
  LONG left = 0;
  LONG top = 0;
  LONG right = 0;
  LONG bottom = 0;
};

// Windows 10's frame at 96 DPI: a sizing border of 8 pixels on every edge and
// a caption of 23 pixels above the client area, each scaled by dpi / 96 and
// rounded. Only top-level windows with WS_CAPTION or WS_THICKFRAME have one;
// the desktop treats every process as per-monitor DPI aware, so the frame
// always follows the DPI of the window's monitor.
NonClientFrame FrameFor(DWORD style, bool top_level, UINT dpi);

// `dpi`-scaled `value`, rounded to nearest as MulDiv does.
LONG ScaleForDpi(LONG value, UINT dpi);

}  // namespace win32

#endif  // PLATFORM_WIN32_NON_CLIENT_FRAME_H_
