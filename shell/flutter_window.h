#ifndef SHELL_FLUTTER_WINDOW_H_
#define SHELL_FLUTTER_WINDOW_H_

#include <windows.h>

#include <memory>

#include "engine_bridge/flutter_view_controller.h"
#include "shell/project_bundle.h"
#include "shell/win32_window.h"

// The application's top-level window: starts the engine with a view of its
// client area, registers the plugins, serves the OCR channel, embeds the
// view as its child and shows
// itself once the engine has drawn its first frame. The engine sees every
// top-level message first. Main thread only.
class FlutterWindow : public Win32Window {
 public:
  explicit FlutterWindow(const ProjectBundle& bundle);
  ~FlutterWindow() override;

 protected:
  LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
  // Fails when the engine or its view cannot be created; the window then
  // stays hidden and nothing is registered.
  bool AfterWindowCreated() override;
  // Ends the engine while the native window still exists.
  void BeforeWindowReleased() override;

 private:
  ProjectBundle bundle_;
  std::unique_ptr<flutter::FlutterViewController> view_controller_;
};

#endif  // SHELL_FLUTTER_WINDOW_H_
