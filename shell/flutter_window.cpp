#include "shell/flutter_window.h"

#include <optional>
#include <utility>

#include "ocr/ocr_channel.h"
#include "shell/platform_plugins.h"

FlutterWindow::FlutterWindow(const ProjectBundle& bundle) : bundle_(bundle) {}

// The controller goes before the bundle, then the Win32Window part.
FlutterWindow::~FlutterWindow() = default;

bool FlutterWindow::AfterWindowCreated() {
  if (!Win32Window::AfterWindowCreated()) {
    return false;
  }

  const RECT frame = ClientRect();
  // Assignment destroys a controller held before only after the new one
  // has taken its place.
  view_controller_ = std::make_unique<flutter::FlutterViewController>(
      frame.right - frame.left, frame.bottom - frame.top, bundle_);
  flutter::FlutterEngine* engine = view_controller_->GetEngine();
  flutter::FlutterView* view = view_controller_->GetView();
  if (engine == nullptr || view == nullptr) {
    return false;
  }

  AttachPlatformPlugins(engine);
  InstallOcrChannel(engine);
  EmbedChild(view->WindowHandle());
  // Shown only once the engine has something to show.
  engine->OnNextFrame([this] { RevealWindow(); });
  view_controller_->RequestRedraw();
  return true;
}

LRESULT FlutterWindow::HandleWindowMessage(HWND window,
                                           UINT message,
                                           WPARAM wparam,
                                           LPARAM lparam) {
  if (view_controller_ != nullptr) {
    const std::optional<LRESULT> result =
        view_controller_->PreviewWindowMessage(window, message, wparam, lparam);
    if (result.has_value()) {
      return *result;
    }
  }

  switch (message) {
    case WM_FONTCHANGE:
      // The engine lays text out with the system's fonts.
      if (view_controller_ != nullptr) {
        view_controller_->GetEngine()->RefreshFonts();
      }
      break;
  }
  return Win32Window::HandleWindowMessage(window, message, wparam, lparam);
}

void FlutterWindow::BeforeWindowReleased() {
  if (view_controller_ != nullptr) {
    // Emptied first, so that messages the teardown causes see no controller.
    std::unique_ptr<flutter::FlutterViewController> controller = std::move(view_controller_);
    controller.reset();
  }
  Win32Window::BeforeWindowReleased();
}
