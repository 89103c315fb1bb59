#ifndef PLATFORM_WIN32_INCLUDE_SHELLSCALINGAPI_H_
#define PLATFORM_WIN32_INCLUDE_SHELLSCALINGAPI_H_

#include "windef.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef enum MONITOR_DPI_TYPE {
  MDT_EFFECTIVE_DPI = 0,
  MDT_ANGULAR_DPI = 1,
  MDT_RAW_DPI = 2,
  MDT_DEFAULT = MDT_EFFECTIVE_DPI
} MONITOR_DPI_TYPE;

// The monitor's configured DPI, for every type (the desktop knows no physical
// monitor size). E_INVALIDARG for an unknown monitor, type or null pointer.
HRESULT WINAPI GetDpiForMonitor(HMONITOR monitor, MONITOR_DPI_TYPE type, UINT* dpi_x, UINT* dpi_y);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_WIN32_INCLUDE_SHELLSCALINGAPI_H_
