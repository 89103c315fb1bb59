// dwmapi's window attributes, recorded per window.

#include <dwmapi.h>
#include <winerror.h>
#include <winuser.h>

#include <cstring>

#include "platform/win32/desktop.h"
#include "platform/win32/non_client_frame.h"

namespace {

bool IsSettable(DWORD attribute) {
  switch (attribute) {
    case DWMWA_NCRENDERING_POLICY:
    case DWMWA_TRANSITIONS_FORCEDISABLED:
    case DWMWA_ALLOW_NCPAINT:
    case DWMWA_NONCLIENT_RTL_LAYOUT:
    case DWMWA_FORCE_ICONIC_REPRESENTATION:
    case DWMWA_FLIP3D_POLICY:
    case DWMWA_HAS_ICONIC_BITMAP:
    case DWMWA_DISALLOW_PEEK:
    case DWMWA_EXCLUDED_FROM_PEEK:
    case DWMWA_CLOAK:
    case DWMWA_FREEZE_REPRESENTATION:
    case DWMWA_USE_IMMERSIVE_DARK_MODE:
    case DWMWA_WINDOW_CORNER_PREFERENCE:
    case DWMWA_BORDER_COLOR:
    case DWMWA_CAPTION_COLOR:
    case DWMWA_TEXT_COLOR:
    case DWMWA_SYSTEMBACKDROP_TYPE:
      return true;
    default:
      return false;
  }
}

}  // namespace

using win32::Desktop;

extern "C" HRESULT WINAPI DwmSetWindowAttribute(HWND handle,
                                                DWORD attribute,
                                                LPCVOID value,
                                                DWORD size) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  win32::Window* window = desktop.FindWindow(handle);
  if (window == nullptr) {
    return E_HANDLE;
  }
  if (!IsSettable(attribute) || value == nullptr || size != sizeof(DWORD)) {
    return E_INVALIDARG;
  }
  DWORD recorded = 0;
  std::memcpy(&recorded, value, sizeof(recorded));
  window->dwm_attributes[attribute] = recorded;
  return S_OK;
}

extern "C" HRESULT WINAPI DwmGetWindowAttribute(HWND handle,
                                                DWORD attribute,
                                                PVOID value,
                                                DWORD size) {
  Desktop& desktop = Desktop::Get();
  auto lock = desktop.Lock();
  const win32::Window* window = desktop.FindWindow(handle);
  if (window == nullptr) {
    return E_HANDLE;
  }
  if (value == nullptr || size != sizeof(DWORD)) {
    return E_INVALIDARG;
  }
  DWORD result = 0;
  if (attribute == DWMWA_NCRENDERING_ENABLED) {
    const win32::NonClientFrame frame =
        win32::FrameFor(window->style, window->IsTopLevel(), desktop.DpiOf(*window));
    result = frame.top > 0 ? TRUE : FALSE;
  } else if (IsSettable(attribute)) {
    const auto found = window->dwm_attributes.find(attribute);
    result = found != window->dwm_attributes.end() ? found->second : 0;
  } else {
    return E_INVALIDARG;
  }
  std::memcpy(value, &result, sizeof(result));
  return S_OK;
}
