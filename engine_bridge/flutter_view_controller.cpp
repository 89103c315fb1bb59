#include "engine_bridge/flutter_view_controller.h"

#include "codec/diagnostic.h"

namespace flutter {

FlutterViewController::FlutterViewController(int32_t width,
                                             int32_t height,
                                             const ProjectBundle& bundle)
    : engine_(std::make_shared<FlutterEngine>(bundle)) {
  // The library takes the engine over whatever the outcome, so ownership is
  // given up before the call.
  controller_handle_ =
      FlutterDesktopViewControllerCreate(width, height, engine_->ReleaseEngineOwnership());
  if (controller_handle_ == nullptr) {
    WriteDiagnosticLine(kCreateFailedDiagnostic);
    return;
  }
  view_ = std::make_unique<FlutterView>(FlutterDesktopViewControllerGetView(controller_handle_));
}

FlutterViewController::~FlutterViewController() {
  if (controller_handle_ != nullptr) {
    FlutterDesktopViewControllerDestroy(controller_handle_);
  }
}

FlutterEngine* FlutterViewController::GetEngine() {
  return engine_.get();
}

FlutterView* FlutterViewController::GetView() {
  return view_.get();
}

void FlutterViewController::RequestRedraw() {
  if (controller_handle_ != nullptr) {
    FlutterDesktopViewControllerForceRedraw(controller_handle_);
  }
}

std::optional<LRESULT> FlutterViewController::PreviewWindowMessage(HWND window,
                                                                   UINT message,
                                                                   WPARAM wparam,
                                                                   LPARAM lparam) {
  if (controller_handle_ == nullptr) {
    return std::nullopt;
  }
  LRESULT result = 0;
  if (!FlutterDesktopViewControllerHandleTopLevelWindowProc(controller_handle_, window, message,
                                                            wparam, lparam, &result)) {
    return std::nullopt;
  }
  return result;
}

}  // namespace flutter
