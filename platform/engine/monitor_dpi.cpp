#include "engine_bridge/engine_api.h"

#include <shellscalingapi.h>

namespace {

// What Windows assumes for a monitor it cannot query.
constexpr UINT kDefaultDpi = 96;

}  // namespace

UINT FlutterDesktopGetDpiForMonitor(HMONITOR monitor) {
  UINT dpi_x = 0;
  UINT dpi_y = 0;
  if (FAILED(GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &dpi_x, &dpi_y)) || dpi_x == 0) {
    return kDefaultDpi;
  }
  return dpi_x;
}
