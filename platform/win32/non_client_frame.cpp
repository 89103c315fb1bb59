#include "platform/win32/non_client_frame.h"

namespace win32 {
namespace {

constexpr LONG kBorder = 8;
constexpr LONG kCaption = 23;

}  // namespace

LONG ScaleForDpi(LONG value, UINT dpi) {
  const long long scaled = static_cast<long long>(value) * dpi;
  return static_cast<LONG>(scaled >= 0 ? (scaled + 48) / 96 : (scaled - 48) / 96);
}

NonClientFrame FrameFor(DWORD style, bool top_level, UINT dpi) {
  NonClientFrame frame;
  if (!top_level || (style & (WS_CAPTION | WS_THICKFRAME)) == 0) {
    return frame;
  }
  const LONG border = ScaleForDpi(kBorder, dpi);
  frame.left = border;
  frame.right = border;
  frame.bottom = border;
  frame.top = border + ((style & WS_CAPTION) == WS_CAPTION ? ScaleForDpi(kCaption, dpi) : 0);
  return frame;
}

}  // namespace win32
