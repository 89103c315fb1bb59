#ifndef ENGINE_BRIDGE_FLUTTER_VIEW_CONTROLLER_H_
#define ENGINE_BRIDGE_FLUTTER_VIEW_CONTROLLER_H_

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "engine_bridge/engine_api.h"
#include "engine_bridge/flutter_engine.h"
#include "engine_bridge/flutter_view.h"
#include "shell/project_bundle.h"

namespace flutter {

// Runs an engine made from a project bundle inside the library's view
// controller and holds its view. Main thread only.
class FlutterViewController {
 public:
  static constexpr std::string_view kCreateFailedDiagnostic = "Failed to create view controller.";

  // `width` and `height` are the size of the area the view fills. When the
  // library cannot start the engine, a diagnostic line is written and the
  // controller has an engine but no view.
  FlutterViewController(int32_t width, int32_t height, const ProjectBundle& bundle);
  FlutterViewController(const FlutterViewController&) = delete;
  FlutterViewController& operator=(const FlutterViewController&) = delete;
  // Ends the library's view controller, and with it the engine, before the
  // engine wrapper and its messenger's handlers go.
  virtual ~FlutterViewController();

  FlutterEngine* GetEngine();
  // Null when creation failed.
  FlutterView* GetView();

  void RequestRedraw();

  // Offers a message of the top-level window to the engine; its result when
  // the engine handled it.
  std::optional<LRESULT> PreviewWindowMessage(HWND window,
                                              UINT message,
                                              WPARAM wparam,
                                              LPARAM lparam);

 private:
  // Null when creation failed; every operation then does nothing.
  FlutterDesktopViewControllerRef controller_handle_ = nullptr;
  // Declared before the view, so that the view wrapper goes first.
  std::shared_ptr<FlutterEngine> engine_;
  std::unique_ptr<FlutterView> view_;
};

}  // namespace flutter

#endif  // ENGINE_BRIDGE_FLUTTER_VIEW_CONTROLLER_H_
