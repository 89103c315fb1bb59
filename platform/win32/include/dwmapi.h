#ifndef PLATFORM_WIN32_INCLUDE_DWMAPI_H_
#define PLATFORM_WIN32_INCLUDE_DWMAPI_H_

// Desktop window manager attributes, recorded per window by the in-process
// desktop. Every settable attribute holds 32 bits.

#include "windef.h"

#ifdef __cplusplus
extern "C" {
#endif

enum DWMWINDOWATTRIBUTE {
  DWMWA_NCRENDERING_ENABLED = 1,
  DWMWA_NCRENDERING_POLICY = 2,
  DWMWA_TRANSITIONS_FORCEDISABLED = 3,
  DWMWA_ALLOW_NCPAINT = 4,
  DWMWA_NONCLIENT_RTL_LAYOUT = 6,
  DWMWA_FORCE_ICONIC_REPRESENTATION = 7,
  DWMWA_FLIP3D_POLICY = 8,
  DWMWA_HAS_ICONIC_BITMAP = 10,
  DWMWA_DISALLOW_PEEK = 11,
  DWMWA_EXCLUDED_FROM_PEEK = 12,
  DWMWA_CLOAK = 13,
  DWMWA_FREEZE_REPRESENTATION = 15,
  DWMWA_USE_IMMERSIVE_DARK_MODE = 20,
  DWMWA_WINDOW_CORNER_PREFERENCE = 33,
  DWMWA_BORDER_COLOR = 34,
  DWMWA_CAPTION_COLOR = 35,
  DWMWA_TEXT_COLOR = 36,
  DWMWA_SYSTEMBACKDROP_TYPE = 38,
};

// S_OK; E_HANDLE for a window that does not exist; E_INVALIDARG for an
// unknown attribute, a null buffer or a size other than 4.
HRESULT WINAPI DwmSetWindowAttribute(HWND window, DWORD attribute, LPCVOID value, DWORD size);
// Reads back a settable attribute (0 until set); DWMWA_NCRENDERING_ENABLED is
// TRUE for windows with a frame.
HRESULT WINAPI DwmGetWindowAttribute(HWND window, DWORD attribute, PVOID value, DWORD size);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_WIN32_INCLUDE_DWMAPI_H_
