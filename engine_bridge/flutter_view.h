#ifndef ENGINE_BRIDGE_FLUTTER_VIEW_H_
#define ENGINE_BRIDGE_FLUTTER_VIEW_H_

#include <windows.h>

#include "engine_bridge/engine_api.h"

namespace flutter {

// The engine's view. Does not own the library's view, which belongs to the
// library's view controller.
class FlutterView {
 public:
  explicit FlutterView(FlutterDesktopViewRef view);
  FlutterView(const FlutterView&) = delete;
  FlutterView& operator=(const FlutterView&) = delete;
  virtual ~FlutterView();

  // The native child window that shows the engine's output.
  HWND WindowHandle() const;

 private:
  FlutterDesktopViewRef view_handle_;
};

}  // namespace flutter

#endif  // ENGINE_BRIDGE_FLUTTER_VIEW_H_
