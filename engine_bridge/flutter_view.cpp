#include "engine_bridge/flutter_view.h"

namespace flutter {

FlutterView::FlutterView(FlutterDesktopViewRef view) : view_handle_(view) {}

FlutterView::~FlutterView() = default;

HWND FlutterView::WindowHandle() const {
  return FlutterDesktopViewGetHWND(view_handle_);
}

}  // namespace flutter
